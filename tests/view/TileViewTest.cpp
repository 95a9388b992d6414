// The tile view: its sizes, the rule it follows, the pictures composed from it, its labels
// and the picture files it is saved in.

#include "ImageFiles.h"
#include "Scratch.h"
#include "TileView.h"

#include <gtest/gtest.h>

using namespace kestrund;

// Tiles of one colour each, IDs 100, 101, 102, so a pixel tells which tile is drawn there.
static TColor Colour(int i) { return static_cast<TColor>(0x000008 * (i + 1)); }

TEST(View, SizesRulePicturesLabelsAndFiles)
{
    TTileFile set;
    set.Clear();
    for (std::uint16_t i = 0; i < 3; ++i)
        set.AddTile(std::make_unique<TTile>(Colour(i), 0)).TileID = 100 + i;
    for (int width : {120, 60})
        set.AddImprovement(std::make_unique<TTileImprovement>())
            .FromBuffer(TPictureBuffer(width, 3, 0x1234), 0xF8F8F8, 0x080808);
    const std::pair<TViewState, std::array<int, 4>> sizes[] = { // width, height, origin
        {{}, {98, 76, 2, 2}}, {{.ShowImprovements = true}, {124, 76, 2, 2}},
        {{.ShowImprovements = true, .ImprovementNum = 1}, {98, 76, 2, 2}},
        {{.ShowImprovements = true, .ImprovementNum = 7}, {98, 76, 2, 2}}, // beyond the list: none
        {{.ShowImprovements = true, .Square = true}, {294, 176, 98, 50}},
        {{.ShowImprovements = true, .ShowVariationRule = true}, {290, 172, 2, 2}},
        {{.ShowVariationRule = true, .Square = true}, {290, 172, 2, 2}},
        {{.Square = true, .ImgBorderWidth = 10}, {326, 208, 106, 58}}};
    for (const auto& [view, expected] : sizes) {
        const TViewGeometry g = ViewGeometry(set, view);
        EXPECT_EQ((std::array{g.Width, g.Height, g.OriginX, g.OriginY}), expected) << &view - &sizes[0].first;
    }

    for (int i = 0; i < 3; ++i)
        set.AddTileRule(std::make_unique<TTileRule>());
    set.TileRule(0).Values[rvAlt2] = 100;
    auto& values = set.TileRule(1).Values;
    values[rvAlt1] = 100, values[nbCentre] = 50; // unset (0xFFFF) values would match each other
    values[nbN] = 101, values[nbE] = 102;        // no rule has centre 101: taken as tile IDs
    TViewState view{.ShowTileRules = true, .RuleNum = 2};
    EXPECT_EQ(ChooseCurrentRule(set, view, nullptr), &set.TileRule(2));
    view.ShowVariationRule = true;
    EXPECT_EQ(ChooseCurrentRule(set, view, &set.TileRule(0)), &set.TileRule(0)) << "kept while the rule shows";
    TTileRule stranger;
    EXPECT_EQ(ChooseCurrentRule(set, view, &stranger), nullptr) << "never a rule outside the set";
    EXPECT_EQ(ChooseCurrentRule(set, {.ShowTiles = false}, nullptr), nullptr);
    view = {.ShowBorders = true, .ShowRivers = true, .Square = true, .BorderNum = 5}; // no such border
    const TTileRule* rule = ChooseCurrentRule(set, view, nullptr);
    ASSERT_EQ(rule, &set.TileRule(1)) << "the tile's rule, Alt1 before Alt2";

    set.AddRiver(std::make_unique<TRiver>());
    set.River(0).FromBuffer(TPictureBuffer(94, 72, ColorToPixel(0x080808, 0)), 0xF8F8F8, 0x080808); // all shadow
    TRgbSurface s = ComposeView(set, view, rule);
    TPictureBuffer t = ComposeTargaView(set, view, rule, 0xC0C0C0, 0x808080);
    // A tile's diamond has its top corner 46 right of and 24 below its cell's corner: the north and east tiles
    // (the east one in both forms); the river's shadow darkens the centre tile and the background (left of its
    // top corner) under it.
    const std::uint16_t shadow = ColorToPixel(0x808080, 0), ground = ColorToPixel(0xC0C0C0, 0);
    EXPECT_EQ((std::array{s.Pixel(2 + 96 + 46, 2 + 0 + 24), s.Pixel(2 + 192 + 46, 2 + 48 + 24), s.Pixel(98, 73)}),
              (std::array{Colour(1), Colour(2), MultiplyColor(0xC0C0C0, 0x808080)}));
    EXPECT_EQ((std::array{t(2 + 192 + 46, 2 + 48 + 24), t(98 + 46, 50 + 48), t(97, 73), t(98, 73)}),
              (std::array{ColorToPixel(Colour(2), 0), MultiplyPixel(ColorToPixel(Colour(0), 0), shadow), ground,
                          MultiplyPixel(ground, shadow)}));

    // The variation rule alone in the view; the Targa form draws it over the checked kinds.
    set.AddVariationRule(std::make_unique<TVariationRule>()).SetStepTileID(0, 101);
    view.ShowVariationRule = true;
    s = ComposeView(set, view, rule);
    t = ComposeTargaView(set, view, rule, 0xC0C0C0, 0x808080);
    EXPECT_EQ((std::array{s.Pixel(2 + 96 + 46, 2 + 48 + 24), s.Pixel(98, 73)}), (std::array{Colour(1), 0xC0C0C0u}))
        << "one step of dir 0 lands on (2, 2)";
    EXPECT_EQ((std::array{t(2 + 96 + 46, 2 + 48 + 24), t(98, 73)}),
              (std::array{ColorToPixel(Colour(1), 0), MultiplyPixel(ground, shadow)}));

    // The labels, decimal and hex; a kind with nothing shown has none.
    set.Tile(0).TileID = 0x1234, set.Tile(0).TileIndex = 5, set.Tile(0).BorderEdges = 0x0F;
    set.AddBorder(std::make_unique<TTileBorder>());
    set.Border(0).Inside = 0x105, set.Border(0).Outside = 7;
    set.River(0).ImprovementID = 12;
    set.VariationRule(0).SetStepTileIndex(0, 0xAB);
    const auto labels = [&set](bool hex) {
        const TViewLabels l = ViewLabels(set, {.ImprovementNum = 7}, hex);
        return l.TileID + '|' + l.TileIndex + '|' + l.BorderEdges + '|' + l.Inside + '|' + l.Outside + '|' + l.RiverID +
               '|' + l.ImprovementID + '|' + l.VariationTileIndex;
    };
    EXPECT_EQ(labels(true), "1234|05|0F|105|07|0C||AB");
    EXPECT_EQ(labels(false), "4660|5|15|261|7|12||171");
    using Diagram = std::array<std::string, 15>;
    EXPECT_EQ(RuleDiagramTexts(nullptr, false), (Diagram{"N", "NW", "NE", "W", "C", "E", "SW", "S", "SE", "0", "0", "0",
                                                         "0", "0", "0"}));
    stranger.Values[nbN] = 5, stranger.Values[rvAlt5] = 0x123;
    const Diagram none = RuleDiagramTexts(nullptr, true), dec = RuleDiagramTexts(&stranger, false),
                  hex = RuleDiagramTexts(&stranger, true);
    EXPECT_EQ((std::vector{none[9], dec[0], dec[1], dec[14], hex[0], hex[1], hex[14]}),
              (std::vector<std::string>{"0000", "5", "-1", "291", "0005", "FFFF", "0123"}));

    // The picture files: a bitmap's header, then rows bottom-up in BGR, padded to 4 bytes (the top
    // row comes second); a JPEG/JFIF file's markers.
    TRgbSurface top(1, 2, 0x00332211);
    top.SetPixel(0, 0, 0x00CCBBAA);
    const auto bmp = EncodeBmp(top);
    EXPECT_EQ(bmp, (std::vector<std::uint8_t>{'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0,
        2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 8, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0x33, 0x22, 0x11, 0, 0xCC, 0xBB, 0xAA, 0}));
    EXPECT_EQ(EncodeBmp(TRgbSurface(4, 1)).size(), 54u + 12) << "no padding needed";
    const auto jpg = EncodeJpeg(TRgbSurface(40, 30, 0x00204080));
    ASSERT_GT(jpg.size(), 100u);
    EXPECT_EQ((std::array<int, 5>{jpg[0], jpg[1], jpg[6], jpg[jpg.size() - 2], jpg.back()}),
              (std::array<int, 5>{0xFF, 0xD8, 'J', 0xFF, 0xD9}));
    EXPECT_THROW(EncodeJpeg(TRgbSurface(0, 0)), EKestrundError);

    kestrund::testing::TScratchDir dir;
    WriteBmp(top, dir / "a.bmp"), WriteJpeg(TRgbSurface(40, 30, 0x00204080), dir / "a.jpg");
    EXPECT_EQ(kestrund::testing::LoadBytes(dir / "a.bmp"), bmp);
    EXPECT_EQ(kestrund::testing::LoadBytes(dir / "a.jpg"), jpg);
}
