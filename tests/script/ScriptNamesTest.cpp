// Names around a script: its pictures' names, its own name, its log's and its folder's.

#include "ScriptExport.h"
#include "ScriptImport.h"
#include "ScriptPaths.h"
#include "SetBuilders.h"
#include "Scratch.h"

#include <gtest/gtest.h>

using namespace kestrund;
using namespace kestrund::testing;
namespace fs = std::filesystem;

TEST(ScriptNames, ALogThatWouldBeTheScriptIsRefused)
{
    const std::string text = "Kestrund Script v.1.1\r\n$7C1F $83E0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n";
    const struct {
        std::string Script;
        std::string Link; // made a link to the script when not empty
        bool Refused;
    } cases[] = {
        {"s.log", "", true},
        {"s.src", "s.log", true},
        {"s.src", "", false},
    };
    for (const auto& c : cases) {
        TScratchDir dir;
        WriteText(dir / c.Script, text);
        if (!c.Link.empty())
            fs::create_symlink(dir / c.Script, dir / c.Link);
        TTileFile set;
        for (int level : {llSimple, llTotal}) {
            if (!c.Refused) {
                EXPECT_EQ(ImportScriptInto(set, dir / c.Script, dir / "s.log", false, level), srSuccess);
                continue;
            }
            EXPECT_THROW(ImportScriptInto(set, dir / c.Script, dir / "s.log", false, level), EScriptNameError);
            EXPECT_THROW(ImportScriptLogged(set, dir / c.Script, dir / "s.log", false, level), EScriptNameError);
            EXPECT_EQ(ReadText(dir / c.Script), text) << c.Script;
        }
    }
}

TEST(ScriptNames, PictureNamesStayInsideTheGraphicsFolder)
{
    TScratchDir dir;
    fs::create_directory(dir.Path() / "sub");
    WriteText(dir / "T.tga", "");
    WriteText(dir / "sub/T.tga", "");
    const struct {
        std::string Name;
        std::string Found;
    } cases[] = {
        {"T.tga", "T.tga"},          {"\\T.tga", "T.tga"},         {"/T.tga", "T.tga"},
        {"C:\\T.tga", "T.tga"},      {"c:T.tga", "T.tga"},         {"\\\\sub\\T.tga", "sub/T.tga"},
        {"C:/sub/T.tga", "sub/T.tga"},
    };
    TPictureFinder finder(dir.Path());
    for (const auto& c : cases)
        EXPECT_EQ(finder.Find(c.Name), dir.Path() / c.Found) << c.Name;
}

TEST(ScriptNames, TheScriptsOwnNameAndItsFolder)
{
    const struct {
        std::string Script;
        std::string Path;   // the script file
        std::string Folder; // its graphics folder, empty when refused
    } cases[] = {
        {"d/a.src", "d/a.src", "d/a"},
        {"d\\sub\\a.src", "d/sub/a.src", "d/sub/a"},
        {"d/a", "d/a", ""},
        {"d/.src", "d/.src", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScriptFilePath(c.Script), fs::path(c.Path));
        if (c.Folder.empty())
            EXPECT_THROW(ScriptGraphicsFolder(c.Script), EScriptNameError) << c.Script;
        else
            EXPECT_EQ(ScriptGraphicsFolder(c.Script), fs::path(c.Folder));
    }
    // The writer refuses too, before its first picture.
    TScratchDir dir;
    fs::create_directory(dir.Path() / "a");
    EXPECT_THROW(ExportScript(TTileFile(), "a", dir / "a"), EScriptNameError);
    EXPECT_TRUE(fs::is_empty(dir.Path() / "a"));
}
