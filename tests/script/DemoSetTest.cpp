// The demo set the build draws: real tile files, a script that gives them back, and
// tile rules that resolve every neighbour.

#include "DemoSet.h"
#include "Scratch.h"
#include "ScriptImport.h"

#include <gtest/gtest.h>

namespace kestrund {
namespace {

using testing::LoadBytes;

TEST(DemoSet, TheBuildsFilesResaveAndItsScriptGivesThemBack)
{
    const auto set = MakeDemoSet();
    const std::string folder = KESTRUND_DEMO_DIR;
    for (const int mode : {cmRGB555, cmRGB565}) {
        const auto file = set->SaveToMemory(mode);
        EXPECT_EQ(LoadBytes(folder + (mode ? "/gtset565.til" : "/gtset555.til")), file)
            << "the build wrote what the generator draws";
        TTileFile loaded;
        loaded.ColorMode = static_cast<std::uint8_t>(mode);
        loaded.LoadFromMemory(file, false);
        EXPECT_EQ(loaded.SaveToMemory(mode), file);
    }
    TTileFile imported;
    std::vector<std::string> log;
    EXPECT_EQ(ImportScript(imported, folder + "/demo.src", &log, false), srSuccess);
    EXPECT_EQ(imported.SaveToMemory(cmRGB555), set->SaveToMemory(cmRGB555));
    EXPECT_EQ(imported.SaveToMemory(cmRGB565), set->SaveToMemory(cmRGB565));
}

TEST(DemoSet, ExercisesTheFormat)
{
    const auto set = MakeDemoSet();
    EXPECT_GE(set->TileCount(), 6u);
    EXPECT_GE(set->RiverCount(), 2u);
    EXPECT_GE(set->ImprovementCount(), 4u);
    EXPECT_EQ(set->VariationRuleCount(), 2u);
    int widest = 0;
    bool gap = false;
    for (std::size_t i = 0; i < set->ImprovementCount(); ++i) {
        const TTileImprovement& improvement = set->Improvement(i);
        widest = std::max(widest, improvement.MaxWidth());
        for (std::size_t row = improvement.FirstLine; !improvement.Empty() && row <= improvement.LastLine; ++row)
            gap = gap || !improvement.Line(row);
    }
    EXPECT_GT(widest, TileWidth) << "a row wider than a tile";
    EXPECT_TRUE(gap) << "an empty row between drawn ones";
    EXPECT_NE(set->Tile(1).TileID, set->Tile(0).TileID + 1) << "IDs with gaps";
}

TEST(DemoSet, EveryNeighbourIsFoundThroughItsRule)
{
    const auto set = MakeDemoSet();
    std::size_t count = 0;
    const TDemoTerrain* terrains = DemoTerrains(count);
    auto tileOf = [&](std::uint16_t code) -> std::uint16_t {
        for (std::size_t t = 0; t < count; ++t)
            if (terrains[t].Code == code)
                return terrains[t].TileID;
        return 0xFFFF;
    };
    // Preview entries in the order N, NW, NE, W, centre, E, SW, SE, S, and their rule slots.
    const int slot[9] = {nbN, nbNW, nbNE, nbW, nbCentre, nbE, nbSW, nbSE, nbS};
    for (std::size_t r = 0; r < set->TileRuleCount(); ++r) {
        const TTileRule& rule = set->TileRule(r);
        for (int i = 0; i < 9; ++i) {
            const TTile* tile = rule.PreviewTile(i);
            ASSERT_NE(tile, nullptr) << "rule " << r << " entry " << i;
            EXPECT_EQ(tile->TileID, tileOf(rule.Values[static_cast<std::size_t>(slot[i])]))
                << "rule " << r << " entry " << i;
        }
    }
}

} // namespace
} // namespace kestrund
