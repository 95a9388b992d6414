#include "TileFile.h"

#include "MiscFunc.h"

#include <algorithm>
#include <filesystem>

namespace kestrund {

namespace {
constexpr std::size_t MaxElements = 0xFFFF; // counts are stored in 16 bits

template <class T>
T& InsertInto(std::vector<std::unique_ptr<T>>& list, std::size_t i, std::unique_ptr<T> element, const char* kind)
{
    if (i > list.size())
        throw EListIndexError(static_cast<long long>(i));
    if (list.size() >= MaxElements)
        throw EInvalidArgument(std::string("A tile set holds at most 65535 ") + kind);
    if (!element)
        throw EInvalidArgument(std::string("No element given to add to the ") + kind);
    T& ref = *element;
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(i), std::move(element));
    return ref;
}

template <class T>
std::unique_ptr<T> TakeFrom(std::vector<std::unique_ptr<T>>& list, std::size_t i)
{
    if (i >= list.size())
        throw EListIndexError(static_cast<long long>(i));
    std::unique_ptr<T> taken = std::move(list[i]);
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
    return taken;
}

template <class T>
void MoveAll(std::vector<std::unique_ptr<T>>& to, std::vector<std::unique_ptr<T>>& from)
{
    to.reserve(to.size() + from.size());
    for (auto& element : from)
        to.push_back(std::move(element));
    from.clear();
}
} // namespace

TTileFile::TTileFile()
{
    AddDefaults();
}

void TTileFile::AddDefaults()
{
    AddTileRule(std::make_unique<TTileRule>(this));
    AddBorder(std::make_unique<TTileBorder>());
    AddTile(std::make_unique<TTile>());
    AddRiver(std::make_unique<TRiver>());
    AddImprovement(std::make_unique<TTileImprovement>());
    AddVariationRule(std::make_unique<TVariationRule>());
}

void TTileFile::Clear()
{
    FTileRules.clear();
    FBorders.clear();
    FTiles.clear();
    FRivers.clear();
    FImprovements.clear();
    FVariationRules.clear();
    FTileIndexList.clear();
}

void TTileFile::New()
{
    Clear();
    AddDefaults();
}

void TTileFile::SetColorMode(std::uint8_t mode)
{
    for (auto& border : FBorders)
        border->SetColorMode(mode);
    for (auto& tile : FTiles)
        tile->SetColorMode(mode);
    for (auto& river : FRivers)
        river->SetColorMode(mode);
    for (auto& improvement : FImprovements)
        improvement->SetColorMode(mode);
    ColorMode = mode;
}

TTileRule& TTileFile::AddTileRule(std::unique_ptr<TTileRule> rule)
{
    return InsertTileRule(FTileRules.size(), std::move(rule));
}
TTileBorder& TTileFile::AddBorder(std::unique_ptr<TTileBorder> border)
{
    return InsertBorder(FBorders.size(), std::move(border));
}
TTile& TTileFile::AddTile(std::unique_ptr<TTile> tile)
{
    return InsertTile(FTiles.size(), std::move(tile));
}
TRiver& TTileFile::AddRiver(std::unique_ptr<TRiver> river)
{
    return InsertRiver(FRivers.size(), std::move(river));
}
TTileImprovement& TTileFile::AddImprovement(std::unique_ptr<TTileImprovement> improvement)
{
    return InsertImprovement(FImprovements.size(), std::move(improvement));
}
TVariationRule& TTileFile::AddVariationRule(std::unique_ptr<TVariationRule> rule)
{
    return InsertVariationRule(FVariationRules.size(), std::move(rule));
}

TTileRule& TTileFile::InsertTileRule(std::size_t i, std::unique_ptr<TTileRule> rule)
{
    TTileRule& added = InsertInto(FTileRules, i, std::move(rule), "tile rules");
    added.Owner = this;
    return added;
}
TTileBorder& TTileFile::InsertBorder(std::size_t i, std::unique_ptr<TTileBorder> border)
{
    return InsertInto(FBorders, i, std::move(border), "borders");
}
TTile& TTileFile::InsertTile(std::size_t i, std::unique_ptr<TTile> tile)
{
    TTile& added = InsertInto(FTiles, i, std::move(tile), "tiles");
    AddTileIndex(added.TileIndex);
    return added;
}
TRiver& TTileFile::InsertRiver(std::size_t i, std::unique_ptr<TRiver> river)
{
    return InsertInto(FRivers, i, std::move(river), "rivers");
}
TTileImprovement& TTileFile::InsertImprovement(std::size_t i, std::unique_ptr<TTileImprovement> improvement)
{
    return InsertInto(FImprovements, i, std::move(improvement), "improvements");
}
TVariationRule& TTileFile::InsertVariationRule(std::size_t i, std::unique_ptr<TVariationRule> rule)
{
    return InsertInto(FVariationRules, i, std::move(rule), "variation rules");
}

void TTileFile::DeleteTileRule(std::size_t i) { TakeTileRule(i); }
void TTileFile::DeleteBorder(std::size_t i) { TakeBorder(i); }
void TTileFile::DeleteTile(std::size_t i) { TakeTile(i); }
void TTileFile::DeleteRiver(std::size_t i) { TakeRiver(i); }
void TTileFile::DeleteImprovement(std::size_t i) { TakeImprovement(i); }
void TTileFile::DeleteVariationRule(std::size_t i) { TakeVariationRule(i); }

std::unique_ptr<TTileRule> TTileFile::TakeTileRule(std::size_t i)
{
    auto rule = TakeFrom(FTileRules, i);
    rule->Owner = nullptr;
    return rule;
}
std::unique_ptr<TTileBorder> TTileFile::TakeBorder(std::size_t i) { return TakeFrom(FBorders, i); }
std::unique_ptr<TTile> TTileFile::TakeTile(std::size_t i)
{
    auto tile = TakeFrom(FTiles, i);
    RebuildTileIndexList();
    return tile;
}
std::unique_ptr<TRiver> TTileFile::TakeRiver(std::size_t i) { return TakeFrom(FRivers, i); }
std::unique_ptr<TTileImprovement> TTileFile::TakeImprovement(std::size_t i) { return TakeFrom(FImprovements, i); }
std::unique_ptr<TVariationRule> TTileFile::TakeVariationRule(std::size_t i) { return TakeFrom(FVariationRules, i); }

TTile* TTileFile::FindTile(std::uint16_t tileID) const
{
    for (const auto& tile : FTiles)
        if (tile->TileID == tileID)
            return tile.get();
    return nullptr;
}

TTileRule* TTileFile::FindTileRuleForTile(std::uint16_t tileID) const
{
    for (int k = rvGraphics; k <= rvAlt5; ++k)
        for (const auto& rule : FTileRules)
            if (rule->Values[static_cast<std::size_t>(k)] == tileID)
                return rule.get();
    return nullptr;
}

long TTileFile::IndexOfTileRule(const TTileRule* rule) const
{
    for (std::size_t i = 0; i < FTileRules.size(); ++i)
        if (FTileRules[i].get() == rule)
            return static_cast<long>(i);
    return -1;
}

void TTileFile::AddTileIndex(std::uint8_t index)
{
    std::string text = IntToStrPad(index, 2, '0');
    const auto at = std::lower_bound(FTileIndexList.begin(), FTileIndexList.end(), text);
    if (at == FTileIndexList.end() || *at != text)
        FTileIndexList.insert(at, std::move(text));
}

void TTileFile::RebuildTileIndexList()
{
    FTileIndexList.clear();
    for (const auto& tile : FTiles)
        AddTileIndex(tile->TileIndex);
}

void TTileFile::AppendElementsFrom(TTileFile& source)
{
    if (&source == this)
        return;
    for (auto& rule : source.FTileRules)
        rule->Owner = this;
    MoveAll(FTileRules, source.FTileRules);
    MoveAll(FBorders, source.FBorders);
    MoveAll(FTiles, source.FTiles);
    MoveAll(FRivers, source.FRivers);
    MoveAll(FImprovements, source.FImprovements);
    MoveAll(FVariationRules, source.FVariationRules);
    RebuildTileIndexList();
    source.RebuildTileIndexList();
}

std::unique_ptr<TTileFile> TTileFile::Copy() const
{
    auto copy = std::make_unique<TTileFile>();
    copy->Clear();
    for (std::size_t i = 0; i < TileRuleCount(); ++i)
        copy->AddTileRule(std::make_unique<TTileRule>(TileRule(i)));
    for (std::size_t i = 0; i < BorderCount(); ++i)
        copy->AddBorder(std::make_unique<TTileBorder>()).Assign(Border(i));
    for (std::size_t i = 0; i < TileCount(); ++i) {
        auto tile = std::make_unique<TTile>();
        tile->Assign(Tile(i));
        tile->ImageSize = Tile(i).ImageSize;
        copy->AddTile(std::move(tile));
    }
    for (std::size_t i = 0; i < RiverCount(); ++i)
        copy->AddRiver(std::make_unique<TRiver>()).Assign(River(i));
    for (std::size_t i = 0; i < ImprovementCount(); ++i)
        copy->AddImprovement(std::make_unique<TTileImprovement>()).Assign(Improvement(i));
    for (std::size_t i = 0; i < VariationRuleCount(); ++i) {
        TVariationRule& rule = copy->AddVariationRule(std::make_unique<TVariationRule>());
        rule.Assign(VariationRule(i));
        rule.Grid = VariationRule(i).Grid;
    }
    copy->ScriptComment = ScriptComment;
    copy->ColorComment = ColorComment;
    copy->TransparentColor = TransparentColor;
    copy->ShadowColor = ShadowColor;
    copy->BorderHeader = BorderHeader;
    copy->TileHeader = TileHeader;
    copy->ColorMode = ColorMode;
    copy->FileName555 = FileName555;
    copy->FileName565 = FileName565;
    return copy;
}

bool TileFileNameSays(const std::string& fileName, std::string_view digits)
{
    return std::filesystem::path(fileName).filename().string().find(digits) != std::string::npos;
}

} // namespace kestrund
