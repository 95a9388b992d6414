#pragma once
// Geometry of a tile picture: 94 x 72 pixels, the ground diamond in rows 24..71,
// and the fixed mask that places a border edge's 352 pixels along the diamond.

#include <array>
#include <cstdint>

namespace kestrund {

constexpr int TileWidth = 94;
constexpr int TileHeight = 72;
constexpr int GroundTop = 24;                 // first row of the diamond
constexpr int GroundPixelCount = 2304;        // pixels of the diamond
constexpr int GroundImageSize = 2 * GroundPixelCount;
constexpr int BorderPixelCount = 352;         // pixels of one border edge
constexpr int BorderMaskRows = 29;

// First x and pixel count of diamond row y (24..71), and the index of its first
// pixel in a tile's Pixels.
struct TDiamondRow {
    int Left;
    int Count;
    int Start;
};
TDiamondRow DiamondRow(int y);

// One position of a border edge, in the edge's storage order.
struct TMaskPoint {
    std::uint8_t X;
    std::uint8_t Y;
};

// Picture positions of edge (0..3) in storage order.
const std::array<TMaskPoint, BorderPixelCount>& BorderMask(int edge);

// Storage index of mask position (r, c) for an edge, c indexing the table row left to right.
int MaskIndex(int edge, int r, int c);

// The table itself: x positions of mask row r.
struct TMaskRow {
    std::uint8_t Count;
    std::array<std::uint8_t, 19> X;
};
const std::array<TMaskRow, BorderMaskRows>& BorderMaskTable();

// The mask rows an edge covers at picture row y: the storage indices of that row, or
// an empty range. First is the storage index of the row's first pixel.
struct TMaskSpan {
    int First;
    int Count;
};
TMaskSpan BorderMaskSpan(int edge, int y);

} // namespace kestrund
