#include "SetBuilders.h"

namespace kestrund::testing {

namespace {
bool OnGround(int x, int y)
{
    const TDiamondRow row = DiamondRow(y);
    return row.Count > 0 && x >= row.Left && x < row.Left + row.Count;
}

// Overlay whose lines are encoded with (t, s) from a picture that holds picT/picS
// as its transparent and shadow words.
void FillRandomOverlay(TTileOverlay& overlay, std::mt19937& rng, int width, int height, bool tileShape,
                 TColor t, TColor s, const std::vector<std::uint16_t>& sprinkle)
{
    const std::uint16_t tw = ColorToPixel(t, cmRGB555), sw = ColorToPixel(s, cmRGB555);
    auto clear = [&](int x, int y) { return tileShape && OnGround(x, y); };
    auto picture = RandomPicture(rng, width, height, tw, sw, clear);
    for (std::uint16_t word : sprinkle)
        for (int k = 0; k < 20; ++k) {
            const int x = static_cast<int>(rng() % static_cast<unsigned>(width));
            const int y = 3 + static_cast<int>(rng() % static_cast<unsigned>(height - 3));
            if (!clear(x, y))
                picture(x, y) = word;
        }
    // Leave the first and last few rows empty, as real pictures do.
    for (int y = 0; y < std::min(3, height); ++y)
        for (int x = 0; x < width; ++x)
            picture(x, y) = tw;
    overlay.FromBuffer(picture, t, s);
}
} // namespace

std::unique_ptr<TTileFile> MakeRichSet(unsigned seed, bool literalKeyColors)
{
    std::mt19937 rng(seed);
    auto set = std::make_unique<TTileFile>();
    set->Clear();
    // Encoding with other key colours leaves the set's own words as literal pixels.
    const TColor t = literalKeyColors ? 0x00F8F8F8 : set->TransparentColor;
    const TColor s = literalKeyColors ? 0x00080808 : set->ShadowColor;
    std::vector<std::uint16_t> sprinkle;
    if (literalKeyColors)
        sprinkle = {ColorToPixel(set->TransparentColor, cmRGB555), ColorToPixel(set->ShadowColor, cmRGB555)};

    for (int i = 0; i < 4; ++i) {
        auto rule = std::make_unique<TTileRule>();
        for (auto& v : rule->Values)
            v = static_cast<std::uint16_t>(rng() % 3 == 0 ? 0xFFFF : rng() & 0xFFFF);
        set->AddTileRule(std::move(rule));
    }
    for (int i = 0; i < 3; ++i) {
        auto border = std::make_unique<TTileBorder>();
        border->Inside = static_cast<std::uint16_t>(i + 1);
        border->Outside = static_cast<std::uint16_t>(0x100 * i + 7);
        for (auto& edge : border->Edges)
            for (auto& p : edge.Pixels)
                p = static_cast<std::uint16_t>(rng() & 0xFFFF);
        set->AddBorder(std::move(border));
    }
    for (int i = 0; i < 5; ++i) {
        auto tile = std::make_unique<TTile>();
        tile->TileID = static_cast<std::uint16_t>(100 + i * 37);
        tile->TileIndex = static_cast<std::uint8_t>(i % 3);
        tile->BorderEdges = static_cast<std::uint8_t>(i * 3 % 16);
        for (auto& p : tile->Pixels)
            p = static_cast<std::uint16_t>(rng() & 0xFFFF);
        // Where a tile carries a border, its ground holds the edge numbers as markers.
        for (int edge = 0; edge < 4; ++edge)
            if (tile->BorderEdges & (1 << edge))
                for (const TMaskPoint& point : BorderMask(edge)) {
                    const TDiamondRow row = DiamondRow(point.Y);
                    tile->Pixels[static_cast<std::size_t>(row.Start + point.X - row.Left)] =
                        static_cast<std::uint16_t>(edge);
                }
        if (i % 2 == 0) {
            tile->Overlay = std::make_unique<TTileOverlay>();
            FillRandomOverlay(*tile->Overlay, rng, TileWidth, TileHeight, true, t, s, sprinkle);
            if (tile->Overlay->Empty())
                tile->Overlay.reset();
        }
        set->AddTile(std::move(tile));
    }
    for (int i = 0; i < 3; ++i) {
        auto river = std::make_unique<TRiver>();
        river->ImprovementID = static_cast<std::uint16_t>(i + 1);
        for (auto& d : river->Directions)
            d = static_cast<std::uint16_t>(rng() % 3);
        FillRandomOverlay(*river, rng, 60 + i * 10, 40 + i, false, t, s, sprinkle);
        set->AddRiver(std::move(river));
    }
    for (int i = 0; i < 4; ++i) {
        auto improvement = std::make_unique<TTileImprovement>();
        improvement->ImprovementID = static_cast<std::uint16_t>(0x200 + i);
        FillRandomOverlay(*improvement, rng, 94 + i * 20, 90 + i * 30, false, t, s, sprinkle);
        set->AddImprovement(std::move(improvement));
    }
    for (int i = 0; i < 3; ++i) {
        auto rule = std::make_unique<TVariationRule>();
        rule->SetStepCount(static_cast<std::uint16_t>(i + 1));
        for (std::size_t k = 0; k < rule->StepCount(); ++k) {
            rule->SetStepDir(k, static_cast<int>(rng() % 5));
            rule->SetStepTileIndex(k, static_cast<int>(rng() % 256));
            rule->SetStepTileID(k, static_cast<std::uint16_t>(100 + (rng() % 5) * 37));
        }
        set->AddVariationRule(std::move(rule));
    }
    return set;
}

} // namespace kestrund::testing
