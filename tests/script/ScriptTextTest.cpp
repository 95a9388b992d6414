// Text pieces of scripts and the names around them.

#include "Errors.h"
#include "ScriptPaths.h"
#include "ScriptText.h"
#include "Scratch.h"

#include <gtest/gtest.h>

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

TEST(ScriptPaths, LogNameBaseNameAndPictures)
{
    EXPECT_EQ(LogFileNameFor("C:\\sets\\forest"), "C:\\sets\\forest.log");
    EXPECT_EQ(LogFileNameFor("C:\\sets\\.src"), "C:\\sets\\.log");
    EXPECT_EQ(LogFileNameFor("/home/a.b/forest"), "/home/a.b/forest.log");
    EXPECT_EQ(LogFileNameFor("/home/ab/forest.v2.src"), "/home/ab/forest.v2.log");
    EXPECT_EQ(ScriptBaseName("/home/a.b/forest.src"), "forest");
    EXPECT_EQ(ScriptBaseName("C:\\x\\set"), "set");

    // The import's picture finder answers as FindCaseInsensitive does for every name form.
    TScratchDir dir;
    const std::filesystem::path gfx = dir.Path() / "gfx";
    std::filesystem::create_directories(gfx / "sub");
    WriteText(dir / "gfx/TILE0001.tga", "x");
    WriteText(dir / "gfx/sub/Deep.tga", "x");
    std::filesystem::create_symlink(gfx / "gone.tga", gfx / "Dangling.tga");
    TPictureFinder finder(gfx);
    for (const char* name : {"TILE0001.tga", "tile0001.TGA", "missing.tga", "sub\\deep.tga", "sub/Deep.tga",
                             "Dangling.tga", "dangling.tga", "", ".", ".."})
        EXPECT_EQ(finder.Find(name), FindCaseInsensitive(GraphicsFile(gfx, name))) << name;
    // A picture written after the folder was listed is still found.
    WriteText(dir / "gfx/Later.tga", "x");
    EXPECT_EQ(finder.Find("later.tga"), gfx / "Later.tga");
    EXPECT_EQ(finder.Find("Later.tga"), gfx / "Later.tga");
}
