#include "SetBuilders.h"

#include <algorithm>
#include <numeric>
#include <random>

namespace kestrund::testing {

namespace {
// An overlay encoded with the key colours t and s from a picture of random runs of literal
// pixels, transparent and shadow. Where keepClear says so the picture is transparent; the
// words of sprinkle are scattered over the rest. The first rows stay empty, as in real pictures.
template <class KeepClear>
void FillRandomOverlay(TTileOverlay& overlay, std::mt19937& rng, int width, int height, KeepClear keepClear,
                       TColor t, TColor s, const std::vector<std::uint16_t>& sprinkle = {})
{
    const std::uint16_t tw = ColorToPixel(t, cmRGB555), sw = ColorToPixel(s, cmRGB555);
    TPictureBuffer picture(width, height, tw);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width;) {
            const int run = 1 + static_cast<int>(rng() % 12);
            const unsigned kind = rng() % 3;
            for (int k = 0; k < run && x < width; ++k, ++x)
                if (!keepClear(x, y))
                    picture(x, y) = kind == 0 ? tw : kind == 1 ? sw : static_cast<std::uint16_t>(rng() & 0xFFFF);
        }
    for (std::uint16_t word : sprinkle)
        for (int k = 0; k < 20; ++k) {
            const int x = static_cast<int>(rng() % static_cast<unsigned>(width));
            const int y = 3 + static_cast<int>(rng() % static_cast<unsigned>(height - 3));
            if (!keepClear(x, y))
                picture(x, y) = word;
        }
    for (int y = 0; y < std::min(3, height); ++y)
        for (int x = 0; x < width; ++x)
            picture(x, y) = tw;
    overlay.FromBuffer(picture, t, s);
}

// The builder of both kinds of random set, drawing from rng in one fixed order. A rich set's
// elements carry fixed numbers (tile IDs the variation rules point at, edge markers in the
// ground where a tile has a border) and its tile overlays keep off the ground; the other kind
// is random throughout, with odd image sizes, an improvement without lines and rules of no steps.
std::unique_ptr<TTileFile> Build(const TSetShape& shape, std::uint32_t seed, std::uint8_t mode, bool rich,
                                 bool literalKeyColors = false)
{
    std::mt19937 rng(seed);
    auto word = [&] { return static_cast<std::uint16_t>(rng()); };
    auto set = std::make_unique<TTileFile>();
    set->Clear();
    set->ColorMode = mode;
    // Encoding with other key colours leaves the set's own words as literal pixels.
    const TColor t = literalKeyColors ? 0x00F8F8F8 : set->TransparentColor;
    const TColor s = literalKeyColors ? 0x00080808 : set->ShadowColor;
    std::vector<std::uint16_t> sprinkle;
    if (literalKeyColors)
        sprinkle = {ColorToPixel(set->TransparentColor, cmRGB555), ColorToPixel(set->ShadowColor, cmRGB555)};
    auto fill = [&](TTileOverlay& overlay, int width, int height, bool onTile) {
        FillRandomOverlay(overlay, rng, width, height, [&](int x, int y) {
            return rich ? onTile && unsigned(x - DiamondRow(y).Left) < unsigned(DiamondRow(y).Count) : y % 7 == 3;
        }, t, s, sprinkle);
    };
    if (!rich) {
        for (auto& w : set->BorderHeader)
            w = word();
        set->TileHeader = word();
    }
    for (std::size_t i = 0; i < shape.TileRules; ++i)
        for (auto& v : set->AddTileRule(std::make_unique<TTileRule>()).Values)
            v = rng() % 3 == 0 ? 0xFFFF : word();
    for (std::size_t i = 0; i < shape.Borders; ++i) {
        auto& border = set->AddBorder(std::make_unique<TTileBorder>(mode));
        border.Inside = rich ? static_cast<std::uint16_t>(i + 1) : word();
        border.Outside = rich ? static_cast<std::uint16_t>(0x100 * i + 7) : word();
        for (auto& edge : border.Edges)
            for (auto& p : edge.Pixels)
                p = word();
    }
    const std::size_t withOverlay = std::max<std::size_t>(shape.TilesWithOverlay, 1);
    const std::size_t overlayEvery = (shape.Tiles + withOverlay - 1) / withOverlay;
    for (std::size_t i = 0; i < shape.Tiles; ++i) {
        auto tile = std::make_unique<TTile>(0, mode);
        tile->TileID = static_cast<std::uint16_t>(rich ? 100 + i * 37 : i);
        tile->TileIndex = static_cast<std::uint8_t>(rich ? i % 3 : rng() % 40);
        tile->BorderEdges = static_cast<std::uint8_t>(rich ? i * 3 % 16 : rng());
        if (!rich && i % 5 == 1)
            tile->ImageSize = word(); // kept as stored, whatever it says
        for (auto& p : tile->Pixels)
            p = word();
        // Where a tile carries a border, its ground holds the edge numbers as markers.
        for (int edge = 0; edge < 4; ++edge)
            for (const TMaskPoint& point : BorderMask(edge))
                if (tile->BorderEdges & (1 << edge))
                    tile->Pixels[static_cast<std::size_t>(DiamondRow(point.Y).Start + point.X -
                                                          DiamondRow(point.Y).Left)] = static_cast<std::uint16_t>(edge);
        if (shape.TilesWithOverlay && i % overlayEvery == 0 && i / overlayEvery < shape.TilesWithOverlay) {
            fill(*(tile->Overlay = std::make_unique<TTileOverlay>(mode)), rich ? TileWidth : shape.OverlayWidth,
                 rich ? TileHeight : shape.OverlayHeight, true);
            if (tile->Overlay->Empty())
                tile->Overlay.reset();
        }
        set->AddTile(std::move(tile));
    }
    for (int i = 0; i < static_cast<int>(shape.Rivers); ++i) {
        auto& river = set->AddRiver(std::make_unique<TRiver>(mode));
        for (auto& d : river.Directions)
            d = static_cast<std::uint16_t>(rng() % 3);
        river.ImprovementID = rich ? static_cast<std::uint16_t>(i + 1) : word();
        river.AuxValue = rich ? 0 : word();
        fill(river, rich ? 60 + i * 10 : shape.OverlayWidth, rich ? 40 + i : shape.OverlayHeight, false);
    }
    for (int i = 0; i < static_cast<int>(shape.Improvements); ++i) {
        auto& improvement = set->AddImprovement(std::make_unique<TTileImprovement>(mode));
        improvement.ImprovementID = rich ? static_cast<std::uint16_t>(0x200 + i) : word();
        improvement.AuxValue = rich ? 0 : word();
        if (rich || i != 1)
            fill(improvement, rich ? 94 + i * 20 : shape.OverlayWidth, rich ? 90 + i * 30 : shape.OverlayHeight, false);
    }
    for (std::size_t i = 0; i < shape.VariationRules; ++i) {
        auto& rule = set->AddVariationRule(std::make_unique<TVariationRule>());
        rule.SetStepCount(static_cast<std::uint16_t>(rich ? i + 1 : i % 6));
        for (std::size_t k = 0; k < rule.StepCount(); ++k)
            if (rich) {
                rule.SetStepDir(k, static_cast<int>(rng() % 5));
                rule.SetStepTileIndex(k, static_cast<int>(rng() % 256));
                rule.SetStepTileID(k, static_cast<std::uint16_t>(100 + (rng() % 5) * 37));
            } else {
                rule.SetStep(k, static_cast<std::uint32_t>(rng()));
            }
    }
    return set;
}
} // namespace

std::unique_ptr<TTileFile> MakeSet(const TSetShape& shape, std::uint32_t seed, std::uint8_t mode)
{
    return Build(shape, seed, mode, false);
}

std::unique_ptr<TTileFile> MakeRichSet(unsigned seed, bool literalKeyColors)
{
    return Build({.TileRules = 4, .Borders = 3, .Tiles = 5, .TilesWithOverlay = 3, .Rivers = 3, .Improvements = 4,
                  .VariationRules = 3},
                 seed, cmRGB555, true, literalKeyColors);
}

// Offsets of its mode-0 file are in small:: (SetBuilders.h).
std::unique_ptr<TTileFile> MakeSmallSet(std::uint8_t mode)
{
    auto set = std::make_unique<TTileFile>();
    set->Clear();
    set->ColorMode = mode;
    set->BorderHeader = {7, 704, 9};
    set->TileHeader = 0x0102;
    auto& rule = set->AddTileRule(std::make_unique<TTileRule>());
    std::iota(rule.Values.begin(), rule.Values.end(), 1);
    auto& border = set->AddBorder(std::make_unique<TTileBorder>(mode));
    border.Inside = 1;
    border.Outside = 2;
    for (std::size_t k = 0; k < 4; ++k)
        for (std::size_t i = 0; i < BorderPixelCount; ++i)
            border.Edges[k].Pixels[i] = static_cast<std::uint16_t>(0x8000 | (k * 1000 + i));
    for (std::uint16_t t = 0; t < 2; ++t) {
        auto tile = std::make_unique<TTile>(0, mode);
        tile->TileID = static_cast<std::uint16_t>(10 + t);
        tile->TileIndex = static_cast<std::uint8_t>(3 + t);
        tile->BorderEdges = 5;
        for (std::size_t i = 0; i < tile->Pixels.size(); ++i)
            tile->Pixels[i] = static_cast<std::uint16_t>(i * 37 + t);
        set->AddTile(std::move(tile));
    }
    PutLines(*(set->Tile(1).Overlay = std::make_unique<TTileOverlay>(mode)),
             {{2, {0xEC02, 0x1111, 0x2222}}, {4, {0x0A05, 0xED03}}, {5, {0xFA5E}}});
    auto& river = set->AddRiver(std::make_unique<TRiver>(mode));
    std::iota(river.Directions.begin(), river.Directions.end(), 1);
    river.ImprovementID = 20;
    river.AuxValue = 21;
    auto& improvement = set->AddImprovement(std::make_unique<TTileImprovement>(mode));
    improvement.ImprovementID = 30;
    improvement.AuxValue = 31;
    PutLines(improvement, {{0, {0xFA5E}}});
    set->AddVariationRule(std::make_unique<TVariationRule>()).Steps = {0x00010042, 0x00020081};
    return set;
}

} // namespace kestrund::testing
