// Element pictures through Targa files: round trips of tiles, borders and overlays,
// the marker border, the attribute bit, and failed imports that change nothing.

#include "Border.h"
#include "Errors.h"
#include "Overlay.h"
#include "Targa.h"
#include "TgaBuilder.h"
#include "Scratch.h"
#include "Tile.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace kestrund {
namespace {

using testing::LoadBytes;
using testing::SaveBytes;
using testing::TScratchDir;
using testing::TTgaFile;
using testing::UniformTilePicture;

constexpr TColor Background = 0xFF00FF; // 0x7C1F in mode 0
constexpr std::uint16_t Background5 = 0x7C1F;
constexpr TColor Shadow = 0x808080;     // 0x4210 in mode 0
constexpr std::uint16_t Shadow5 = 0x4210;

void PutLine(TTileOverlay& overlay, std::size_t row, std::vector<std::uint16_t> words)
{
    if (overlay.Lines.size() <= row)
        overlay.Lines.resize(row + 1);
    auto line = std::make_unique<TLine>(overlay.ColorMode);
    line->Words = std::move(words);
    line->ComputeWidth();
    overlay.Lines[row] = std::move(line);
}

std::vector<std::uint16_t> Repeat(std::initializer_list<std::uint16_t> head, std::uint16_t word, std::size_t count)
{
    std::vector<std::uint16_t> words(head);
    words.insert(words.end(), count, word);
    return words;
}

TPictureBuffer ReadBack(const std::string& fileName)
{
    TPictureBuffer picture;
    EXPECT_EQ(ReadTGA(fileName, picture), tgaOK) << fileName;
    return picture;
}

// ---- tiles ----

// Overlay rows of the round trip: 2 and 5 above the ground, 30 left of the diamond;
// row 0 is stored blank and row 10 draws only background, so both drop out.
// Literal words keep bit 5 clear, which a mode-1 trip through mode 0 cannot carry.
void FillTileOverlay(TTileOverlay& o)
{
    const std::uint16_t background = ColorToPixel(Background, o.ColorMode);
    PutLine(o, 0, {0xFA5E});
    PutLine(o, 2, {0x0A0A, 0x0C03, 0x1214, 0x2345, 0x3456, 0xED51});
    PutLine(o, 5, {0x0D05, 0x0C02, 0x0111, 0x0202, 0xFA57});
    PutLine(o, 10, {0x0C03, background, background, background, 0xFA5B});
    PutLine(o, 30, {0x0C02, 0x0313, 0x0444, 0xFA5C});
    o.FirstLine = 0;
    o.LastLine = 30;
}

void ExpectRoundTripOverlay(const TTileOverlay& o, std::uint8_t mode)
{
    TTileOverlay expected(mode);
    PutLine(expected, 2, {0x0A0A, 0x0C03, 0x1214, 0x2345, 0x3456, 0xED51});
    PutLine(expected, 5, {0x0D05, 0x0C02, 0x0111, 0x0202, 0xFA57});
    PutLine(expected, 30, {0x0C02, 0x0313, 0x0444, 0xFA5C});
    expected.FirstLine = 2;
    expected.LastLine = 30;
    EXPECT_TRUE(o.SamePicture(expected)) << "first " << o.FirstLine << " last " << o.LastLine;
}

TEST(TileTGA, RoundTripKeepsGroundAndOverlayRowsAndDropsBackgroundRows)
{
    for (std::uint8_t mode : {cmRGB555, cmRGB565}) {
        SCOPED_TRACE(int(mode));
        TScratchDir dir;
        TTile tile(0, mode);
        tile.TileID = 812;
        tile.BorderEdges = 0x0C;
        for (std::size_t i = 0; i < tile.Pixels.size(); ++i) {
            const auto p = static_cast<std::uint16_t>(i * 29 + 1);
            // Mode 0 keeps the attribute bit through the trip; mode 1 has no spare bit 5.
            tile.Pixels[i] = mode == cmRGB555 ? static_cast<std::uint16_t>(p | (i % 3 == 0 ? 0x8000 : 0))
                                              : static_cast<std::uint16_t>(p & ~0x20);
        }
        tile.Overlay = std::make_unique<TTileOverlay>(mode);
        FillTileOverlay(*tile.Overlay);

        const std::string name = dir.File("tile.tga");
        tile.ExportTGA(name, Background, Shadow);
        const TPictureBuffer picture = ReadBack(name);
        ASSERT_EQ(picture.Width(), 94);
        ASSERT_EQ(picture.Height(), 72);
        EXPECT_EQ(picture(0, 0), Background5);
        EXPECT_EQ(picture(93, 71), Background5);
        EXPECT_EQ(picture(10, 2), mode == cmRGB555 ? 0x1214 : ConvertPixel(0x1214, cmRGB565, cmRGB555));
        EXPECT_EQ(picture(13, 2), Shadow5); // shadow runs are painted solid

        TTile back(0x123456, mode);
        back.TileID = 5;
        back.ImportTGA(name, Background, Shadow, 0);
        EXPECT_EQ(back.Pixels, tile.Pixels);
        EXPECT_EQ(back.TileID, 5);
        EXPECT_EQ(back.BorderEdges, 0);
        ASSERT_TRUE(back.Overlay);
        EXPECT_EQ(back.Overlay->ColorMode, mode);
        ExpectRoundTripOverlay(*back.Overlay, mode);
    }
}

TEST(TileTGA, MarkerBorderLeavesEdgeNumbersInTheGround)
{
    for (std::uint8_t mode : {cmRGB555, cmRGB565})
        for (int mask : {0, 1, 2, 5, 10, 15}) {
            SCOPED_TRACE(::testing::Message() << "mode " << int(mode) << " mask " << mask);
            TScratchDir dir;
            SaveBytes(dir.File("t.tga"), UniformTilePicture(0x8123).Bytes());
            TTile tile(0, mode);
            tile.BorderEdges = 0x05;
            tile.ImportTGA(dir.File("t.tga"), Background, Shadow, mask);

            std::map<std::pair<int, int>, std::uint16_t> marks;
            for (int k = 0; k < 4; ++k)
                if (mask & (1 << k))
                    for (const TMaskPoint& p : BorderMask(k))
                        marks[{p.X, p.Y}] = static_cast<std::uint16_t>(k);
            // The attribute bit stays in mode 0 and is lost in the conversion to mode 1.
            const std::uint16_t plain = mode == cmRGB555 ? 0x8123 : 0x0243;
            int marked = 0;
            for (int y = 24; y < 72; ++y) {
                const TDiamondRow d = DiamondRow(y);
                for (int i = 0; i < d.Count; ++i) {
                    const auto it = marks.find({d.Left + i, y});
                    const std::uint16_t want = it == marks.end() ? plain : it->second;
                    marked += it != marks.end();
                    ASSERT_EQ(tile.Pixels[static_cast<std::size_t>(d.Start + i)], want) << d.Left + i << "," << y;
                }
            }
            EXPECT_EQ(marked, static_cast<int>(marks.size())); // every mask position lies on the ground
            EXPECT_EQ(tile.BorderEdges, 0x05);
        }
}

TEST(TileTGA, OverlayIsCreatedOrRemovedByThePicture)
{
    TScratchDir dir;
    TTile tile(0, cmRGB565);
    tile.Overlay = std::make_unique<TTileOverlay>(cmRGB565);
    FillTileOverlay(*tile.Overlay);

    SaveBytes(dir.File("plain.tga"), UniformTilePicture(Background5).Bytes());
    tile.ImportTGA(dir.File("plain.tga"), Background, Shadow, 0);
    EXPECT_FALSE(tile.Overlay);

    TTgaFile f = UniformTilePicture(Background5);
    f.Pixels[2 * (94 * 71 + 3)] = 0x00; // stored last row is y = 0: pixel (3, 0) becomes black
    f.Pixels[2 * (94 * 71 + 3) + 1] = 0x00;
    SaveBytes(dir.File("dot.tga"), f.Bytes());
    tile.ImportTGA(dir.File("dot.tga"), Background, Shadow, 0);
    ASSERT_TRUE(tile.Overlay);
    EXPECT_EQ(tile.Overlay->ColorMode, cmRGB565);
    EXPECT_EQ(tile.Overlay->FirstLine, 0);
    EXPECT_EQ(tile.Overlay->LastLine, 0);
    EXPECT_EQ(tile.Overlay->Lines[0]->Words, (std::vector<std::uint16_t>{0x0A03, 0x0C01, 0x0000, 0xFA5A}));
}

// ---- refusals shared by tiles and borders ----

struct TBadFile {
    const char* Name;
    std::vector<std::uint8_t> Bytes; // empty: no file at all
    std::string Message;             // %s for the file name
    std::uint32_t Code;
};

std::vector<TBadFile> BadTilePictures()
{
    auto with = [](auto change) {
        TTgaFile f = UniformTilePicture(0x1111);
        change(f);
        return f.Bytes();
    };
    std::vector<std::uint8_t> truncated = UniformTilePicture(0x1111).Bytes();
    truncated.pop_back();
    return {
        {"ColourMapped", with([](TTgaFile& f) { f.ImageType = 1; f.PixelBits = 8; }),
         "\"%s\" is not a supported TGA-type", 1},
        {"RunLength", with([](TTgaFile& f) { f.ImageType = 10; }), "\"%s\" is not a supported TGA-type", 1},
        {"TopLeft", with([](TTgaFile& f) { f.Descriptor = 0x20; }),
         "\"%s\" uses an unsupported or invalid Interleave format", 3},
        {"Interleaved", with([](TTgaFile& f) { f.Descriptor = 0x40; }), "\"%s\" is not a valid TGA-file", 2},
        {"EightBits", with([](TTgaFile& f) { f.PixelBits = 8; }),
         "\"%s\" uses an unsupported or invalid Pixel size", 4},
        {"Truncated", truncated, "Unknown error processing \"%s\"", 16},
        {"Huge", with([](TTgaFile& f) { f.Width = 40000; }),
         "\"%s\" is too large: width and height must be below 32768 pixels", 6},
        {"Missing", {}, "Error loading \"%s\"", 15},
    };
}

std::string WithName(std::string message, const std::string& name)
{
    message.replace(message.find("%s"), 2, name);
    return message;
}

TEST(TileTGA, RefusedPicturesRaiseTheirMessageAndLeaveTheTile)
{
    for (const TBadFile& bad : BadTilePictures()) {
        SCOPED_TRACE(bad.Name);
        TScratchDir dir;
        const std::string name = dir.File("bad.tga");
        if (!bad.Bytes.empty())
            SaveBytes(name, bad.Bytes);
        TTile tile(0x0000FF, cmRGB555);
        tile.Overlay = std::make_unique<TTileOverlay>(cmRGB555);
        FillTileOverlay(*tile.Overlay);
        TTile before;
        before.Assign(tile);
        try {
            tile.ImportTGA(name, Background, Shadow, 15);
            ADD_FAILURE() << "no error";
        } catch (const EInvalidImageFormat& e) {
            EXPECT_EQ(e.what(), WithName(bad.Message, name));
            EXPECT_EQ(e.Code, bad.Code);
        }
        EXPECT_TRUE(tile.SameAs(before));
    }
}

struct TWrongSize {
    std::uint16_t Width, Height;
    std::uint32_t ActualWidth, ActualHeight;
};

void ExpectSizeError(const std::function<void(const std::string&)>& import)
{
    for (const TWrongSize s : {TWrongSize{95, 72, 95, 72}, TWrongSize{94, 71, 94, 71}, TWrongSize{0, 72, 1, 1}}) {
        TScratchDir dir;
        TTgaFile f;
        f.Width = s.Width;
        f.Height = s.Height;
        f.Word(0x1111, std::size_t{s.Width} * s.Height);
        SaveBytes(dir.File("s.tga"), f.Bytes());
        try {
            import(dir.File("s.tga"));
            ADD_FAILURE() << "no error for " << s.Width << "x" << s.Height;
        } catch (const EInvalidImageSize& e) {
            EXPECT_STREQ(e.what(), "Image must be of size 94x72");
            EXPECT_EQ(e.ActualWidth, s.ActualWidth);
            EXPECT_EQ(e.ActualHeight, s.ActualHeight);
        }
    }
}

TEST(TileTGA, WrongSizeRaisesSizeErrorWithActualSize)
{
    TTile tile(0x0000FF, cmRGB555);
    ExpectSizeError([&](const std::string& name) { tile.ImportTGA(name, Background, Shadow, 0); });
    EXPECT_TRUE(tile.SameAs(TTile(0x0000FF, cmRGB555)));
}

// ---- borders ----

TTileBorder NumberedBorder(std::uint8_t mode)
{
    TTileBorder border(mode);
    border.Inside = 3;
    border.Outside = 4;
    for (auto& edge : border.Edges)
        for (std::size_t i = 0; i < edge.Pixels.size(); ++i)
            edge.Pixels[i] = static_cast<std::uint16_t>((edge.Edge * 0x1000 + i * 11 + 1) & (mode ? 0xFFDF : 0x7FFF));
    return border;
}

TEST(BorderTGA, AllEdgesRoundTrip)
{
    for (std::uint8_t mode : {cmRGB555, cmRGB565}) {
        SCOPED_TRACE(int(mode));
        TScratchDir dir;
        const TTileBorder border = NumberedBorder(mode);
        border.ExportTGA(dir.File("b.tga"), 15, Background);
        TTileBorder back(mode);
        back.Inside = 3;
        back.Outside = 4;
        back.ImportTGA(dir.File("b.tga"));
        EXPECT_TRUE(back == border);
        TTileBorder back0(mode, clRed);
        back0.Inside = 3;
        back0.Outside = 4;
        back0.ImportTGA(dir.File("b.tga"), 0);
        EXPECT_TRUE(back0 == border);
    }
}

TEST(BorderTGA, OneEdgeImportsAreCopiedIntoEveryOrientation)
{
    const TTileBorder border = NumberedBorder(cmRGB555);
    for (int which = 1; which <= 4; ++which) {
        SCOPED_TRACE(which);
        TScratchDir dir;
        border.ExportTGA(dir.File("b.tga"), 15, Background);
        TTileBorder back(cmRGB555);
        back.ImportTGA(dir.File("b.tga"), which);
        const int source = which - 1;
        EXPECT_EQ(back.Edges[source].Pixels, border.Edges[source].Pixels);

        // Re-export: the four edges must mirror each other left-right and top-bottom.
        back.ExportTGA(dir.File("again.tga"), 15, Background);
        const TPictureBuffer p = ReadBack(dir.File("again.tga"));
        int checked = 0;
        for (int k = 0; k < 4; ++k)
            for (const TMaskPoint& m : BorderMask(k)) {
                ASSERT_EQ(p(m.X, m.Y), p(93 - m.X, m.Y)) << m.X << "," << int(m.Y);
                ASSERT_EQ(p(m.X, m.Y), p(m.X, 95 - m.Y)) << m.X << "," << int(m.Y);
                ++checked;
            }
        EXPECT_EQ(checked, 4 * 352);
        // The source edge's pixel at mask position (0, 0) shows at all four corners of the mask.
        const std::uint16_t corner = p(source == 0 || source == 1 ? 12 : 81, source == 0 || source == 3 ? 43 : 52);
        EXPECT_EQ(p(12, 43), corner);
        EXPECT_EQ(p(81, 43), corner);
        EXPECT_EQ(p(12, 52), corner);
        EXPECT_EQ(p(81, 52), corner);
        EXPECT_EQ(corner, border.Edges[source].Pixels[MaskIndex(source, 0, 0)]);
    }
}

TEST(BorderTGA, CopyOrientedFromEdgeZeroPutsItsFirstPixelAt81And43)
{
    TScratchDir dir;
    TTgaFile f = UniformTilePicture(0x0001);
    // Pixel (12, 43): stored row 71 - 43 = 28 counted from the bottom.
    const std::size_t at = 2 * (94 * (71 - 43) + 12);
    f.Pixels[at] = 0x34;
    f.Pixels[at + 1] = 0x12;
    SaveBytes(dir.File("b.tga"), f.Bytes());
    TTileBorder border(cmRGB555);
    border.ImportTGA(dir.File("b.tga"), 1);
    border.ExportTGA(dir.File("out.tga"), 8, Background); // edge 3 only
    const TPictureBuffer p = ReadBack(dir.File("out.tga"));
    EXPECT_EQ(p(81, 43), 0x1234);
    EXPECT_EQ(p(12, 43), Background5);
    EXPECT_EQ(border.Edges[0].Pixels[0], 0x1234);
}

TEST(BorderTGA, SelectorOutsideZeroToFourIsRefusedAndChangesNothing)
{
    TScratchDir dir;
    SaveBytes(dir.File("b.tga"), UniformTilePicture(0x1111).Bytes());
    for (int which : {5, -1, 100}) {
        TTileBorder border = NumberedBorder(cmRGB555);
        try {
            border.ImportTGA(dir.File("b.tga"), which);
            ADD_FAILURE() << "no error for " << which;
        } catch (const EInvalidArgument& e) {
            EXPECT_EQ(e.what(), std::to_string(which) + " not in the range 0-4");
        }
        EXPECT_TRUE(border == NumberedBorder(cmRGB555));
    }
}

TEST(BorderTGA, RefusedPicturesRaiseTheirMessageAndLeaveTheBorder)
{
    for (const TBadFile& bad : BadTilePictures()) {
        SCOPED_TRACE(bad.Name);
        TScratchDir dir;
        const std::string name = dir.File("bad.tga");
        if (!bad.Bytes.empty())
            SaveBytes(name, bad.Bytes);
        TTileBorder border = NumberedBorder(cmRGB565);
        try {
            border.ImportTGA(name, 2);
            ADD_FAILURE() << "no error";
        } catch (const EInvalidImageFormat& e) {
            EXPECT_EQ(e.what(), WithName(bad.Message, name));
            EXPECT_EQ(e.Code, bad.Code);
        }
        EXPECT_TRUE(border == NumberedBorder(cmRGB565));
    }
    TTileBorder border = NumberedBorder(cmRGB555);
    ExpectSizeError([&](const std::string& name) { border.ImportTGA(name); });
    EXPECT_TRUE(border == NumberedBorder(cmRGB555));
}

TEST(BorderTGA, ExportDrawsOnlyTheSelectedEdges)
{
    const TTileBorder border = NumberedBorder(cmRGB555);
    for (int mask : {0, 2, 9, 15}) {
        TScratchDir dir;
        border.ExportTGA(dir.File("b.tga"), mask, Background);
        const TPictureBuffer p = ReadBack(dir.File("b.tga"));
        int drawn = 0;
        for (int x = 0; x < 94; ++x)
            for (int y = 0; y < 72; ++y)
                drawn += p(x, y) != Background5;
        int expected = 0;
        for (int k = 0; k < 4; ++k)
            expected += (mask >> k & 1) * 352;
        EXPECT_EQ(drawn, expected) << mask;
    }
}

// ---- overlays ----

void FillOverlay(TTileOverlay& o)
{
    PutLine(o, 3, {0x0D0A, 0x0C02, 0x0555, 0x0646, 0xFA52});
    PutLine(o, 5, {0x0A05, 0xED59});
    PutLine(o, 6, Repeat({0x0C02, 0x0757, 0x0888, 0x0D03, 0xEC59}, 0x0999, 89));
    o.FirstLine = 3;
    o.LastLine = 6;
}

TEST(OverlayTGA, RoundTripWithShadowRuns)
{
    for (std::uint8_t mode : {cmRGB555, cmRGB565}) {
        SCOPED_TRACE(int(mode));
        TScratchDir dir;
        TRiver river(mode);
        river.ImprovementID = 77;
        river.Directions[4] = 9;
        FillOverlay(river);
        river.ExportTGA(dir.File("r.tga"), Background, Shadow);
        const std::vector<std::uint8_t> bytes = LoadBytes(dir.File("r.tga"));
        ASSERT_GE(bytes.size(), 18u);
        EXPECT_EQ(bytes[12] | bytes[13] << 8, 94); // MaxWidth
        EXPECT_EQ(bytes[14] | bytes[15] << 8, 7);  // LastLine + 1

        TRiver back(mode);
        back.ImprovementID = 78;
        PutLine(back, 0, {0x0C01, 0x1111, 0xFA5D});
        back.FirstLine = back.LastLine = 0;
        back.ImportTGA(dir.File("r.tga"), Background, Shadow);
        EXPECT_TRUE(back.SamePicture(river));
        EXPECT_EQ(back.ImprovementID, 78);
        EXPECT_EQ(back.Directions[4], 0);
    }
}

TEST(OverlayTGA, OverlayWithoutLinesWritesNoFile)
{
    TScratchDir dir;
    TTileImprovement empty;
    empty.ExportTGA(dir.File("e.tga"), Background, Shadow);
    EXPECT_TRUE(dir.Entries().empty());
    SaveBytes(dir.File("e.tga"), {1, 2, 3});
    empty.ExportTGA(dir.File("e.tga"), Background, Shadow);
    EXPECT_EQ(LoadBytes(dir.File("e.tga")), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(OverlayTGA, AttributeBitDefeatsTransparencyOnlyInModeZero)
{
    // One 94-pixel row: 10 pixels of the transparent colour with bit 15 set, then 84 others.
    TTgaFile f;
    f.Width = 94;
    f.Height = 1;
    f.Word(Background5 | 0x8000, 10).Word(0x0123, 84);
    TScratchDir dir;
    SaveBytes(dir.File("a.tga"), f.Bytes());

    TTileImprovement mode0(cmRGB555);
    mode0.ImportTGA(dir.File("a.tga"), Background, Shadow);
    ASSERT_EQ(mode0.FirstLine, 0);
    std::vector<std::uint16_t> literal = Repeat({0xEC5E}, 0xFC1F, 10);
    literal.insert(literal.end(), 84, 0x0123);
    EXPECT_EQ(mode0.Lines[0]->Words, literal);

    TTileImprovement mode1(cmRGB565);
    mode1.ImportTGA(dir.File("a.tga"), Background, Shadow);
    ASSERT_EQ(mode1.FirstLine, 0);
    EXPECT_EQ(mode1.Lines[0]->Words, Repeat({0x0A0A, 0xEC54}, 0x0243, 84));

    // All transparent but for bit 15: a line in mode 0, nothing in mode 1.
    TTgaFile all;
    all.Width = 94;
    all.Height = 1;
    all.Word(Background5 | 0x8000, 94);
    SaveBytes(dir.File("all.tga"), all.Bytes());
    mode0.ImportTGA(dir.File("all.tga"), Background, Shadow);
    EXPECT_EQ(mode0.LastLine, 0);
    mode1.ImportTGA(dir.File("all.tga"), Background, Shadow);
    EXPECT_TRUE(mode1.Empty());
    EXPECT_TRUE(mode1.Lines.empty());
}

TEST(OverlayTGA, PaintProgramPicturesImport)
{
    // 3 x 2, bottom row stored first: transparent, shadow, red; top row all transparent.
    const std::vector<std::uint8_t> bgr = {0xFF, 0x00, 0xFF, 0x80, 0x80, 0x80, 0x00, 0x00, 0xFF,
                                           0xFF, 0x00, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0x00, 0xFF};
    for (int bits : {24, 32}) {
        SCOPED_TRACE(bits);
        TTgaFile f;
        f.Width = 3;
        f.Height = 2;
        f.PixelBits = static_cast<std::uint8_t>(bits);
        f.ID = {'p', 'a', 'i', 'n', 't'};
        f.ColorMapType = 1;
        f.ColorMapLength = 2;
        f.ColorMapEntryBits = 24;
        f.ColorMap.assign(6, 0);
        for (std::size_t i = 0; i < bgr.size(); i += 3) {
            f.Pixels.insert(f.Pixels.end(), bgr.begin() + static_cast<std::ptrdiff_t>(i),
                            bgr.begin() + static_cast<std::ptrdiff_t>(i + 3));
            if (bits == 32)
                f.Pixels.push_back(0xFF);
        }
        TScratchDir dir;
        SaveBytes(dir.File("p.tga"), f.Bytes());
        TTileImprovement overlay(cmRGB555);
        overlay.ImportTGA(dir.File("p.tga"), Background, Shadow);
        EXPECT_EQ(overlay.FirstLine, 1);
        EXPECT_EQ(overlay.LastLine, 1);
        ASSERT_EQ(overlay.Lines.size(), 2u);
        EXPECT_FALSE(overlay.Lines[0]);
        EXPECT_EQ(overlay.Lines[1]->Words, (std::vector<std::uint16_t>{0x0A01, 0x0D01, 0xEC01, 0x7C00}));
    }
}

TEST(OverlayTGA, PictureWithoutPixelsEmptiesTheOverlay)
{
    for (auto [w, h] : {std::pair{0, 4}, std::pair{4, 0}}) {
        TTgaFile f;
        f.Width = static_cast<std::uint16_t>(w);
        f.Height = static_cast<std::uint16_t>(h);
        TScratchDir dir;
        SaveBytes(dir.File("z.tga"), f.Bytes());
        TTileImprovement overlay(cmRGB555);
        FillOverlay(overlay);
        overlay.ImportTGA(dir.File("z.tga"), 0x000000, Shadow); // black, the 1 x 1 stand-in's colour
        EXPECT_TRUE(overlay.Empty()) << w << "x" << h;
        overlay.ImportTGA(dir.File("z.tga"), Background, Shadow);
        EXPECT_TRUE(overlay.Empty()) << w << "x" << h;
    }
}

TEST(OverlayTGA, FailedImportLeavesTheOverlayAsItWas)
{
    auto truncated = [] {
        TTgaFile f;
        f.Width = 94;
        f.Height = 8;
        f.Word(0x0123, 94 * 8 - 1);
        return f.Bytes();
    };
    auto typed = [](std::uint8_t type, std::uint8_t descriptor) {
        TTgaFile f;
        f.Width = 2;
        f.Height = 2;
        f.ImageType = type;
        f.Descriptor = descriptor;
        f.Word(0, 4);
        return f.Bytes();
    };
    const std::vector<TBadFile> cases = {
        {"Truncated", truncated(), "Error converting \"%s\"", 5},
        {"RunLength", typed(10, 0), "\"%s\" is not a supported TGA-type", 1},
        {"TopLeft", typed(2, 0x20), "\"%s\" uses an unsupported or invalid Interleave format", 3},
        {"Interleaved", typed(2, 0x40), "\"%s\" is not a valid TGA-file", 2},
        {"Missing", {}, "Error loading \"%s\"", 15},
    };
    for (const TBadFile& bad : cases) {
        SCOPED_TRACE(bad.Name);
        TScratchDir dir;
        const std::string name = dir.File("bad.tga");
        if (!bad.Bytes.empty())
            SaveBytes(name, bad.Bytes);
        TTileImprovement overlay(cmRGB565);
        FillOverlay(overlay);
        TTileImprovement before(cmRGB565);
        FillOverlay(before);
        try {
            overlay.ImportTGA(name, Background, Shadow);
            ADD_FAILURE() << "no error";
        } catch (const EInvalidImageFormat& e) {
            EXPECT_EQ(e.what(), WithName(bad.Message, name));
            EXPECT_EQ(e.Code, bad.Code);
        }
        EXPECT_TRUE(overlay.SamePicture(before));
        EXPECT_EQ(overlay.Lines.size(), before.Lines.size());
    }
}

TEST(OverlayTGA, DamagedOverlayTooWideForAPictureIsRefusedBeforeDrawing)
{
    TScratchDir dir;
    TTileImprovement overlay(cmRGB555);
    std::vector<std::uint16_t> words(130, 0x0AFF); // 130 runs of 255: 33150 pixels
    words.push_back(0xFA01);
    PutLine(overlay, 0, words);
    overlay.FirstLine = overlay.LastLine = 0;
    EXPECT_THROW(overlay.ExportTGA(dir.File("w.tga"), Background, Shadow), EInvalidArgument);
    EXPECT_TRUE(dir.Entries().empty());
}

// ---- files that cannot be written ----

TEST(ElementTGA, ExportToUncreatableFileRaisesCreateErrorAndLeavesNothing)
{
    TScratchDir dir;
    TTile tile(0x00FF00, cmRGB555);
    const TTileBorder border = NumberedBorder(cmRGB555);
    TTileImprovement overlay(cmRGB555);
    FillOverlay(overlay);
    const std::vector<std::function<void(const std::string&)>> exports = {
        [&](const std::string& n) { tile.ExportTGA(n, Background, Shadow); },
        [&](const std::string& n) { border.ExportTGA(n, 15, Background); },
        [&](const std::string& n) { overlay.ExportTGA(n, Background, Shadow); },
    };
    std::filesystem::create_directory(dir.Path() / "folder.tga");
    for (const std::string& name : {dir.File("missing/x.tga"), dir.File("folder.tga")})
        for (const auto& doExport : exports) {
            try {
                doExport(name);
                ADD_FAILURE() << "no error for " << name;
            } catch (const EFileCreateError& e) {
                EXPECT_EQ(e.FileName, name);
                EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + name + "\"");
            }
        }
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"folder.tga"});
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path() / "folder.tga"));
}

} // namespace
} // namespace kestrund
