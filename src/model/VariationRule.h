#pragma once
// A variation rule: a path of steps, each moving one cell and naming a tile, placed on
// a 5 x 5 grid for drawing.

#include "ByteStream.h"
#include "Pixel.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrund {

class TTileFile;

constexpr std::uint16_t EmptyCell = 0xFFFF;

class TVariationRule {
public:
    TVariationRule() : Steps(1, 0u) {}

    // Bits 0-4 Dir, bit 5 zero, bits 6-13 TileIndex, bits 16-31 TileID.
    std::vector<std::uint32_t> Steps;
    // Grid[a][b]: tile ID at row a, column b; EmptyCell where nothing is placed.
    std::array<std::array<std::uint16_t, 5>, 5> Grid{};

    void Assign(const TVariationRule& source) { Steps = source.Steps; }

    std::size_t StepCount() const { return Steps.size(); }
    void SetStepCount(std::uint16_t n) { Steps.resize(n, 0u); }
    std::uint32_t Step(std::size_t i) const;
    void SetStep(std::size_t i, std::uint32_t value);
    int StepDir(std::size_t i) const { return static_cast<int>(Step(i) & 0x1F); }
    void SetStepDir(std::size_t i, int dir);
    int StepTileIndex(std::size_t i) const { return static_cast<int>((Step(i) & 0xFFFF) >> 6); }
    void SetStepTileIndex(std::size_t i, int index);
    std::uint16_t StepTileID(std::size_t i) const { return static_cast<std::uint16_t>(Step(i) >> 16); }
    void SetStepTileID(std::size_t i, std::uint16_t id);

    // "03,2,0140": tile index, dir, tile ID.
    std::string StepText(std::size_t i) const;
    // Items that are missing or not numbers set their field to 0.
    void SetStepText(std::size_t i, const std::string& text);

    void ComputeGrid();

    void Draw(const TTileFile& set, int x, int y, TSurface& surface);
    void Draw(const TTileFile& set, int x, int y, TColor shadowColor, TSurface& surface);
    void DrawToBuffer(const TTileFile& set, int x, int y, bool shadowBlend, TColor shadowColor,
                      TPictureBuffer& buffer);

    void LoadFromStream(TByteReader& reader);
    void SaveToStream(TByteWriter& writer) const;

    bool operator==(const TVariationRule& other) const { return Steps == other.Steps; }
};

// Picture offset of grid cell (a, b) in a variation-rule drawing; false outside the layout.
bool VariationCellOffset(int a, int b, int& dx, int& dy);

} // namespace kestrund
