#pragma once
// A tile rule: which tiles may neighbour a tile, and the tile IDs drawn for it.

#include "ByteStream.h"

#include <array>
#include <cstdint>

namespace kestrund {

class TTile;
class TTileFile;

// Indices into TTileRule::Values.
enum : int {
    nbW = 0, nbNW = 1, nbN = 2, nbSW = 3, nbCentre = 4, nbNE = 5, nbS = 6, nbSE = 7, nbE = 8,
    rvGraphics = 9, rvAlt1 = 10, rvAlt2 = 11, rvAlt3 = 12, rvAlt4 = 13, rvAlt5 = 14,
};
constexpr int TileRuleValueCount = 15;

class TTileRule {
public:
    explicit TTileRule(const TTileFile* owner = nullptr) : Owner(owner) { Values.fill(0xFFFF); }

    std::array<std::uint16_t, TileRuleValueCount> Values{};
    const TTileFile* Owner;

    std::uint16_t Value(int k) const;
    void SetValue(int k, std::uint16_t v);

    // Entry i of the 3x3 preview in the order N, NW, NE, W, centre, E, SW, SE, S. The
    // preview is resolved from the owner's current rules and tiles on every request, so
    // it never refers to a deleted tile or shows stale neighbours.
    const TTile* PreviewTile(int i) const;
    std::array<const TTile*, 9> Preview() const;

    void LoadFromStream(TByteReader& reader);
    void SaveToStream(TByteWriter& writer) const;

    bool operator==(const TTileRule& other) const { return Values == other.Values; }
};

} // namespace kestrund
