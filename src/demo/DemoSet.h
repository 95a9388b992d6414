#pragma once
// A small tile set drawn by code alone: terrain, borders, rivers, improvements and the
// rules that tie them together. It gives a first start something to look at and shows
// the file and script formats at work. The same bytes come out of every build.

#include "TileFile.h"

#include <memory>

namespace kestrund {

std::unique_ptr<TTileFile> MakeDemoSet();

// Terrain codes of the demo's tile rules (a rule's centre and neighbour values); the
// tiles themselves have other IDs, so a neighbour is found only through its rule.
struct TDemoTerrain {
    const char* Name;
    std::uint16_t Code;
    std::uint16_t TileID;
};
const TDemoTerrain* DemoTerrains(std::size_t& count);

} // namespace kestrund
