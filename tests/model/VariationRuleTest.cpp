#include "Errors.h"
#include "TileFile.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

using namespace kestrund;

namespace {

using Cell = std::pair<int, int>; // (a, b)

// Steps given as (dir, tile ID).
TVariationRule RuleOf(const std::vector<std::pair<int, int>>& steps)
{
    TVariationRule rule;
    rule.SetStepCount(static_cast<std::uint16_t>(steps.size()));
    for (std::size_t i = 0; i < steps.size(); ++i) {
        rule.SetStepDir(i, steps[i].first);
        rule.SetStepTileID(i, static_cast<std::uint16_t>(steps[i].second));
    }
    return rule;
}

std::map<Cell, int> FilledCells(const TVariationRule& rule)
{
    std::map<Cell, int> cells;
    for (int a = 0; a < 5; ++a)
        for (int b = 0; b < 5; ++b)
            if (rule.Grid[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)] != 0xFFFF)
                cells[{a, b}] = rule.Grid[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)];
    return cells;
}

} // namespace

TEST(TVariationRule, NewRuleHasOneEmptyStep)
{
    const TVariationRule rule;
    ASSERT_EQ(rule.StepCount(), 1u);
    EXPECT_EQ(rule.Step(0), 0u);
    EXPECT_THROW(rule.Step(1), EListIndexError);
}

TEST(TVariationRule, StepAccessorsPackTheBits)
{
    TVariationRule rule;
    rule.SetStep(0, 0x12345678);
    EXPECT_EQ(rule.StepDir(0), 0x18);
    EXPECT_EQ(rule.StepTileIndex(0), 0x159); // whole low word shifted by 6
    EXPECT_EQ(rule.StepTileID(0), 0x1234);

    rule.SetStepDir(0, 0x25); // only the low five bits
    EXPECT_EQ(rule.Step(0), 0x12345665u);

    rule.SetStep(0, 0x12345678);
    rule.SetStepTileIndex(0, 0x1AB); // low eight bits at bit 6; bits 0-4 kept
    EXPECT_EQ(rule.Step(0) & 0xFFFF, 0x2AD8u);
    EXPECT_EQ(rule.StepTileIndex(0), 0xAB);
    EXPECT_EQ(rule.StepDir(0), 0x18);
    EXPECT_EQ(rule.StepTileID(0), 0x1234);

    rule.SetStepTileID(0, 0xBEEF);
    EXPECT_EQ(rule.Step(0), 0xBEEF2AD8u);

    rule.SetStep(0, 0);
    rule.SetStepTileIndex(0, 255);
    rule.SetStepDir(0, 31);
    rule.SetStepTileID(0, 65535);
    EXPECT_EQ(rule.Step(0), 0xFFFF3FDFu);
}

TEST(TVariationRule, StepCountAndIndexErrors)
{
    TVariationRule rule;
    rule.SetStep(0, 7);
    rule.SetStepCount(3);
    ASSERT_EQ(rule.StepCount(), 3u);
    EXPECT_EQ(rule.Step(0), 7u);
    EXPECT_EQ(rule.Step(2), 0u);
    EXPECT_THROW(rule.SetStep(3, 1), EListIndexError);
    EXPECT_THROW(rule.SetStepDir(3, 1), EListIndexError);
    EXPECT_THROW(rule.StepText(3), EListIndexError);
    rule.SetStepCount(0);
    EXPECT_EQ(rule.StepCount(), 0u);
    EXPECT_THROW(rule.StepDir(0), EListIndexError);
}

TEST(TVariationRule, StepText)
{
    struct Case {
        std::uint32_t step;
        const char* text;
    };
    const Case cases[] = {
        {(140u << 16) | (3u << 6) | 2u, "03,2,0140"},
        {0, "00,0,0000"},
        {0xFFFF3FDFu, "255,31,65535"},
        {(12345u << 16) | (42u << 6) | 17u, "42,17,12345"},
        {0xC000, "768,0,0000"}, // the index is the low word shifted right by 6
    };
    for (const Case& c : cases) {
        TVariationRule rule;
        rule.SetStep(0, c.step);
        EXPECT_EQ(rule.StepText(0), c.text) << std::hex << c.step;
    }
}

TEST(TVariationRule, SetStepTextReadsEachItemOnItsOwn)
{
    struct Case {
        const char* text;
        int index, dir;
        std::uint16_t id;
    };
    const Case cases[] = {
        {"03,2,0140", 3, 2, 140},
        {"255,31,65535", 255, 31, 65535},
        {"7", 7, 0, 0},
        {"", 0, 0, 0},
        {"1,2", 1, 2, 0},
        {"x,3,12", 0, 3, 12},
        {"5,,9", 5, 0, 9},
        {"5,abc,9", 5, 0, 9},
        {"12a,4,1", 0, 4, 1},
        {"1,2,3,4", 1, 2, 3},
        {",,", 0, 0, 0},
        {"2,4,zz", 2, 4, 0},
    };
    for (const Case& c : cases) {
        TVariationRule rule;
        rule.SetStep(0, 0xFFFFFFFF);
        rule.SetStepText(0, c.text);
        EXPECT_EQ(rule.StepTileIndex(0), c.index) << c.text;
        EXPECT_EQ(rule.StepDir(0), c.dir) << c.text;
        EXPECT_EQ(rule.StepTileID(0), c.id) << c.text;
    }
    TVariationRule rule;
    rule.SetStepText(0, "03,2,0140");
    EXPECT_EQ(rule.StepText(0), "03,2,0140");
}

TEST(TVariationRule, AssignCopiesTheSteps)
{
    TVariationRule source = RuleOf({{0, 1}, {4, 2}, {3, 3}});
    TVariationRule target = RuleOf({{1, 9}});
    target.Assign(source);
    EXPECT_EQ(target.Steps, source.Steps);
    source.SetStep(0, 5);
    EXPECT_NE(target.Step(0), 5u);
}

// Each case is a walk of (dir, tile ID) steps and the cells it fills; the comment
// names the case of the start-cell choice it exercises.
TEST(TVariationRuleGrid, StartCellForEveryCase)
{
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> steps;
        std::map<Cell, int> cells;
    };
    const Case cases[] = {
        {"one step of dir 0", {{0, 7}}, {{{2, 2}, 7}}},
        {"wa + wb < 5", {{0, 1}, {3, 2}, {4, 3}}, {{{2, 2}, 1}, {{2, 3}, 2}, {{3, 3}, 3}}},
        {"3x2, minA >= 0", {{0, 1}, {4, 2}, {4, 3}, {3, 4}}, {{{1, 2}, 1}, {{2, 2}, 2}, {{3, 2}, 3}, {{3, 3}, 4}}},
        {"3x2, minA < 0", {{0, 1}, {2, 2}, {2, 3}, {3, 4}}, {{{3, 2}, 1}, {{2, 2}, 2}, {{1, 2}, 3}, {{1, 3}, 4}}},
        {"2x3, minB >= 0", {{0, 1}, {3, 2}, {3, 3}, {4, 4}}, {{{2, 1}, 1}, {{2, 2}, 2}, {{2, 3}, 3}, {{3, 3}, 4}}},
        {"2x3, minB < 0", {{0, 1}, {1, 2}, {1, 3}, {4, 4}}, {{{2, 3}, 1}, {{2, 2}, 2}, {{2, 1}, 3}, {{3, 1}, 4}}},
        {"3x3, both >= 0", {{0, 1}, {4, 2}, {4, 3}, {3, 4}, {3, 5}},
         {{{1, 1}, 1}, {{2, 1}, 2}, {{3, 1}, 3}, {{3, 2}, 4}, {{3, 3}, 5}}},
        {"3x3, both < 0", {{0, 1}, {2, 2}, {2, 3}, {1, 4}, {1, 5}},
         {{{3, 3}, 1}, {{2, 3}, 2}, {{1, 3}, 3}, {{1, 2}, 4}, {{1, 1}, 5}}},
        {"3x3, minA < 0", {{0, 1}, {2, 2}, {2, 3}, {3, 4}, {3, 5}},
         {{{3, 1}, 1}, {{2, 1}, 2}, {{1, 1}, 3}, {{1, 2}, 4}, {{1, 3}, 5}}},
        {"3x3, minB < 0", {{0, 1}, {4, 2}, {4, 3}, {1, 4}, {1, 5}},
         {{{1, 3}, 1}, {{2, 3}, 2}, {{3, 3}, 3}, {{3, 2}, 4}, {{3, 1}, 5}}},
        {"wa 4, wb 1, minA >= 0", {{0, 1}, {4, 2}, {4, 3}, {4, 4}}, {{{0, 2}, 1}, {{1, 2}, 2}, {{2, 2}, 3}, {{3, 2}, 4}}},
        {"wa 4, wb 1, minA < 0", {{0, 1}, {2, 2}, {2, 3}, {2, 4}}, {{{4, 2}, 1}, {{3, 2}, 2}, {{2, 2}, 3}, {{1, 2}, 4}}},
        {"wa 4, second dir 1, minA >= 0", {{0, 1}, {1, 2}, {4, 3}, {4, 4}, {4, 5}},
         {{{1, 3}, 1}, {{1, 2}, 2}, {{2, 2}, 3}, {{3, 2}, 4}, {{4, 2}, 5}}},
        {"wa 4, second dir 1, minA < 0", {{0, 1}, {1, 2}, {2, 3}, {2, 4}, {2, 5}},
         {{{3, 3}, 1}, {{3, 2}, 2}, {{2, 2}, 3}, {{1, 2}, 4}, {{0, 2}, 5}}},
        {"wa 4, second dir 2", {{0, 1}, {2, 2}, {2, 3}, {2, 4}, {3, 5}},
         {{{4, 2}, 1}, {{3, 2}, 2}, {{2, 2}, 3}, {{1, 2}, 4}, {{1, 3}, 5}}},
        {"wa 4, second dir 3, minA >= 0", {{0, 1}, {3, 2}, {4, 3}, {4, 4}, {4, 5}},
         {{{1, 1}, 1}, {{1, 2}, 2}, {{2, 2}, 3}, {{3, 2}, 4}, {{4, 2}, 5}}},
        {"wa 4, second dir 3, minA < 0", {{0, 1}, {3, 2}, {2, 3}, {2, 4}, {2, 5}},
         {{{3, 1}, 1}, {{3, 2}, 2}, {{2, 2}, 3}, {{1, 2}, 4}, {{0, 2}, 5}}},
        {"wa 4, second dir 4", {{0, 1}, {4, 2}, {4, 3}, {4, 4}, {3, 5}},
         {{{0, 2}, 1}, {{1, 2}, 2}, {{2, 2}, 3}, {{3, 2}, 4}, {{3, 3}, 5}}},
        {"wa 4 wins over wb 4", {{0, 1}, {4, 2}, {4, 3}, {4, 4}, {3, 5}, {3, 6}, {3, 7}},
         {{{0, 2}, 1}, {{1, 2}, 2}, {{2, 2}, 3}, {{3, 2}, 4}, {{3, 3}, 5}, {{3, 4}, 6}}},
        {"wa 4, second dir 0 starts where the walk ended", {{0, 1}, {0, 2}, {4, 3}, {4, 4}, {4, 5}, {3, 6}},
         {{{3, 1}, 2}, {{4, 1}, 3}}},
        {"wb 4, wa 1, minB >= 0", {{0, 1}, {3, 2}, {3, 3}, {3, 4}}, {{{2, 0}, 1}, {{2, 1}, 2}, {{2, 2}, 3}, {{2, 3}, 4}}},
        {"wb 4, wa 1, minB < 0", {{0, 1}, {1, 2}, {1, 3}, {1, 4}}, {{{2, 4}, 1}, {{2, 3}, 2}, {{2, 2}, 3}, {{2, 1}, 4}}},
        {"wb 4, second dir 1", {{0, 1}, {1, 2}, {1, 3}, {1, 4}, {4, 5}},
         {{{2, 4}, 1}, {{2, 3}, 2}, {{2, 2}, 3}, {{2, 1}, 4}, {{3, 1}, 5}}},
        {"wb 4, second dir 2, minB >= 0", {{0, 1}, {2, 2}, {3, 3}, {3, 4}, {3, 5}},
         {{{3, 1}, 1}, {{2, 1}, 2}, {{2, 2}, 3}, {{2, 3}, 4}, {{2, 4}, 5}}},
        {"wb 4, second dir 2, minB < 0", {{0, 1}, {2, 2}, {1, 3}, {1, 4}, {1, 5}},
         {{{3, 3}, 1}, {{2, 3}, 2}, {{2, 2}, 3}, {{2, 1}, 4}, {{2, 0}, 5}}},
        {"wb 4, second dir 3", {{0, 1}, {3, 2}, {3, 3}, {3, 4}, {4, 5}},
         {{{2, 0}, 1}, {{2, 1}, 2}, {{2, 2}, 3}, {{2, 3}, 4}, {{3, 3}, 5}}},
        {"wb 4, second dir 4, minB >= 0", {{0, 1}, {4, 2}, {3, 3}, {3, 4}, {3, 5}},
         {{{1, 1}, 1}, {{2, 1}, 2}, {{2, 2}, 3}, {{2, 3}, 4}, {{2, 4}, 5}}},
        {"wb 4, second dir 4, minB < 0", {{0, 1}, {4, 2}, {1, 3}, {1, 4}, {1, 5}},
         {{{1, 3}, 1}, {{2, 3}, 2}, {{2, 2}, 3}, {{2, 1}, 4}, {{2, 0}, 5}}},
        {"wb 4, second dir 0 starts where the walk ended", {{0, 1}, {0, 2}, {3, 3}, {3, 4}, {3, 5}, {4, 6}},
         {{{1, 3}, 2}, {{1, 4}, 3}}},
        {"wa 5, minA >= 0", {{0, 1}, {4, 2}, {4, 3}, {4, 4}, {4, 5}},
         {{{0, 2}, 1}, {{1, 2}, 2}, {{2, 2}, 3}, {{3, 2}, 4}, {{4, 2}, 5}}},
        {"wa 5, minA < 0", {{0, 1}, {2, 2}, {2, 3}, {2, 4}, {2, 5}},
         {{{4, 2}, 1}, {{3, 2}, 2}, {{2, 2}, 3}, {{1, 2}, 4}, {{0, 2}, 5}}},
        {"wa 5, wb 2", {{0, 1}, {4, 2}, {4, 3}, {4, 4}, {4, 5}, {3, 6}},
         {{{0, 2}, 1}, {{1, 2}, 2}, {{2, 2}, 3}, {{3, 2}, 4}, {{4, 2}, 5}, {{4, 3}, 6}}},
        {"wb 5, minB >= 0", {{0, 1}, {3, 2}, {3, 3}, {3, 4}, {3, 5}},
         {{{2, 0}, 1}, {{2, 1}, 2}, {{2, 2}, 3}, {{2, 3}, 4}, {{2, 4}, 5}}},
        {"wb 5, minB < 0", {{0, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}},
         {{{2, 4}, 1}, {{2, 3}, 2}, {{2, 2}, 3}, {{2, 1}, 4}, {{2, 0}, 5}}},
        {"wa 6 falls through to the end of the walk",
         {{0, 1}, {4, 2}, {4, 3}, {4, 4}, {4, 5}, {4, 6}, {2, 7}, {2, 8}, {2, 9}},
         {{{2, 0}, 1}, {{3, 0}, 2}, {{4, 0}, 9}}},
        {"dirs above 4 do not move", {{0, 1}, {5, 2}, {31, 3}, {4, 4}}, {{{2, 2}, 3}, {{3, 2}, 4}}},
        {"no steps", {}, {}},
    };
    for (const Case& c : cases) {
        TVariationRule rule = RuleOf(c.steps);
        rule.ComputeGrid();
        EXPECT_EQ(FilledCells(rule), c.cells) << c.name;
    }
}

TEST(TVariationRuleGrid, RecomputedFromScratch)
{
    TVariationRule rule = RuleOf({{0, 1}, {4, 2}});
    rule.ComputeGrid();
    rule.SetStepCount(1);
    rule.ComputeGrid();
    EXPECT_EQ(FilledCells(rule), (std::map<Cell, int>{{{2, 2}, 1}}));
}

TEST(TVariationRuleDraw, CellOffsets)
{
    const std::map<Cell, std::pair<int, int>> layout = {
        {{0, 2}, {192, 0}},  {{1, 1}, {96, 0}},   {{1, 2}, {144, 24}}, {{1, 3}, {192, 48}},
        {{2, 0}, {0, 0}},    {{2, 1}, {48, 24}},  {{2, 2}, {96, 48}},  {{2, 3}, {144, 72}},
        {{2, 4}, {192, 96}}, {{3, 1}, {0, 48}},   {{3, 2}, {48, 72}},  {{3, 3}, {96, 96}},
        {{4, 2}, {0, 96}},
    };
    for (int a = 0; a < 5; ++a)
        for (int b = 0; b < 5; ++b) {
            int dx = -1, dy = -1;
            const bool inside = VariationCellOffset(a, b, dx, dy);
            const auto it = layout.find({a, b});
            ASSERT_EQ(inside, it != layout.end()) << a << "," << b;
            if (inside) {
                EXPECT_EQ(dx, it->second.first) << a << "," << b;
                EXPECT_EQ(dy, it->second.second) << a << "," << b;
            }
        }
}

namespace {
// Colour of the tile with the given ID: a plain ground in a colour of its own.
TColor TileColour(int id)
{
    return static_cast<TColor>(0x080000 * id + 0x000800 * (id % 7) + 0x40);
}

void AddTile(TTileFile& set, int id)
{
    auto tile = std::make_unique<TTile>(TileColour(id), 0);
    tile->TileID = static_cast<std::uint16_t>(id);
    set.AddTile(std::move(tile));
}
} // namespace

TEST(TVariationRuleDraw, TilesLandAtTheirCells)
{
    TTileFile set;
    set.Clear();
    for (int id = 1; id <= 6; ++id)
        AddTile(set, id);
    // cells (2,2) 1, (2,3) 2, (3,3) 3 from the "wa + wb < 5" walk
    TVariationRule rule = RuleOf({{0, 1}, {3, 2}, {4, 3}});
    TRgbSurface surface(300, 180, 0);
    rule.Draw(set, 5, 4, 0x808080, surface);
    TPictureBuffer buffer(300, 180, 0x7FFF);
    rule.DrawToBuffer(set, 5, 4, false, 0x808080, buffer);
    const std::map<int, std::pair<int, int>> placed = {{1, {96, 48}}, {2, {144, 72}}, {3, {96, 96}}};
    for (const auto& [id, offset] : placed) {
        // the diamond's widest row (y 47) spans the whole tile width
        for (int x : {0, 46, 93}) {
            const int px = 5 + offset.first + x, py = 4 + offset.second + 47;
            EXPECT_EQ(surface.Pixel(px, py), PixelToColor(ColorToPixel(TileColour(id), 0), 0)) << id;
            EXPECT_EQ(buffer(px, py), ColorToPixel(TileColour(id), 0)) << id;
        }
    }
    int drawn = 0;
    for (TColor c : surface.Data())
        drawn += c != 0;
    EXPECT_EQ(drawn, 3 * 2304);

    TVariationRule missing = RuleOf({{0, 99}}); // no tile has this ID
    TRgbSurface empty(300, 180, 0);
    missing.Draw(set, 0, 0, empty);
    EXPECT_EQ(empty.Data(), TRgbSurface(300, 180, 0).Data());
}

TEST(TVariationRuleDraw, CellsOutsideTheLayoutDrawNothing)
{
    TTileFile set;
    set.Clear();
    for (int id = 1; id <= 3; ++id)
        AddTile(set, id);
    // fills (3,1) with 2 and (4,1) with 3; (4,1) lies outside the layout
    TVariationRule rule = RuleOf({{0, 1}, {0, 2}, {4, 3}, {4, 4}, {4, 5}, {3, 6}});
    TRgbSurface surface(300, 180, 0);
    rule.Draw(set, 0, 0, surface);
    int drawn = 0;
    for (TColor c : surface.Data())
        drawn += c != 0;
    EXPECT_EQ(drawn, 2304);
    EXPECT_EQ(surface.Pixel(0 + 46, 48 + 47), PixelToColor(ColorToPixel(TileColour(2), 0), 0));
}

TEST(TVariationRuleDraw, SurfaceShadowColourDefaultsToTheSets)
{
    TTileFile set;
    set.Clear();
    auto tile = std::make_unique<TTile>(0xFFFFFF, 0);
    tile->TileID = 1;
    tile->Overlay = std::make_unique<TTileOverlay>(0);
    tile->Overlay->Lines.resize(1);
    tile->Overlay->Lines[0] = std::make_unique<TLine>(0);
    tile->Overlay->Lines[0]->Words = {0x0B01};
    tile->Overlay->FirstLine = tile->Overlay->LastLine = 0;
    set.AddTile(std::move(tile));
    set.ShadowColor = 0x203040;
    TVariationRule rule = RuleOf({{0, 1}});
    TRgbSurface surface(300, 180, 0);
    rule.Draw(set, 0, 0, surface);
    EXPECT_EQ(surface.Pixel(96, 48), 0x203040U);
}
