#pragma once
// The synthetic set shaped like a full game set that the benchmarks work on: every
// tile, border, river and improvement has a picture, and overlays look like trees or
// buildings rather than noise, so run-length encoding does realistic work.

#include "TileFile.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace kestrund::bench {

inline constexpr std::uint16_t Transparent = 0x7C1F;
inline constexpr std::uint16_t Shadow = 0x0001;

// A blob like a tree or a building: rows from top to 71, each a transparent margin, a
// literal run, a shadow run and transparent to the end of the 94-pixel row.
inline void FillOverlay(TTileOverlay& overlay, int top, std::mt19937& random)
{
    overlay.Clear();
    overlay.Lines.resize(TileHeight);
    std::vector<std::uint16_t> row(TileWidth);
    for (int y = top; y < TileHeight; ++y) {
        const double t = static_cast<double>(y - top + 1) / (TileHeight - top + 1);
        const int half = 1 + static_cast<int>(15 * std::sin(3.14159 * t));
        const int left = 47 - half;
        const int right = 47 + half;
        for (int x = 0; x < TileWidth; ++x) {
            std::uint16_t p = Transparent;
            if (x >= left && x < right)
                p = static_cast<std::uint16_t>(0x0400 + random() % 0x7000);
            else if (x >= right && x < right + 6)
                p = Shadow;
            row[static_cast<std::size_t>(x)] = p;
        }
        auto line = std::make_unique<TLine>(overlay.ColorMode);
        line->Encode(row, Transparent, Shadow);
        overlay.Lines[static_cast<std::size_t>(y)] = std::move(line);
    }
    overlay.Trim();
}

// 300 rules, 220 borders, 400 tiles (80 with overlays), 30 rivers, 170 improvements and
// 14 variation rules, times scale.
inline std::unique_ptr<TTileFile> MakeGameSet(int scale)
{
    std::mt19937 random(static_cast<std::uint32_t>(scale));
    auto word = [&] { return static_cast<std::uint16_t>(random()); };
    auto set = std::make_unique<TTileFile>();
    set->Clear();
    for (int i = 0; i < 300 * scale; ++i) {
        auto rule = std::make_unique<TTileRule>();
        for (auto& v : rule->Values)
            v = word();
        set->AddTileRule(std::move(rule));
    }
    for (int i = 0; i < 220 * scale; ++i) {
        auto border = std::make_unique<TTileBorder>();
        for (auto& edge : border->Edges)
            for (auto& p : edge.Pixels)
                p = word();
        set->AddBorder(std::move(border));
    }
    for (int i = 0; i < 400 * scale; ++i) {
        auto tile = std::make_unique<TTile>();
        tile->TileID = static_cast<std::uint16_t>(i);
        tile->TileIndex = static_cast<std::uint8_t>(i % 40);
        for (auto& p : tile->Pixels)
            p = word();
        if (i % 5 == 0) {
            tile->Overlay = std::make_unique<TTileOverlay>();
            FillOverlay(*tile->Overlay, 10 + i % 30, random);
        }
        set->AddTile(std::move(tile));
    }
    for (int i = 0; i < 30 * scale; ++i) {
        auto river = std::make_unique<TRiver>();
        FillOverlay(*river, 30, random);
        set->AddRiver(std::move(river));
    }
    for (int i = 0; i < 170 * scale; ++i) {
        auto improvement = std::make_unique<TTileImprovement>();
        improvement->ImprovementID = static_cast<std::uint16_t>(i);
        FillOverlay(*improvement, i % 40, random);
        set->AddImprovement(std::move(improvement));
    }
    for (int i = 0; i < 14 * scale; ++i) {
        auto rule = std::make_unique<TVariationRule>();
        rule->Steps.resize(static_cast<std::size_t>(1 + i % 12));
        for (auto& step : rule->Steps)
            step = random();
        set->AddVariationRule(std::move(rule));
    }
    return set;
}

} // namespace kestrund::bench
