// The import's picture finder answers as FindCaseInsensitive does for every name form.

#include "ScriptPaths.h"
#include "SetBuilders.h"
#include "Scratch.h"

#include <gtest/gtest.h>

namespace kestrund {
namespace {

using testing::TScratchDir;
using testing::WriteText;
namespace fs = std::filesystem;

TEST(PictureFinder, AnswersAsTheCaseInsensitiveSearch)
{
    TScratchDir dir;
    fs::create_directories(dir.Path() / "gfx" / "sub");
    WriteText(dir / "gfx/TILE0001.tga", "x");
    WriteText(dir / "gfx/sub/Deep.tga", "x");
    fs::create_symlink(dir.Path() / "gfx" / "gone.tga", dir.Path() / "gfx" / "Dangling.tga");

    TPictureFinder finder(dir.Path() / "gfx");
    const std::vector<std::string> names{"TILE0001.tga", "tile0001.TGA", "missing.tga", "sub\\deep.tga",
                                         "sub/Deep.tga", "Dangling.tga", "dangling.tga", "", ".", ".."};
    for (const std::string& name : names)
        EXPECT_EQ(finder.Find(name), FindCaseInsensitive(GraphicsFile(dir.Path() / "gfx", name))) << name;

    // A picture written after the folder was listed is still found.
    WriteText(dir / "gfx/Later.tga", "x");
    EXPECT_EQ(finder.Find("later.tga"), dir.Path() / "gfx" / "Later.tga");
    EXPECT_EQ(finder.Find("Later.tga"), dir.Path() / "gfx" / "Later.tga");
}

TEST(PictureFinder, FolderInAnotherCase)
{
    TScratchDir dir;
    fs::create_directories(dir.Path() / "Gfx");
    WriteText(dir / "Gfx/T.tga", "x");
    TPictureFinder finder(dir.Path() / "gfx");
    EXPECT_EQ(finder.Find("t.TGA"), FindCaseInsensitive(GraphicsFile(dir.Path() / "gfx", "t.TGA")));
    EXPECT_EQ(finder.Find("t.TGA").filename(), "T.tga");
}

} // namespace
} // namespace kestrund
