// The elements of a tile set: pixels and number texts, coded rows, overlays, borders, tile
// rules and variation rules.

#include "Errors.h"
#include "MiscFunc.h"
#include "SetBuilders.h"
#include "TileFile.h"

#include <gtest/gtest.h>

#include <map>

using namespace kestrund;
using kestrund::testing::PutLines, kestrund::testing::TRows;

namespace {

using Words = std::vector<std::uint16_t>;
using Point = std::pair<int, int>; // (x, y)
using Values = std::map<int, std::uint16_t>; // tile rule values by index
using Preview = std::array<std::uint16_t, 9>;
constexpr std::uint16_t T = 0x7C1F, S = 0x4210, None = 0xFFFF; // transparent and shadow words; no tile

std::vector<int> RowsWithLines(const TTileOverlay& overlay)
{
    std::vector<int> rows;
    for (std::size_t r = 0; r < overlay.Lines.size(); ++r)
        if (overlay.Lines[r])
            rows.push_back(static_cast<int>(r));
    return rows;
}

std::unique_ptr<TTile> TileOf(std::uint16_t id, int index = 0)
{
    auto tile = std::make_unique<TTile>(0x080840u * id, 0);
    tile->TileID = id;
    tile->TileIndex = static_cast<std::uint8_t>(index);
    return tile;
}

} // namespace

TEST(Pixel, LayoutsColoursAndArithmetic)
{
    // words read as colours and written back (any mode but 1 is 0), conversions, products
    const std::pair<std::uint32_t, std::uint32_t> results[] = {
        {PixelToColor(0x1234, 0), 0xA08820}, {PixelToColor(0xFFFF, 0), 0xF8F8F8}, {PixelToColor(0x07E0, 1), 0x00F800},
        {PixelToColor(0xF81F, 1), 0xF800F8}, {PixelToColor(0x7C1F, 2), 0xF800F8}, {ColorToPixel(0xA08820, 0), 0x1234},
        {ColorToPixel(0x00F800, 1), 0x07C0}, {ColorToPixel(0xF800F8, 1), 0xF81F}, {ColorToPixel(0xF800F8, 2), 0x7C1F},
        {ColorToPixel(0xFF0000FF, 0), 0x7C00}, {ColorToPixel(0x070707, 0), 0}, {ConvertPixel(0xFFFF, 1, 1), 0xFFDF},
        {ConvertPixel(0xF81F, 1, 9), 0x7C1F}, {ConvertPixel(0xFFFF, 0, 1), 0xFFDF}, {Rgb24ToPixel(0x123456), 0x08CA},
        {ConvertPixel(0xFFDF, 1, 0), 0x7FFF}, {Rgb24ToPixel(0xFF07FF), 0x7C1F}, {Bgra32ToPixel(0xAA123456), 0x08CA},
        {Bgra32ToPixel(0x00FF07FF), 0x7C1F}, {MultiplyColor(0xFF204080, 0x808080), 0x102040},
        {MultiplyColor(0x102030, 0xFFFFFF), 0x0F1F2F}, {MultiplyPixel(0xFFFF, 0x4210), 0x3DEF},
        {MultiplyPixel(0x7C00, 0x7C00), 0x7800}, {MultiplyPixel(0x03E0, 0x03FF), 0x03C0},
        {TRgbSurface(3, 2, 7).Pixel(-1, 1), 0},
    };
    for (std::size_t i = 0; i < std::size(results); ++i)
        EXPECT_EQ(results[i].first, results[i].second) << "result " << i;
    // filled four words at a time, then one by one; reads outside are 0 (writes there are dropped,
    // as the drawings below show)
    const TPictureBuffer made = MakeBuffer(5, 1, 0xF800F8);
    for (int x = -1; x <= 5; ++x)
        EXPECT_EQ(made.Get(x, 0), x < 0 || x == 5 ? 0 : 0x7C1F) << x;
    EXPECT_EQ(TPictureBuffer(-2, 0), TPictureBuffer());
}

TEST(MiscFunc, NumberTexts)
{
    const std::pair<std::string, const char*> texts[] = {
        {IntToStrPad(5, 3, '0'), "005"}, {IntToStrPad(12345, 3, '0'), "12345"}, {IntToStrPad(7, 4), "   7"},
        {IntToStrPad(-5, 4, '0'), "-005"}, {IntToStrPad(-5, 4), "  -5"}, {IntToStrPad(-123, 2, '0'), "-123"},
        {IntToStrPad(-1, 2, '0'), "-1"}, {IntToHexTrim(0x1F, 4), "001F"}, {IntToHexTrim(0x1F, 1), "1F"},
        {IntToHexTrim(0, 0), ""}, {IntToHexTrim(-0x5433, 2), "ABCD"}, {IntToBin(0x1A005, 1), "1010000000000101"},
        {IntToBin(2, 4), "0010"}, {Format("%s-%04X", "tile", 0x2A), "tile-002A"},
    };
    for (const auto& [text, expected] : texts)
        EXPECT_EQ(text, expected);
    EXPECT_EQ(BinToInt(IntToBin(0xA5C3, 16)), 0xA5C3);
    for (const char* bad : {"102", " 1", "-1", "1a"}) {
        try {
            ADD_FAILURE() << BinToInt(bad);
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.what(), "'" + std::string(bad) + "' is not a valid binary value");
        }
    }
}

// Each line is drawn at x on row 1 of an 8 x 3 surface and buffer (not blended), and as row 1
// of an overlay drawn at y 0 (blended into the buffer). Letters: . untouched, C shadow colour,
// D white darkened, R G U red, green, blue.
TEST(TLine, DrawnAloneAndInAnOverlay)
{
    struct Case { int x; std::uint8_t mode; Words words; const char* surface; const char* buffer; };
    const Case cases[] = {
        {1, 0, {0x0A02, 0x0C02, 0x7C00, 0x001F, 0xFA03}, "...RU...", "...RU..."},
        {0, 0, {0x0B02, 0xED02, 0x0C01, 0x7C00}, "CCDD....", "..CC...."},
        {0, 0, {0xFB02, 0x0C01, 0x7C00}, "CC......", "........"},
        {0, 0, {0xEC01, 0x7C00, 0x0C01, 0x001F}, "R.......", "R......."},
        {2, 0, {0xED01, 0xEC01, 0x7C00}, "..D.....", "..C....."},
        {0, 0, {0xFA01, 0xEC01, 0x7C00}, "........", "........"},
        {0, 0, {0x0105, 0x0C01, 0x7C00, 0xFA01}, "R.......", "R......."},
        {0, 1, {0x0A01, 0xEC02, 0xF800, 0x07E0}, ".RG.....", ".RG....."},
        {-2, 0, {0x0C04, 0x7C00, 0x7C00, 0x03E0, 0x001F, 0xFA01}, "GU......", "GU......"},
        {6, 0, {0x0B01, 0xED04}, "......CD", ".......C"},
        {-127, 0, {0x0A80, 0xEC01, 0x7C00}, ".R......", ".R......"},
        // as a damaged file may give them: drawing stops at the last word
        {0, 0, {0x0C05, 0x7C00, 0x001F}, "RU......", "RU......"},
        {0, 0, {0x0C00, 0xEC01, 0x7C00}, "R.......", "R......."},
        {0, 0, {0x0A01, 0x0B01}, ".C......", "........"},
        {0, 0, {0x0A02, 0xEC09, 0x001F}, "..U.....", "..U....."},
    };
    // colour, word, word blended over the background
    const std::map<char, std::tuple<TColor, std::uint16_t, std::uint16_t>> legend = {
        {'.', {0xFFFFFF, 0x7FFF, 0x7FFF}}, {'C', {0x808080, 0x4210, 0x3DEF}}, {'D', {0x7F7F7F, 0, 0}},
        {'R', {0x0000F8, 0x7C00, 0x7C00}}, {'G', {0x00F800, 0x03E0, 0x03E0}}, {'U', {0xF80000, 0x001F, 0x001F}},
    };
    for (const Case& c : cases) {
        TTileOverlay overlay(c.mode);
        PutLines(overlay, {{1, c.words}});
        TRgbSurface surface(8, 3, 0xFFFFFF), inOverlay(8, 3, 0xFFFFFF), expected(8, 3, 0xFFFFFF);
        TPictureBuffer buffer(8, 3, 0x7FFF), blended(8, 3, 0x7FFF), words(8, 3, 0x7FFF), blendedWords(8, 3, 0x7FFF);
        overlay.Line(1)->Draw(surface, c.x, 1, 0x808080);
        overlay.Line(1)->DrawToBuffer(buffer, c.x, 1, false, 0x808080);
        overlay.Draw(c.x, 0, inOverlay); // in the default shadow colour
        overlay.DrawToBuffer(c.x, 0, true, 0x808080, blended);
        for (int x = 0; x < 8; ++x) {
            expected.SetPixel(x, 1, std::get<0>(legend.at(c.surface[x])));
            words(x, 1) = std::get<1>(legend.at(c.buffer[x]));
            blendedWords(x, 1) = std::get<2>(legend.at(c.buffer[x]));
        }
        EXPECT_TRUE(surface.Data() == expected.Data() && inOverlay.Data() == expected.Data()) << c.surface;
        EXPECT_TRUE(buffer == words && blended == blendedWords) << c.buffer;
    }
}

// Trim drops fully transparent rows; FromBuffer makes a line of every drawn row, in the overlay's mode:
// runs of one kind, at most 255 long, the last one an end run.
TEST(TTileOverlay, TrimAndFromBuffer)
{
    struct Case { TRows rows; std::uint16_t first, last; std::vector<int> kept; };
    const Words blank{0xFA5E}, drawn{0x0A01, 0xEC01, 0x1234};
    const Case cases[] = {
        {{{0, blank}, {2, drawn}, {3, blank}, {5, drawn}, {6, blank}}, 2, 5, {2, 5}},
        {{{0, drawn}, {1, blank}, {2, {0xED5E}}}, 0, 2, {0, 2}}, {{{0, blank}, {1, blank}}, NoLine, NoLine, {}},
        {{{0, {0x0AFF, 0xFA2D}}, {1, drawn}, {2, {0x0AFF, 0x0AFF, 0xFA01}}}, 1, 1, {1}},
    };
    for (const Case& c : cases) {
        TTileOverlay overlay;
        PutLines(overlay, c.rows);
        overlay.Trim();
        EXPECT_EQ(std::tuple(overlay.FirstLine, overlay.LastLine, RowsWithLines(overlay), overlay.Lines.size()),
                  std::tuple(c.first, c.last, c.kept, c.kept.empty() ? 0u : c.last + 1u)) << c.rows.size();
    }
    TPictureBuffer buffer = MakeBuffer(600, 9, 0xF800F8); // rows 0-7 are read four at a time
    const Words row1{0x7C1F, 0x7C00, 0x001F, 0x03E0, 0x03E0};
    for (int x = 0; x < 5; ++x)
        buffer(x, 1) = row1[static_cast<std::size_t>(x)];
    buffer(599, 6) = 0x1234;
    buffer(0, 8) = 0x4321;
    for (std::uint8_t mode : {0, 1}) {
        TTileOverlay overlay(mode);
        PutLines(overlay, {{9, {0xEC01, 1}}});
        overlay.FromBuffer(buffer, 0xF800F8, 0x00F800);
        EXPECT_EQ(std::tuple(overlay.FirstLine, overlay.LastLine, RowsWithLines(overlay), overlay.Lines[8]->ColorMode),
                  std::tuple(1, 8, std::vector<int>{1, 6, 8}, mode));
        const std::uint16_t red = mode ? 0xF800 : 0x7C00;
        EXPECT_EQ(overlay.Lines[1]->Words, (Words{0x0A01, 0x0C02, red, 0x001F, 0x0D02, 0x0AFF, 0x0AFF, 0xFA55}));
        EXPECT_EQ(std::tuple(overlay.BlockWords(), overlay.MaxWidth()), std::tuple(2u + 9 + 5 + 6 + 6, 600));
        TPictureBuffer drawn = MakeBuffer(600, 9, 0xF800F8);
        overlay.DrawToBuffer(0, 0, false, 0x00F800, drawn);
        EXPECT_EQ(drawn, buffer);
    }
    EXPECT_EQ(TLine(0, Words{7, 7, 8}, 7, 7).Words, (Words{0x0A02, 0xEC01, 0x8})); // transparent wins
    EXPECT_EQ(TLine(0, Words(4000, 0x8003), T, S).Words.size(), 4016u); // too wide to encode in place
    TTileOverlay empty;
    empty.FromBuffer(MakeBuffer(300, 3, 0xF800F8), 0xF800F8, 0x00F800);
    EXPECT_EQ(std::tuple(empty.Empty(), empty.Lines.size(), empty.BlockWords(), empty.MaxWidth()),
              std::tuple(true, 0u, 2u, 0));
}

// Storage order is top row first, left to right. Edge 1 mirrors edge 0 top to bottom, edge 3
// left to right, edge 2 both ways; an edge copied onto another takes that one's orientation.
TEST(TTileBorder, MaskCopiesAndDrawing)
{
    // FNV-1a of edge 0 in storage order, measured from the mask's published rows
    std::uint64_t hash = 14695981039346656037ull;
    for (const TMaskPoint& p : BorderMask(0))
        hash = ((hash ^ p.X) * 1099511628211ull ^ p.Y) * 1099511628211ull;
    EXPECT_EQ(hash, 0x0C26F80C1A422919ull);

    TCBorder edge(1, 0), mirrored(2, 0), turned(3, 0);
    turned.ColorMode = 1;
    std::map<Point, std::uint16_t> sourceAt;
    for (std::size_t i = 0; i < BorderPixelCount; ++i) {
        edge.Pixels[i] = static_cast<std::uint16_t>(0x8000 | i * 93); // bit 15 kept within one mode
        sourceAt[{BorderMask(1)[i].X, BorderMask(1)[i].Y}] = edge.Pixels[i];
    }
    mirrored.CopyOriented(edge);
    turned.CopyOriented(edge);
    for (std::size_t i = 0; i < BorderPixelCount; ++i) {
        ASSERT_EQ(mirrored.Pixels[i], sourceAt.at({93 - BorderMask(2)[i].X, BorderMask(2)[i].Y})) << i;
        const TMaskPoint p = BorderMask(3)[i];
        ASSERT_EQ(turned.Pixels[i], ConvertPixel(sourceAt.at({93 - p.X, 95 - p.Y}), 0, 1)) << i;
    }
    // new borders carry each edge's marker colour (red, green, blue, magenta) in their mode
    const std::uint16_t markers[2][4] = {{0x7C00, 0x03E0, 0x001F, 0x7C1F}, {0xF800, 0x07C0, 0x001F, 0xF81F}};
    for (std::uint8_t mode : {0, 1}) {
        const TTileBorder border(mode), numbered(mode, 0xFFFFFFFF), white(mode, 0xFFFFFF);
        for (int draw = 0; draw < 18; ++draw) { // every mask at (3, 5), then all edges clipped on each side
            const int mask = draw < 16 ? draw : 15, dx = draw < 16 ? 3 : draw == 16 ? -40 : 60, dy = dx + 2;
            TRgbSurface surface(120, 100, 0x123456), expected(120, 100, 0x123456);
            TPictureBuffer buffer(120, 100, 0xFFFF), words(120, 100, 0xFFFF);
            border.DrawEdges(mask, dx, dy, surface);
            border.DrawEdgesToBuffer(mask, dx, dy, buffer);
            for (std::size_t k = 0; k < 4; ++k)
                for (std::size_t i = 0; mask & (1 << k) && i < BorderPixelCount; ++i) {
                    const int x = dx + BorderMask(k)[i].X, y = dy + BorderMask(k)[i].Y;
                    expected.SetPixel(x, y, PixelToColor(markers[mode][k], mode));
                    words.Set(x, y, mode ? ConvertPixel(markers[mode][k], 1, 0) : markers[mode][k]);
                }
            EXPECT_TRUE(surface.Data() == expected.Data() && buffer == words) << int(mode) << " " << draw;
        }
        for (std::uint8_t k = 0; k < 4; ++k) // the numbered border holds the edge numbers
            EXPECT_EQ(std::tuple(border.Edges[k].Edge, numbered.Edges[k].Pixels[k * 99], white.Edges[k].Pixels[k]),
                      std::tuple(k, k, mode ? 0xFFDF : 0x7FFF));
    }
    TTileBorder source(1, 0xFFFFFFFF), target(0);
    source.Inside = 0x1234;
    source.Outside = 0xBEEF;
    target.Assign(source);
    EXPECT_TRUE(target == source);
}

TEST(TTileRule, PreviewAndRuleLookup)
{
    const auto AddRule = [](TTileFile& set, const Values& values) -> TTileRule& {
        auto& rule = set.AddTileRule(std::make_unique<TTileRule>());
        for (auto [k, v] : values)
            rule.SetValue(k, v);
        return rule;
    };
    // tile IDs of the entries N, NW, NE, W, centre, E, SW, SE, S; None where there is no tile
    const auto PreviewIds = [](const TTileRule& rule) {
        Preview ids{};
        for (int i = 0; i < 9; ++i)
            ids[static_cast<std::size_t>(i)] = rule.PreviewTile(i) ? rule.PreviewTile(i)->TileID : None;
        return ids;
    };
    // The preview of rule 0 in each case; tiles with these IDs exist in every case.
    const std::pair<std::vector<Values>, Preview> cases[] = {
        // neighbours without matching rules are their own tile IDs
        {{{{0, 10}, {1, 11}, {2, 12}, {3, 13}, {4, 100}, {5, 15}, {6, 16}, {7, 17}, {8, 18}, {9, 50}}},
         {12, 11, 15, 10, 50, 18, 13, 17, 16}},
        // centre: the first of Graphics, Alt1..Alt5 that is not negative, if its tile exists
        {{{{9, 0x8000}, {11, 7}}}, {None, None, None, None, 7, None, None, None, None}},
        {{{{9, 9}, {10, 6}}}, {None, None, None, None, None, None, None, None, None}},
        {{{{14, 0}}}, {None, None, None, None, 0, None, None, None, None}},
        {{{{9, 0x7FFF}, {10, 5}}}, {None, None, None, None, 0x7FFF, None, None, None, None}},
        // negative neighbour values give no tile even when a rule would match
        {{{{2, 0x8000}, {0, 0xFFFF}, {1, 0x7FFF}, {4, 3}}, {{4, 0x8000}, {9, 6}}},
         {None, 0x7FFF, None, None, None, None, None, None, None}},
        // N by its centre (the first match), S by its N = our centre, W by Alt1, E's tile is
        // missing, NW by a negative but set Graphics
        {{{{4, 1}, {2, 20}, {6, 21}, {0, 30}, {8, 40}, {1, 22}, {9, 5}}, {{4, 20}, {9, 200}}, {{4, 20}, {9, 6}},
          {{2, 1}, {9, 201}}, {{4, 30}, {10, 301}}, {{4, 40}, {9, 999}}, {{4, 22}, {9, 0x8000}, {10, 7}}},
         {200, 0x8000, None, 301, 5, None, None, None, 201}},
        // an earlier rule wins whichever way it matched; a rule may match itself
        {{{{4, 7}, {5, 20}}, {{3, 7}, {9, 400}}, {{4, 20}, {9, 401}}},
         {None, None, 400, None, None, None, None, None, None}},
        {{{{4, 1}, {0, 50}, {8, 1}, {9, 60}}}, {None, None, None, 60, 60, 60, None, None, None}},
    };
    for (const auto& [rules, preview] : cases) {
        TTileFile set;
        set.Clear();
        for (std::uint16_t id : {0, 5, 6, 7, 10, 11, 12, 13, 15, 16, 17, 18, 20, 21, 22, 30, 40, 50, 60, 200, 201,
                                 301, 400, 401, 0x7FFF, 0x8000, 0xFFFF})
            set.AddTile(TileOf(id));
        for (const Values& values : rules)
            AddRule(set, values);
        EXPECT_EQ(PreviewIds(set.TileRule(0)), preview) << rules.size();
    }
    // looked up on every request, so it follows edits and never shows a deleted tile
    TTileFile set;
    TTile& north = set.AddTile(TileOf(12));
    TTileRule& rule = AddRule(set, {{2, 13}, {9, 50}, {4, 100}});
    north.TileID = 13;
    EXPECT_EQ(rule.PreviewTile(0), &north);
    set.DeleteTile(1);
    TTile& again = set.AddTile(TileOf(50));
    set.AddTile(TileOf(50));
    EXPECT_TRUE(!rule.PreviewTile(0) && rule.PreviewTile(4) == &again); // the first of equal IDs
    for (int k : {-1, 15}) {
        EXPECT_THROW(rule.Value(k), EListIndexError);
        EXPECT_THROW(rule.SetValue(k, 0), EListIndexError);
        EXPECT_THROW(rule.PreviewTile(k < 0 ? k : 9), EListIndexError);
    }
    EXPECT_EQ(rule.Value(0), None);
    // a tile's rule: the first by Graphics, then by each alternative in turn
    const std::pair<std::vector<Values>, long> finds[] = {
        {{{{10, 5}}, {{9, 5}}}, 1}, {{{{11, 5}}, {{10, 5}}}, 1}, {{{{14, 5}}, {{13, 5}}, {{12, 6}}}, 1},
        {{{{10, 5}}, {{9, 5}}, {{9, 5}}}, 1}, {{{{14, 5}}}, 0},
        {{{{4, 5}}, {{0, 5}, {8, 5}}}, -1}, // neighbour and centre values do not count
    };
    for (const auto& [rules, expected] : finds) {
        TTileFile set; // its default rule matches nothing
        for (const Values& values : rules)
            AddRule(set, values);
        const TTileRule* found = set.FindTileRuleForTile(5);
        EXPECT_EQ(found ? set.IndexOfTileRule(found) - 1 : -1, expected) << rules.size();
    }
    const TTileRule stranger;
    EXPECT_EQ(TTileFile().IndexOfTileRule(&stranger), -1);
}

TEST(TVariationRule, StepsGridAndDrawing)
{
    // A step holds Dir in bits 0-4, TileIndex in 6-13 and TileID in 16-31. Its text is read item
    // by item, each setter keeping the other fields, an item missing or not a number giving 0.
    const std::tuple<const char*, std::uint32_t, const char*> texts[] = {
        {"03,2,0140", 0x008C00C2, "03,2,0140"}, {"255,31,65535", 0xFFFF3FDF, "255,31,65535"}, {"", 0, "00,0,0000"},
        {"7", 0x01C0, "07,0,0000"}, {"x,3,12", 0x000C0003, "00,3,0012"}, {"5,,9", 0x00090140, "05,0,0009"},
        {"12a,4,1", 0x00010004, "00,4,0001"}, {"1,2,3,4", 0x00030042, "01,2,0003"},
        {" +4 ,\t-1,zz", 0x011F, "04,31,0000"},
    };
    TVariationRule rule;
    for (const auto& [text, step, shown] : texts) {
        rule.SetStep(0, 0xFFFFFFFF);
        rule.SetStepText(0, text);
        EXPECT_EQ(std::tuple(rule.Step(0), rule.StepText(0)), std::tuple(step, std::string(shown))) << text;
    }
    rule.SetStep(0, 0x12345678); // the text shows the whole low word >> 6 as the index
    EXPECT_EQ(rule.StepText(0), "345,24,4660");
    rule.SetStep(0, 0xFFFFFFFF);
    rule.SetStepDir(0, 0x25);
    rule.SetStepTileIndex(0, 0x1AB);
    EXPECT_EQ(rule.Step(0), 0xFFFF2AC5u);
    rule.SetStepCount(3);
    EXPECT_EQ(rule.Step(2), 0u);
    EXPECT_THROW(rule.SetStep(3, 1), EListIndexError);
    EXPECT_THROW(rule.Step(3), EListIndexError);

    // Step k (from 1) moves by dirs[k-1] and names tile k; the walk starts at cell (a, b), and
    // cells within two steps of (2, 2) are drawn where the layout puts them.
    struct Case { const char* dirs; int a, b; };
    const Case walks[] = {
        {"0", 2, 2}, {"034", 2, 2}, {"0443", 1, 2}, {"0223", 3, 2}, {"0334", 2, 1}, {"0114", 2, 3},
        {"04433", 1, 1}, {"02211", 3, 3}, {"02233", 3, 1}, {"04411", 1, 3}, {"0444", 0, 2}, {"0222", 4, 2},
        {"01444", 1, 3}, {"01222", 3, 3}, {"02223", 4, 2}, {"03444", 1, 1}, {"03222", 3, 1}, {"04443", 0, 2},
        {"0444333", 0, 2}, {"004443", 3, 1}, {"0333", 2, 0}, {"0111", 2, 4}, {"01114", 2, 4}, {"02333", 3, 1},
        {"02111", 3, 3}, {"03334", 2, 0}, {"04333", 1, 1}, {"04111", 1, 3}, {"003334", 1, 3}, {"04444", 0, 2},
        {"02222", 4, 2}, {"044443", 0, 2}, {"03333", 2, 0}, {"01111", 2, 4}, {"044444222", 2, 0}, {"0594", 2, 2},
        {"", 2, 2},
    };
    // picture offset of the cells of the layout, by row a
    const std::map<int, std::vector<std::pair<int, Point>>> layout = {
        {0, {{2, {192, 0}}}}, {1, {{1, {96, 0}}, {2, {144, 24}}, {3, {192, 48}}}},
        {2, {{0, {0, 0}}, {1, {48, 24}}, {2, {96, 48}}, {3, {144, 72}}, {4, {192, 96}}}},
        {3, {{1, {0, 48}}, {2, {48, 72}}, {3, {96, 96}}}}, {4, {{2, {0, 96}}}}};
    TTileFile set;
    set.Clear();
    set.ShadowColor = 0x203040;
    for (std::uint16_t id = 1; id <= 9; ++id)
        set.AddTile(TileOf(id));
    set.Tile(0).Overlay = std::make_unique<TTileOverlay>(0);
    PutLines(*set.Tile(0).Overlay, {{0, {0xFB01}}}); // tile 1 casts a shadow in the set's colour
    // one rule for all: no cell of an earlier walk may stay
    for (const Case& c : walks) {
        const std::string dirs(c.dirs);
        std::array<std::array<std::uint16_t, 5>, 5> grid;
        for (auto& row : grid)
            row.fill(EmptyCell);
        rule.SetStepCount(static_cast<std::uint16_t>(dirs.size()));
        for (int i = 0, a = c.a, b = c.b; i < static_cast<int>(dirs.size()); ++i) {
            const int dir = dirs[static_cast<std::size_t>(i)] - '0'; // 1: b - 1, 2: a - 1, 3: b + 1, 4: a + 1
            b += dir == 1 ? -1 : dir == 3 ? 1 : 0;
            a += dir == 2 ? -1 : dir == 4 ? 1 : 0;
            if (a >= 0 && a < 5 && b >= 0 && b < 5)
                grid[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)] = static_cast<std::uint16_t>(i + 1);
            rule.SetStep(static_cast<std::size_t>(i), static_cast<std::uint32_t>((i + 1) << 16 | dir));
        }
        rule.ComputeGrid();
        EXPECT_EQ(rule.Grid, grid) << c.dirs;
        TRgbSurface surface(300, 180, 0), expected(300, 180, 0);
        TPictureBuffer buffer(300, 180, 0), words(300, 180, 0);
        rule.Draw(set, 5, 4, surface);
        rule.DrawToBuffer(set, 5, 4, false, 0, buffer);
        for (const auto& [a, cells] : layout)
            for (const auto& [b, at] : cells)
                if (const TTile* tile = set.FindTile(grid[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)])) {
                    tile->Draw(5 + at.first, 4 + at.second, expected, set.ShadowColor);
                    tile->DrawToBuffer(5 + at.first, 4 + at.second, false, 0, words);
                }
        EXPECT_TRUE(surface.Data() == expected.Data() && buffer == words) << c.dirs;
    }
}
