// Names around a script: its pictures' names, its own name, its log's and its folder's.

#include "ScriptExport.h"
#include "ScriptImport.h"
#include "ScriptPaths.h"
#include "SetBuilders.h"
#include "Scratch.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace kestrund;
using namespace kestrund::testing;
namespace fs = std::filesystem;

namespace {

// The picture names of the script's records that start with prefix, in order.
std::vector<std::string> PictureNames(const std::string& script, const std::string& prefix)
{
    std::vector<std::string> names;
    std::istringstream words(script);
    for (std::string word; words >> word;)
        if (word.rfind(prefix, 0) == 0)
            names.push_back(word);
    return names;
}

int ExportImport(const TTileFile& original, TTileFile& imported, const TScratchDir& dir)
{
    fs::create_directory(dir.Path() / "set");
    ExportScript(original, "set", dir / "set.src");
    return ImportScriptInto(imported, dir / "set.src", dir / "set.log", false, llSimple);
}

} // namespace

TEST(ScriptNames, PicturesSharingANameGetNamesOfTheirOwn)
{
    auto set = MakeRichSet(7, false);
    set->Border(1).Inside = 0x101; // low bytes 01 07, as border 0
    set->Border(2).Inside = 0x201;
    set->Border(2).Outside = 0x307;
    set->Tile(1).TileID = set->Tile(3).TileID = set->Tile(0).TileID;
    set->River(2).ImprovementID = set->River(0).ImprovementID;
    set->Improvement(3).ImprovementID = set->Improvement(0).ImprovementID;
    const struct {
        std::string Prefix;
        std::vector<std::string> Names;
    } cases[] = {
        {"BORD", {"BORD0107.tga", "BORD0107_2.tga", "BORD0107_3.tga"}},
        {"TILE", {"TILE0064.tga", "TILE0064_2.tga", "TILE00AE.tga", "TILE0064_3.tga", "TILE00F8.tga"}},
        {"RIVE", {"RIVE0001.tga", "RIVE0002.tga", "RIVE0001_2.tga"}},
        {"TIMP", {"TIMP0200.tga", "TIMP0201.tga", "TIMP0202.tga", "TIMP0200_2.tga"}},
    };
    TScratchDir dir;
    TTileFile imported;
    ASSERT_EQ(ExportImport(*set, imported, dir), srSuccess);
    for (const auto& c : cases)
        EXPECT_EQ(PictureNames(ReadText(dir / "set.src"), c.Prefix), c.Names) << c.Prefix;
    EXPECT_TRUE(SameSet(*set, imported));
}

TEST(ScriptNames, OverlaysWithoutLinesComeBackWithoutErrors)
{
    std::unique_ptr<TTileFile> sets[] = {std::make_unique<TTileFile>(), MakeRichSet(5, false)};
    sets[1]->River(1).Clear();
    sets[1]->Improvement(2).Clear();
    for (const auto& set : sets) {
        TScratchDir dir;
        TTileFile imported;
        EXPECT_EQ(ExportImport(*set, imported, dir), srSuccess);
        EXPECT_EQ(imported.SaveToMemory(cmRGB555), set->SaveToMemory(cmRGB555));
    }
}

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
