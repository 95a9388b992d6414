// Scripts: their text pieces and the names around them; reading them (result codes, log
// messages, what the set holds afterwards) and writing them (the text, the pictures, the way
// back); the demo set the build draws, its files and its script.

#include "DemoSet.h"
#include "MiscFunc.h"
#include "ScriptExport.h"
#include "ScriptImport.h"
#include "ScriptPaths.h"
#include "ScriptText.h"
#include "SetBuilders.h"
#include "Scratch.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>

using namespace kestrund;
using namespace kestrund::testing;
using V = std::vector<std::string>;

TEST(ScriptText, ItemsLinesAndNumbers)
{
    const std::pair<const char*, V> items[] = {
        {"", {}}, {"   ", {}}, {"a b", {"a", "b"}}, {"a,,b", {"a", "", "b"}}, {"a,", {"a"}}, {"\x01x\x01y", {"x", "y"}},
        {"  1 ,  2,3\t4 ", {"1", "2", "3", "4"}}, {"\"my file.tga\" 3", {"my file.tga", "3"}},
        {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}}, {"\"open", {"open"}},
    };
    for (const auto& [text, expected] : items)
        EXPECT_EQ(SplitCommaText(text), expected) << text;
    const std::pair<std::string_view, V> lines[] = {
        {"a\r\nb\r\n", {"a", "b"}}, {"a\rb\nc", {"a", "b", "c"}}, {"a\n\nb", {"a", "", "b"}},
        {std::string_view("a\nb\0c\nd", 7), {"a", "b"}}, {"", {}}, {"\r\n", {""}},
    };
    for (const auto& [text, expected] : lines)
        EXPECT_EQ(SplitScriptLines(text), expected) << text;

    const std::pair<const char*, std::int32_t> accepted[] = {
        {"0", 0}, {"12", 12}, {"-1", -1}, {"+7", 7}, {"  42", 42}, {"\t5", 5}, {"$7C1F", 0x7C1F}, {"x1f", 0x1F},
        {"X1F", 0x1F}, {"0x83E0", 0x83E0}, {"0XFFFFFFFF", -1}, {"$0000FF00", 0xFF00}, {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
    };
    for (const auto& [text, value] : accepted)
        EXPECT_EQ(StrToIntStrict(text), value) << text;
    for (const char* bad :
         {"", " ", "12 ", "1 2", "abc", "$", "$123456789", "-$1", "2147483648", "1.5", "--1", "+", "0x", "$G"}) {
        EXPECT_THROW(StrToIntStrict(bad), EConvertError) << bad;
        EXPECT_EQ(StrToIntDef(bad, -1), -1) << bad;
    }
}

TEST(ScriptPaths, NamesAroundAScript)
{
    // The script's own name, its log's, its base name and its graphics folder (empty: refused).
    const struct { std::string Script, Path, Log, Base, Folder; } names[] = {
        {"C:\\sets\\forest", "C:/sets/forest", "C:\\sets\\forest.log", "forest", ""},
        {"C:\\sets\\.src", "C:/sets/.src", "C:\\sets\\.log", "", ""},
        {"/a.b/forest", "/a.b/forest", "/a.b/forest.log", "forest", ""},
        {"/a.b/forest.src", "/a.b/forest.src", "/a.b/forest.log", "forest", "/a.b/forest"},
        {"/ab/forest.v2.src", "/ab/forest.v2.src", "/ab/forest.v2.log", "forest.v2", "/ab/forest.v2"},
        {"d\\sub\\a.src", "d/sub/a.src", "d\\sub\\a.log", "a", "d/sub/a"},
    };
    for (const auto& n : names) {
        EXPECT_EQ((std::vector{ScriptFilePath(n.Script).string(), LogFileNameFor(n.Script), ScriptBaseName(n.Script)}),
                  (std::vector{n.Path, n.Log, n.Base}));
        if (n.Folder.empty())
            EXPECT_THROW(ScriptGraphicsFolder(n.Script), EScriptNameError) << n.Script;
        else
            EXPECT_EQ(ScriptGraphicsFolder(n.Script), std::filesystem::path(n.Folder));
    }

    // Pictures are found in any letter case, always inside the graphics folder (a drive and leading separators
    // go), and the listing the finder keeps answers as the full look-up does.
    TScratchDir dir;
    const std::filesystem::path gfx = dir.Path() / "gfx";
    std::filesystem::create_directories(gfx / "sub");
    for (const char* name : {"TILE0001.tga", "sub/Deep.tga", "T.tga", "sub/T.tga"})
        WriteText((gfx / name).string(), "x");
    std::filesystem::create_symlink(gfx / "gone.tga", gfx / "Dangling.tga");
    const std::pair<const char*, const char*> pictures[] = {
        {"TILE0001.tga", "TILE0001.tga"}, {"tile0001.TGA", "TILE0001.tga"}, {"missing.tga", "missing.tga"},
        {"sub\\deep.tga", "sub/Deep.tga"}, {"sub/Deep.tga", "sub/Deep.tga"}, {"Dangling.tga", "Dangling.tga"},
        {"dangling.tga", "Dangling.tga"}, {"", ""}, {".", "."}, {"..", ".."}, {"\\T.tga", "T.tga"}, {"/T.tga", "T.tga"},
        {"C:\\T.tga", "T.tga"}, {"c:T.tga", "T.tga"}, {"\\\\sub\\T.tga", "sub/T.tga"}, {"C:/sub/T.tga", "sub/T.tga"},
    };
    TPictureFinder finder(gfx);
    for (const auto& [name, found] : pictures) {
        EXPECT_EQ(finder.Find(name), gfx / found) << name;
        EXPECT_EQ(finder.Find(name), FindCaseInsensitive(GraphicsFile(gfx, name))) << name;
    }
    // A picture written after the folder was listed is still found.
    WriteText(dir / "gfx/Later.tga", "x");
    EXPECT_EQ(finder.Find("later.tga"), gfx / "Later.tga");
    EXPECT_EQ(finder.Find("Later.tga"), gfx / "Later.tga");
}

namespace {

// The set's values, fields in script order: R rule, B border, T tile (ID, index, edges),
// V river, I improvement, S variation rule steps, L the tile index list.
std::string Dump(const TTileFile& set)
{
    static constexpr std::size_t order[15] = {nbNW, nbN, nbNE, nbW, nbCentre, nbE, nbSW, nbS, nbSE,
                                              rvGraphics, rvAlt1, rvAlt2, rvAlt3, rvAlt4, rvAlt5};
    std::string out;
    for (std::size_t i = 0; i < set.TileRuleCount(); ++i)
        for (std::size_t k = 0; k < 15; ++k)
            out += Format(k ? ",%d" : " R%d", static_cast<std::int16_t>(set.TileRule(i).Values[order[k]]));
    for (std::size_t i = 0; i < set.BorderCount(); ++i)
        out += Format(" B%d,%d", set.Border(i).Inside, set.Border(i).Outside);
    for (std::size_t i = 0; i < set.TileCount(); ++i)
        out += Format(" T%d,%d,%d", set.Tile(i).TileID, set.Tile(i).TileIndex, set.Tile(i).BorderEdges);
    for (std::size_t i = 0; i < set.RiverCount(); ++i)
        for (std::size_t k = 0; k < 10; ++k)
            out += Format(k ? ",%d" : " V%d", k ? set.River(i).Directions[order[k - 1]] : set.River(i).ImprovementID);
    for (std::size_t i = 0; i < set.ImprovementCount(); ++i)
        out += Format(" I%d", set.Improvement(i).ImprovementID);
    for (std::size_t i = 0; i < set.VariationRuleCount(); ++i)
        for (std::size_t k = 0; k <= set.VariationRule(i).StepCount(); ++k)
            out += k ? Format(k > 1 ? ",%08X" : "%08X", set.VariationRule(i).Step(k - 1)) : " S";
    for (std::size_t k = 0; k < set.TileIndexList().size(); ++k)
        out += (k ? "," : " L") + set.TileIndexList()[k];
    return out.substr(out.empty() ? 0 : 1);
}

const char* const AFolder = "<folder>"; // a folder stands where the script should be

class ScriptFiles : public ::testing::Test {
protected:
    // A fresh folder with the script s.src (none for nullptr) and a tile picture at picture.
    void Fresh(const char* script, const std::string& picture = "s/T.tga")
    {
        Dir.emplace();
        Script = *Dir / "s.src", LogFile = *Dir / "s.log";
        std::filesystem::create_directories((Dir->Path() / picture).parent_path());
        TTile(0x00203040, 0).ExportTGA(*Dir / picture, 0x7C1F, 0x83E0);
        std::string text;
        for (const std::string& line : Lines(script && script != AFolder ? script : ""))
            text += line + "\r\n";
        if (script == AFolder)
            std::filesystem::create_directory(Script);
        else if (script)
            WriteText(Script, text);
    }

    // Lines or messages given as "a|b", with '@' standing for the folder, "H" for the header;
    // "E:x" is "ERROR: Error generating x", "N:x" "ERROR: Error reading number of x" and "L:x"
    // the line message quoting x.
    std::vector<std::string> Lines(const std::string& text) const
    {
        std::vector<std::string> lines(text.empty() ? 0 : 1);
        for (char c : text)
            c == '|' ? lines.emplace_back() : lines.back() += c == '@' ? Dir->Path().string() : std::string(1, c);
        for (std::string& line : lines)
            line = line == "H"               ? "Kestrund Script v.1.1"
                   : line.starts_with("E:") ? "ERROR: Error generating " + line.substr(2)
                   : line.starts_with("N:") ? "ERROR: Error reading number of " + line.substr(2)
                   : line.starts_with("L:") ? "     Line: \"" + line.substr(2) + "\""
                                            : line;
        return lines;
    }

    std::optional<TScratchDir> Dir;
    std::string Script, LogFile;
    TTileFile Set;
};

// A script, the result code (-1: the import fails as a whole, its reason the last message), the log less
// the section summaries and the closing message, and the Dump of the set afterwards (it held tile 99 before).
struct TImportRow {
    const char* Script;
    int Code;
    const char *Log, *Set;
    bool Append = false;
    const char* Picture = "s/T.tga";
};

#define TILE "|0|0|1|7 2 0001 T.tga|0|0|0"
#define VARIATIONS "H|$7C1F $83E0|0|0|0|0|0|"
const TImportRow ImportRows[] = {
    // The graphics folder: named like the script, on the colours line, on a line of its own,
    // nested, quoted, absolute, and a Windows script's names in another case.
    {"H|$00007C1F $000083E0" TILE, 0, "", "T7,2,1 L02"},
    {"H|gfx $7C1F $83E0" TILE, 0, "", "T7,2,1 L02", false, "gfx/T.tga"},
    {"H|gfx\\|$7C1F,$83E0" TILE, 0, "", "T7,2,1 L02", false, "gfx/T.tga"},
    {"H|sub\\deep\\ $7C1F $83E0" TILE, 0, "", "T7,2,1 L02", false, "sub/deep/T.tga"},
    {"H|\"with blank\" $7C1F $83E0" TILE, 0, "", "T7,2,1 L02", false, "with blank/T.tga"},
    {"H|\"@/abs\" $7C1F $83E0" TILE, 0, "", "T7,2,1 L02", false, "abs/T.tga"},
    {"H|CaSe\\ $7C1F $83E0" TILE, 0, "", "T7,2,1 L02", false, "case/t.TGA"},
    // Broken frames; the set is cleared only once the header was accepted.
    {"Kestrund Script v.1.1 ", 1, "ERROR: \"@/s.src\" is not a valid script-file", "T99,0,0 L00"},
    {"kestrund script v.1.1", 1, "ERROR: \"@/s.src\" is not a valid script-file", "T99,0,0 L00"},
    {"", 1, "ERROR: \"@/s.src\" is not a valid script-file", "T99,0,0 L00"},
    {nullptr, 15, "ERROR: Error reading file: \"@/s.src\" or file not found", "T99,0,0 L00"},
    {AFolder, 15, "ERROR: Error reading file: \"@/s.src\" or file not found", "T99,0,0 L00"},
    {"H|a b c d", 2, "ERROR: Error reading default colors at Line 1\n\r:Invalid number of arguments|L:a b c d", ""},
    {"H||$7C1F zz // colours", 2,
     "ERROR: Error reading default colors at Line 2\n\r: 'zz' is not a valid integer value|L:$7C1F zz ", ""},
    {"H|gfx|$7C1F", 2, "ERROR: Error reading default colors at Line 2\n\r: List index out of bounds (1)|L:$7C1F", ""},
    {"H|$7C1F $83E0|12 // rules", 3, "N:TileRules at Line 2\n\r: '12 ' is not a valid integer value|L:12 ", ""},
    {"H|$7C1F $83E0|0|-", 4, "N:TileBorders at Line 3\n\r: '-' is not a valid integer value|L:-", ""},
    {"H|$7C1F $83E0|0|0|-", 5, "N:Tiles at Line 4\n\r: '-' is not a valid integer value|L:-", ""},
    {"H|$7C1F $83E0|0|0|0|-", 6, "N:Rivers at Line 5\n\r: '-' is not a valid integer value|L:-", ""},
    {"H|$7C1F $83E0|0|0|0|0|-", 7, "N:TileImprovements at Line 6\n\r: '-' is not a valid integer value|L:-", ""},
    {VARIATIONS "-", 8, "N:VariationRules at Line 7\n\r: '-' is not a valid integer value|L:-", ""},
    // Bad elements keep what was read; a word in place of a number gives -1 in a rule, 0 in a river.
    {"H|$7C1F $83E0|2|{ 1 2 3 4 5 6 7 8 9 10 11 12 13 14 }|{| 1 2 3 // north row|| 4 5 6|7,8,9|  10 11 x 13 14 15|}"
     "|0|0|0|0|0", 17, "E:rule number 0 at line 3: Invalid number of arguments|L: 1 2 3 4 5 6 7 8 9 10 11 12 13 14 ",
     "R-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1 R1,2,3,4,5,6,7,8,9,10,11,-1,13,14,15"},
    {"H|$7C1F $83E0|0|2|1 2 T.tga 5|258 3 T.tga|2|1 2 0001|x 2 0001 T.tga|1|{ 9 x 2 3 4 5 6 7 8 9 R.tga }|0|0", 17,
     "E:border number 0 at line 4: 5 not in the range 0-4|L:1 2 T.tga 5|E:tile number 0 at line 7: Invalid number of "
     "arguments|L:1 2 0001|E:tile number 1 at line 8: 'x' is not a valid integer value|L:x 2 0001 T.tga|"
     "E:tile number 0 at line 10: Error loading \"@/s/R.tga\"|L: 9 x 2 3 4 5 6 7 8 9 R.tga ",
     "B1,2 B258,3 T0,0,0 T0,0,0 V9,0,2,3,4,5,6,7,8,9 L00"},
    // Variation rules: a block of 3 numbers a step, an empty block, "$" steps on one line, too few
    // numbers, too few items. The fuzz targets found one-line rules that announce more steps than
    // they hold, which used to get them all first (256 KB for a short line); now they get none.
    {VARIATIONS "6|{ 1 2 45  3,4,7 9 }|{|}|2 $00010041 $FFFF0083|{ 5 1 }|3 $1 $2|65535 $00010041", 17,
     "E:last block number 4 at line 13: List index out of bounds (3)|L:3 $1 $2|"
     "E:last block number 5 at line 14: List index out of bounds (2)|L:65535 $00010041",
     "S002D0042,000700C4 S S00010041,FFFF0083 S S00000000 S00000000"},
    // The older version writes hexadecimal steps without a prefix, always on one line.
    {"Kestrund Script v.1.0|$7C1F $83E0|0|0|0|0|0|3|2 00010041 FFFF0083|65535|3 00010041 x", 17,
     "E:last block number 1 at line 9: List index out of bounds (1)|L:65535|"
     "E:last block number 2 at line 10: '$x' is not a valid integer value|L:3 00010041 x",
     "S00010041,FFFF0083 S00000000 S00000000"},
    // Appended elements are numbered after the set's own.
    {"H|$7C1F $83E0|0|0|2|1 0 0 A.tga|2 0 0 B.tga|0|0|0", 17,
     "E:tile number 1 at line 5: Error loading \"@/s/A.tga\"|L:1 0 0 A.tga|"
     "E:tile number 2 at line 6: Error loading \"@/s/B.tga\"|L:2 0 0 B.tga",
     "T99,0,0 T1,0,0 T2,0,0 L00", true},
    // Ending early: among the improvements with code 13, elsewhere the import fails as a whole,
    // as it does for a count the set cannot take and a malformed colour on a tile line.
    {"H|$7C1F $83E0|0|0|0|0|2|1 A.tga", 13,
     "E:tile improvement number 0 at line 7: Error loading \"@/s/A.tga\"|L:1 A.tga|"
     "E:tile improvement number 1 at line 8: Unexpected end of the script file|L:%s",
     "I1"},
    {"H|$7C1F $83E0|0|0|3|1 0 0 A.tga", -1,
     "E:tile number 1 at line 5: Error loading \"@/s/A.tga\"|L:1 0 0 A.tga|Unexpected end of the script file",
     "T99,0,0 T1,0,0 L00", true},
    {"H|$7C1F $83E0|-1", -1, "The tile set cannot take -1 more TileRules", ""},
    {"H|$7C1F $83E0|0|0|1|1 0 0 A.tga zz|0|0|0", -1, "Tile number 0 at line 5: 'zz' is not a valid integer value",
     "T0,0,0 L00"},
};

} // namespace

TEST_F(ScriptFiles, ResultLogAndSet)
{
    for (const TImportRow& row : ImportRows) {
        SCOPED_TRACE(row.Script ? row.Script : "no file");
        Fresh(row.Script, row.Picture);
        Set.Clear();
        Set.AddTile(std::make_unique<TTile>()).TileID = 99;
        std::vector<std::string> log;
        int code = -1;
        const auto reason = Thrown<EScriptImportError>([&] { code = ImportScript(Set, Script, &log, row.Append); });
        if (code == -1)
            log.push_back(reason);
        std::erase_if(log, [](const std::string& m) {
            return m.ends_with("\n\r") || m.starts_with("There was no errors") || m.starts_with("ERROR: Some elements");
        });
        EXPECT_EQ(code, row.Code);
        EXPECT_EQ(log, Lines(row.Log));
        EXPECT_EQ(Dump(Set), row.Set);

        // The editor's import leaves the open set as it was when the import fails or finds no script;
        // a Simple log is written only after a finished import, a Total one keeps what was written.
        const auto open = MakeSmallSet(cmRGB565);
        const int level = row.Append ? llTotal : llSimple;
        code = -1;
        Thrown<EScriptImportError>([&] { code = ImportScriptInto(*open, Script, LogFile, row.Append, level); });
        EXPECT_EQ(code, row.Code);
        EXPECT_EQ(std::filesystem::exists(LogFile), code != -1 || row.Append);
        const bool failed = code == -1 || code == srNotAScript || code == srReadError;
        EXPECT_EQ(bool(SameSet(*open, *MakeSmallSet(cmRGB565))), failed);
    }
}

// Counts are 16-bit: the largest one still fits.
TEST_F(ScriptFiles, SectionOf65535Elements)
{
    std::string script = "Kestrund Script v.1.0|$7C1F $83E0|0|0|0|0|0|65535";
    for (int i = 0; i < 65535; ++i)
        script += "|0";
    Fresh(script.c_str());
    std::vector<std::string> log;
    EXPECT_EQ(ImportScript(Set, Script, &log, false), srSuccess);
    EXPECT_EQ(Set.VariationRuleCount(), 65535u);
    EXPECT_EQ(log.size(), 7u); // six section summaries and the closing message
    EXPECT_EQ(log.at(5), "65535 of 65535 VariationRules successfully loaded\n\r");
    EXPECT_EQ(log.at(6), "There was no errors converting \"" + Script + "\"");
}

// Each message with the levels that write it (1 Simple, 2 Extensive, 4 Total; 8: an element
// starts next, when the file must hold every message so far).
TEST_F(ScriptFiles, LogLevelsAndTheirFileWhichIsNeverTheScript)
{
    const std::pair<int, const char*> messages[] = {
        {6, "\"@/s.src\" successfully loaded\n\r   Processing started"}, {6, "Decommenting succesfull\n\r"},
        {6, "Default values successfully read\n\r"}, {14, "There are 1 TileRules to load"},
        {4, "Rule number 0 at line 3 successfully loaded"}, {7, "1 of 1 Rules successfully loaded\n\r"},
        {14, "There are 1 TileBorders to load"}, {4, "Border number 0 at line 5 successfully loaded from \"T.tga\""},
        {7, "1 of 1 Borders successfully loaded\n\r"}, {14, "There are 1 Tiles to load"},
        {4, "Tile number 0 at line 7 successfully loaded from \"T.tga\""}, {7, "1 of 1 Tiles successfully loaded\n\r"},
        {14, "There are 2 Rivers to load"}, {12, "River number 0 at line 9 successfully loaded from \"T.tga\""},
        {7, "ERROR: Error generating tile number 1 at line 11: Error loading \"@/s/R.tga\""},
        {1, "     Line: \" 8 0 0 0 0 0 0 0 0 0   R.tga \""}, // the Simple level quotes the block
        {6, "     Line: \"  R.tga }\""}, {7, "1 of 2 Rivers successfully loaded\n\r"},
        {14, "There are 1 TileImprovements to load"},
        {4, "Til improvement number 0 at line 13 successfully loaded from \"T.tga\""},
        {7, "1 of 1 Tile Improvements successfully loaded\n\r"}, {14, "There are 1 VariationRules to load"},
        {4, "VariationRule number 0 at line 15 successfully loaded"},
        {7, "1 of 1 VariationRules successfully loaded\n\r"},
        {7, "ERROR: Some elements of \"@/s.src\" were not loaded successfully"},
    };
    Fresh("H|$00007C1F $000083E0|1|{ 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 }|1|1 2 T.tga|1|7 2 0001 T.tga|2|"
          "{ 9 0 1 2 0 0 0 0 0 0 T.tga }|{ 8 0 0 0 0 0 0 0 0 0|  R.tga }|1|5 T.tga|1|{ 1 2 3 }");
    WriteText(LogFile, std::string(5000, '\x01')); // replaced, not appended to
    for (int level : {llTotal, llExtensive, llSimple}) {
        std::vector<std::string> expected;
        std::vector<std::vector<std::string>> atElements, seen;
        for (const auto& [levels, text] : messages) {
            if (levels >> level & 1)
                expected.push_back(Lines(text).at(0));
            if (levels & 8)
                atElements.push_back(expected);
        }
        const auto progress = [&](const TImportProgress&) { seen.push_back(LogMessages(ReadText(LogFile))); };
        EXPECT_EQ(ImportScriptInto(Set, Script, LogFile, false, level, progress), srElementErrors);
        EXPECT_EQ(LogMessages(ReadText(LogFile)), expected) << level;
        if (level != llSimple) { // whose file is written when the import is over
            EXPECT_EQ(seen, atElements) << level;
        }
        EXPECT_EQ(Set.RiverCount(), 2u) << "the open set is replaced";
        EXPECT_THROW(ImportScriptInto(Set, Script, *Dir / "no/s.log", false, level), EFileCreateError);
    }
    // A log that would be the script, by its name or through a link, is refused before anything is read or written.
    const std::string text = ReadText(Script);
    std::filesystem::remove(LogFile);
    std::filesystem::create_symlink(Script, LogFile);
    for (int level : {llSimple, llExtensive, llTotal}) {
        EXPECT_THROW(ImportScriptInto(Set, Script, LogFile, false, level), EScriptNameError);
        EXPECT_THROW(ImportScriptInto(Set, LogFile, LogFile, false, level), EScriptNameError);
        EXPECT_THROW(ImportScriptLogged(Set, Script, LogFile, false, level), EScriptNameError);
    }
    EXPECT_EQ(ReadText(Script), text);
}

// Every record form, with values at the edges of its fields: imported (the pictures are
// missing, but the values stay) and written again, the text comes back.
TEST_F(ScriptFiles, RecordFormsOfEveryKind)
{
    Fresh("H|// This file was generated using Vellomar|// Dafault Transparant and Shadow colors||$00FF00FF $80000000||"
          "// TileRules||1|{|  -32768     20     50|       0     40     80|      30     60     70||"
          "      90    100    110    120    130     -1|}||// TileBorders||1|4609    2 BORD0102.tga||"
          "// Tiles||2| 65535    3 0101 TILEFFFF.tga|     0    0 11111 TILE0000.tga||"
          "// Rivers||1|{|2748 |  1 2 5|  0 65535 8|  3 6 7|  RIVE0ABC.tga|}||// Improvements||1|12345 TIMP3039.tga||"
          "// VariationRule||2|{|  01,2,0045|  123,31,65535|}|{|}||// End Of Script File");
    Set.TransparentColor = 0x00FF00FF;
    Set.ShadowColor = 0x80000000;
    EXPECT_EQ(ImportScript(Set, Script, nullptr, false), srElementErrors);
    const std::string text = ReadText(Script);
    EXPECT_EQ(ScriptText(Set), text);
    // Exported, the pictures come first and go beside the script (an empty overlay's is one transparent
    // pixel); a script without extension, which would be its own folder, is refused before the first.
    EXPECT_THROW(ExportScript(Set, "nowhere", *Dir / "out.src"), EFileCreateError);
    EXPECT_THROW(ExportScript(Set, "s", *Dir / "s"), EScriptNameError);
    EXPECT_EQ(Dir->Entries(), (std::vector<std::string>{"s", "s.src"}));
    EXPECT_FALSE(std::filesystem::exists(*Dir / "s/BORD0102.tga"));
    ExportScript(Set, ".", *Dir / "out.src");
    EXPECT_EQ(ReadText(*Dir / "out.src"), text);
    EXPECT_EQ(Dir->Entries(), (std::vector<std::string>{"BORD0102.tga", "RIVE0ABC.tga", "TILE0000.tga",
                                                        "TILEFFFF.tga", "TIMP3039.tga", "out.src", "s", "s.src"}));
}

// Every element comes back exactly: pictures that share a name get names of their own, overlays
// without lines come back without errors, and pictures that hold the key colours as pixels name
// their own colours while the colours line keeps the set's.
TEST_F(ScriptFiles, EveryElementComesBackExactly)
{
    auto shared = MakeRichSet(7, false);
    shared->Border(1).Inside = 0x101; // low bytes 01 07, as border 0
    shared->Border(2).Inside = 0x201, shared->Border(2).Outside = 0x307;
    shared->Tile(1).TileID = shared->Tile(3).TileID = shared->Tile(0).TileID;
    shared->River(2).ImprovementID = shared->River(0).ImprovementID;
    shared->Improvement(3).ImprovementID = shared->Improvement(0).ImprovementID;
    shared->River(1).Clear();
    shared->Improvement(2).Clear();
    const std::string names = "BORD0107 BORD0107_2 BORD0107_3 TILE0064 TILE0064_2 TILE00AE TILE0064_3 TILE00F8 "
                              "RIVE0001 RIVE0002 RIVE0001_2 TIMP0200 TIMP0201 TIMP0202 TIMP0200_2 ";
    std::unique_ptr<TTileFile> sets[] = {MakeRichSet(11, true), std::make_unique<TTileFile>(), std::move(shared)};
    for (const auto& set : sets) {
        Fresh(nullptr); // the graphics folder s is there
        ExportScript(*set, "s", Script);
        TTileFile imported;
        EXPECT_EQ(ImportScriptInto(imported, Script, LogFile, false, llSimple), srSuccess);
        EXPECT_TRUE(SameSet(*set, imported));
        EXPECT_EQ(imported.SaveToMemory(cmRGB555), set->SaveToMemory(cmRGB555));
        const std::string script = ReadText(Script);
        EXPECT_NE(script.find("\r\n$00007C1F $000083E0\r\n"), std::string::npos);
        EXPECT_EQ(script.find("$", script.find("// TileRules")) != std::string::npos, set == sets[0]);
    }
    std::istringstream words(ReadText(Script)); // the last set's, whose pictures share names
    std::string pictures;
    for (std::string word; words >> word;)
        pictures += word.ends_with(".tga") ? word.substr(0, word.size() - 4) + " " : "";
    EXPECT_EQ(pictures, names);
}

// The build's demo files are what the generator draws and its script gives them back; its tile rules
// resolve every neighbour.
TEST(DemoSet, FilesScriptAndRules)
{
    const auto set = MakeDemoSet();
    const std::string folder = KESTRUND_DEMO_DIR;
    TTileFile imported;
    EXPECT_EQ(ImportScript(imported, folder + "/demo.src", nullptr, false), srSuccess);
    for (const int mode : {cmRGB555, cmRGB565}) {
        const auto file = set->SaveToMemory(mode);
        EXPECT_EQ(LoadBytes(folder + (mode ? "/gtset565.til" : "/gtset555.til")), file)
            << "the build wrote what the generator draws";
        TTileFile loaded;
        loaded.ColorMode = static_cast<std::uint8_t>(mode);
        loaded.LoadFromMemory(file, false);
        EXPECT_EQ(loaded.SaveToMemory(mode), file);
        EXPECT_EQ(imported.SaveToMemory(mode), file) << "the script gives the set back";
    }

    // Every rule finds each neighbour its preview shows (N, NW, NE, W, centre, E, SW, SE, S), by ID: the IDs
    // have gaps.
    EXPECT_NE(set->Tile(1).TileID, set->Tile(0).TileID + 1);
    std::size_t count = 0;
    const TDemoTerrain* terrains = DemoTerrains(count);
    const int slot[9] = {nbN, nbNW, nbNE, nbW, nbCentre, nbE, nbSW, nbSE, nbS};
    for (std::size_t r = 0; r < set->TileRuleCount(); ++r)
        for (int i = 0; i < 9; ++i) {
            const std::uint16_t code = set->TileRule(r).Values[static_cast<std::size_t>(slot[i])];
            const auto terrain = std::find_if(terrains, terrains + count, [&](auto& t) { return t.Code == code; });
            const TTile* tile = set->TileRule(r).PreviewTile(i);
            EXPECT_EQ(tile ? tile->TileID : -1, terrain == terrains + count ? 0xFFFF : terrain->TileID)
                << "rule " << r << " entry " << i;
        }
}
