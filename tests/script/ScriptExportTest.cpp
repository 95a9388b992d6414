// Writing scripts: the text of every record form, the pictures, and the way back.

#include "ScriptExport.h"
#include "ScriptImport.h"
#include "SetBuilders.h"
#include "Scratch.h"

#include <gtest/gtest.h>

using namespace kestrund;
using namespace kestrund::testing;

// Every record form, with values at the edges of its fields: imported (the pictures are
// missing, but the values stay) and written again, the text comes back.
TEST(ScriptText, RecordFormsOfEveryKind)
{
    std::string text =
        "Kestrund Script v.1.1|// This file was generated using Vellomar|// Dafault Transparant and Shadow colors||"
        "$00FF00FF $80000000||// TileRules||1|{|  -32768     20     50|       0     40     80|      30     60     70||"
        "      90    100    110    120    130     -1|}||// TileBorders||1|4609    2 BORD0102.tga||"
        "// Tiles||2| 65535    3 0101 TILEFFFF.tga|     0    0 11111 TILE0000.tga||"
        "// Rivers||1|{|2748 |  1 2 5|  0 65535 8|  3 6 7|  RIVE0ABC.tga|}||// Improvements||1|12345 TIMP3039.tga||"
        "// VariationRule||2|{|  01,2,0045|  123,31,65535|}|{|}||// End Of Script File|";
    for (std::size_t at; (at = text.find('|')) != std::string::npos;)
        text.replace(at, 1, "\r\n");
    TScratchDir dir;
    WriteText(dir / "s.src", text);
    TTileFile set;
    set.TransparentColor = 0x00FF00FF;
    set.ShadowColor = 0x80000000;
    EXPECT_EQ(ImportScript(set, dir / "s.src", nullptr, false), srElementErrors);
    EXPECT_EQ(ScriptText(set), text);
    // Exported, the pictures come first and go beside the script; an empty overlay's is one
    // transparent pixel.
    EXPECT_THROW(ExportScript(set, "nowhere", dir / "out.src"), EFileCreateError);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"s.src"});
    ExportScript(set, ".", dir / "out.src");
    EXPECT_EQ(ReadText(dir / "out.src"), text);
    EXPECT_EQ(dir.Entries(),
              (std::vector<std::string>{"BORD0102.tga", "RIVE0ABC.tga", "TILE0000.tga", "TILEFFFF.tga",
                                        "TIMP3039.tga", "out.src", "s.src"}));
}

TEST(ScriptRoundTrip, EveryElementComesBackExactly)
{
    for (const bool keyColors : {false, true}) {
        TScratchDir dir;
        const auto original = MakeRichSet(keyColors ? 11 : 7, keyColors);
        std::filesystem::create_directory(dir.Path() / "set"); // the folder the import looks in
        ExportScript(*original, "set", dir / "set.src");
        TTileFile imported;
        EXPECT_EQ(ImportScript(imported, dir / "set.src", nullptr, false), srSuccess);
        EXPECT_TRUE(SameSet(*original, imported));
        EXPECT_EQ(original->SaveToMemory(0), imported.SaveToMemory(0));
        // Pictures that hold the key colours as pixels name their own; the colours line keeps the set's.
        const std::string script = ReadText(dir / "set.src");
        EXPECT_NE(script.find("\r\n$00007C1F $000083E0\r\n"), std::string::npos);
        EXPECT_EQ(script.find("$", script.find("// TileRules")) != std::string::npos, keyColors);
    }
}
