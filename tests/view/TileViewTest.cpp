#include "ImageFiles.h"
#include "TileView.h"

#include <gtest/gtest.h>

using namespace kestrund;

namespace {

// A set whose tiles are single colours, so a pixel tells which tile is drawn there.
std::unique_ptr<TTileFile> ColouredSet(int tiles)
{
    auto set = std::make_unique<TTileFile>();
    set->Clear();
    for (int i = 0; i < tiles; ++i) {
        auto tile = std::make_unique<TTile>(static_cast<TColor>(0x000008 * (i + 1)), 0);
        tile->TileID = static_cast<std::uint16_t>(100 + i);
        set->AddTile(std::move(tile));
    }
    return set;
}

TColor TileColour(int i)
{
    return PixelToColor(ColorToPixel(static_cast<TColor>(0x000008 * (i + 1)), 0), 0);
}

std::unique_ptr<TTileImprovement> ImprovementOfWidth(int width)
{
    auto improvement = std::make_unique<TTileImprovement>();
    TPictureBuffer picture(width, 3, 0x1234);
    improvement->FromBuffer(picture, 0x00F8F8F8, 0x00080808);
    return improvement;
}

} // namespace

TEST(ViewGeometry, PictureSizesAndOrigins)
{
    auto set = ColouredSet(1);
    set->AddImprovement(ImprovementOfWidth(120));
    set->AddImprovement(ImprovementOfWidth(60));
    TViewState view;
    struct Case { bool square, variation, improvements; std::size_t improvement; int ibw; TViewGeometry g; };
    const Case cases[] = {
        {false, false, false, 0, 2, {98, 76, 2, 2}},
        {false, false, true, 0, 2, {124, 76, 2, 2}},
        {false, false, true, 1, 2, {98, 76, 2, 2}},
        {false, false, true, 7, 2, {98, 76, 2, 2}}, // beyond the list: no improvement
        {true, false, true, 0, 2, {294, 176, 98, 50}},
        {false, true, true, 0, 2, {290, 172, 2, 2}},
        {true, true, false, 0, 2, {290, 172, 2, 2}},
        {false, false, false, 0, 0, {94, 72, 0, 0}},
        {true, false, false, 0, 10, {326, 208, 106, 58}},
    };
    for (const Case& c : cases) {
        view.Square = c.square;
        view.ShowVariationRule = c.variation;
        view.ShowImprovements = c.improvements;
        view.ImprovementNum = c.improvement;
        view.ImgBorderWidth = c.ibw;
        const TViewGeometry g = ViewGeometry(*set, view);
        EXPECT_EQ(g.Width, c.g.Width);
        EXPECT_EQ(g.Height, c.g.Height);
        EXPECT_EQ(g.OriginX, c.g.OriginX);
        EXPECT_EQ(g.OriginY, c.g.OriginY);
    }
}

TEST(ViewRule, FollowsTheTileAlt1BeforeAlt2)
{
    auto set = ColouredSet(1);
    for (int i = 0; i < 8; ++i)
        set->AddTileRule(std::make_unique<TTileRule>());
    set->TileRule(3).Values[rvAlt2] = 100;
    set->TileRule(7).Values[rvAlt1] = 100;
    TViewState view;
    EXPECT_EQ(ChooseCurrentRule(*set, view, nullptr), &set->TileRule(7));
    view.ShowTileRules = true;
    view.RuleNum = 2;
    EXPECT_EQ(ChooseCurrentRule(*set, view, nullptr), &set->TileRule(2));
    view.ShowVariationRule = true;
    EXPECT_EQ(ChooseCurrentRule(*set, view, &set->TileRule(5)), &set->TileRule(5)) << "kept while the rule shows";
    TTileRule stranger;
    EXPECT_EQ(ChooseCurrentRule(*set, view, &stranger), nullptr) << "never a rule outside the set";
    view = TViewState();
    view.ShowTiles = false;
    EXPECT_EQ(ChooseCurrentRule(*set, view, nullptr), nullptr);
}

TEST(ComposeView, SquareDrawsPreviewThenTile)
{
    auto set = ColouredSet(3);
    auto rule = std::make_unique<TTileRule>();
    rule->Values[rvGraphics] = 100;
    rule->Values[nbCentre] = 50; // unset (0xFFFF) values would match each other
    rule->Values[nbN] = 101; // no rule has centre 101: the value is taken as a tile ID
    rule->Values[nbE] = 102;
    set->AddTileRule(std::move(rule));
    TViewState view;
    view.Square = true;
    const TTileRule* current = ChooseCurrentRule(*set, view, nullptr);
    ASSERT_EQ(current, &set->TileRule(0));
    const TRgbSurface s = ComposeView(*set, view, current);
    ASSERT_EQ(s.Width(), 294);
    // Centre tile's diamond: its top row is at y = 50 + 24, x = 98 + 46.
    EXPECT_EQ(s.Pixel(98 + 46, 50 + 24), TileColour(0));
    EXPECT_EQ(s.Pixel(2 + 96 + 46, 2 + 0 + 24), TileColour(1)) << "north";
    EXPECT_EQ(s.Pixel(2 + 192 + 46, 2 + 48 + 24), TileColour(2)) << "east";
    EXPECT_EQ(s.Pixel(2 + 0 + 46, 2 + 48 + 24), 0xC0C0C0u) << "west has no tile";
    EXPECT_EQ(s.Pixel(0, 0), 0xC0C0C0u);
}

TEST(ComposeView, LayersAndVariationRule)
{
    auto set = ColouredSet(2);
    auto river = std::make_unique<TRiver>();
    river->FromBuffer(TPictureBuffer(94, 72, ColorToPixel(0x0000F8, 0)), 0x00F8F8F8, 0x00080808);
    set->AddRiver(std::move(river));
    TViewState view;
    view.ShowBorders = true;
    view.BorderNum = 5; // no such border: nothing drawn, nothing fails
    view.ShowRivers = true;
    TRgbSurface s = ComposeView(*set, view, nullptr);
    EXPECT_EQ(s.Pixel(2 + 46, 2 + 24), 0x0000F8u) << "the river covers the tile";

    auto rule = std::make_unique<TVariationRule>();
    rule->SetStepTileID(0, 101);
    set->AddVariationRule(std::move(rule));
    view.ShowVariationRule = true;
    s = ComposeView(*set, view, nullptr);
    ASSERT_EQ(s.Width(), 290);
    EXPECT_EQ(s.Pixel(2 + 96 + 46, 2 + 48 + 24), TileColour(1)) << "one step of dir 0 lands on (2, 2)";
    EXPECT_EQ(s.Pixel(2 + 46, 2 + 24), 0xC0C0C0u) << "no river under the variation rule";

    // The Targa form keeps the checked kinds under the rule.
    const TPictureBuffer t = ComposeTargaView(*set, view, nullptr, 0xC0C0C0, 0x808080);
    EXPECT_EQ(t.Width(), 290);
    EXPECT_EQ(t(2 + 46, 2 + 24), ColorToPixel(0x0000F8, 0));
    EXPECT_EQ(t(2 + 96 + 46, 2 + 48 + 24), ColorToPixel(TileColour(1), 0));
}

TEST(ViewLabels, DecimalAndHex)
{
    auto set = ColouredSet(1);
    set->Tile(0).TileID = 0x1234;
    set->Tile(0).TileIndex = 5;
    set->Tile(0).BorderEdges = 0x0F;
    auto border = std::make_unique<TTileBorder>();
    border->Inside = 0x105;
    border->Outside = 7;
    set->AddBorder(std::move(border));
    auto rule = std::make_unique<TVariationRule>();
    rule->SetStepTileIndex(0, 0xAB);
    set->AddVariationRule(std::move(rule));
    TViewState view;
    const TViewLabels hex = ViewLabels(*set, view, true);
    EXPECT_EQ(hex.TileID, "1234");
    EXPECT_EQ(hex.TileIndex, "05");
    EXPECT_EQ(hex.BorderEdges, "0F");
    EXPECT_EQ(hex.Inside, "105");
    EXPECT_EQ(hex.Outside, "07");
    EXPECT_EQ(hex.VariationTileIndex, "AB");
    EXPECT_EQ(hex.RiverID, "") << "an empty kind shows nothing";
    const TViewLabels dec = ViewLabels(*set, view, false);
    EXPECT_EQ(dec.TileID, "4660");
    EXPECT_EQ(dec.Inside, "261");
    EXPECT_EQ(dec.VariationTileIndex, "171");
    EXPECT_EQ(CountText(300, true), "012C");
    EXPECT_EQ(CountText(300, false), "300");
}

TEST(RuleDiagram, ValuesNamesAndForms)
{
    const auto none = RuleDiagramTexts(nullptr, false);
    EXPECT_EQ(none[0], "N");
    EXPECT_EQ(none[8], "SE");
    EXPECT_EQ(none[9], "0");
    EXPECT_EQ(RuleDiagramTexts(nullptr, true)[14], "0000");
    TTileRule rule;
    rule.Values[nbN] = 5;
    rule.Values[rvAlt5] = 0x123;
    const auto dec = RuleDiagramTexts(&rule, false);
    EXPECT_EQ(dec[0], "5");
    EXPECT_EQ(dec[1], "-1");
    EXPECT_EQ(dec[14], "291");
    const auto hex = RuleDiagramTexts(&rule, true);
    EXPECT_EQ(hex[0], "0005");
    EXPECT_EQ(hex[1], "FFFF");
    EXPECT_EQ(hex[14], "0123");
}

TEST(ImageFiles, BitmapLayout)
{
    TRgbSurface s(3, 2, 0x00332211);
    s.SetPixel(0, 0, 0x00CCBBAA); // top-left
    const auto bmp = EncodeBmp(s);
    ASSERT_EQ(bmp.size(), 54u + 2 * 12);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[18], 3);
    EXPECT_EQ(bmp[22], 2);
    EXPECT_EQ(bmp[28], 24);
    // Rows bottom-up, BGR, padded to 12 bytes: the top row comes second.
    EXPECT_EQ(bmp[54], 0x33);
    EXPECT_EQ(bmp[54 + 12], 0xCC);
    EXPECT_EQ(bmp[54 + 12 + 1], 0xBB);
    EXPECT_EQ(bmp[54 + 12 + 2], 0xAA);
}

TEST(ImageFiles, JpegIsAFramedJfifStream)
{
    TRgbSurface s(40, 30, 0x00204080);
    const auto jpg = EncodeJpeg(s);
    ASSERT_GT(jpg.size(), 100u);
    EXPECT_EQ(jpg[0], 0xFF);
    EXPECT_EQ(jpg[1], 0xD8);
    EXPECT_EQ(jpg[6], 'J');
    EXPECT_EQ(jpg[jpg.size() - 2], 0xFF);
    EXPECT_EQ(jpg[jpg.size() - 1], 0xD9);
    EXPECT_THROW(EncodeJpeg(TRgbSurface(0, 0)), EKestrundError);
}
