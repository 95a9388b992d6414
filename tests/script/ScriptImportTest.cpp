#include "ScriptExport.h"
#include "ScriptImport.h"
#include "ScriptPaths.h"
#include "SetBuilders.h"
#include "Scratch.h"

#include <gtest/gtest.h>

using namespace kestrund;
using namespace kestrund::testing;

namespace {

std::string Join(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

class ScriptImport : public ::testing::Test {
protected:
    // Writes the script and imports it at level; the log comes back as messages.
    int Import(const std::vector<std::string>& lines, int level = llSimple, bool append = false)
    {
        WriteText(Script, Join(lines));
        return Run(level, append);
    }

    int Run(int level = llSimple, bool append = false)
    {
        Log.clear();
        if (level == llSimple)
            return ImportScript(Set, Script, &Log, append);
        const int result = ImportScriptLogged(Set, Script, LogFile, append, level);
        Log = LogMessages(ReadText(LogFile));
        return result;
    }

    // A tile picture in the graphics folder (all four colours of a border ring).
    void WriteTilePicture(const std::string& relative)
    {
        std::filesystem::create_directories((Dir.Path() / relative).parent_path());
        TTile tile(0x00203040, 0);
        tile.ExportTGA(Dir / relative, Set.TransparentColor, Set.ShadowColor);
    }

    std::string ErrorLoading(const std::string& relative) const
    {
        return "Error loading \"" + Dir / relative + "\"";
    }

    TScratchDir Dir;
    std::string Script = Dir / "s.src";
    std::string LogFile = Dir / "s.log";
    TTileFile Set;
    std::vector<std::string> Log;
};

const std::string H = "Kestrund Script v.1.1";

} // namespace

TEST_F(ScriptImport, NewSetScriptLogsAtEachLevel)
{
    TTileFile fresh;
    std::filesystem::create_directory(Dir.Path() / "set");
    Script = Dir / "set.src";
    LogFile = Dir / "set.log";
    ExportScript(fresh, "set", Script);

    ASSERT_EQ(Run(llSimple), srSuccess);
    EXPECT_EQ(Log, (std::vector<std::string>{
                       "1 of 1 Rules successfully loaded\n\r",
                       "1 of 1 Borders successfully loaded\n\r",
                       "1 of 1 Tiles successfully loaded\n\r",
                       "1 of 1 Rivers successfully loaded\n\r",
                       "1 of 1 Tile Improvements successfully loaded\n\r",
                       "1 of 1 VariationRules successfully loaded\n\r",
                       "There was no errors converting \"" + Script + "\"",
                   }));

    ASSERT_EQ(Run(llTotal), srSuccess);
    EXPECT_EQ(Log, (std::vector<std::string>{
                       "\"" + Script + "\" successfully loaded\n\r   Processing started",
                       "Decommenting succesfull\n\r",
                       "Default values successfully read\n\r",
                       "There are 1 TileRules to load",
                       "Rule number 0 at line 15 successfully loaded",
                       "1 of 1 Rules successfully loaded\n\r",
                       "There are 1 TileBorders to load",
                       "Border number 0 at line 20 successfully loaded from \"BORD0000.tga\"",
                       "1 of 1 Borders successfully loaded\n\r",
                       "There are 1 Tiles to load",
                       "Tile number 0 at line 25 successfully loaded from \"TILE0000.tga\"",
                       "1 of 1 Tiles successfully loaded\n\r",
                       "There are 1 Rivers to load",
                       "River number 0 at line 36 successfully loaded from \"RIVE0000.tga\"",
                       "1 of 1 Rivers successfully loaded\n\r",
                       "There are 1 TileImprovements to load",
                       "Til improvement number 0 at line 41 successfully loaded from \"TIMP0000.tga\"",
                       "1 of 1 Tile Improvements successfully loaded\n\r",
                       "There are 1 VariationRules to load",
                       "VariationRule number 0 at line 48 successfully loaded",
                       "1 of 1 VariationRules successfully loaded\n\r",
                       "There was no errors converting \"" + Script + "\"",
                   }));

    ASSERT_EQ(Run(llExtensive), srSuccess);
    EXPECT_EQ(Log.size(), 22u - 6u); // the six success messages are Total's
    // The file holds exactly this import's messages, each followed by CR LF.
    const std::string text = ReadText(LogFile);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_NE(text.find("Processing started\r\nDecommenting succesfull\n\r\r\n"), std::string::npos);
}

TEST_F(ScriptImport, CleanImportSimpleLogHasSevenMessages)
{
    WriteTilePicture("s/T.tga");
    ASSERT_EQ(Import({H, "$00007C1F $000083E0", "0", "0", "1", "7 2 0001 T.tga", "0", "0", "0"}), srSuccess);
    EXPECT_EQ(Log, (std::vector<std::string>{
                       "0 of 0 Rules successfully loaded\n\r",
                       "0 of 0 Borders successfully loaded\n\r",
                       "1 of 1 Tiles successfully loaded\n\r",
                       "0 of 0 Rivers successfully loaded\n\r",
                       "0 of 0 Tile Improvements successfully loaded\n\r",
                       "0 of 0 VariationRules successfully loaded\n\r",
                       "There was no errors converting \"" + Script + "\"",
                   }));
    ASSERT_EQ(Set.TileCount(), 1u);
    EXPECT_EQ(Set.Tile(0).TileID, 7);
    EXPECT_EQ(Set.Tile(0).TileIndex, 2);
    EXPECT_EQ(Set.Tile(0).BorderEdges, 1);
    EXPECT_EQ(Set.TileIndexList(), std::vector<std::string>{"02"});
    EXPECT_EQ(Set.TileRuleCount(), 0u);
}

TEST_F(ScriptImport, GraphicsFolderForms)
{
    struct Case {
        std::vector<std::string> colors;
        std::string picture;
    };
    const std::string absolute = (Dir.Path() / "abs").string();
    const Case cases[] = {
        {{"$00007C1F $000083E0"}, "s/T.tga"},
        {{"gfx $7C1F $83E0"}, "gfx/T.tga"},
        {{"gfx\\", "$7C1F,$83E0"}, "gfx/T.tga"},
        {{"sub\\deep\\ $7C1F $83E0"}, "sub/deep/T.tga"},
        {{"\"with blank\" $7C1F $83E0"}, "with blank/T.tga"},
        {{"\"" + absolute + "\" $7C1F $83E0"}, "abs/T.tga"},
        {{"CaSe\\ $7C1F $83E0"}, "case/t.TGA"}, // a Windows script on a case-sensitive disk
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(Dir.Path() / std::filesystem::path(c.picture).begin()->string());
        WriteTilePicture(c.picture);
        std::vector<std::string> lines{H};
        lines.insert(lines.end(), c.colors.begin(), c.colors.end());
        for (const char* l : {"0", "0", "1", "7 2 0001 T.tga", "0", "0", "0"})
            lines.push_back(l);
        EXPECT_EQ(Import(lines), srSuccess) << c.colors[0] << (Log.empty() ? "" : Log[2]);
    }
}

TEST_F(ScriptImport, FatalFramesGiveTheirCodes)
{
    struct Case {
        std::vector<std::string> lines;
        int code;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {{H + " "}, srNotAScript, {"ERROR: \"" + Script + "\" is not a valid script-file"}},
        {{"kestrund script v.1.1"}, srNotAScript, {"ERROR: \"" + Script + "\" is not a valid script-file"}},
        {{}, srNotAScript, {"ERROR: \"" + Script + "\" is not a valid script-file"}},
        {{H, "a b c d"},
         srColors,
         {"ERROR: Error reading default colors at Line 1\n\r:Invalid number of arguments", "     Line: \"a b c d\""}},
        {{H, "", "$7C1F zz // colours"},
         srColors,
         {"ERROR: Error reading default colors at Line 2\n\r: 'zz' is not a valid integer value",
          "     Line: \"$7C1F zz \""}},
        {{H, "gfx", "$7C1F"},
         srColors,
         {"ERROR: Error reading default colors at Line 2\n\r: List index out of bounds (1)", "     Line: \"$7C1F\""}},
        {{H, "$7C1F $83E0", "12 // rules"},
         3,
         {"ERROR: Error reading number of TileRules at Line 2\n\r: '12 ' is not a valid integer value",
          "     Line: \"12 \""}},
        {{H, "$7C1F $83E0", "0", "x"},
         4,
         {"0 of 0 Rules successfully loaded\n\r", "ERROR: Error reading number of TileBorders at Line 3\n\r: 'x' is not a valid integer value",
          "     Line: \"x\""}},
    };
    for (const Case& c : cases) {
        Set.AddTile(std::make_unique<TTile>());
        const std::size_t tiles = Set.TileCount();
        EXPECT_EQ(Import(c.lines), c.code) << c.lines.size();
        EXPECT_EQ(Log, c.log);
        if (c.code == srNotAScript) {
            EXPECT_EQ(Set.TileCount(), tiles) << "a file that is not a script leaves the set alone";
        }
    }
}

TEST_F(ScriptImport, EachSectionCountHasItsCode)
{
    const char* names[] = {"TileRules", "TileBorders", "Tiles", "Rivers", "TileImprovements", "VariationRules"};
    for (int section = 0; section < 6; ++section) {
        std::vector<std::string> lines{H, "$7C1F $83E0"};
        for (int k = 0; k < section; ++k)
            lines.push_back("0");
        lines.push_back("-");
        EXPECT_EQ(Import(lines), 3 + section);
        ASSERT_FALSE(Log.empty());
        EXPECT_EQ(Log[Log.size() - 2], "ERROR: Error reading number of " + std::string(names[section]) + " at Line " +
                                           std::to_string(2 + section) + "\n\r: '-' is not a valid integer value");
    }
}

TEST_F(ScriptImport, MissingFileGivesCode15)
{
    Script = Dir / "none.src";
    EXPECT_EQ(Run(), srReadError);
    EXPECT_EQ(Log, std::vector<std::string>{"ERROR: Error reading file: \"" + Script + "\" or file not found"});
}

TEST_F(ScriptImport, RuleBlocksAreForgiving)
{
    const int result = Import({H, "$7C1F $83E0", "3",
                               "{ 1 2 3 4 5 6 7 8 9 10 11 12 13 14 }", // 14 numbers
                               "{", " 1 2 3 // north row", "", " 4 5 6", "7,8,9", "  10 11 x 13 14 15", "}",
                               "{1 2 3 4 5 6 7 8 9 10 11 12 13 14 15}",
                               "0", "0", "0", "0", "0"},
                              llTotal);
    EXPECT_EQ(result, srElementErrors);
    ASSERT_EQ(Set.TileRuleCount(), 3u);
    EXPECT_TRUE(Set.TileRule(0) == TTileRule()) << "a failed rule keeps its defaults";
    const TTileRule& rule = Set.TileRule(1);
    EXPECT_EQ(rule.Values[nbNW], 1);
    EXPECT_EQ(rule.Values[nbN], 2);
    EXPECT_EQ(rule.Values[nbNE], 3);
    EXPECT_EQ(rule.Values[nbW], 4);
    EXPECT_EQ(rule.Values[nbCentre], 5);
    EXPECT_EQ(rule.Values[nbE], 6);
    EXPECT_EQ(rule.Values[nbSW], 7);
    EXPECT_EQ(rule.Values[nbS], 8);
    EXPECT_EQ(rule.Values[nbSE], 9);
    EXPECT_EQ(rule.Values[rvGraphics], 10);
    EXPECT_EQ(rule.Values[rvAlt2], 0xFFFF) << "a word in place of a number";
    EXPECT_EQ(rule.Values[rvAlt5], 15);
    EXPECT_EQ(Log[4], "ERROR: Error generating rule number 0 at line 3: Invalid number of arguments");
    EXPECT_EQ(Log[5], "     Line: \"{ 1 2 3 4 5 6 7 8 9 10 11 12 13 14 }\"");
    EXPECT_EQ(Log[6], "Rule number 1 at line 10 successfully loaded");
    EXPECT_EQ(Log[7], "Rule number 2 at line 11 successfully loaded");
    EXPECT_EQ(Log[8], "2 of 3 Rules successfully loaded\n\r");

    // The Simple level quotes the block's text instead of its closing line.
    Import({H, "$7C1F $83E0", "1", "{ 1 2", "3 }", "0", "0", "0", "0", "0"});
    EXPECT_EQ(Log[1], "     Line: \" 1 2 3 \"");
}

TEST_F(ScriptImport, ElementErrorsKeepWhatWasRead)
{
    WriteTilePicture("s/T.tga");
    const int result = Import({H, "$7C1F $83E0", "0",
                               "2", "1 2 T.tga 5", "258 3 T.tga",
                               "2", "1 2 0001", "x 2 0001 T.tga",
                               "1", "{ 9 x 1 1 1 2 1 1 1 1 RIVER.tga }",
                               "0", "0"},
                              llTotal);
    EXPECT_EQ(result, srElementErrors);
    ASSERT_EQ(Set.BorderCount(), 2u);
    EXPECT_EQ(Set.Border(0).Inside, 1);
    EXPECT_EQ(Set.Border(1).Inside, 258) << "values are kept although no picture came";
    ASSERT_EQ(Set.TileCount(), 2u);
    ASSERT_EQ(Set.RiverCount(), 1u);
    EXPECT_EQ(Set.River(0).ImprovementID, 9);
    EXPECT_EQ(Set.River(0).Directions[nbNW], 0) << "a word in place of a direction";
    EXPECT_EQ(Set.River(0).Directions[nbCentre], 2);
    const std::vector<std::string> expected = {
        "There are 2 TileBorders to load",
        "ERROR: Error generating border number 0 at line 4: 5 not in the range 0-4",
        "     Line: \"1 2 T.tga 5\"",
        "Border number 1 at line 5 successfully loaded from \"T.tga\"",
        "1 of 2 Borders successfully loaded\n\r",
        "There are 2 Tiles to load",
        "ERROR: Error generating tile number 0 at line 7: Invalid number of arguments",
        "     Line: \"1 2 0001\"",
        "ERROR: Error generating tile number 1 at line 8: 'x' is not a valid integer value",
        "     Line: \"x 2 0001 T.tga\"",
        "0 of 2 Tiles successfully loaded\n\r",
        "There are 1 Rivers to load",
        "ERROR: Error generating tile number 0 at line 10: " + ErrorLoading("s/RIVER.tga"),
        "     Line: \"{ 9 x 1 1 1 2 1 1 1 1 RIVER.tga }\"",
        "0 of 1 Rivers successfully loaded\n\r",
    };
    ASSERT_GE(Log.size(), 8 + expected.size());
    EXPECT_EQ(std::vector<std::string>(Log.begin() + 5, Log.begin() + 5 + static_cast<long>(expected.size())),
              expected);
}

TEST_F(ScriptImport, VariationRuleForms)
{
    const std::vector<std::string> common = {"$7C1F $83E0", "0", "0", "0", "0", "0", "5"};
    std::vector<std::string> lines{H};
    lines.insert(lines.end(), common.begin(), common.end());
    for (const char* l : {"{ 1 2 45  3,4,7 9 }", "{", "}", "2 $00010041 $FFFF0083", "{ 5 1 }", "3 $1 $2"})
        lines.push_back(l);
    EXPECT_EQ(Import(lines), srElementErrors);
    ASSERT_EQ(Set.VariationRuleCount(), 5u);
    const TVariationRule& a = Set.VariationRule(0);
    ASSERT_EQ(a.StepCount(), 2u) << "seven numbers give two steps";
    EXPECT_EQ(a.StepText(0), "01,2,0045");
    EXPECT_EQ(a.StepText(1), "03,4,0007");
    EXPECT_EQ(Set.VariationRule(1).StepCount(), 0u);
    const TVariationRule& c = Set.VariationRule(2);
    ASSERT_EQ(c.StepCount(), 2u);
    EXPECT_EQ(c.Step(0), 0x00010041u);
    EXPECT_EQ(c.Step(1), 0xFFFF0083u);
    EXPECT_EQ(Set.VariationRule(3).StepCount(), 0u) << "two numbers are no step";
    EXPECT_EQ(Log[Log.size() - 4], "ERROR: Error generating last block number 4 at line 13: List index out of bounds (3)");

    // The older version writes hexadecimal steps without a prefix, always on one line.
    std::vector<std::string> old{"Kestrund Script v.1.0"};
    old.insert(old.end(), common.begin(), common.end() - 1);
    old.push_back("1");
    old.push_back("2 00010041 FFFF0083");
    EXPECT_EQ(Import(old), srSuccess);
    ASSERT_EQ(Set.VariationRuleCount(), 1u);
    EXPECT_EQ(Set.VariationRule(0).Step(1), 0xFFFF0083u);
}

TEST_F(ScriptImport, AppendingNumbersAfterTheExistingElements)
{
    for (int i = 0; i < 9; ++i)
        Set.AddTile(std::make_unique<TTile>());
    ASSERT_EQ(Set.TileCount(), 10u);
    EXPECT_EQ(Import({H, "$7C1F $83E0", "0", "0", "2", "1 0 0 A.tga", "2 0 0 B.tga", "0", "0", "0"}, llSimple, true),
              srElementErrors);
    EXPECT_EQ(Set.TileCount(), 12u);
    EXPECT_EQ(Set.RiverCount(), 1u) << "the set's own elements stay";
    EXPECT_EQ(Log[2].substr(0, 45), "ERROR: Error generating tile number 10 at lin");
    EXPECT_EQ(Log[4].substr(0, 45), "ERROR: Error generating tile number 11 at lin");
}

TEST_F(ScriptImport, ScriptEndingEarly)
{
    // In the improvements section the import stops with its own code.
    EXPECT_EQ(Import({H, "$7C1F $83E0", "0", "0", "0", "0", "2", "1 A.tga"}), srImprovementLine);
    ASSERT_GE(Log.size(), 2u);
    EXPECT_EQ(Log[Log.size() - 2],
              "ERROR: Error generating tile improvement number 1 at line 8: Unexpected end of the script file");
    EXPECT_EQ(Log.back(), "     Line: \"%s\"");
    EXPECT_EQ(Set.ImprovementCount(), 1u);

    // Anywhere else the import fails as a whole; the Extensive log keeps what was written.
    WriteText(Script, Join({H, "$7C1F $83E0", "0", "0", "3", "1 0 0 A.tga"}));
    EXPECT_THROW(ImportScriptLogged(Set, Script, LogFile, false, llExtensive), EScriptImportError);
    EXPECT_EQ(Set.TileCount(), 1u);
    const auto messages = LogMessages(ReadText(LogFile));
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), "     Line: \"1 0 0 A.tga\"");

    // So does a negative count and a malformed colour item on a tile line.
    WriteText(Script, Join({H, "$7C1F $83E0", "-1"}));
    EXPECT_THROW(ImportScript(Set, Script, nullptr, false), EScriptImportError);
    WriteText(Script, Join({H, "$7C1F $83E0", "0", "0", "1", "1 0 0 A.tga zz", "0", "0", "0"}));
    EXPECT_THROW(ImportScript(Set, Script, nullptr, false), EScriptImportError);
}

TEST_F(ScriptImport, LogFileIsReplacedByTheNextImport)
{
    WriteText(LogFile, std::string(5000, '\x01'));
    EXPECT_EQ(Import({H, "$7C1F $83E0", "0", "0", "0", "0", "0", "0"}, llExtensive), srSuccess);
    const std::string first = ReadText(LogFile);
    EXPECT_EQ(first.find('\x01'), std::string::npos);
    EXPECT_EQ(LogMessages(first).back(), "There was no errors converting \"" + Script + "\"");
    EXPECT_EQ(LogMessages(first).size(), 3u + 12u + 1u);
    EXPECT_EQ(Import({H + "!"}, llTotal), srNotAScript);
    EXPECT_EQ(LogMessages(ReadText(LogFile)),
              (std::vector<std::string>{"\"" + Script + "\" successfully loaded\n\r   Processing started",
                                        "ERROR: \"" + Script + "\" is not a valid script-file"}));
}

TEST_F(ScriptImport, UnwritableLogFailsTheImport)
{
    LogFile = Dir / "no/such/folder/s.log";
    WriteText(Script, Join({H, "$7C1F $83E0", "0", "0", "0", "0", "0", "0"}));
    EXPECT_THROW(ImportScriptLogged(Set, Script, LogFile, false, llExtensive), EFileCreateError);
}

TEST(ScriptPaths, LogFileNames)
{
    EXPECT_EQ(LogFileNameFor("C:\\sets\\forest.src"), "C:\\sets\\forest.log");
    EXPECT_EQ(LogFileNameFor("C:\\sets\\forest"), "C:\\sets\\forest.log");
    EXPECT_EQ(LogFileNameFor("/home/a.b/forest"), "/home/a.b/forest.log");
    EXPECT_EQ(LogFileNameFor("/home/ab/forest.v2.src"), "/home/ab/forest.v2.log");
    EXPECT_EQ(ScriptBaseName("/home/a.b/forest.src"), "forest");
    EXPECT_EQ(ScriptBaseName("C:\\x\\set"), "set");
}

TEST_F(ScriptImport, FailedImportPutsTheSetBack)
{
    // Replacing: a script that fails half-way leaves the open set alone.
    Set.Tile(0).TileID = 4242;
    WriteText(Script, Join({H, "$7C1F $83E0", "0", "0", "3", "1 0 0 A.tga"}));
    EXPECT_THROW(ImportScriptInto(Set, Script, LogFile, false, llSimple), EScriptImportError);
    ASSERT_EQ(Set.TileCount(), 1u);
    EXPECT_EQ(Set.Tile(0).TileID, 4242);
    EXPECT_EQ(Set.TileRuleCount(), 1u);
    EXPECT_FALSE(std::filesystem::exists(LogFile)) << "the Simple log is written only after a finished import";

    // Appending: the elements added before the failure are taken off again.
    EXPECT_THROW(ImportScriptInto(Set, Script, LogFile, true, llTotal), EScriptImportError);
    EXPECT_EQ(Set.TileCount(), 1u);
    EXPECT_EQ(Set.TileIndexList(), std::vector<std::string>{"00"});
    EXPECT_TRUE(std::filesystem::exists(LogFile)) << "the Total log keeps what was written";

    // Not a script: nothing changes; a finished import replaces the set and writes the log.
    WriteText(Script, Join({"nonsense"}));
    EXPECT_EQ(ImportScriptInto(Set, Script, LogFile, false, llSimple), srNotAScript);
    EXPECT_EQ(Set.Tile(0).TileID, 4242);
    WriteText(Script, Join({H, "$7C1F $83E0", "0", "0", "1", "1 0 0 A.tga", "0", "0", "0"}));
    EXPECT_EQ(ImportScriptInto(Set, Script, LogFile, false, llSimple), srElementErrors);
    ASSERT_EQ(Set.TileCount(), 1u);
    EXPECT_EQ(Set.Tile(0).TileID, 1);
    EXPECT_EQ(Set.RiverCount(), 0u);
    EXPECT_EQ(LogMessages(ReadText(LogFile)).size(), 9u);
}
