#include "TileGeometry.h"

namespace kestrund {

namespace {

constexpr std::array<TMaskRow, BorderMaskRows> MaskTable = {{
    {2, {12, 15}},
    {0, {}},
    {7, {6, 8, 10, 12, 14, 16, 18}},
    {0, {}},
    {9, {1, 3, 5, 7, 9, 11, 13, 15, 17}},
    {12, {0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 19, 23}},
    {19, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 21, 25}},
    {12, {4, 5, 7, 9, 11, 13, 15, 17, 19, 20, 23, 27}},
    {18, {6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 21, 22, 25, 29}},
    {16, {8, 9, 10, 11, 13, 14, 16, 17, 18, 19, 20, 21, 23, 24, 27, 31}},
    {18, {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 25, 26, 29, 33}},
    {18, {12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 27, 28, 31, 35}},
    {18, {14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 29, 30, 33, 37}},
    {18, {16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 31, 32, 35, 39}},
    {18, {18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 33, 34, 37, 41}},
    {18, {20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 35, 36, 39, 43}},
    {18, {22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 37, 38, 41, 45}},
    {17, {24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 39, 40, 43}},
    {17, {26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 41, 42, 45}},
    {16, {28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 43, 47}},
    {17, {30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46}},
    {15, {32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 43, 44, 45, 47, 51}},
    {13, {34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 45, 46, 49}},
    {11, {36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 47}},
    {9, {38, 39, 40, 41, 43, 45, 46, 49, 51}},
    {7, {40, 41, 42, 43, 44, 45, 47}},
    {5, {42, 43, 45, 46, 49}},
    {3, {44, 45, 47}},
    {1, {46}},
}};

// Storage index of the first pixel of table row r, for edges stored r ascending (0, 3)
// and for edges stored r descending (1, 2).
struct TRowStarts {
    std::array<int, BorderMaskRows> Ascending{};
    std::array<int, BorderMaskRows> Descending{};
    constexpr TRowStarts()
    {
        int total = 0;
        for (int r = 0; r < BorderMaskRows; ++r) {
            Ascending[r] = total;
            total += MaskTable[r].Count;
        }
        total = 0;
        for (int r = BorderMaskRows - 1; r >= 0; --r) {
            Descending[r] = total;
            total += MaskTable[r].Count;
        }
    }
};
constexpr TRowStarts RowStarts;

constexpr int TotalMaskPositions()
{
    int total = 0;
    for (const auto& row : MaskTable)
        total += row.Count;
    return total;
}
static_assert(TotalMaskPositions() == BorderPixelCount);

struct TMasks {
    std::array<std::array<TMaskPoint, BorderPixelCount>, 4> Points{};
    TMasks()
    {
        for (int edge = 0; edge < 4; ++edge)
            for (int r = 0; r < BorderMaskRows; ++r)
                for (int c = 0; c < MaskTable[r].Count; ++c) {
                    const int x = MaskTable[r].X[c];
                    const bool lower = edge == 0 || edge == 3;
                    const bool mirrored = edge == 2 || edge == 3;
                    Points[edge][MaskIndex(edge, r, c)] = {static_cast<std::uint8_t>(mirrored ? 93 - x : x),
                                                           static_cast<std::uint8_t>(lower ? 43 + r : 52 - r)};
                }
    }
};

} // namespace

TDiamondRow DiamondRow(int y)
{
    if (y < GroundTop || y >= TileHeight)
        return {0, 0, 0};
    if (y <= 47) {
        const int h = y - GroundTop;
        // Rows 24..y-1 hold 4k+2 pixels each: sum = 2h^2 + 2h - ... computed directly.
        const int start = 2 * h * h;
        return {46 - 2 * h, 4 * h + 2, start};
    }
    const int h = 71 - y;
    // Lower half starts at 1152 and its rows shrink: row 48 has h = 23.
    const int before = 1152 - (2 * (h + 1) * (h + 1)); // rows 48..y-1
    return {46 - 2 * h, 4 * h + 2, 1152 + before};
}

const std::array<TMaskRow, BorderMaskRows>& BorderMaskTable()
{
    return MaskTable;
}

int MaskIndex(int edge, int r, int c)
{
    const int count = MaskTable[r].Count;
    switch (edge) {
    case 0: return RowStarts.Ascending[r] + c;
    case 1: return RowStarts.Descending[r] + c;
    case 2: return RowStarts.Descending[r] + (count - 1 - c);
    default: return RowStarts.Ascending[r] + (count - 1 - c);
    }
}

const std::array<TMaskPoint, BorderPixelCount>& BorderMask(int edge)
{
    static const TMasks masks;
    return masks.Points[static_cast<std::size_t>(edge & 3)];
}

TMaskSpan BorderMaskSpan(int edge, int y)
{
    int r;
    if (edge == 0 || edge == 3)
        r = y - 43;
    else
        r = 52 - y;
    if (r < 0 || r >= BorderMaskRows)
        return {0, 0};
    const bool ascending = edge == 0 || edge == 3;
    return {ascending ? RowStarts.Ascending[r] : RowStarts.Descending[r], MaskTable[r].Count};
}

} // namespace kestrund
