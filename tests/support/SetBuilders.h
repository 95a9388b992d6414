#pragma once
// Tile sets built by the project's own code, shared by every test binary.

#include "TileFile.h"
#include "TileGeometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace kestrund::testing {

struct TSetShape {
    std::size_t TileRules = 3, Borders = 2, Tiles = 4, TilesWithOverlay = 2, Rivers = 2, Improvements = 3,
                VariationRules = 3;
    int OverlayWidth = 94, OverlayHeight = 72;
};

// A set of the given shape tagged with mode; everything else comes from seed: random
// words, overlays of random runs with empty rows inside (the second improvement's has no
// lines at all), rules of 0 to 5 steps.
std::unique_ptr<TTileFile> MakeSet(const TSetShape& shape, std::uint32_t seed, std::uint8_t mode = cmRGB555);

// A set with several elements of every kind, every picture made of random runs,
// overlays kept off the tiles' ground (which a tile picture cannot keep apart).
// With literalKeyColors, some pictures hold the set's transparent and shadow words
// as ordinary pixels.
std::unique_ptr<TTileFile> MakeRichSet(unsigned seed, bool literalKeyColors);

// Same elements in the same order, same headers, same pixels and colour modes.
inline ::testing::AssertionResult SameSet(const TTileFile& a, const TTileFile& b)
{
    std::string differs;
    auto each = [&](const char* what, std::size_t count, std::size_t other, auto same) {
        for (std::size_t i = 0; differs.empty() && i < std::max(count, other); ++i)
            if (count != other || !same(i))
                differs = what + (count != other ? std::string(" counts") : " " + std::to_string(i)) + " differ";
    };
    each("headers", 1, 1,
         [&](std::size_t) { return a.BorderHeader == b.BorderHeader && a.TileHeader == b.TileHeader; });
    each("tile rule", a.TileRuleCount(), b.TileRuleCount(),
         [&](std::size_t i) { return a.TileRule(i) == b.TileRule(i); });
    each("border", a.BorderCount(), b.BorderCount(), [&](std::size_t i) {
        return a.Border(i) == b.Border(i) && a.Border(i).ColorMode() == b.Border(i).ColorMode();
    });
    each("tile", a.TileCount(), b.TileCount(), [&](std::size_t i) { return a.Tile(i).SameAs(b.Tile(i)); });
    each("river", a.RiverCount(), b.RiverCount(), [&](std::size_t i) { return a.River(i).SameAs(b.River(i)); });
    each("improvement", a.ImprovementCount(), b.ImprovementCount(),
         [&](std::size_t i) { return a.Improvement(i).SameAs(b.Improvement(i)); });
    each("variation rule", a.VariationRuleCount(), b.VariationRuleCount(),
         [&](std::size_t i) { return a.VariationRule(i) == b.VariationRule(i); });
    return differs.empty() ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << differs;
}

// A small set laid out by hand, so tests can point at exact bytes of its mode-0 file.
// Offsets of that file:
namespace small {
constexpr std::size_t BordersAt = 32;        // after 1 rule
constexpr std::size_t TilesAt = 2860;        // after count, header and 1 border
constexpr std::size_t Tile0At = 2864;        // no overlay (B = 0)
constexpr std::size_t Tile1At = 7480;        // overlay rows 2..5, row 3 without a line
constexpr std::size_t Tile1SizeAt = 12094;   // B = 24
constexpr std::size_t Tile1BlockAt = 12096;  // FirstLine, LastLine, then offsets of rows 2, 3, 4, 5
constexpr std::size_t Tile1DataAt = 12108;   // row 2: EC02 1111 2222; row 4: 0A05 ED03; row 5: FA5E
constexpr std::size_t RiversAt = 12120;
constexpr std::size_t River0At = 12122;      // 18 direction bytes, ID, B = 4, aux, FF FF FF FF
constexpr std::size_t ImprovementsAt = 12150;
constexpr std::size_t Improvement0At = 12152; // ID, B = 8, aux, block of row 0 only: FA5E
constexpr std::size_t VariationRulesAt = 12166;
constexpr std::size_t VariationRule0At = 12168; // 2 steps
constexpr std::size_t FileSize = 12178;
} // namespace small

// Row r of the overlay holds the words rows[r], rows not named have no line; FirstLine and
// LastLine from the first and last of them.
using TRows = std::map<std::size_t, std::vector<std::uint16_t>>;
inline void PutLines(TTileOverlay& o, const TRows& rows)
{
    o.Lines.resize(rows.rbegin()->first + 1);
    for (const auto& [row, words] : rows)
        o.Lines[row].emplace(o.ColorMode, words);
    o.FirstLine = static_cast<std::uint16_t>(rows.begin()->first);
    o.LastLine = static_cast<std::uint16_t>(rows.rbegin()->first);
}

std::unique_ptr<TTileFile> MakeSmallSet(std::uint8_t mode = cmRGB555);

inline void Put16(std::vector<std::uint8_t>& data, std::size_t at, std::uint16_t v)
{
    data.at(at) = static_cast<std::uint8_t>(v);
    data.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}

} // namespace kestrund::testing
