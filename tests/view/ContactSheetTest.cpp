// The contact sheet: its font, its grid, and cells that hold what the element browser shows.

#include "ContactSheet.h"
#include "Errors.h"
#include "Scratch.h"
#include "SetBuilders.h"
#include "SheetFont.h"

#include <gtest/gtest.h>

using namespace kestrund;
using kestrund::testing::Thrown;

namespace {

std::vector<TColor> Region(const TSurface& s, const TSheetRect& r)
{
    std::vector<TColor> pixels;
    for (int y = r.Y; y < r.Y + r.Height; ++y)
        for (int x = r.X; x < r.X + r.Width; ++x)
            pixels.push_back(s.Pixel(x, y));
    return pixels;
}

// Rows of '#' where the surface holds ink, '.' elsewhere.
std::vector<std::string> Ink(const TSurface& s, TColor ink)
{
    std::vector<std::string> text(static_cast<std::size_t>(s.Height()));
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            text[static_cast<std::size_t>(y)] += s.Pixel(x, y) == ink ? '#' : '.';
    return text;
}

// The oracle for an element's picture: the view showing that element alone, without a frame.
TRgbSurface ViewOf(const TTileFile& set, TSheetKind kind, std::size_t i, const TSheetColors& colors)
{
    TViewState v;
    v.ShowTiles = kind == TSheetKind::Tiles || kind == TSheetKind::Rules;
    v.ShowBorders = kind == TSheetKind::Borders;
    v.ShowRivers = kind == TSheetKind::Rivers;
    v.ShowImprovements = kind == TSheetKind::Improvements;
    v.ShowTileRules = v.Square = kind == TSheetKind::Rules;
    v.ShowVariationRule = kind == TSheetKind::Variations;
    v.TileNum = v.BorderNum = v.RiverNum = v.ImprovementNum = v.RuleNum = v.VariationNum = i;
    if (kind == TSheetKind::Rules) // the rule's own centre tile in the middle
        for (v.TileNum = 0; v.TileNum < set.TileCount(); ++v.TileNum)
            if (&set.Tile(v.TileNum) == set.TileRule(i).Preview()[4])
                break;
    v.ImgBorderWidth = 0;
    v.BgColor = colors.Background;
    v.ShadowColor = colors.Shadow;
    v.SetShadowColor = colors.SetShadow;
    return ComposeView(set, v, ChooseCurrentRule(set, v, nullptr));
}

} // namespace

TEST(ContactSheet, FontGlyphsWidthsAndInk)
{
    TRgbSurface font(95, 7), zoomed(10, 4);
    DrawSheetText(font, 0, 0, "0123456789ABCDEF", 0xFFFFFF, 1);
    EXPECT_EQ(Ink(font, 0xFFFFFF), (std::vector<std::string>{
        ".###....#....###..#####....#..#####...##..#####..###...###...###..####...###..###...#####.#####",
        "#...#..##...#...#....#....##..#......#........#.#...#.#...#.#...#.#...#.#...#.#..#..#.....#....",
        "#..##...#.......#...#....#.#..####..#........#..#...#.#...#.#...#.#...#.#.....#...#.#.....#....",
        "#.#.#...#......#.....#..#..#......#.####....#....###...####.#####.####..#.....#...#.####..####.",
        "##..#...#.....#.......#.#####.....#.#...#..#....#...#.....#.#...#.#...#.#.....#...#.#.....#....",
        "#...#...#....#....#...#....#..#...#.#...#..#....#...#....#..#...#.#...#.#...#.#..#..#.....#....",
        ".###...###..#####..###.....#...###...###...#.....###...##...#...#.####...###..###...#####.#...."}));
    DrawSheetText(zoomed, -24, 0, " x0", 0xFFFFFF, 2); // a space, and no glyph for 'x': blanks of their width
    EXPECT_EQ(Ink(zoomed, 0xFFFFFF), (std::vector<std::string>{"..######..", "..######..", "##......##",
                                                               "##......##"}));
    const std::tuple<const char*, int, int> widths[] = {{"", 1, 0}, {"7", 1, 5}, {"12 AB", 1, 29}, {"FF", 3, 33}};
    for (const auto& [text, scale, width] : widths)
        EXPECT_EQ(SheetTextWidth(text, scale), width) << text << " at " << scale;
    // Black on light backgrounds, white on dark ones, by the eye's weights of red, green and blue (0xBBGGRR).
    for (auto [background, ink] : {std::pair{0xC0C0C0u, 0u}, {0x202020u, 0xFFFFFFu}, {0x005AFFu, 0u},
                                   {0x0040FFu, 0xFFFFFFu}, {0xFFAA00u, 0u}, {0xFF9000u, 0xFFFFFFu}})
        EXPECT_EQ(LabelColor(background), ink) << std::hex << background;
}

TEST(ContactSheet, Layout)
{
    // 7 tiles (94 x 72) and 3 tile rules (286 x 168); a label is 7 font pixels at its scale and 2 + 2 of padding.
    const auto set = kestrund::testing::MakeSet({.TileRules = 3, .Tiles = 7, .Rivers = 0}, 1);
    struct TCase {
        TContactSheetOptions Options;
        std::array<int, 4> Grid; // columns, rows, width, height
        TSheetRect Picture1, Label1;
    };
    const TCase cases[] = {
        {{.Zoom = 2, .Labels = true}, {7, 1, 1348, 163}, {196, 4, 188, 144}, {196, 148, 188, 11}}, // 8 fit
        {{.Kind = TSheetKind::Rules, .Zoom = 3, .Columns = 2, .Labels = true}, {2, 2, 1728, 1056},
         {866, 4, 858, 504}, {866, 508, 858, 18}},
        {{.Kind = TSheetKind::Rules, .FitWidth = 500}, {1, 3, 294, 520}, {4, 176, 286, 168}, {4, 344, 286, 0}},
    };
    for (const TCase& c : cases) {
        const TSheetLayout layout = ContactSheetLayout(*set, c.Options);
        EXPECT_EQ((std::array{layout.Columns, layout.Rows, layout.Width(), layout.Height()}), c.Grid) << &c - cases;
        EXPECT_EQ(layout.Picture(1), c.Picture1) << &c - cases;
        EXPECT_EQ(layout.Label(1), c.Label1) << &c - cases;
    }

    const auto many = kestrund::testing::MakeSet({.VariationRules = 90}, 2);
    EXPECT_EQ(Thrown<EKestrundError>(
                  [&] { ComposeContactSheet(*many, {.Kind = TSheetKind::Variations, .Zoom = 8}); }),
              "A sheet of 2296 x 121324 pixels is too large to draw (at most 268435456 pixels)");
}

TEST(ContactSheet, CellsHoldTheElementPicturesAndLabelsWhenAsked)
{
    const auto set = kestrund::testing::MakeRichSet(3, false);
    set->Border(1).Inside = 0x1A;
    set->Border(1).Outside = 3;
    set->TileRule(1).Values[rvGraphics] = set->Tile(0).TileID = 0x1234; // a rule whose picture shows a tile
    set->VariationRule(2).SetStepCount(0);
    // The labels: the number, then the ID as the view's labels write it (a rule's: its graphics tile's).
    const std::tuple<TSheetKind, std::size_t, std::string, std::string> labels[] = {
        {TSheetKind::Borders, 1, "1 26 3", "0001 1A 03"}, {TSheetKind::Rules, 1, "1 4660", "0001 1234"},
        {TSheetKind::Variations, 2, "2", "0002"}}; // no steps, no tile
    for (const auto& [kind, i, decimal, hex] : labels) {
        EXPECT_EQ(ElementLabel(*set, kind, i, false), decimal);
        EXPECT_EQ(ElementLabel(*set, kind, i, true), hex);
    }
    for (int k = 0; k < SheetKindCount; ++k) {
        const bool dark = k % 2; // labels white on a dark background, black on a light one
        TContactSheetOptions options{.Kind = static_cast<TSheetKind>(k), .Zoom = 2, .Columns = 2, .Hex = k == 4};
        options.Colors = {dark ? 0x202020u : 0xC0C0C0u, 0x404040, 0x606060};
        const TColor ink = dark ? 0xFFFFFF : 0x000000;
        for (bool labels : {false, true}) {
            options.Labels = labels;
            const TRgbSurface sheet = ComposeContactSheet(*set, options);
            const TSheetLayout layout = ContactSheetLayout(*set, options);
            for (std::size_t i = 0; i < layout.Count; ++i) {
                // The picture: the view of the element at zoom 2, background beyond a narrower improvement.
                const TSheetRect cell = layout.Picture(i);
                const TRgbSurface view = ViewOf(*set, options.Kind, i, options.Colors);
                int differ = 0;
                for (int y = 0; y < cell.Height; ++y)
                    for (int x = 0; x < cell.Width; ++x)
                        differ += sheet.Pixel(cell.X + x, cell.Y + y) !=
                                  (x / 2 < view.Width() ? view.Pixel(x / 2, y / 2) : options.Colors.Background);
                EXPECT_EQ(differ, 0) << k << ' ' << i;
                // The label centred under its picture, 2 pixels down, in the ink that reads on the background.
                const TSheetRect at = layout.Label(i);
                const std::string text = ElementLabel(*set, options.Kind, i, options.Hex);
                TRgbSurface label(at.Width, at.Height, options.Colors.Background);
                DrawSheetText(label, (at.Width - SheetTextWidth(text, 1)) / 2, 2, text, ink, 1);
                EXPECT_EQ(Region(sheet, at), label.Data()) << k << ' ' << i << ' ' << text;
            }
            // Outside the cells (gaps, the empty cell at the end; the label rows without labels) only background.
            TRgbSurface rest = sheet;
            for (std::size_t i = 0; i < layout.Count; ++i)
                for (const TSheetRect& r : {layout.Picture(i), layout.Label(i)})
                    for (int y = r.Y; y < r.Y + r.Height; ++y)
                        for (int x = r.X; x < r.X + r.Width; ++x)
                            rest.SetPixel(x, y, options.Colors.Background);
            EXPECT_EQ(rest.Data(), TRgbSurface(sheet.Width(), sheet.Height(), options.Colors.Background).Data()) << k;
        }
    }
}
