#include "Errors.h"
#include "TileFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace kestrund;

namespace {

using Strings = std::vector<std::string>;

std::unique_ptr<TTile> TileWithIndex(int index, std::uint16_t id = 0)
{
    auto tile = std::make_unique<TTile>();
    tile->TileIndex = static_cast<std::uint8_t>(index);
    tile->TileID = id;
    return tile;
}

void ExpectCounts(const TTileFile& set, std::size_t n)
{
    EXPECT_EQ(set.TileRuleCount(), n);
    EXPECT_EQ(set.BorderCount(), n);
    EXPECT_EQ(set.TileCount(), n);
    EXPECT_EQ(set.RiverCount(), n);
    EXPECT_EQ(set.ImprovementCount(), n);
    EXPECT_EQ(set.VariationRuleCount(), n);
}

void ExpectDefaults(const TTileFile& set)
{
    ExpectCounts(set, 1);
    EXPECT_EQ(set.TileIndexList(), Strings{"00"});
    EXPECT_EQ(set.TileRule(0).Owner, &set);
    for (int k = 0; k < 15; ++k)
        EXPECT_EQ(set.TileRule(0).Value(k), 0xFFFF);
    EXPECT_EQ(set.Border(0).ColorMode(), 0);
    EXPECT_EQ(set.Border(0).Edges[3].Pixels[0], 0x7C1F);
    EXPECT_EQ(set.Tile(0).TileID, 0);
    EXPECT_EQ(set.Tile(0).ImageSize, 4608);
    EXPECT_EQ(set.Tile(0).Overlay, nullptr);
    EXPECT_EQ(set.River(0).FirstLine, 0xFFFF);
    EXPECT_EQ(set.Improvement(0).ImprovementID, 0);
    EXPECT_EQ(set.VariationRule(0).StepCount(), 1u);
}

} // namespace

TEST(TileSet, NewSetHoldsOneDefaultElementOfEachKind)
{
    const TTileFile set;
    ExpectDefaults(set);
    EXPECT_EQ(set.ScriptSectionNames[0], "TileRules");
    EXPECT_EQ(set.ScriptSectionNames[5], "VariationRule");
    EXPECT_EQ(set.ScriptSectionNames[6], "End Of Script File");
    EXPECT_EQ(set.GraphicPrefixes[1], "BORD");
    EXPECT_EQ(set.ScriptComment, "This file was generated using Vellomar");
    EXPECT_EQ(set.ColorComment, "Dafault Transparant and Shadow colors");
    EXPECT_EQ(set.TransparentColor, 0x7C1FU);
    EXPECT_EQ(set.ShadowColor, 0x83E0U);
    EXPECT_EQ(set.BorderHeader, (std::array<std::uint16_t, 3>{0, 704, 0}));
    EXPECT_EQ(set.TileHeader, 0);
    EXPECT_EQ(set.ColorMode, 0);
    EXPECT_EQ(set.FileName555, "gtset555.til");
    EXPECT_EQ(set.FileName565, "gtset565.til");
}

TEST(TileSet, ClearThenNew)
{
    TTileFile set;
    set.AddTile(TileWithIndex(7));
    set.AddTileRule(std::make_unique<TTileRule>());
    set.ScriptComment = "changed";
    set.Clear();
    ExpectCounts(set, 0);
    EXPECT_TRUE(set.TileIndexList().empty());
    EXPECT_EQ(set.FindTile(0), nullptr);
    set.New();
    ExpectDefaults(set);
    EXPECT_EQ(set.ScriptComment, "changed");
    set.AddTile(TileWithIndex(7));
    set.New();
    ExpectDefaults(set);
}

TEST(TileSet, ListIndexErrors)
{
    TTileFile set;
    EXPECT_THROW(set.TileRule(1), EListIndexError);
    EXPECT_THROW(set.Border(1), EListIndexError);
    EXPECT_THROW(set.Tile(1), EListIndexError);
    EXPECT_THROW(set.River(1), EListIndexError);
    EXPECT_THROW(set.Improvement(1), EListIndexError);
    EXPECT_THROW(set.VariationRule(1), EListIndexError);
    EXPECT_THROW(set.DeleteTileRule(1), EListIndexError);
    EXPECT_THROW(set.DeleteBorder(1), EListIndexError);
    EXPECT_THROW(set.DeleteTile(1), EListIndexError);
    EXPECT_THROW(set.DeleteRiver(1), EListIndexError);
    EXPECT_THROW(set.DeleteImprovement(1), EListIndexError);
    EXPECT_THROW(set.DeleteVariationRule(1), EListIndexError);
    EXPECT_THROW(set.InsertTile(2, TileWithIndex(3)), EListIndexError);
    EXPECT_THROW(set.InsertBorder(2, std::make_unique<TTileBorder>()), EListIndexError);
    EXPECT_THROW(set.InsertVariationRule(2, std::make_unique<TVariationRule>()), EListIndexError);
    ExpectDefaults(set); // nothing changed by the failed calls
    set.Clear();
    EXPECT_THROW(set.Tile(0), EListIndexError);
    EXPECT_THROW(set.DeleteTile(0), EListIndexError);
}

TEST(TileSet, AddInsertDeleteKeepOrderAndCounts)
{
    TTileFile set;
    set.Clear();
    set.AddTile(TileWithIndex(0, 10));
    set.AddTile(TileWithIndex(0, 30));
    set.InsertTile(1, TileWithIndex(0, 20));
    set.InsertTile(0, TileWithIndex(0, 5));
    set.InsertTile(4, TileWithIndex(0, 40)); // at the end
    ASSERT_EQ(set.TileCount(), 5u);
    const std::uint16_t order[] = {5, 10, 20, 30, 40};
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(set.Tile(i).TileID, order[i]);
    set.DeleteTile(2);
    ASSERT_EQ(set.TileCount(), 4u);
    EXPECT_EQ(set.Tile(2).TileID, 30);

    auto rule = std::make_unique<TTileRule>();
    TTileRule* raw = rule.get();
    set.AddTileRule(std::make_unique<TTileRule>());
    set.InsertTileRule(0, std::move(rule));
    EXPECT_EQ(set.IndexOfTileRule(raw), 0);
    EXPECT_EQ(raw->Owner, &set);
    TTileRule stranger;
    EXPECT_EQ(set.IndexOfTileRule(&stranger), -1);
    set.DeleteTileRule(0);
    EXPECT_EQ(set.TileRuleCount(), 1u);

    set.AddRiver(std::make_unique<TRiver>());
    auto river = std::make_unique<TRiver>();
    river->ImprovementID = 3;
    set.InsertRiver(0, std::move(river));
    EXPECT_EQ(set.River(0).ImprovementID, 3);
    set.DeleteRiver(0);
    EXPECT_EQ(set.RiverCount(), 1u);
    EXPECT_EQ(set.River(0).ImprovementID, 0);

    auto improvement = std::make_unique<TTileImprovement>();
    improvement->ImprovementID = 8;
    set.AddImprovement(std::make_unique<TTileImprovement>());
    set.InsertImprovement(1, std::move(improvement));
    EXPECT_EQ(set.Improvement(1).ImprovementID, 8);
    EXPECT_EQ(set.ImprovementCount(), 2u);

    auto border = std::make_unique<TTileBorder>();
    border->Inside = 4;
    set.AddBorder(std::make_unique<TTileBorder>());
    set.InsertBorder(0, std::move(border));
    EXPECT_EQ(set.Border(0).Inside, 4);
    set.DeleteBorder(1);
    EXPECT_EQ(set.BorderCount(), 1u);

    auto variation = std::make_unique<TVariationRule>();
    variation->SetStepCount(4);
    set.AddVariationRule(std::make_unique<TVariationRule>());
    set.InsertVariationRule(1, std::move(variation));
    EXPECT_EQ(set.VariationRule(1).StepCount(), 4u);
    set.DeleteVariationRule(0);
    EXPECT_EQ(set.VariationRule(0).StepCount(), 4u);
}

TEST(TileSet, TileIndexListFollowsAddInsertAndDelete)
{
    TTileFile set; // holds "00" for the default tile
    struct Step {
        const char* what;
        std::function<void(TTileFile&)> run;
        Strings expected;
    };
    const Step steps[] = {
        {"add 5", [](TTileFile& s) { s.AddTile(TileWithIndex(5)); }, {"00", "05"}},
        {"insert 5 again", [](TTileFile& s) { s.InsertTile(0, TileWithIndex(5)); }, {"00", "05"}},
        {"insert 30", [](TTileFile& s) { s.InsertTile(1, TileWithIndex(30)); }, {"00", "05", "30"}},
        {"add 100 sorts as text", [](TTileFile& s) { s.AddTile(TileWithIndex(100)); }, {"00", "05", "100", "30"}},
        // tiles now: 5, 30, 0, 5, 100
        {"delete one of two 5s", [](TTileFile& s) { s.DeleteTile(0); }, {"00", "05", "100", "30"}},
        {"delete the last 5", [](TTileFile& s) { s.DeleteTile(2); }, {"00", "100", "30"}},
        {"delete the only 30", [](TTileFile& s) { s.DeleteTile(0); }, {"00", "100"}},
        {"add 255", [](TTileFile& s) { s.AddTile(TileWithIndex(255)); }, {"00", "100", "255"}},
    };
    for (const Step& step : steps) {
        step.run(set);
        EXPECT_EQ(set.TileIndexList(), step.expected) << step.what;
    }
    set.Tile(0).TileIndex = 9; // edits are picked up on a rebuild
    set.RebuildTileIndexList();
    EXPECT_EQ(set.TileIndexList(), (Strings{"09", "100", "255"}));
}

TEST(TileSet, SetColorModeRetagsEveryPictureAndKeepsTheWords)
{
    TTileFile set;
    auto tile = std::make_unique<TTile>(0x123456, 0);
    tile->Overlay = std::make_unique<TTileOverlay>(0);
    tile->Overlay->Lines.resize(1);
    tile->Overlay->Lines[0] = std::make_unique<TLine>(0);
    tile->Overlay->Lines[0]->Words = {0xEC01, 0xFFFF};
    tile->Overlay->FirstLine = tile->Overlay->LastLine = 0;
    tile->Pixels[3] = 0xFFFF;
    set.AddTile(std::move(tile));
    auto river = std::make_unique<TRiver>(0);
    river->Lines.resize(1);
    river->Lines[0] = std::make_unique<TLine>(0);
    river->Lines[0]->Words = {0xEC01, 0x8421};
    river->FirstLine = river->LastLine = 0;
    set.AddRiver(std::move(river));

    const auto pixels = set.Tile(1).Pixels;
    const auto border = set.Border(0).Edges;
    set.SetColorMode(1);
    EXPECT_EQ(set.ColorMode, 1);
    EXPECT_EQ(set.Border(0).ColorMode(), 1);
    EXPECT_EQ(set.Tile(0).ColorMode, 1);
    EXPECT_EQ(set.Tile(1).Overlay->ColorMode, 1);
    EXPECT_EQ(set.Tile(1).Overlay->Lines[0]->ColorMode, 1);
    EXPECT_EQ(set.River(1).Lines[0]->ColorMode, 1);
    EXPECT_EQ(set.Improvement(0).ColorMode, 1);
    set.SetColorMode(0);
    EXPECT_EQ(set.ColorMode, 0);
    EXPECT_EQ(set.Tile(1).Pixels, pixels);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(set.Border(0).Edges[static_cast<std::size_t>(k)].Pixels, border[static_cast<std::size_t>(k)].Pixels);
    EXPECT_EQ(set.Tile(1).Overlay->Lines[0]->Words, (std::vector<std::uint16_t>{0xEC01, 0xFFFF}));
    EXPECT_EQ(set.River(1).Lines[0]->Words, (std::vector<std::uint16_t>{0xEC01, 0x8421}));
    EXPECT_EQ(set.River(1).ColorMode, 0);
}
