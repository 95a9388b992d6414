#include "Border.h"
#include "TileGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <utility>
#include <vector>

using namespace kestrund;

namespace {

// The border mask: x positions of rows r = 0..28 in table order.
const std::vector<std::vector<int>> MaskRows = {
    {12, 15},
    {},
    {6, 8, 10, 12, 14, 16, 18},
    {},
    {1, 3, 5, 7, 9, 11, 13, 15, 17},
    {0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 19, 23},
    {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 21, 25},
    {4, 5, 7, 9, 11, 13, 15, 17, 19, 20, 23, 27},
    {6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 21, 22, 25, 29},
    {8, 9, 10, 11, 13, 14, 16, 17, 18, 19, 20, 21, 23, 24, 27, 31},
    {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 25, 26, 29, 33},
    {12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 27, 28, 31, 35},
    {14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 29, 30, 33, 37},
    {16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 31, 32, 35, 39},
    {18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 33, 34, 37, 41},
    {20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 35, 36, 39, 43},
    {22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 37, 38, 41, 45},
    {24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 39, 40, 43},
    {26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 41, 42, 45},
    {28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 43, 47},
    {30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46},
    {32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 43, 44, 45, 47, 51},
    {34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 45, 46, 49},
    {36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 47},
    {38, 39, 40, 41, 43, 45, 46, 49, 51},
    {40, 41, 42, 43, 44, 45, 47},
    {42, 43, 45, 46, 49},
    {44, 45, 47},
    {46},
};

using Point = std::pair<int, int>; // (x, y)

// Positions of an edge in storage order, from the placement rules of each edge.
std::vector<Point> ExpectedMask(int edge)
{
    std::vector<Point> points;
    auto row = [&](int r) {
        std::vector<int> xs = MaskRows[static_cast<std::size_t>(r)];
        const int y = (edge == 0 || edge == 3) ? 43 + r : 52 - r;
        if (edge == 2 || edge == 3)
            std::reverse(xs.begin(), xs.end());
        for (int x : xs)
            points.emplace_back(edge >= 2 ? 93 - x : x, y);
    };
    if (edge == 0 || edge == 3)
        for (int r = 0; r <= 28; ++r)
            row(r);
    else
        for (int r = 28; r >= 0; --r)
            row(r);
    return points;
}

std::vector<Point> ActualMask(int edge)
{
    std::vector<Point> points;
    for (const TMaskPoint& p : BorderMask(edge))
        points.emplace_back(p.X, p.Y);
    return points;
}

// Edge with pixel i holding the word i + 1 (so every stored pixel is told apart).
TCBorder Numbered(std::uint8_t edge, std::uint8_t mode = 0)
{
    TCBorder border(edge, mode);
    border.ColorMode = mode;
    for (int i = 0; i < BorderPixelCount; ++i)
        border.Pixels[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(i + 1);
    return border;
}

} // namespace

TEST(BorderMask, TableHas352PositionsInTwentyNineRows)
{
    std::size_t total = 0;
    for (const auto& row : MaskRows)
        total += row.size();
    ASSERT_EQ(total, 352u);
    ASSERT_EQ(MaskRows.size(), 29u);
    const auto& table = BorderMaskTable();
    for (int r = 0; r < 29; ++r) {
        const auto& expected = MaskRows[static_cast<std::size_t>(r)];
        ASSERT_EQ(table[static_cast<std::size_t>(r)].Count, expected.size()) << "row " << r;
        for (std::size_t c = 0; c < expected.size(); ++c)
            EXPECT_EQ(table[static_cast<std::size_t>(r)].X[c], expected[c]) << "row " << r << " c " << c;
    }
}

TEST(BorderMask, PlacementAndStorageOrderOfEveryEdge)
{
    for (int edge = 0; edge < 4; ++edge)
        EXPECT_EQ(ActualMask(edge), ExpectedMask(edge)) << "edge " << edge;
}

TEST(BorderMask, FirstAndLastPositionsOfEachEdge)
{
    struct Case {
        int edge;
        Point first, second, last;
    };
    const Case cases[] = {
        {0, {12, 43}, {15, 43}, {46, 71}},
        {1, {46, 24}, {44, 25}, {15, 52}},
        {2, {47, 24}, {46, 25}, {81, 52}},
        {3, {78, 43}, {81, 43}, {47, 71}},
    };
    for (const Case& c : cases) {
        const auto mask = ActualMask(c.edge);
        ASSERT_EQ(mask.size(), 352u);
        EXPECT_EQ(mask.front(), c.first) << "edge " << c.edge;
        EXPECT_EQ(mask[1], c.second) << "edge " << c.edge;
        EXPECT_EQ(mask.back(), c.last) << "edge " << c.edge;
    }
}

TEST(BorderMask, EveryEdgeRunsFromTheTopRowDown)
{
    for (int edge = 0; edge < 4; ++edge) {
        const auto mask = ActualMask(edge);
        for (std::size_t i = 1; i < mask.size(); ++i)
            EXPECT_LE(mask[i - 1].second, mask[i].second) << "edge " << edge << " i " << i;
        const int top = edge == 0 || edge == 3 ? 43 : 24;
        EXPECT_EQ(mask.front().second, top);
        EXPECT_EQ(mask.back().second, top + 28);
    }
}

TEST(BorderMask, MaskIndexMatchesStoragePositions)
{
    for (int edge = 0; edge < 4; ++edge) {
        const auto mask = ActualMask(edge);
        for (int r = 0; r < 29; ++r)
            for (std::size_t c = 0; c < MaskRows[static_cast<std::size_t>(r)].size(); ++c) {
                const int x = MaskRows[static_cast<std::size_t>(r)][c];
                const Point expected{edge >= 2 ? 93 - x : x, edge == 0 || edge == 3 ? 43 + r : 52 - r};
                EXPECT_EQ(mask[static_cast<std::size_t>(MaskIndex(edge, r, static_cast<int>(c)))], expected)
                    << "edge " << edge << " r " << r << " c " << c;
            }
    }
}

TEST(TCBorder, NewEdgesCarryTheirMarkerColour)
{
    struct Case {
        std::uint8_t edge, mode;
        std::uint16_t word;
    };
    const Case cases[] = {{0, 0, 0x7C00}, {1, 0, 0x03E0}, {2, 0, 0x001F}, {3, 0, 0x7C1F},
                          {0, 1, 0xF800}, {1, 1, 0x07C0}, {2, 1, 0x001F}, {3, 1, 0xF81F}};
    for (const Case& c : cases) {
        const TCBorder border(c.edge, c.mode);
        EXPECT_EQ(border.Edge, c.edge);
        for (std::uint16_t p : border.Pixels)
            ASSERT_EQ(p, c.word) << "edge " << int(c.edge) << " mode " << int(c.mode);
    }
}

TEST(TCBorderCopyOriented, FirstPixelOfEdgeZeroLandsMirroredOnEdgeThree)
{
    TCBorder target(3, 0);
    target.CopyOriented(Numbered(0));
    // The first pixel of edge 0 is drawn at (12, 43); on edge 3 it must appear at (81, 43).
    const auto mask = ActualMask(3);
    const auto at = std::find(mask.begin(), mask.end(), Point{81, 43});
    ASSERT_NE(at, mask.end());
    EXPECT_EQ(target.Pixels[static_cast<std::size_t>(at - mask.begin())], 1);
}

// Geometric effect: 0<->1 and 3<->2 mirror top and bottom, 0<->3 and 1<->2 left and
// right, 0<->2 and 1<->3 turn by half a turn.
TEST(TCBorderCopyOriented, GeometryForEveryPairOfEdges)
{
    for (std::uint8_t from = 0; from < 4; ++from)
        for (std::uint8_t to = 0; to < 4; ++to) {
            const TCBorder source = Numbered(from);
            TCBorder target(to, 0);
            target.CopyOriented(source);
            // Edges 0 and 3 lie in the lower rows, 1 and 2 in the upper; 0 and 1 on the left.
            const bool mirrorY = (from == 0 || from == 3) != (to == 0 || to == 3);
            const bool mirrorX = (from <= 1) != (to <= 1);
            std::map<Point, std::uint16_t> sourceAt;
            const auto sourceMask = ActualMask(from);
            for (std::size_t i = 0; i < sourceMask.size(); ++i)
                sourceAt[sourceMask[i]] = source.Pixels[i];
            const auto targetMask = ActualMask(to);
            for (std::size_t i = 0; i < targetMask.size(); ++i) {
                auto [x, y] = targetMask[i];
                const Point origin{mirrorX ? 93 - x : x, mirrorY ? 95 - y : y};
                ASSERT_EQ(sourceAt.count(origin), 1u) << int(from) << "->" << int(to) << " at " << x << "," << y;
                ASSERT_EQ(target.Pixels[i], sourceAt[origin]) << int(from) << "->" << int(to) << " at " << x << "," << y;
            }
        }
}

TEST(TCBorderCopyOriented, SameEdgeIsAPlainCopyAndModesAreConverted)
{
    TCBorder source = Numbered(1);
    source.Pixels[0] = 0xFFFF;
    TCBorder same(1, 0);
    same.CopyOriented(source);
    EXPECT_EQ(same.Pixels, source.Pixels); // bit 15 kept: no conversion within one mode

    source.Pixels[0] = 0x7C1F;
    TCBorder other(1, 1);
    other.ColorMode = 1;
    other.CopyOriented(source);
    EXPECT_EQ(other.Pixels[0], 0xF81F);
    EXPECT_EQ(other.Pixels[1], ConvertPixel(2, 0, 1));
    EXPECT_EQ(other.ColorMode, 1);
}

TEST(TTileBorder, ConstructorsFillTheEdges)
{
    const TTileBorder plain;
    EXPECT_EQ(plain.Inside, 0);
    EXPECT_EQ(plain.Outside, 0);
    EXPECT_EQ(plain.ColorMode(), 0);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(plain.Edges[static_cast<std::size_t>(k)].Edge, k);
    EXPECT_EQ(plain.Edges[0].Pixels[100], 0x7C00);

    const TTileBorder mode1(1);
    for (const auto& edge : mode1.Edges)
        EXPECT_EQ(edge.ColorMode, 1);
    EXPECT_EQ(mode1.Edges[1].Pixels[5], 0x07C0);

    const TTileBorder marker(1, 0xFFFFFFFF);
    for (int k = 0; k < 4; ++k)
        for (std::uint16_t p : marker.Edges[static_cast<std::size_t>(k)].Pixels)
            ASSERT_EQ(p, k);
    EXPECT_EQ(marker.ColorMode(), 1);

    const TTileBorder coloured(1, 0xFFFFFF);
    for (const auto& edge : coloured.Edges)
        for (std::uint16_t p : edge.Pixels)
            ASSERT_EQ(p, 0xFFDF);
}

TEST(TTileBorder, AssignCopiesValuesPixelsAndMode)
{
    TTileBorder source(1);
    source.Inside = 0x1234;
    source.Outside = 0xBEEF;
    for (int k = 0; k < 4; ++k)
        for (int i = 0; i < BorderPixelCount; ++i)
            source.Edges[static_cast<std::size_t>(k)].Pixels[static_cast<std::size_t>(i)] =
                static_cast<std::uint16_t>(0x8000 | (k << 9) | i);
    TTileBorder target(0);
    target.Assign(source);
    EXPECT_EQ(target.Inside, 0x1234);
    EXPECT_EQ(target.Outside, 0xBEEF);
    EXPECT_EQ(target.ColorMode(), 1);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(target.Edges[static_cast<std::size_t>(k)].Pixels, source.Edges[static_cast<std::size_t>(k)].Pixels);
        EXPECT_EQ(target.Edges[static_cast<std::size_t>(k)].Edge, k);
        EXPECT_EQ(target.Edges[static_cast<std::size_t>(k)].ColorMode, 1);
    }
}

TEST(TTileBorder, SetColorModeRetagsWithoutConverting)
{
    TTileBorder border(0);
    const auto before = border.Edges;
    border.SetColorMode(1);
    border.SetColorMode(0);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(border.Edges[static_cast<std::size_t>(k)].Pixels, before[static_cast<std::size_t>(k)].Pixels);
    border.SetColorMode(1);
    for (const auto& edge : border.Edges)
        EXPECT_EQ(edge.ColorMode, 1);
}

namespace {
constexpr TColor Bg = 0x123456;

std::set<Point> ChangedPixels(const TRgbSurface& surface)
{
    std::set<Point> changed;
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            if (surface.Pixel(x, y) != Bg)
                changed.insert({x, y});
    return changed;
}

TTileBorder DistinctBorder(std::uint8_t mode)
{
    TTileBorder border(mode);
    for (int k = 0; k < 4; ++k)
        for (int i = 0; i < BorderPixelCount; ++i)
            border.Edges[static_cast<std::size_t>(k)].Pixels[static_cast<std::size_t>(i)] =
                static_cast<std::uint16_t>(((k + 1) << 10) | (i & 0x3FF));
    return border;
}
} // namespace

TEST(TTileBorderDraw, MaskSelectsTheEdges)
{
    const TTileBorder border = DistinctBorder(0);
    for (int mask = 0; mask < 16; ++mask) {
        TRgbSurface surface(100, 80, Bg);
        border.DrawEdges(mask, 3, 5, surface);
        std::set<Point> expected;
        std::map<Point, TColor> colour;
        for (int k = 0; k < 4; ++k)
            if (mask & (1 << k)) {
                const auto points = ExpectedMask(k);
                for (std::size_t i = 0; i < points.size(); ++i) {
                    const Point p{points[i].first + 3, points[i].second + 5};
                    expected.insert(p);
                    colour[p] = PixelToColor(border.Edges[static_cast<std::size_t>(k)].Pixels[i], 0);
                }
            }
        const auto changed = ChangedPixels(surface);
        EXPECT_EQ(changed, expected) << "mask " << mask;
        EXPECT_EQ(changed.size(), 352u * static_cast<unsigned>(__builtin_popcount(static_cast<unsigned>(mask))));
        for (const auto& [p, c] : colour)
            EXPECT_EQ(surface.Pixel(p.first, p.second), c) << "mask " << mask;
    }
    TRgbSurface all(100, 80, Bg);
    border.Draw(3, 5, all);
    EXPECT_EQ(ChangedPixels(all).size(), 4u * 352u);
}

TEST(TTileBorderDraw, SurfaceUsesTheEdgeMode)
{
    TTileBorder border(1);
    border.Edges[3].Pixels[0] = 0xF800;
    TRgbSurface surface(94, 72, Bg);
    border.DrawEdges(8, 0, 0, surface);
    EXPECT_EQ(surface.Pixel(78, 43), 0x0000F8U); // first stored pixel of edge 3
    EXPECT_EQ(surface.Pixel(81, 43), 0xF800F8U); // magenta marker in mode 1
}

TEST(TTileBorderDraw, IntoABufferConvertedToModeZero)
{
    TTileBorder border(0);
    border.Edges[0].Pixels[0] = 0x7C1F;
    TTileBorder border1(1);
    border1.Edges[2].Pixels[0] = 0xF81F;

    TPictureBuffer buffer(120, 90, 0x1111);
    border.DrawEdgesToBuffer(1, 10, 10, buffer);
    EXPECT_EQ(buffer(22, 53), 0x7C1F);
    EXPECT_EQ(buffer(25, 53), 0x7C00);
    int changed = 0;
    for (int x = 0; x < 120; ++x)
        for (int y = 0; y < 90; ++y)
            changed += buffer(x, y) != 0x1111;
    EXPECT_EQ(changed, 352);

    border1.DrawEdgesToBuffer(4, 0, 0, buffer);
    EXPECT_EQ(buffer(47, 24), 0x7C1F);
    EXPECT_EQ(buffer(46, 25), 0x001F); // blue marker

    TPictureBuffer none(94, 72, 0x1111);
    border.DrawEdgesToBuffer(0, 0, 0, none);
    EXPECT_EQ(none, TPictureBuffer(94, 72, 0x1111));
}

TEST(TTileBorderDraw, ClippedAtTheSurfaceEdges)
{
    const TTileBorder border = DistinctBorder(0);
    TRgbSurface surface(30, 20, Bg);
    border.Draw(-40, -40, surface);
    std::set<Point> expected;
    for (int k = 0; k < 4; ++k)
        for (const Point& p : ExpectedMask(k))
            if (p.first - 40 >= 0 && p.first - 40 < 30 && p.second - 40 >= 0 && p.second - 40 < 20)
                expected.insert({p.first - 40, p.second - 40});
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(ChangedPixels(surface), expected);
    TPictureBuffer buffer(10, 10, 0);
    border.DrawEdgesToBuffer(15, -40, -40, buffer);
    border.DrawEdgesToBuffer(15, 200, 200, buffer);
}
