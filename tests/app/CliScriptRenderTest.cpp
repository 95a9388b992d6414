// kestrund-cli export-script, import-script and render.

#include "CliCommands.h"
#include "SetBuilders.h"
#include "Scratch.h"

#include "FileUtil.h"
#include "TileFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

namespace kestrund::cli {
namespace {

namespace fs = std::filesystem;
using kestrund::testing::TScratchDir;

struct TResult {
    int Code;
    std::string Out;
    std::string Err;
};

TResult RunCommand(std::vector<std::string> args)
{
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

// What ImageMagick, an independent reader, says of a picture: "FORMAT WxH".
std::string Identify(const std::string& file)
{
    const std::string command = "identify -format '%m %wx%h' '" + file + "' 2>/dev/null";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return "";
    char buffer[256] = {};
    const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, pipe);
    ::pclose(pipe);
    return std::string(buffer, n);
}

class CliScripts : public ::testing::Test {
protected:
    CliScripts()
    {
        auto set = kestrund::testing::MakeRichSet(21, false);
        set->SaveToFile(Dir / "in.til", 0);
    }
    TScratchDir Dir;
};

TEST_F(CliScripts, ExportThenImportGivesTheSameFile)
{
    const TResult exported = RunCommand({"export-script", Dir / "in.til", Dir / "set.src"});
    ASSERT_EQ(exported.Code, ExitSuccess) << exported.Err;
    EXPECT_TRUE(fs::exists(Dir.Path() / "set/TILE0064.tga"));
    const TResult imported = RunCommand({"import-script", Dir / "set.src", "--out555", Dir / "back.til", "--log-level", "2"});
    ASSERT_EQ(imported.Code, 0) << imported.Err;
    EXPECT_EQ(ReadWholeFile(Dir / "back.til"), ReadWholeFile(Dir / "in.til"));
    EXPECT_NE(kestrund::testing::ReadText(Dir / "set.log").find("Tile number 0 at line"), std::string::npos);
}

TEST_F(CliScripts, ExportRefusesToOverwriteUnlessForced)
{
    ASSERT_EQ(RunCommand({"export-script", Dir / "in.til", Dir / "set.src"}).Code, ExitSuccess);
    const TResult again = RunCommand({"export-script", Dir / "in.til", Dir / "set.src"});
    EXPECT_EQ(again.Code, ExitFailure);
    EXPECT_NE(again.Err.find("The directory '" + Dir / "set" + "' already exists"), std::string::npos) << again.Err;
    EXPECT_EQ(RunCommand({"export-script", Dir / "in.til", Dir / "set.src", "--force"}).Code, ExitSuccess);

    kestrund::testing::WriteText(Dir / "other", "a file");
    const TResult blocked = RunCommand({"export-script", Dir / "in.til", Dir / "other.src"});
    EXPECT_EQ(blocked.Code, ExitFailure);
    EXPECT_NE(blocked.Err.find("A file named '" + Dir / "other" + "' already exists"), std::string::npos);
    EXPECT_FALSE(fs::exists(Dir.Path() / "other.src"));
}

TEST_F(CliScripts, ImportExitsWithTheResultCode)
{
    kestrund::testing::WriteText(Dir / "bad.src", "not a script\r\n");
    const TResult bad = RunCommand({"import-script", Dir / "bad.src", "--out555", Dir / "x.til"});
    EXPECT_EQ(bad.Code, 1);
    EXPECT_FALSE(fs::exists(Dir.Path() / "x.til")) << "a failed import writes no tile file";
    EXPECT_EQ(kestrund::testing::ReadText(Dir / "bad.log"),
              "ERROR: \"" + Dir / "bad.src" + "\" is not a valid script-file\r\n");

    // A fresh set's script, appended to a base.
    TTileFile fresh;
    fresh.SaveToFile(Dir / "fresh.til", 0);
    ASSERT_EQ(RunCommand({"export-script", Dir / "fresh.til", Dir / "fresh.src"}).Code, 0);
    const TResult partial = RunCommand({"import-script", Dir / "fresh.src", "--append", Dir / "in.til", "--out565", Dir / "y.til"});
    EXPECT_EQ(partial.Code, 0);
    TTileFile y;
    y.LoadFromFile(Dir / "y.til", false);
    TTileFile in;
    in.LoadFromFile(Dir / "in.til", false);
    EXPECT_EQ(y.TileCount(), in.TileCount() + 1) << "appended to the base";

    // A script that ends early fails as a whole, with the reason.
    kestrund::testing::WriteText(Dir / "short.src", "Kestrund Script v.1.1\r\n$7C1F $83E0\r\n0\r\n0\r\n2\r\n");
    const TResult shortRun = RunCommand({"import-script", Dir / "short.src"});
    EXPECT_EQ(shortRun.Code, ExitFailure);
    EXPECT_NE(shortRun.Err.find("Unexpected end of the script file"), std::string::npos);

    EXPECT_EQ(RunCommand({"import-script", Dir / "fresh.src", "--log-level", "3"}).Code, ExitUsage);
}

TEST_F(CliScripts, RenderWritesTheViewsPictures)
{
    struct Case {
        std::vector<std::string> options;
        std::string file;
        std::string identified;
    };
    const Case cases[] = {
        {{}, "single.bmp", "BMP3 98x76"},
        {{"--view", "3x3", "--tile", "2", "--border", "1"}, "square.jpg", "JPEG 294x176"},
        {{"--view", "variation", "--variation", "1"}, "variation.tga", "TGA 290x172"},
        {{"--improvement", "3", "--border-width", "0"}, "improvement.bmp", "BMP3 154x72"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"render", Dir / "in.til", Dir / c.file};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const TResult r = RunCommand(args);
        ASSERT_EQ(r.Code, ExitSuccess) << r.Err;
        EXPECT_EQ(Identify(Dir / c.file), c.identified) << c.file;
    }
    const TResult labels = RunCommand({"render", Dir / "in.til", Dir / "t.bmp", "--tile", "1", "--hex"});
    EXPECT_NE(labels.Out.find("Tile: 0089 01 03\n"), std::string::npos) << labels.Out;

    EXPECT_EQ(RunCommand({"render", Dir / "in.til", Dir / "t.png"}).Code, ExitUsage);
    EXPECT_EQ(RunCommand({"render", Dir / "in.til", Dir / "t.bmp", "--view", "4x4"}).Code, ExitUsage);
    EXPECT_EQ(RunCommand({"render", Dir / "in.til", Dir / "t.bmp", "--border-mask", "16"}).Code, ExitUsage);
    const TResult missing = RunCommand({"render", Dir / "in.til", Dir / "t.bmp", "--tile", "99"});
    EXPECT_EQ(missing.Code, ExitFailure);
    EXPECT_NE(missing.Err.find("--tile 99: the set has 5 tiles"), std::string::npos);
}

} // namespace
} // namespace kestrund::cli
