#include "Overlay.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <vector>

using namespace kestrund;

namespace {

using Words = std::vector<std::uint16_t>;

// Overlay whose row r holds the given words (rows not named have no line).
template <class Overlay = TTileOverlay>
void Fill(Overlay& overlay, std::uint8_t mode, const std::map<int, Words>& rows)
{
    overlay.Clear();
    int last = -1;
    for (const auto& [row, words] : rows)
        last = std::max(last, row);
    overlay.Lines.resize(static_cast<std::size_t>(last + 1));
    for (const auto& [row, words] : rows) {
        auto line = std::make_unique<TLine>(mode);
        line->Words = words;
        line->ComputeWidth();
        overlay.Lines[static_cast<std::size_t>(row)] = std::move(line);
    }
    if (!rows.empty()) {
        overlay.FirstLine = static_cast<std::uint16_t>(rows.begin()->first);
        overlay.LastLine = static_cast<std::uint16_t>(last);
    }
    overlay.ColorMode = mode;
}

std::vector<int> RowsWithLines(const TTileOverlay& overlay)
{
    std::vector<int> rows;
    for (std::size_t r = 0; r < overlay.Lines.size(); ++r)
        if (overlay.Lines[r])
            rows.push_back(static_cast<int>(r));
    return rows;
}

constexpr TColor Magenta = 0xF800F8; // transparent colour of the pictures
constexpr TColor Green = 0x00F800;   // shadow colour of the pictures
constexpr std::uint16_t T0 = 0x7C1F, S0 = 0x03E0;

} // namespace

TEST(TTileOverlay, NewOverlayHasNoLines)
{
    const TTileOverlay overlay;
    EXPECT_EQ(overlay.FirstLine, 0xFFFF);
    EXPECT_EQ(overlay.LastLine, 0xFFFF);
    EXPECT_TRUE(overlay.Lines.empty());
    EXPECT_EQ(overlay.ColorMode, 0);
    EXPECT_EQ(TTileOverlay(1).ColorMode, 1);
    EXPECT_EQ(overlay.BlockWords(), 2u);
    EXPECT_EQ(overlay.MaxWidth(), 0);
    EXPECT_EQ(overlay.Line(0), nullptr);
}

TEST(TTileOverlay, BlockWordsAndMaxWidth)
{
    TTileOverlay overlay;
    Fill(overlay, 0, {{1, {0xFA05}}, {3, {0x0A02, 0xEC02, 1, 2}}});
    // 2 + (1 + 1) + 1 (empty row 2) + (1 + 4)
    EXPECT_EQ(overlay.BlockWords(), 10u);
    EXPECT_EQ(overlay.MaxWidth(), 5);
    Fill(overlay, 0, {{0, {0x0AFF, 0xFA10}}, {1, {0xFA5E}}});
    EXPECT_EQ(overlay.MaxWidth(), 271);
}

TEST(TTileOverlay, SetColorModeRetagsEveryLine)
{
    TTileOverlay overlay;
    Fill(overlay, 0, {{1, {0xEC01, 0x7C00}}, {4, {0xEC01, 0x03E0}}});
    overlay.SetColorMode(1);
    EXPECT_EQ(overlay.ColorMode, 1);
    EXPECT_EQ(overlay.Lines[1]->ColorMode, 1);
    EXPECT_EQ(overlay.Lines[4]->ColorMode, 1);
    overlay.SetColorMode(0);
    EXPECT_EQ(overlay.Lines[1]->Words, (Words{0xEC01, 0x7C00}));
    EXPECT_EQ(overlay.Lines[4]->Words, (Words{0xEC01, 0x03E0}));
}

TEST(TTileOverlayTrim, DropsTransparentRows)
{
    struct Case {
        const char* name;
        std::map<int, Words> rows;
        std::uint16_t first, last;
        std::size_t count;
        std::vector<int> kept;
    };
    const Words blank{0xFA5E};
    const Words drawn{0x0A01, 0xEC01, 0x1234};
    std::map<int, Words> only30;
    for (int r = 0; r < 72; ++r)
        only30[r] = r == 30 ? drawn : blank;
    const Case cases[] = {
        {"only row 30 drawn", only30, 30, 30, 31, {30}},
        {"every row transparent", {{0, blank}, {1, blank}, {2, blank}}, 0xFFFF, 0xFFFF, 0, {}},
        {"rows with nothing and blank rows between", {{0, blank}, {2, drawn}, {3, blank}, {5, drawn}, {6, blank}, {7, blank}}, 2, 5, 6, {2, 5}},
        {"first and last rows drawn", {{0, drawn}, {1, blank}, {2, drawn}}, 0, 2, 3, {0, 2}},
        {"shadow-only row is drawn", {{0, blank}, {1, {0xED5E}}}, 1, 1, 2, {1}},
        {"wide transparent rows", {{0, {0x0AFF, 0xFA2D}}, {1, drawn}, {2, {0x0AFF, 0x0AFF, 0xFA01}}}, 1, 1, 2, {1}},
    };
    for (const Case& c : cases) {
        TTileOverlay overlay;
        Fill(overlay, 0, c.rows);
        overlay.FirstLine = 0;
        overlay.Trim();
        EXPECT_EQ(overlay.FirstLine, c.first) << c.name;
        EXPECT_EQ(overlay.LastLine, c.last) << c.name;
        EXPECT_EQ(overlay.Lines.size(), c.count) << c.name;
        EXPECT_EQ(RowsWithLines(overlay), c.kept) << c.name;
    }
}

TEST(TTileOverlayFromBuffer, EncodesEveryRowInTheOverlayMode)
{
    const std::uint16_t red0 = 0x7C00, blue0 = 0x001F;
    TPictureBuffer buffer = MakeBuffer(5, 4, Magenta);
    // row 1: T L L S S ; row 2: S S S S S ; row 3 transparent
    buffer(1, 1) = red0;
    buffer(2, 1) = blue0;
    buffer(3, 1) = S0;
    buffer(4, 1) = S0;
    for (int x = 0; x < 5; ++x)
        buffer(x, 2) = S0;

    TTileOverlay mode0(0);
    Fill(mode0, 0, {{9, {0xEC01, 1}}});
    mode0.FromBuffer(buffer, Magenta, Green);
    EXPECT_EQ(mode0.FirstLine, 1);
    EXPECT_EQ(mode0.LastLine, 2);
    EXPECT_EQ(RowsWithLines(mode0), (std::vector<int>{1, 2}));
    EXPECT_EQ(mode0.Lines[1]->Words, (Words{0x0A01, 0x0C02, red0, blue0, 0xED02}));
    EXPECT_EQ(mode0.Lines[2]->Words, (Words{0xED05}));
    EXPECT_EQ(mode0.Lines[1]->Width, 5);
    EXPECT_EQ(mode0.Lines[1]->ColorMode, 0);

    TTileOverlay mode1(1);
    mode1.FromBuffer(buffer, Magenta, Green);
    ASSERT_EQ(RowsWithLines(mode1), (std::vector<int>{1, 2}));
    EXPECT_EQ(mode1.Lines[1]->Words, (Words{0x0A01, 0x0C02, 0xF800, 0x001F, 0xED02}));
    EXPECT_EQ(mode1.Lines[1]->ColorMode, 1);
    EXPECT_EQ(mode1.ColorMode, 1);
}

TEST(TTileOverlayFromBuffer, OnlyRowThirtyDrawn)
{
    TPictureBuffer buffer = MakeBuffer(94, 72, Magenta);
    buffer(40, 30) = 0x1234;
    TTileOverlay overlay;
    overlay.FromBuffer(buffer, Magenta, Green);
    EXPECT_EQ(overlay.FirstLine, 30);
    EXPECT_EQ(overlay.LastLine, 30);
    EXPECT_EQ(overlay.Lines[30]->Words, (Words{0x0A28, 0x0C01, 0x1234, 0xFA35}));
}

TEST(TTileOverlayFromBuffer, RowsWiderThan255PixelsAreTrimmedToo)
{
    TPictureBuffer buffer = MakeBuffer(600, 12, Magenta);
    buffer(599, 4) = 0x1234;
    buffer(0, 7) = 0x4321;
    TTileOverlay overlay;
    overlay.FromBuffer(buffer, Magenta, Green);
    EXPECT_EQ(overlay.FirstLine, 4);
    EXPECT_EQ(overlay.LastLine, 7);
    EXPECT_EQ(RowsWithLines(overlay), (std::vector<int>{4, 7}));
    EXPECT_EQ(overlay.Lines.size(), 8u);
    EXPECT_EQ(overlay.MaxWidth(), 600);

    TTileOverlay empty;
    empty.FromBuffer(MakeBuffer(300, 3, Magenta), Magenta, Green);
    EXPECT_EQ(empty.FirstLine, 0xFFFF);
    EXPECT_TRUE(empty.Lines.empty());
}

TEST(TTileOverlayFromBuffer, RoundTripThroughDrawToBuffer)
{
    TPictureBuffer picture = MakeBuffer(94, 72, Magenta);
    for (int y = 5; y < 60; ++y)
        for (int x = 0; x < 94; ++x) {
            const int v = (x * 7 + y * 13) % 23;
            picture(x, y) = v < 8 ? T0 : v < 12 ? S0 : static_cast<std::uint16_t>(v * 1000 + x);
        }
    for (std::uint8_t mode : {0, 1}) {
        TTileOverlay overlay(mode);
        overlay.FromBuffer(picture, Magenta, Green);
        TPictureBuffer drawn = MakeBuffer(94, 72, Magenta);
        overlay.DrawToBuffer(0, 0, false, Green, drawn);
        for (int y = 0; y < 72; ++y)
            for (int x = 0; x < 94; ++x)
                ASSERT_EQ(drawn(x, y), ConvertPixel(picture(x, y), 0, 0)) << "mode " << int(mode) << " at " << x << "," << y;
    }
}

TEST(TTileOverlayDraw, ShadowBlendIntoABuffer)
{
    TTileOverlay overlay;
    Fill(overlay, 0, {{1, {0x0A01, 0x0D02, 0xEC01, 0x7C00}}});
    for (bool blend : {true, false}) {
        TPictureBuffer buffer(10, 10, 0x7FFF);
        overlay.DrawToBuffer(2, 3, blend, 0x808080, buffer);
        const std::uint16_t shadow = blend ? 0x3DEF : 0x4210;
        EXPECT_EQ(buffer(2, 4), 0x7FFF);
        EXPECT_EQ(buffer(3, 4), shadow);
        EXPECT_EQ(buffer(4, 4), shadow);
        EXPECT_EQ(buffer(5, 4), 0x7C00);
        int changed = 0;
        for (int x = 0; x < 10; ++x)
            for (int y = 0; y < 10; ++y)
                changed += buffer(x, y) != 0x7FFF;
        EXPECT_EQ(changed, 3);
    }
}

TEST(TTileOverlayDraw, OnASurfaceWithTheDefaultShadow)
{
    TTileOverlay overlay;
    Fill(overlay, 1, {{0, {0xEC01, 0xF800}}, {2, {0x0A01, 0xED01}}});
    TRgbSurface surface(4, 4, 0xFFFFFF);
    overlay.Draw(1, 1, surface);
    EXPECT_EQ(surface.Pixel(1, 1), 0x0000F8U);
    EXPECT_EQ(surface.Pixel(2, 3), 0x7F7F7FU);
    EXPECT_EQ(surface.Pixel(1, 2), 0xFFFFFFU);
    overlay.Draw(1, 1, surface, 0x000000);
    EXPECT_EQ(surface.Pixel(2, 3), 0U);

    TTileOverlay empty;
    TRgbSurface untouched(4, 4, 0xFFFFFF);
    empty.Draw(0, 0, untouched);
    EXPECT_EQ(untouched.Data(), TRgbSurface(4, 4, 0xFFFFFF).Data());
}

TEST(TTileOverlayAssign, CopiesRowsAndMode)
{
    TTileOverlay source;
    Fill(source, 1, {{2, {0xEC01, 0xF800}}, {4, {0x0A03, 0xED02}}});
    source.DataSize = 99;
    TTileOverlay target;
    Fill(target, 0, {{0, {0xFA01}}, {9, {0xEC01, 5}}});
    target.Assign(source);
    EXPECT_EQ(target.FirstLine, 2);
    EXPECT_EQ(target.LastLine, 4);
    EXPECT_EQ(target.DataSize, 99);
    EXPECT_EQ(target.ColorMode, 1);
    EXPECT_EQ(target.Lines.size(), 5u);
    EXPECT_EQ(RowsWithLines(target), (std::vector<int>{2, 4}));
    EXPECT_EQ(target.Lines[2]->Words, source.Lines[2]->Words);
    EXPECT_EQ(target.Lines[4]->Width, 5);
    EXPECT_EQ(target.Lines[4]->ColorMode, 1);
    source.Lines[2]->Words[1] = 0x0001; // a deep copy
    EXPECT_EQ(target.Lines[2]->Words[1], 0xF800);

    TTileOverlay empty;
    target.Assign(empty);
    EXPECT_EQ(target.FirstLine, 0xFFFF);
    EXPECT_TRUE(target.Lines.empty());
    EXPECT_EQ(target.ColorMode, 0);
}

TEST(TTileOverlayAssign, ImprovementAndRiverFields)
{
    TTileImprovement improvement(1);
    EXPECT_EQ(improvement.ImprovementID, 0);
    EXPECT_EQ(improvement.AuxValue, 0);
    Fill(improvement, 1, {{0, {0xEC01, 0xF800}}});
    improvement.ImprovementID = 17;
    improvement.AuxValue = 0xBEEF;

    TTileImprovement copy;
    copy.Assign(improvement);
    EXPECT_EQ(copy.ImprovementID, 17);
    EXPECT_EQ(copy.AuxValue, 0xBEEF);
    EXPECT_TRUE(copy.SamePicture(improvement));

    TTileOverlay plain;
    Fill(plain, 0, {{3, {0xED01}}});
    copy.Assign(plain); // picture only; the IDs stay
    EXPECT_EQ(copy.ImprovementID, 17);
    EXPECT_EQ(copy.AuxValue, 0xBEEF);
    EXPECT_EQ(copy.FirstLine, 3);
    EXPECT_EQ(copy.ColorMode, 0);

    TRiver river;
    EXPECT_EQ(river.Directions, (std::array<std::uint16_t, 9>{}));
    Fill(river, 1, {{1, {0xEC01, 0x1}}});
    river.ImprovementID = 4;
    river.Directions = {1, 0, 1, 0, 2, 0, 1, 0, 1};
    TRiver riverCopy;
    riverCopy.Assign(river);
    EXPECT_EQ(riverCopy.Directions, river.Directions);
    EXPECT_EQ(riverCopy.ImprovementID, 4);
    EXPECT_TRUE(riverCopy.SamePicture(river));

    riverCopy.Assign(improvement); // an improvement carries no directions
    EXPECT_EQ(riverCopy.Directions, river.Directions);
    EXPECT_EQ(riverCopy.ImprovementID, 17);
}
