#include "Errors.h"
#include "TileFile.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <optional>

using namespace kestrund;

namespace {

constexpr std::uint16_t None = 0xFFFF;

// Preview slots: N, NW, NE, W, centre, E, SW, SE, S.
enum { sN, sNW, sNE, sW, sCentre, sE, sSW, sSE, sS };

class TileRulePreview : public ::testing::Test {
protected:
    TileRulePreview() { set.Clear(); }

    TTile& Tile(std::uint16_t id)
    {
        auto tile = std::make_unique<TTile>();
        tile->TileID = id;
        return set.AddTile(std::move(tile));
    }
    TTileRule& Rule(const std::map<int, std::uint16_t>& values)
    {
        auto rule = std::make_unique<TTileRule>();
        for (auto [k, v] : values)
            rule->SetValue(k, v);
        return set.AddTileRule(std::move(rule));
    }
    // Tile IDs of the nine entries; None for an entry without a tile.
    std::array<std::uint16_t, 9> Ids(const TTileRule& rule) const
    {
        std::array<std::uint16_t, 9> ids{};
        for (int i = 0; i < 9; ++i) {
            const TTile* tile = rule.PreviewTile(i);
            ids[static_cast<std::size_t>(i)] = tile ? tile->TileID : None;
        }
        return ids;
    }

    TTileFile set;
};

} // namespace

TEST(TTileRule, NewRuleHasEveryValueUnset)
{
    TTileFile set;
    TTileRule rule(&set);
    for (int k = 0; k < 15; ++k)
        EXPECT_EQ(rule.Value(k), 0xFFFF);
    EXPECT_EQ(rule.Owner, &set);
    rule.SetValue(9, 140);
    EXPECT_EQ(rule.Value(9), 140);
    EXPECT_EQ(rule.Values[rvGraphics], 140);
    EXPECT_THROW(rule.Value(15), EListIndexError);
    EXPECT_THROW(rule.Value(-1), EListIndexError);
    EXPECT_THROW(rule.SetValue(15, 0), EListIndexError);
    EXPECT_THROW(rule.PreviewTile(9), EListIndexError);
    EXPECT_THROW(rule.PreviewTile(-1), EListIndexError);
}

TEST_F(TileRulePreview, NeighboursWithoutMatchingRulesAreTheirOwnTileIDs)
{
    for (std::uint16_t id = 10; id <= 18; ++id)
        Tile(id);
    Tile(50);
    std::map<int, std::uint16_t> values{{9, 50}};
    for (int k = 0; k < 9; ++k)
        values[k] = static_cast<std::uint16_t>(k == 4 ? 100 : 10 + k);
    const TTileRule& rule = Rule(values);
    // W 10, NW 11, N 12, SW 13, NE 15, S 16, SE 17, E 18 in the order N NW NE W c E SW SE S
    EXPECT_EQ(Ids(rule), (std::array<std::uint16_t, 9>{12, 11, 15, 10, 50, 18, 13, 17, 16}));
}

TEST_F(TileRulePreview, CentreIsTheFirstNonNegativeOfGraphicsAndAlternatives)
{
    for (std::uint16_t id : {5, 6, 7, 0x7FFF, 0x8000})
        Tile(id);
    struct Case {
        std::array<std::uint16_t, 6> values; // Graphics, Alt1 .. Alt5
        std::uint16_t centre;
    };
    const Case cases[] = {
        {{5, 6, 7, None, None, None}, 5},
        {{None, 6, 7, None, None, None}, 6},
        {{0x8000, None, 7, None, None, None}, 7},  // signed test: 0x8000 is skipped
        {{9, 6, None, None, None, None}, None},    // first candidate has no tile: no centre
        {{None, None, None, None, None, 5}, 5},
        {{None, None, None, None, None, None}, None},
        {{0x8000, 0x9000, 0xFFFE, 0x8001, 0xF000, 0xC000}, None},
        {{0x7FFF, 5, None, None, None, None}, 0x7FFF},
    };
    for (const Case& c : cases) {
        std::map<int, std::uint16_t> values;
        for (int k = 0; k < 6; ++k)
            values[9 + k] = c.values[static_cast<std::size_t>(k)];
        const TTileRule& rule = Rule(values);
        EXPECT_EQ(Ids(rule)[sCentre], c.centre) << std::hex << c.values[0] << " " << c.values[1];
    }
}

TEST_F(TileRulePreview, NegativeNeighbourValuesGiveNoTile)
{
    Tile(0x8000);
    Tile(0xFFFF);
    Tile(0x7FFF);
    Rule({{4, 0x8000}, {9, 0x7FFF}}); // would match by centre if the value were looked at
    const TTileRule& rule = Rule({{2, 0x8000}, {0, 0xFFFF}, {1, 0x7FFF}, {4, 3}});
    const auto ids = Ids(rule);
    EXPECT_EQ(ids[sN], None);
    EXPECT_EQ(ids[sW], None);
    EXPECT_EQ(ids[sNW], 0x7FFF);
    EXPECT_EQ(rule.PreviewTile(sN), nullptr);
}

TEST_F(TileRulePreview, NeighbourResolvedThroughMatchingRules)
{
    for (std::uint16_t id : {20, 21, 22, 30, 40, 200, 201, 202, 300, 301, 0x8000})
        Tile(id);
    const TTileRule& rule = Rule({{4, 1}, {2, 20}, {6, 21}, {0, 30}, {8, 40}, {1, 22}, {9, 5}});
    Rule({{4, 20}, {9, 200}});                // N by its centre
    Rule({{4, 20}, {9, 202}});                // later match ignored
    Rule({{2, 1}, {9, 201}});                 // S by its opposite (N) value = our centre
    Rule({{4, 30}, {10, 301}});               // W: Graphics unset, Alt1 used
    Rule({{4, 40}, {9, 999}});                // E: the matched rule's tile is missing
    Rule({{4, 22}, {9, 0x8000}, {10, 300}});  // NW: Graphics negative but set, so it is used
    const auto ids = Ids(rule);
    EXPECT_EQ(ids[sN], 200);
    EXPECT_EQ(ids[sS], 201);
    EXPECT_EQ(ids[sW], 301);
    EXPECT_EQ(ids[sE], None); // no fall back to tile 40
    EXPECT_EQ(ids[sNW], 0x8000);
    EXPECT_EQ(ids[sCentre], None);
}

TEST_F(TileRulePreview, EarlierRuleWinsWhicheverConditionMatched)
{
    for (std::uint16_t id : {20, 400, 401})
        Tile(id);
    const TTileRule& rule = Rule({{4, 7}, {5, 20}});
    Rule({{3, 7}, {9, 400}}); // NE's opposite is SW (3): SW = our centre
    Rule({{4, 20}, {9, 401}});
    EXPECT_EQ(Ids(rule)[sNE], 400);
}

TEST_F(TileRulePreview, RuleCanMatchItself)
{
    Tile(60);
    Tile(50);
    const TTileRule& rule = Rule({{4, 1}, {0, 50}, {8, 1}, {9, 60}});
    // W (0): the rule's own E (8) equals its centre, so it resolves to its own Graphics.
    EXPECT_EQ(Ids(rule)[sW], 60);
}

TEST_F(TileRulePreview, ReflectsLaterEditsAndDeletedTiles)
{
    TTile& north = Tile(12);
    Tile(50);
    TTileRule& rule = Rule({{2, 12}, {9, 50}, {4, 100}});
    EXPECT_EQ(rule.PreviewTile(sN), &north);
    EXPECT_EQ(Ids(rule)[sCentre], 50);

    north.TileID = 13;
    EXPECT_EQ(rule.PreviewTile(sN), nullptr);
    rule.SetValue(2, 13);
    EXPECT_EQ(rule.PreviewTile(sN), &north);

    Tile(77);
    Rule({{4, 13}, {9, 77}});
    EXPECT_EQ(Ids(rule)[sN], 77);
    set.DeleteTileRule(1);
    EXPECT_EQ(rule.PreviewTile(sN), &north);

    set.DeleteTile(0); // tile 13
    EXPECT_EQ(rule.PreviewTile(sN), nullptr);
    for (int i = 0; i < 9; ++i) {
        if (const TTile* tile = rule.PreviewTile(i)) {
            EXPECT_EQ(tile, set.FindTile(tile->TileID)) << i;
        }
    }

    set.DeleteTile(0); // tile 50
    EXPECT_EQ(rule.PreviewTile(sCentre), nullptr);
    TTile& again = Tile(50);
    EXPECT_EQ(rule.PreviewTile(sCentre), &again);
}

TEST_F(TileRulePreview, FindTileTakesTheLowestIndex)
{
    TTile& first = Tile(9);
    Tile(9);
    EXPECT_EQ(set.FindTile(9), &first);
    EXPECT_EQ(set.FindTile(10), nullptr);
    const TTileRule& rule = Rule({{9, 9}});
    EXPECT_EQ(rule.PreviewTile(sCentre), &first);
}

TEST(FindTileRuleForTile, GraphicsBeforeAlternativesWhateverTheOrder)
{
    struct Case {
        const char* name;
        std::vector<std::map<int, std::uint16_t>> rules;
        int expected; // index, -1 for none
    };
    const Case cases[] = {
        {"Alt1 match earlier than Graphics match", {{{10, 5}}, {{9, 5}}}, 1},
        {"Alt2 match earlier than Alt1 match", {{{11, 5}}, {{10, 5}}}, 1},
        {"Alt5 only", {{{9, 1}}, {{14, 5}}}, 1},
        {"Alt4 before Alt5", {{{14, 5}}, {{13, 5}}, {{12, 6}}}, 1},
        {"first of two Graphics matches", {{{10, 5}}, {{9, 5}}, {{9, 5}}}, 1},
        {"neighbour and centre values do not count", {{{4, 5}}, {{0, 5}, {8, 5}}}, -1},
        {"no match", {{{9, 6}, {10, 7}}}, -1},
    };
    for (const Case& c : cases) {
        TTileFile set;
        set.Clear();
        for (const auto& values : c.rules) {
            auto rule = std::make_unique<TTileRule>();
            for (auto [k, v] : values)
                rule->SetValue(k, v);
            set.AddTileRule(std::move(rule));
        }
        const TTileRule* found = set.FindTileRuleForTile(5);
        EXPECT_EQ(found ? set.IndexOfTileRule(found) : -1, c.expected) << c.name;
    }
}
