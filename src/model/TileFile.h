#pragma once
// The tile set: six ordered lists of elements owned by one object.

#include "Border.h"
#include "Overlay.h"
#include "Pixel.h"
#include "Tile.h"
#include "TileRule.h"
#include "VariationRule.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestrund {

// What reading a tile file found besides the elements.
struct TTileFileLoadInfo {
    std::size_t FileSize = 0;
    std::size_t TrailingBytes = 0; // bytes after the last section (ignored)
    std::size_t MissingSections = 0; // sections the file stopped before; read as empty
};

class TTileFile {
public:
    TTileFile();
    TTileFile(const TTileFile&) = delete;
    TTileFile& operator=(const TTileFile&) = delete;

    const std::array<std::string, 7> ScriptSectionNames{"TileRules", "TileBorders", "Tiles", "Rivers",
                                                        "Improvements", "VariationRule", "End Of Script File"};
    const std::array<std::string, 4> GraphicPrefixes{"TILE", "BORD", "RIVE", "TIMP"};
    std::string ScriptComment = "This file was generated using Vellomar";
    std::string ColorComment = "Dafault Transparant and Shadow colors";
    TColor TransparentColor = 0x00007C1F;
    TColor ShadowColor = 0x000083E0;
    std::array<std::uint16_t, 3> BorderHeader{0, 704, 0};
    std::uint16_t TileHeader = 0;
    std::uint8_t ColorMode = cmRGB555;
    std::string FileName555 = "gtset555.til";
    std::string FileName565 = "gtset565.til";

    std::size_t TileRuleCount() const { return FTileRules.size(); }
    std::size_t BorderCount() const { return FBorders.size(); }
    std::size_t TileCount() const { return FTiles.size(); }
    std::size_t RiverCount() const { return FRivers.size(); }
    std::size_t ImprovementCount() const { return FImprovements.size(); }
    std::size_t VariationRuleCount() const { return FVariationRules.size(); }

    TTileRule& TileRule(std::size_t i) const { return *At(FTileRules, i); }
    TTileBorder& Border(std::size_t i) const { return *At(FBorders, i); }
    TTile& Tile(std::size_t i) const { return *At(FTiles, i); }
    TRiver& River(std::size_t i) const { return *At(FRivers, i); }
    TTileImprovement& Improvement(std::size_t i) const { return *At(FImprovements, i); }
    TVariationRule& VariationRule(std::size_t i) const { return *At(FVariationRules, i); }

    // The set takes ownership; Add appends, Insert puts the element before index i.
    TTileRule& AddTileRule(std::unique_ptr<TTileRule> rule);
    TTileBorder& AddBorder(std::unique_ptr<TTileBorder> border);
    TTile& AddTile(std::unique_ptr<TTile> tile);
    TRiver& AddRiver(std::unique_ptr<TRiver> river);
    TTileImprovement& AddImprovement(std::unique_ptr<TTileImprovement> improvement);
    TVariationRule& AddVariationRule(std::unique_ptr<TVariationRule> rule);

    TTileRule& InsertTileRule(std::size_t i, std::unique_ptr<TTileRule> rule);
    TTileBorder& InsertBorder(std::size_t i, std::unique_ptr<TTileBorder> border);
    TTile& InsertTile(std::size_t i, std::unique_ptr<TTile> tile);
    TRiver& InsertRiver(std::size_t i, std::unique_ptr<TRiver> river);
    TTileImprovement& InsertImprovement(std::size_t i, std::unique_ptr<TTileImprovement> improvement);
    TVariationRule& InsertVariationRule(std::size_t i, std::unique_ptr<TVariationRule> rule);

    void DeleteTileRule(std::size_t i);
    void DeleteBorder(std::size_t i);
    void DeleteTile(std::size_t i);
    void DeleteRiver(std::size_t i);
    void DeleteImprovement(std::size_t i);
    void DeleteVariationRule(std::size_t i);

    // Removes the element and hands it to the caller, who may insert it again.
    std::unique_ptr<TTileRule> TakeTileRule(std::size_t i);
    std::unique_ptr<TTileBorder> TakeBorder(std::size_t i);
    std::unique_ptr<TTile> TakeTile(std::size_t i);
    std::unique_ptr<TRiver> TakeRiver(std::size_t i);
    std::unique_ptr<TTileImprovement> TakeImprovement(std::size_t i);
    std::unique_ptr<TVariationRule> TakeVariationRule(std::size_t i);

    // Empties every list.
    void Clear();
    // Back to one default element of each kind.
    void New();
    // Retags every picture-bearing element; pixels are not converted.
    void SetColorMode(std::uint8_t mode);

    TTile* FindTile(std::uint16_t tileID) const;
    // First rule by Graphics, then by Alt1 .. Alt5.
    TTileRule* FindTileRuleForTile(std::uint16_t tileID) const;
    long IndexOfTileRule(const TTileRule* rule) const;

    // Sorted, distinct two-digit tile indices of the tiles.
    const std::vector<std::string>& TileIndexList() const { return FTileIndexList; }
    void RebuildTileIndexList();

    // Moves every element of source after this set's elements (source ends empty).
    void AppendElementsFrom(TTileFile& source);
    // A deep copy, element by element rather than through the file layout: every field and
    // colour tag is kept as it is, and a set that could not be written can still be copied.
    std::unique_ptr<TTileFile> Copy() const;

    // Tile file reading and writing.
    // A file that cannot be read whole leaves the set exactly as it was.
    TTileFileLoadInfo LoadFromFile(const std::string& fileName, bool append);
    TTileFileLoadInfo LoadFromMemory(std::span<const std::uint8_t> data, bool append);
    void SaveToFile(const std::string& fileName, int colorMode) const;
    std::vector<std::uint8_t> SaveToMemory(int colorMode) const;

private:
    template <class T>
    static T* At(const std::vector<std::unique_ptr<T>>& list, std::size_t i)
    {
        if (i >= list.size())
            throw EListIndexError(static_cast<long long>(i));
        return list[i].get();
    }
    void AddTileIndex(std::uint8_t index);
    void AddDefaults();

    std::vector<std::unique_ptr<TTileRule>> FTileRules;
    std::vector<std::unique_ptr<TTileBorder>> FBorders;
    std::vector<std::unique_ptr<TTile>> FTiles;
    std::vector<std::unique_ptr<TRiver>> FRivers;
    std::vector<std::unique_ptr<TTileImprovement>> FImprovements;
    std::vector<std::unique_ptr<TVariationRule>> FVariationRules;
    std::vector<std::string> FTileIndexList;
};

// Whether a tile file's name, without its folder, holds digits such as "565": the game's
// pair is gtset555.til and gtset565.til, so the name tells the pixel layout to read it in.
bool TileFileNameSays(const std::string& fileName, std::string_view digits);

} // namespace kestrund
