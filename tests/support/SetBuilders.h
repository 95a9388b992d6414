#pragma once
// Tile sets and pictures built by the project's own code, shared by every test binary.

#include "TileFile.h"
#include "TileGeometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace kestrund::testing {

// Every pixel a literal word other than the transparent and shadow words used below.
constexpr std::uint16_t TransparentWord = 0x7C1F;
constexpr std::uint16_t ShadowWord = 0x0001;

// An overlay of rows 0..height-1 (then trimmed) with a picture up to width pixels wide:
// transparent margins, a shadow run, literal pixels (some with bit 15 set) and fully
// transparent rows inside, so the block has rows without a line.
inline void FillOverlay(TTileOverlay& overlay, int width, int height, std::mt19937& random)
{
    overlay.Clear();
    overlay.Lines.resize(static_cast<std::size_t>(height));
    std::vector<std::uint16_t> row(static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        if (y % 7 == 3) // empty row inside the overlay
            continue;
        const int left = static_cast<int>(random() % static_cast<unsigned>(width / 4 + 1));
        const int right = width - static_cast<int>(random() % static_cast<unsigned>(width / 4 + 1));
        const int shadow = left + (right - left) / 2;
        for (int x = 0; x < width; ++x) {
            std::uint16_t p = TransparentWord;
            if (x >= left && x < shadow)
                p = ShadowWord;
            else if (x >= shadow && x < right) {
                p = static_cast<std::uint16_t>(random());
                if (p == TransparentWord || p == ShadowWord)
                    p = 0x1234;
            }
            row[static_cast<std::size_t>(x)] = p;
        }
        auto line = std::make_unique<TLine>(overlay.ColorMode);
        line->Encode(row, TransparentWord, ShadowWord);
        overlay.Lines[static_cast<std::size_t>(y)] = std::move(line);
    }
    overlay.Trim();
}

struct TSetShape {
    std::size_t TileRules = 3;
    std::size_t Borders = 2;
    std::size_t Tiles = 4;
    std::size_t TilesWithOverlay = 2;
    std::size_t Rivers = 2;
    std::size_t Improvements = 3;
    std::size_t VariationRules = 3;
    int OverlayWidth = 94;
    int OverlayHeight = 72;
};

// A set of the given shape tagged with mode; everything else comes from seed.
inline std::unique_ptr<TTileFile> MakeSet(const TSetShape& shape, std::uint32_t seed, std::uint8_t mode = cmRGB555)
{
    std::mt19937 random(seed);
    auto word = [&] { return static_cast<std::uint16_t>(random()); };
    auto set = std::make_unique<TTileFile>();
    set->Clear();
    set->ColorMode = mode;
    set->BorderHeader = {word(), word(), word()};
    set->TileHeader = word();
    for (std::size_t i = 0; i < shape.TileRules; ++i) {
        auto rule = std::make_unique<TTileRule>();
        for (auto& v : rule->Values)
            v = word();
        set->AddTileRule(std::move(rule));
    }
    for (std::size_t i = 0; i < shape.Borders; ++i) {
        auto border = std::make_unique<TTileBorder>(mode);
        border->Inside = word();
        border->Outside = word();
        for (auto& edge : border->Edges)
            for (auto& p : edge.Pixels)
                p = word();
        set->AddBorder(std::move(border));
    }
    const std::size_t overlayEvery = shape.TilesWithOverlay ? shape.Tiles / shape.TilesWithOverlay : 0;
    for (std::size_t i = 0; i < shape.Tiles; ++i) {
        auto tile = std::make_unique<TTile>();
        tile->ColorMode = mode;
        tile->TileID = static_cast<std::uint16_t>(i);
        tile->TileIndex = static_cast<std::uint8_t>(random() % 40);
        tile->BorderEdges = static_cast<std::uint8_t>(random());
        tile->ImageSize = i % 5 == 1 ? word() : GroundImageSize; // kept as stored, whatever it says
        for (auto& p : tile->Pixels)
            p = word();
        if (overlayEvery && i % overlayEvery == 0 && i / overlayEvery < shape.TilesWithOverlay) {
            tile->Overlay = std::make_unique<TTileOverlay>(mode);
            FillOverlay(*tile->Overlay, shape.OverlayWidth, shape.OverlayHeight, random);
        }
        set->AddTile(std::move(tile));
    }
    for (std::size_t i = 0; i < shape.Rivers; ++i) {
        auto river = std::make_unique<TRiver>(mode);
        for (auto& d : river->Directions)
            d = static_cast<std::uint16_t>(random() % 3);
        river->ImprovementID = word();
        river->AuxValue = word();
        FillOverlay(*river, shape.OverlayWidth, shape.OverlayHeight, random);
        set->AddRiver(std::move(river));
    }
    for (std::size_t i = 0; i < shape.Improvements; ++i) {
        auto improvement = std::make_unique<TTileImprovement>(mode);
        improvement->ImprovementID = word();
        improvement->AuxValue = word();
        if (i != 1) // the second one keeps the overlay without lines
            FillOverlay(*improvement, shape.OverlayWidth, shape.OverlayHeight, random);
        set->AddImprovement(std::move(improvement));
    }
    for (std::size_t i = 0; i < shape.VariationRules; ++i) {
        auto rule = std::make_unique<TVariationRule>();
        rule->Steps.resize(i % 6); // the first one has no steps
        for (auto& step : rule->Steps)
            step = static_cast<std::uint32_t>(random());
        set->AddVariationRule(std::move(rule));
    }
    return set;
}

// Same elements in the same order, same headers, same pixels and colour modes.
inline ::testing::AssertionResult SameSet(const TTileFile& a, const TTileFile& b)
{
    auto fail = [](const char* what, std::size_t i) {
        return ::testing::AssertionFailure() << what << " " << i << " differs";
    };
    if (a.TileRuleCount() != b.TileRuleCount() || a.BorderCount() != b.BorderCount() ||
        a.TileCount() != b.TileCount() || a.RiverCount() != b.RiverCount() ||
        a.ImprovementCount() != b.ImprovementCount() || a.VariationRuleCount() != b.VariationRuleCount())
        return ::testing::AssertionFailure() << "counts differ";
    if (a.BorderHeader != b.BorderHeader || a.TileHeader != b.TileHeader)
        return ::testing::AssertionFailure() << "headers differ";
    for (std::size_t i = 0; i < a.TileRuleCount(); ++i)
        if (!(a.TileRule(i) == b.TileRule(i)))
            return fail("tile rule", i);
    for (std::size_t i = 0; i < a.BorderCount(); ++i)
        if (!(a.Border(i) == b.Border(i)) || a.Border(i).ColorMode() != b.Border(i).ColorMode())
            return fail("border", i);
    for (std::size_t i = 0; i < a.TileCount(); ++i)
        if (!a.Tile(i).SameAs(b.Tile(i)))
            return fail("tile", i);
    for (std::size_t i = 0; i < a.RiverCount(); ++i)
        if (!a.River(i).SameAs(b.River(i)))
            return fail("river", i);
    for (std::size_t i = 0; i < a.ImprovementCount(); ++i)
        if (!a.Improvement(i).SameAs(b.Improvement(i)))
            return fail("improvement", i);
    for (std::size_t i = 0; i < a.VariationRuleCount(); ++i)
        if (!(a.VariationRule(i) == b.VariationRule(i)))
            return fail("variation rule", i);
    return ::testing::AssertionSuccess();
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

inline std::unique_ptr<TLine> LineOf(std::initializer_list<std::uint16_t> words, std::uint8_t mode)
{
    auto line = std::make_unique<TLine>(mode);
    line->Words = words;
    line->ComputeWidth();
    return line;
}

inline std::unique_ptr<TTileFile> MakeSmallSet(std::uint8_t mode = cmRGB555)
{
    auto set = std::make_unique<TTileFile>();
    set->Clear();
    set->ColorMode = mode;
    set->BorderHeader = {7, 704, 9};
    set->TileHeader = 0x0102;
    auto rule = std::make_unique<TTileRule>();
    for (std::size_t k = 0; k < rule->Values.size(); ++k)
        rule->Values[k] = static_cast<std::uint16_t>(k + 1);
    set->AddTileRule(std::move(rule));

    auto border = std::make_unique<TTileBorder>(mode);
    border->Inside = 1;
    border->Outside = 2;
    for (std::size_t k = 0; k < 4; ++k)
        for (std::size_t i = 0; i < BorderPixelCount; ++i)
            border->Edges[k].Pixels[i] = static_cast<std::uint16_t>(0x8000 | (k * 1000 + i));
    set->AddBorder(std::move(border));

    for (std::uint16_t t = 0; t < 2; ++t) {
        auto tile = std::make_unique<TTile>();
        tile->ColorMode = mode;
        tile->TileID = static_cast<std::uint16_t>(10 + t);
        tile->TileIndex = static_cast<std::uint8_t>(3 + t);
        tile->BorderEdges = 5;
        for (std::size_t i = 0; i < tile->Pixels.size(); ++i)
            tile->Pixels[i] = static_cast<std::uint16_t>(i * 37 + t);
        if (t == 1) {
            tile->Overlay = std::make_unique<TTileOverlay>(mode);
            TTileOverlay& overlay = *tile->Overlay;
            overlay.Lines.resize(6);
            overlay.Lines[2] = LineOf({0xEC02, 0x1111, 0x2222}, mode);
            overlay.Lines[4] = LineOf({0x0A05, 0xED03}, mode);
            overlay.Lines[5] = LineOf({0xFA5E}, mode);
            overlay.FirstLine = 2;
            overlay.LastLine = 5;
        }
        set->AddTile(std::move(tile));
    }

    auto river = std::make_unique<TRiver>(mode);
    for (std::size_t k = 0; k < 9; ++k)
        river->Directions[k] = static_cast<std::uint16_t>(k + 1);
    river->ImprovementID = 20;
    river->AuxValue = 21;
    set->AddRiver(std::move(river));

    auto improvement = std::make_unique<TTileImprovement>(mode);
    improvement->ImprovementID = 30;
    improvement->AuxValue = 31;
    improvement->Lines.resize(1);
    improvement->Lines[0] = LineOf({0xFA5E}, mode);
    improvement->FirstLine = 0;
    improvement->LastLine = 0;
    set->AddImprovement(std::move(improvement));

    auto variation = std::make_unique<TVariationRule>();
    variation->Steps = {0x00010042, 0x00020081};
    set->AddVariationRule(std::move(variation));
    return set;
}

inline std::uint16_t Get16(const std::vector<std::uint8_t>& data, std::size_t at)
{
    return static_cast<std::uint16_t>(data.at(at) | data.at(at + 1) << 8);
}
inline void Put16(std::vector<std::uint8_t>& data, std::size_t at, std::uint16_t v)
{
    data.at(at) = static_cast<std::uint8_t>(v);
    data.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}

// A picture of random literal pixels, transparent and shadow runs. Where keepClear
// says so, the picture holds the transparent word.
template <class KeepClear>
TPictureBuffer RandomPicture(std::mt19937& rng, int width, int height, std::uint16_t transparent,
                             std::uint16_t shadow, KeepClear keepClear)
{
    TPictureBuffer picture(width, height, transparent);
    for (int y = 0; y < height; ++y) {
        int x = 0;
        while (x < width) {
            const int run = 1 + static_cast<int>(rng() % 12);
            const unsigned kind = rng() % 3;
            for (int k = 0; k < run && x < width; ++k, ++x) {
                if (keepClear(x, y))
                    continue;
                std::uint16_t p = transparent;
                if (kind == 1)
                    p = shadow;
                else if (kind == 2)
                    p = static_cast<std::uint16_t>(rng() & 0xFFFF);
                picture(x, y) = p;
            }
        }
    }
    return picture;
}

// A set with several elements of every kind, every picture made of random runs,
// overlays kept off the tiles' ground (which a tile picture cannot keep apart).
// With literalKeyColors, some pictures hold the set's transparent and shadow words
// as ordinary pixels.
std::unique_ptr<TTileFile> MakeRichSet(unsigned seed, bool literalKeyColors);

} // namespace kestrund::testing
