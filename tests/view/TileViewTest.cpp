#include "ImageFiles.h"
#include "Scratch.h"
#include "TileView.h"

#include <gtest/gtest.h>

using namespace kestrund;

namespace {
// Tiles of one colour each, IDs 100, 101, 102, so a pixel tells which tile is drawn there.
TColor Colour(int i) { return static_cast<TColor>(0x000008 * (i + 1)); }
class View : public ::testing::Test {
protected:
    View()
    {
        Set.Clear();
        for (std::uint16_t i = 0; i < 3; ++i)
            Set.AddTile(std::make_unique<TTile>(Colour(i), 0)), Set.Tile(i).TileID = 100 + i;
    }
    TTileFile Set;
};
} // namespace

TEST_F(View, PictureSizesAndOrigins)
{
    for (std::size_t i = 0; i < 2; ++i) {
        Set.AddImprovement(std::make_unique<TTileImprovement>());
        Set.Improvement(i).FromBuffer(TPictureBuffer(i ? 60 : 120, 3, 0x1234), 0xF8F8F8, 0x080808);
    }
    const std::pair<TViewState, std::array<int, 4>> cases[] = {
        {{}, {98, 76, 2, 2}}, {{.ShowImprovements = true}, {124, 76, 2, 2}},
        {{.ShowImprovements = true, .ImprovementNum = 1}, {98, 76, 2, 2}},
        {{.ShowImprovements = true, .ImprovementNum = 7}, {98, 76, 2, 2}}, // beyond the list: none
        {{.ShowImprovements = true, .Square = true}, {294, 176, 98, 50}},
        {{.ShowImprovements = true, .ShowVariationRule = true}, {290, 172, 2, 2}},
        {{.ShowVariationRule = true, .Square = true}, {290, 172, 2, 2}},
        {{.Square = true, .ImgBorderWidth = 10}, {326, 208, 106, 58}}};
    for (const auto& [view, expected] : cases) {
        const TViewGeometry g = ViewGeometry(Set, view);
        EXPECT_EQ((std::array{g.Width, g.Height, g.OriginX, g.OriginY}), expected) << &view - &cases[0].first;
    }
}

TEST_F(View, ComposeRuleSquareRiverAndVariationRuleInBothForms)
{
    for (int i = 0; i < 3; ++i)
        Set.AddTileRule(std::make_unique<TTileRule>());
    Set.TileRule(0).Values[rvAlt2] = 100;
    auto& values = Set.TileRule(1).Values;
    values[rvAlt1] = 100, values[nbCentre] = 50; // unset (0xFFFF) values would match each other
    values[nbN] = 101, values[nbE] = 102;        // no rule has centre 101: taken as tile IDs
    TViewState view{.ShowTileRules = true, .RuleNum = 2};
    EXPECT_EQ(ChooseCurrentRule(Set, view, nullptr), &Set.TileRule(2));
    view.ShowVariationRule = true;
    EXPECT_EQ(ChooseCurrentRule(Set, view, &Set.TileRule(0)), &Set.TileRule(0)) << "kept while the rule shows";
    TTileRule stranger;
    EXPECT_EQ(ChooseCurrentRule(Set, view, &stranger), nullptr) << "never a rule outside the set";
    EXPECT_EQ(ChooseCurrentRule(Set, {.ShowTiles = false}, nullptr), nullptr);
    view = {.ShowBorders = true, .ShowRivers = true, .Square = true, .BorderNum = 5}; // no such border
    const TTileRule* rule = ChooseCurrentRule(Set, view, nullptr);
    ASSERT_EQ(rule, &Set.TileRule(1)) << "the tile's rule, Alt1 before Alt2";

    Set.AddRiver(std::make_unique<TRiver>());
    Set.River(0).FromBuffer(TPictureBuffer(94, 72, ColorToPixel(0x080808, 0)), 0xF8F8F8, 0x080808); // all shadow
    TRgbSurface s = ComposeView(Set, view, rule);
    TPictureBuffer t = ComposeTargaView(Set, view, rule, 0xC0C0C0, 0x808080);
    // A tile's diamond has its top corner 46 right of and 24 below its cell's corner.
    EXPECT_EQ(s.Pixel(2 + 96 + 46, 2 + 0 + 24), Colour(1)) << "north";
    EXPECT_EQ(s.Pixel(2 + 192 + 46, 2 + 48 + 24), Colour(2)) << "east";
    EXPECT_EQ(t(2 + 192 + 46, 2 + 48 + 24), ColorToPixel(Colour(2), 0));
    // The river's shadow darkens the centre tile and the background (left of its top corner) under it.
    EXPECT_EQ(s.Pixel(98, 73), MultiplyColor(0xC0C0C0, 0x808080));
    const std::uint16_t shadow = ColorToPixel(0x808080, 0), ground = ColorToPixel(0xC0C0C0, 0);
    EXPECT_EQ(t(98 + 46, 50 + 48), MultiplyPixel(ColorToPixel(Colour(0), 0), shadow));
    EXPECT_EQ((std::array{t(97, 73), t(98, 73)}), (std::array{ground, MultiplyPixel(ground, shadow)}));

    // The variation rule alone in the view; the Targa form draws it over the checked kinds.
    Set.AddVariationRule(std::make_unique<TVariationRule>());
    Set.VariationRule(0).SetStepTileID(0, 101);
    view.ShowVariationRule = true;
    s = ComposeView(Set, view, rule);
    t = ComposeTargaView(Set, view, rule, 0xC0C0C0, 0x808080);
    EXPECT_EQ(s.Pixel(2 + 96 + 46, 2 + 48 + 24), Colour(1)) << "one step of dir 0 lands on (2, 2)";
    EXPECT_EQ(t(2 + 96 + 46, 2 + 48 + 24), ColorToPixel(Colour(1), 0));
    EXPECT_EQ(s.Pixel(98, 73), 0xC0C0C0u);
    EXPECT_EQ(t(98, 73), MultiplyPixel(ground, shadow));
}

TEST_F(View, LabelsDecimalAndHexTexts)
{
    Set.Tile(0).TileID = 0x1234, Set.Tile(0).TileIndex = 5, Set.Tile(0).BorderEdges = 0x0F;
    Set.AddBorder(std::make_unique<TTileBorder>());
    Set.Border(0).Inside = 0x105, Set.Border(0).Outside = 7;
    Set.AddRiver(std::make_unique<TRiver>());
    Set.River(0).ImprovementID = 12;
    Set.AddVariationRule(std::make_unique<TVariationRule>());
    Set.VariationRule(0).SetStepTileIndex(0, 0xAB);
    const auto labels = [this](bool hex) {
        const TViewLabels l = ViewLabels(Set, TViewState(), hex);
        return l.TileID + '|' + l.TileIndex + '|' + l.BorderEdges + '|' + l.Inside + '|' + l.Outside + '|' + l.RiverID +
               '|' + l.ImprovementID + '|' + l.VariationTileIndex;
    };
    EXPECT_EQ(labels(true), "1234|05|0F|105|07|0C||AB") << "an empty kind shows nothing";
    EXPECT_EQ(labels(false), "4660|5|15|261|7|12||171");
    EXPECT_EQ(CountText(300, true) + CountText(300, false), "012C300");
    using Diagram = std::array<std::string, 15>;
    EXPECT_EQ(RuleDiagramTexts(nullptr, false), (Diagram{"N", "NW", "NE", "W", "C", "E", "SW", "S", "SE", "0", "0", "0",
                                                         "0", "0", "0"}));
    TTileRule rule;
    rule.Values[nbN] = 5, rule.Values[rvAlt5] = 0x123;
    const Diagram none = RuleDiagramTexts(nullptr, true), dec = RuleDiagramTexts(&rule, false),
                  hex = RuleDiagramTexts(&rule, true);
    EXPECT_EQ((std::vector{none[9], dec[0], dec[1], dec[14], hex[0], hex[1], hex[14]}),
              (std::vector<std::string>{"0000", "5", "-1", "291", "0005", "FFFF", "0123"}));
}

TEST(ImageFiles, BitmapAndJpegFiles)
{
    TRgbSurface s(1, 2, 0x00332211);
    s.SetPixel(0, 0, 0x00CCBBAA); // top
    // Header, then rows bottom-up in BGR, padded to 4 bytes: the top row comes second.
    const auto bmp = EncodeBmp(s);
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
    WriteBmp(s, dir / "a.bmp");
    WriteJpeg(TRgbSurface(40, 30, 0x00204080), dir / "a.jpg");
    EXPECT_EQ(kestrund::testing::LoadBytes(dir / "a.bmp"), bmp);
    EXPECT_EQ(kestrund::testing::LoadBytes(dir / "a.jpg"), jpg);
}
