// kestrund-cli: exit statuses, the reading mode taken from a file's name, and the
// checks made before anything is written.

#include "CliCommands.h"
#include "SetBuilders.h"
#include "Scratch.h"

#include "FileUtil.h"
#include "TileFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace kestrund::cli {
namespace {

namespace fs = std::filesystem;
using namespace kestrund::testing;

struct TRun {
    int Code;
    std::string Out;
    std::string Err;
};

TRun Cli(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

const std::string Empty = "Kestrund Script v.1.1\r\n$7C1F $83E0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n";

class CliChecks : public ::testing::Test {
protected:
    CliChecks() { MakeSmallSet()->SaveToFile(Dir / "gtset565.til", cmRGB565); }
    TScratchDir Dir;
};

TEST_F(CliChecks, EachOutcomeHasItsExitStatus)
{
    const std::string in = Dir / "gtset565.til";
    WriteText(Dir / "bad.src", "not a script\r\n");
    WriteText(Dir / "short.src", "Kestrund Script v.1.1\r\n$7C1F $83E0\r\n0\r\n0\r\n2\r\n");
    WriteText(Dir / "partial.src",
              "Kestrund Script v.1.1\r\n$7C1F $83E0\r\n0\r\n0\r\n1\r\n1 0 0 T.tga\r\n0\r\n0\r\n0\r\n");
    WriteText(Dir / "s.log", Empty);
    WriteText(Dir / "nolog.src", Empty);
    fs::create_directory(Dir.Path() / "nolog.log");
    WriteText(Dir / "fine.src", Empty);
    const struct {
        std::vector<std::string> Args;
        int Code;
        std::string Err; // a part of standard error
    } cases[] = {
        {{"info", Dir / "missing.til"}, ExitFailure, "Cannot open file \"" + Dir / "missing.til" + "\""},
        {{"info"}, ExitUsage, "Try 'kestrund-cli info --help'.\n"},
        {{"import-script", Dir / "bad.src"}, 1, "(result 1); see " + Dir / "bad.log" + "\n"},
        {{"import-script", Dir / "partial.src"}, 17, "were not loaded; see " + Dir / "partial.log" + "\n"},
        {{"import-script", Dir / "short.src"}, ExitFailure, "Unexpected end of the script file\n"},
        {{"import-script", Dir / "s.log"}, ExitFailure, "give the script another extension, such as .src\n"},
        {{"import-script", Dir / "nolog.src"}, ExitLogNotWritten, ""},
        {{"import-script", Dir / "fine.src", "--out565", Dir / "no/x.til"}, ExitSaveFailed, ""},
        {{"export-script", in, Dir / "noext"}, ExitFailure, "named like the script without its extension\n"},
    };
    for (const auto& c : cases) {
        const TRun r = Cli(c.Args);
        EXPECT_EQ(r.Code, c.Code) << c.Args.back() << ": " << r.Err;
        EXPECT_NE(r.Err.find(c.Err), std::string::npos) << r.Err;
    }
    EXPECT_EQ(ReadText(Dir / "s.log"), Empty);
    EXPECT_FALSE(fs::exists(Dir.Path() / "noext"));
    const std::string saveFailed = Cli({"import-script", Dir / "fine.src", "--out565", Dir / "no/x.til"}).Err;
    EXPECT_TRUE(saveFailed.starts_with("kestrund-cli: " + Dir / "fine.src" +
                                       " was imported (result 0), but the tile file was not written: "))
        << saveFailed;
}

TEST_F(CliChecks, WithoutModeTheFilesNameDecides)
{
    fs::create_directory(Dir.Path() / "d565");
    fs::copy_file(Dir / "gtset565.til", Dir / "plain.til");
    fs::copy_file(Dir / "gtset565.til", Dir / "d565/plain.til");
    const std::string note = "kestrund-cli: reading " + Dir / "gtset565.til" +
                             " as 5-6-5 (from its name; --mode sets it)\n";
    const struct {
        std::string File;
        std::vector<std::string> Mode;
        std::string Err;
        std::uint8_t ReadAs;
    } cases[] = {
        {"gtset565.til", {}, note, cmRGB565},
        {"gtset565.til", {"--mode", "555"}, "", cmRGB555},
        {"plain.til", {}, "", cmRGB555},
        {"d565/plain.til", {}, "", cmRGB555},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"save", Dir / c.File, "--out565", Dir / "out.til"};
        args.insert(args.end(), c.Mode.begin(), c.Mode.end());
        const TRun r = Cli(args);
        ASSERT_EQ(r.Code, ExitSuccess) << r.Err;
        EXPECT_EQ(r.Err, c.Err) << c.File;
        TTileFile expected;
        expected.ColorMode = c.ReadAs;
        expected.LoadFromFile(Dir / c.File, false);
        EXPECT_EQ(ReadWholeFile(Dir / "out.til"), expected.SaveToMemory(cmRGB565)) << c.File;
    }
    // Every verb that reads a tile file.
    WriteText(Dir / "e.src", Empty);
    const std::vector<std::string> verbs[] = {
        {"info", Dir / "gtset565.til"},
        {"render", Dir / "gtset565.til", Dir / "v.bmp"},
        {"export-script", Dir / "gtset565.til", Dir / "x.src"},
        {"import-script", Dir / "e.src", "--append", Dir / "gtset565.til"},
    };
    for (const auto& args : verbs) {
        const TRun r = Cli(args);
        EXPECT_EQ(r.Code, ExitSuccess) << args[0];
        EXPECT_EQ(r.Err, note) << args[0];
    }
}

TEST_F(CliChecks, OneFileForBothLayoutsIsAUsageError)
{
    WriteText(Dir / "a.til", "old");
    fs::create_symlink(Dir / "a.til", Dir / "link.til");
    WriteText(Dir / "e.src", Empty);
    const struct {
        std::string Verb;
        std::string Out555, Out565;
        int Code;
    } cases[] = {
        {"save", "a.til", "a.til", ExitUsage},
        {"save", "a.til", "./a.til", ExitUsage},
        {"save", "a.til", "d/../a.til", ExitUsage},
        {"save", "a.til", "link.til", ExitUsage},
        {"import-script", "link.til", "a.til", ExitUsage},
        {"save", "b.til", "c.til", ExitSuccess},
    };
    for (const auto& c : cases) {
        const std::string input = c.Verb == "save" ? Dir / "gtset565.til" : Dir / "e.src";
        const TRun r = Cli({c.Verb, input, "--out555", Dir / c.Out555, "--out565", Dir / c.Out565});
        EXPECT_EQ(r.Code, c.Code) << c.Out565 << r.Err;
        EXPECT_EQ(ReadText(Dir / "a.til"), "old");
    }
    EXPECT_EQ(Cli({"save", Dir / "gtset565.til", "--out555", Dir / "a.til", "--out565", Dir / "a.til"}).Err,
              "kestrund-cli: save: --out555 and --out565 name the same file '" + Dir / "a.til" + "'\n" +
                  "Try 'kestrund-cli save --help'.\n");
}

TEST_F(CliChecks, InfoCountsTheSectionsAFileStoppedBefore)
{
    const auto whole = MakeSmallSet()->SaveToMemory(cmRGB555);
    const struct {
        std::size_t Size;
        std::string Line;
    } cases[] = {
        {whole.size(), "MissingSections: 0\n"},
        {small::VariationRulesAt, "MissingSections: 1\n"},
        {small::RiversAt, "MissingSections: 3\n"},
    };
    for (const auto& c : cases) {
        SaveBytes(Dir / "cut.til", std::vector<std::uint8_t>(whole.begin(), whole.begin() + c.Size));
        const TRun r = Cli({"info", Dir / "cut.til"});
        EXPECT_EQ(r.Code, ExitSuccess) << r.Err;
        EXPECT_TRUE(r.Out.ends_with("TrailingBytes: 0\n" + c.Line)) << r.Out;
    }
}

TEST_F(CliChecks, ABackslashInTheScriptsPathSeparatesFolders)
{
    fs::create_directory(Dir.Path() / "sub");
    const std::string script = Dir / "sub\\a.src";
    ASSERT_EQ(Cli({"export-script", Dir / "gtset565.til", script}).Code, ExitSuccess);
    EXPECT_EQ(Dir.Entries(), (std::vector<std::string>{"gtset565.til", "sub"}));
    EXPECT_TRUE(fs::exists(Dir.Path() / "sub/a/TILE000A.tga"));
    EXPECT_EQ(Cli({"import-script", script, "--out565", Dir / "back.til"}).Code, 0);
    EXPECT_TRUE(fs::exists(Dir.Path() / "sub/a.log"));
}

} // namespace
} // namespace kestrund::cli
