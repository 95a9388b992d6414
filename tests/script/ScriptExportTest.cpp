#include "MiscFunc.h"
#include "ScriptExport.h"
#include "TileFile.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace kestrund;

namespace {
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
        if (end == std::string::npos)
            break;
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}
} // namespace

TEST(ScriptText, NewSetGivesTheFiftyOneLineExample)
{
    const std::vector<std::string> expected = {
        "Kestrund Script v.1.1",
        "// This file was generated using Vellomar",
        "// Dafault Transparant and Shadow colors",
        "",
        "$00007C1F $000083E0",
        "",
        "// TileRules",
        "",
        "1",
        "{",
        "      -1     -1     -1",
        "      -1     -1     -1",
        "      -1     -1     -1",
        "",
        "      -1     -1     -1     -1     -1     -1",
        "}",
        "",
        "// TileBorders",
        "",
        "1",
        "   0    0 BORD0000.tga",
        "",
        "// Tiles",
        "",
        "1",
        "     0    0 0000 TILE0000.tga",
        "",
        "// Rivers",
        "",
        "1",
        "{",
        "   0 ",
        "  0 0 0",
        "  0 0 0",
        "  0 0 0",
        "  RIVE0000.tga",
        "}",
        "",
        "// Improvements",
        "",
        "1",
        "    0 TIMP0000.tga",
        "",
        "// VariationRule",
        "",
        "1",
        "{",
        "  00,0,0000",
        "}",
        "",
        "// End Of Script File",
    };
    TTileFile set;
    const std::string text = ScriptText(set);
    EXPECT_EQ(Lines(text), expected);
    EXPECT_EQ(expected.size(), 51u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST(ScriptText, RecordFormsOfEveryKind)
{
    TTileFile set;
    set.Clear();
    auto rule = std::make_unique<TTileRule>();
    for (int k = 0; k < 15; ++k)
        rule->Values[static_cast<std::size_t>(k)] = static_cast<std::uint16_t>(k * 10);
    rule->Values[rvAlt5] = 0xFFFF;
    rule->Values[nbNW] = 0x8000;
    set.AddTileRule(std::move(rule));

    auto border = std::make_unique<TTileBorder>();
    border->Inside = 0x1201; // only the low 8 bits name the file
    border->Outside = 2;
    set.AddBorder(std::move(border));

    auto tile = std::make_unique<TTile>();
    tile->TileID = 0xFFFF;
    tile->TileIndex = 3;
    tile->BorderEdges = 5;
    set.AddTile(std::move(tile));
    auto tile2 = std::make_unique<TTile>();
    tile2->TileID = 1;
    tile2->BorderEdges = 0x1F;
    set.AddTile(std::move(tile2));

    auto river = std::make_unique<TRiver>();
    river->ImprovementID = 0xABC;
    for (int k = 0; k < 9; ++k)
        river->Directions[static_cast<std::size_t>(k)] = static_cast<std::uint16_t>(k);
    river->Directions[nbCentre] = 0xFFFF;
    set.AddRiver(std::move(river));

    auto improvement = std::make_unique<TTileImprovement>();
    improvement->ImprovementID = 12345;
    set.AddImprovement(std::move(improvement));

    auto variation = std::make_unique<TVariationRule>();
    variation->SetStepCount(2);
    variation->SetStepTileIndex(0, 1);
    variation->SetStepDir(0, 2);
    variation->SetStepTileID(0, 45);
    variation->SetStepTileIndex(1, 123);
    variation->SetStepDir(1, 31);
    variation->SetStepTileID(1, 65535);
    set.AddVariationRule(std::move(variation));
    set.AddVariationRule(std::make_unique<TVariationRule>()).SetStepCount(0);

    set.TransparentColor = 0x00FF00FF;
    set.ShadowColor = 0x80000000;

    const std::vector<std::string> expected = {
        "Kestrund Script v.1.1",
        "// This file was generated using Vellomar",
        "// Dafault Transparant and Shadow colors",
        "",
        "$00FF00FF $80000000",
        "",
        "// TileRules",
        "",
        "1",
        "{",
        "  -32768     20     50",
        "       0     40     80",
        "      30     60     70",
        "",
        "      90    100    110    120    130     -1",
        "}",
        "",
        "// TileBorders",
        "",
        "1",
        "4609    2 BORD0102.tga",
        "",
        "// Tiles",
        "",
        "2",
        " 65535    3 0101 TILEFFFF.tga",
        "     1    0 11111 TILE0001.tga",
        "",
        "// Rivers",
        "",
        "1",
        "{",
        "2748 ",
        "  1 2 5",
        "  0 65535 8",
        "  3 6 7",
        "  RIVE0ABC.tga",
        "}",
        "",
        "// Improvements",
        "",
        "1",
        "12345 TIMP3039.tga",
        "",
        "// VariationRule",
        "",
        "2",
        "{",
        "  01,2,0045",
        "  123,31,65535",
        "}",
        "{",
        "}",
        "",
        "// End Of Script File",
    };
    EXPECT_EQ(Lines(ScriptText(set)), expected);
}

TEST(ScriptText, EmptyKindsWriteTheirCountAlone)
{
    TTileFile set;
    set.Clear();
    const auto lines = Lines(ScriptText(set));
    ASSERT_EQ(lines.size(), 6u + 6 * 4 + 1);
    for (int s = 0; s < 6; ++s) {
        EXPECT_EQ(lines[6 + 4 * s], "// " + set.ScriptSectionNames[static_cast<std::size_t>(s)]);
        EXPECT_EQ(lines[7 + 4 * s], "");
        EXPECT_EQ(lines[8 + 4 * s], "0");
        EXPECT_EQ(lines[9 + 4 * s], "");
    }
}
