#include "Tile.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

using namespace kestrund;

namespace {

using Words = std::vector<std::uint16_t>;
using Point = std::pair<int, int>;

// Where pixel i of a tile is drawn, walking the diamond rows 24..71 left to right.
std::vector<Point> DiamondPositions()
{
    std::vector<Point> points;
    for (int y = 24; y <= 71; ++y) {
        const int h = y <= 47 ? y - 24 : 71 - y;
        for (int x = 46 - 2 * h; x <= 47 + 2 * h; ++x)
            points.emplace_back(x, y);
    }
    return points;
}

std::unique_ptr<TTile> NumberedTile(std::uint8_t mode)
{
    auto tile = std::make_unique<TTile>();
    tile->ColorMode = mode;
    for (std::size_t i = 0; i < tile->Pixels.size(); ++i)
        tile->Pixels[i] = static_cast<std::uint16_t>(i + 1);
    return tile;
}

void PutLine(TTileOverlay& overlay, int row, Words words)
{
    if (overlay.Lines.size() <= static_cast<std::size_t>(row))
        overlay.Lines.resize(static_cast<std::size_t>(row) + 1);
    auto line = std::make_unique<TLine>(overlay.ColorMode);
    line->Words = std::move(words);
    line->ComputeWidth();
    overlay.Lines[static_cast<std::size_t>(row)] = std::move(line);
    if (overlay.FirstLine == NoLine || row < overlay.FirstLine)
        overlay.FirstLine = static_cast<std::uint16_t>(row);
    if (overlay.LastLine == NoLine || row > overlay.LastLine)
        overlay.LastLine = static_cast<std::uint16_t>(row);
}

} // namespace

TEST(TileGeometry, DiamondHas2304PixelsHalvesSplitAt1152)
{
    const auto points = DiamondPositions();
    ASSERT_EQ(points.size(), 2304u);
    EXPECT_EQ(points[0], Point(46, 24));
    EXPECT_EQ(points[1], Point(47, 24));
    EXPECT_EQ(points[2], Point(44, 25));
    EXPECT_EQ(points[1151], Point(93, 47));
    EXPECT_EQ(points[1152], Point(0, 48));
    EXPECT_EQ(points[2302], Point(46, 71));
    EXPECT_EQ(points[2303], Point(47, 71));
}

TEST(TTile, NewTiles)
{
    const TTile plain;
    EXPECT_EQ(plain.ColorMode, 0);
    EXPECT_EQ(plain.TileID, 0);
    EXPECT_EQ(plain.TileIndex, 0);
    EXPECT_EQ(plain.BorderEdges, 0);
    EXPECT_EQ(plain.ImageSize, 4608);
    EXPECT_EQ(plain.Overlay, nullptr);
    EXPECT_EQ(plain.OverlayWords(), 0u);
    for (std::uint16_t p : plain.Pixels)
        ASSERT_EQ(p, 0);

    const TTile coloured(0xFFFFFF, 1);
    EXPECT_EQ(coloured.ColorMode, 1);
    for (std::uint16_t p : coloured.Pixels)
        ASSERT_EQ(p, 0xFFDF);
}

TEST(TTileDraw, DiamondPixelsIntoABuffer)
{
    const auto tile = NumberedTile(0);
    tile->Pixels[5] = 0x8005; // bit 15 kept in a mode-0 buffer
    TPictureBuffer buffer(120, 100, 0xFFFF);
    tile->DrawToBuffer(10, 20, false, 0x808080, buffer);
    std::map<Point, std::uint16_t> expected;
    const auto points = DiamondPositions();
    for (std::size_t i = 0; i < points.size(); ++i)
        expected[{points[i].first + 10, points[i].second + 20}] = tile->Pixels[i];
    for (int x = 0; x < 120; ++x)
        for (int y = 0; y < 100; ++y) {
            const auto it = expected.find({x, y});
            ASSERT_EQ(buffer(x, y), it == expected.end() ? 0xFFFF : it->second) << x << "," << y;
        }
}

TEST(TTileDraw, RowsTwentyFourAndSeventyOneDrawTwoPixels)
{
    const auto tile = NumberedTile(0);
    TPictureBuffer buffer(94, 72, 0xFFFF);
    tile->DrawToBuffer(0, 0, false, 0, buffer);
    for (int y : {24, 71}) {
        std::vector<int> xs;
        for (int x = 0; x < 94; ++x)
            if (buffer(x, y) != 0xFFFF)
                xs.push_back(x);
        EXPECT_EQ(xs, (std::vector<int>{46, 47})) << "row " << y;
    }
    EXPECT_EQ(buffer(46, 24), 1);
    EXPECT_EQ(buffer(47, 71), 2304);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 94; ++x)
            ASSERT_EQ(buffer(x, y), 0xFFFF);
}

TEST(TTileDraw, DiamondPixelsOnASurfaceInTheTileMode)
{
    const auto tile = NumberedTile(1);
    TRgbSurface surface(94, 72, 0x123456);
    tile->Draw(0, 0, surface);
    const auto points = DiamondPositions();
    for (std::size_t i = 0; i < points.size(); ++i)
        ASSERT_EQ(surface.Pixel(points[i].first, points[i].second), PixelToColor(static_cast<std::uint16_t>(i + 1), 1)) << i;
    EXPECT_EQ(surface.Pixel(45, 24), 0x123456U);
    EXPECT_EQ(surface.Pixel(1, 46), 0x123456U);
    EXPECT_EQ(surface.Pixel(92, 46), 0x123456U);

    TPictureBuffer buffer(94, 72, 0);
    tile->DrawToBuffer(0, 0, false, 0, buffer);
    EXPECT_EQ(buffer(46, 24), ConvertPixel(1, 1, 0));
    EXPECT_EQ(buffer(0, 48), ConvertPixel(1153, 1, 0));
}

TEST(TTileDraw, ClippedAtTheEdges)
{
    const auto tile = NumberedTile(0);
    const auto points = DiamondPositions();
    for (Point offset : {Point{-50, -40}, Point{30, 20}, Point{-100, 0}}) {
        TPictureBuffer buffer(60, 50, 0xFFFF);
        TRgbSurface surface(60, 50, 0x123456);
        tile->DrawToBuffer(offset.first, offset.second, false, 0, buffer);
        tile->Draw(offset.first, offset.second, surface);
        std::map<Point, std::uint16_t> expected;
        for (std::size_t i = 0; i < points.size(); ++i)
            expected[{points[i].first + offset.first, points[i].second + offset.second}] = tile->Pixels[i];
        for (int x = 0; x < 60; ++x)
            for (int y = 0; y < 50; ++y) {
                const auto it = expected.find({x, y});
                ASSERT_EQ(buffer(x, y), it == expected.end() ? 0xFFFF : it->second);
                ASSERT_EQ(surface.Pixel(x, y), it == expected.end() ? 0x123456U : PixelToColor(it->second, 0));
            }
    }
}

TEST(TTileDraw, OverlayDrawnOverTheDiamondAndAloneAboveIt)
{
    TTile tile(0xFF0000, 0); // blue ground
    tile.Overlay = std::make_unique<TTileOverlay>(0);
    PutLine(*tile.Overlay, 0, {0x0A05, 0xEC01, 0x7C00});        // above the ground
    PutLine(*tile.Overlay, 30, {0x0A2E, 0xEC01, 0x7C00});       // over the diamond at x 46
    PutLine(*tile.Overlay, 40, {0x0A2E, 0xED02});               // darkens the diamond at x 46, 47
    PutLine(*tile.Overlay, 48, {0x0B03, 0xFA5B});               // solid shadow over the ground
    PutLine(*tile.Overlay, 75, {0xEC01, 0x7C00});               // below the picture: never drawn

    TRgbSurface surface(94, 80, 0xFFFFFF);
    tile.Draw(0, 0, surface, 0x808080);
    EXPECT_EQ(surface.Pixel(5, 0), 0x0000F8U);
    EXPECT_EQ(surface.Pixel(4, 0), 0xFFFFFFU);
    EXPECT_EQ(surface.Pixel(46, 30), 0x0000F8U);
    EXPECT_EQ(surface.Pixel(45, 30), 0xF80000U);
    EXPECT_EQ(surface.Pixel(47, 30), 0xF80000U);
    EXPECT_EQ(surface.Pixel(46, 40), 0x7C0000U);
    EXPECT_EQ(surface.Pixel(47, 40), 0x7C0000U);
    EXPECT_EQ(surface.Pixel(48, 40), 0xF80000U);
    EXPECT_EQ(surface.Pixel(0, 48), 0x808080U);
    EXPECT_EQ(surface.Pixel(2, 48), 0x808080U);
    EXPECT_EQ(surface.Pixel(3, 48), 0xF80000U);
    EXPECT_EQ(surface.Pixel(0, 75), 0xFFFFFFU);

    TPictureBuffer buffer(94, 80, 0x7FFF);
    tile.DrawToBuffer(0, 0, true, 0x808080, buffer);
    EXPECT_EQ(buffer(5, 0), 0x7C00);
    EXPECT_EQ(buffer(46, 30), 0x7C00);
    EXPECT_EQ(buffer(45, 30), 0x001F);
    // shadow runs of a tile go solid into a buffer, whatever the blend flag
    EXPECT_EQ(buffer(46, 40), 0x4210);
    EXPECT_EQ(buffer(48, 40), 0x001F);
    EXPECT_EQ(buffer(0, 48), 0x001F); // solid-shadow runs are skipped in a buffer
    EXPECT_EQ(buffer(0, 75), 0x7FFF);
}

TEST(TTileDraw, ModeOneOverlayConvertedIntoABuffer)
{
    TTile tile(0x0000FF, 1);
    tile.Overlay = std::make_unique<TTileOverlay>(1);
    PutLine(*tile.Overlay, 24, {0x0A2E, 0xEC01, 0x07C0});
    TPictureBuffer buffer(94, 72, 0);
    tile.DrawToBuffer(0, 0, false, 0, buffer);
    EXPECT_EQ(buffer(46, 24), 0x03E0);
    EXPECT_EQ(buffer(47, 24), 0x7C00);
}

TEST(TTileAssign, CopiesEverythingButImageSize)
{
    TTile source(0x00FF00, 1);
    source.TileID = 140;
    source.TileIndex = 3;
    source.BorderEdges = 0x0B;
    source.ImageSize = 1234;
    source.Pixels[7] = 0xBEEF;
    source.Overlay = std::make_unique<TTileOverlay>(1);
    PutLine(*source.Overlay, 2, {0xEC01, 0xF800});
    source.Overlay->DataSize = 10;

    TTile target;
    target.Assign(source);
    EXPECT_EQ(target.TileID, 140);
    EXPECT_EQ(target.TileIndex, 3);
    EXPECT_EQ(target.BorderEdges, 0x0B);
    EXPECT_EQ(target.ImageSize, 4608);
    EXPECT_EQ(target.Pixels, source.Pixels);
    EXPECT_EQ(target.ColorMode, 1);
    ASSERT_NE(target.Overlay, nullptr);
    EXPECT_NE(target.Overlay.get(), source.Overlay.get());
    EXPECT_TRUE(target.Overlay->SamePicture(*source.Overlay));
    EXPECT_EQ(target.Overlay->ColorMode, 1);
    EXPECT_EQ(target.Overlay->DataSize, 10);
    EXPECT_EQ(target.OverlayWords(), source.Overlay->BlockWords());
}

TEST(TTileAssign, SourceWithoutOverlayRemovesTheTargetsOverlay)
{
    TTile target;
    target.Overlay = std::make_unique<TTileOverlay>();
    PutLine(*target.Overlay, 0, {0xEC01, 1});
    const TTile source(0x123456, 0);
    target.Assign(source);
    EXPECT_EQ(target.Overlay, nullptr);
    EXPECT_EQ(target.OverlayWords(), 0u);
    EXPECT_EQ(target.Pixels, source.Pixels);
}

TEST(TTile, SetColorModeRetagsTheOverlayWithoutConverting)
{
    TTile tile(0xFFFFFF, 0);
    tile.Overlay = std::make_unique<TTileOverlay>(0);
    PutLine(*tile.Overlay, 3, {0xEC01, 0x7C00});
    const auto pixels = tile.Pixels;
    tile.SetColorMode(1);
    EXPECT_EQ(tile.ColorMode, 1);
    EXPECT_EQ(tile.Overlay->ColorMode, 1);
    EXPECT_EQ(tile.Overlay->Lines[3]->ColorMode, 1);
    tile.SetColorMode(0);
    EXPECT_EQ(tile.Pixels, pixels);
    EXPECT_EQ(tile.Overlay->Lines[3]->Words, (Words{0xEC01, 0x7C00}));
    EXPECT_EQ(tile.Overlay->ColorMode, 0);
}
