#pragma once
// The heaviest tile view of a game-sized set, shared by the view benchmarks: the 3x3
// patch with a tile, border, river and improvement shown, every neighbour a tile with
// an overlay.

#include "GameSet.h"
#include "TileView.h"

#include <memory>
#include <stdexcept>

namespace kestrund::bench {

struct TViewCase {
    std::unique_ptr<TTileFile> Set;
    const TTileRule* Rule = nullptr;
    TViewState View;
    TViewGeometry Geometry{};
};

inline TViewCase MakeViewCase()
{
    TViewCase c;
    c.Set = MakeGameSet(1);
    TTileFile& set = *c.Set;
    // A rule whose eight neighbours all name tiles with overlays (every fifth tile has one).
    auto rule = std::make_unique<TTileRule>(&set);
    rule->Values.fill(0xFFFF);
    rule->SetValue(nbCentre, 9999);
    rule->SetValue(rvGraphics, 0);
    const int neighbours[8] = {nbNW, nbN, nbNE, nbW, nbE, nbSW, nbS, nbSE};
    for (int n = 0; n < 8; ++n)
        rule->SetValue(neighbours[n], static_cast<std::uint16_t>(5 * (n + 1)));
    c.Rule = &set.AddTileRule(std::move(rule));
    for (const TTile* tile : c.Rule->Preview())
        if (!tile)
            throw std::runtime_error("the rule's preview misses a tile");

    TViewState& v = c.View;
    v.ShowTiles = v.ShowBorders = v.ShowRivers = v.ShowImprovements = true;
    v.Square = true;
    v.TileNum = 0; // tile 0 has an overlay
    v.BorderNum = 7;
    v.RiverNum = 3;
    v.ImprovementNum = 11;
    c.Geometry = ViewGeometry(set, v);
    return c;
}

} // namespace kestrund::bench
