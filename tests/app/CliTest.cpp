// kestrund-cli: outputs, messages and exit statuses of info and save.

#include "CliCommands.h"
#include "SetBuilders.h"

#include "FileUtil.h"
#include "TileFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <sstream>
#include <sys/wait.h>

namespace kestrund::cli {
namespace {

using namespace testing;
namespace fs = std::filesystem;

struct TResult {
    int Code;
    std::string Out;
    std::string Err;
};

TResult RunArgs(std::vector<std::string> args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

class CliTest : public ::testing::Test {
protected:
    CliTest()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        FDir = fs::temp_directory_path() /
               ("kestrund-cli-" + std::string(info->name()) + "-" + std::to_string(std::random_device{}()));
        fs::create_directories(FDir);
    }
    ~CliTest() override
    {
        std::error_code ignored;
        fs::remove_all(FDir, ignored);
    }
    std::string File(const std::string& name) const { return (FDir / name).string(); }
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& data) const
    {
        WriteWholeFile(File(name), data);
        return File(name);
    }
    // The small set with a 120-pixel river line and 3 bytes after the last section.
    std::string SmallFile(int mode = cmRGB555) const
    {
        auto set = MakeSmallSet();
        TRiver& river = set->River(0);
        river.Lines.resize(1);
        river.Lines[0] = LineOf({0xFA78}, cmRGB555);
        river.FirstLine = river.LastLine = 0;
        auto data = set->SaveToMemory(mode);
        data.insert(data.end(), {9, 9, 9});
        return Write(mode == cmRGB565 ? "small565.til" : "small555.til", data);
    }
    fs::path FDir;
};

const std::string SmallInfo = "TileRules: 1\n"
                              "Borders: 1\n"
                              "Tiles: 2\n"
                              "Rivers: 1\n"
                              "Improvements: 1\n"
                              "VariationRules: 1\n"
                              "BorderHeader: 7 704 9\n"
                              "TileHeader: 258\n"
                              "TilesWithOverlay: 1\n"
                              "WidestOverlay: 120\n"
                              "TrailingBytes: 3\n"
                              "MissingSections: 0\n";

TEST_F(CliTest, InfoPrintsOneLinePerValue)
{
    const std::string file = SmallFile();
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"info", file}, {"info", file, "--mode", "555"}, {"info", "--mode=565", file}}) {
        const TResult r = RunArgs(args);
        EXPECT_EQ(r.Code, 0);
        EXPECT_EQ(r.Out, SmallInfo);
        EXPECT_EQ(r.Err, "");
    }
}

TEST_F(CliTest, InfoOfAGeneratedSet)
{
    TSetShape shape;
    shape.Tiles = 9;
    shape.TilesWithOverlay = 3;
    shape.OverlayWidth = 200;
    const auto set = MakeSet(shape, 4);
    const std::string file = Write("made.til", set->SaveToMemory(cmRGB565));
    const TResult r = RunArgs({"info", file, "--mode", "565"});
    EXPECT_EQ(r.Code, 0);
    std::ostringstream expected;
    expected << "TileRules: 3\nBorders: 2\nTiles: 9\nRivers: 2\nImprovements: 3\nVariationRules: 3\n"
             << "BorderHeader: " << set->BorderHeader[0] << ' ' << set->BorderHeader[1] << ' '
             << set->BorderHeader[2] << "\nTileHeader: " << set->TileHeader
             << "\nTilesWithOverlay: 3\nWidestOverlay: 200\nTrailingBytes: 0\nMissingSections: 0\n";
    EXPECT_EQ(r.Out, expected.str());
}

TEST_F(CliTest, SaveWritesBothLayoutsOfTheAppendedSet)
{
    const std::string in = SmallFile();
    const auto more1 = MakeSet(TSetShape{}, 5);
    const auto more2 = MakeSet(TSetShape{}, 6);
    const std::string m1 = Write("more1.til", more1->SaveToMemory(cmRGB555));
    const std::string m2 = Write("more2.til", more2->SaveToMemory(cmRGB555));
    const TResult r = RunArgs({"save", in, "--append", m1, "--out555", File("out555.til"), "--append", m2,
                           "--out565", File("out565.til")});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err, "");

    TTileFile expected;
    expected.LoadFromFile(in, false);
    expected.LoadFromFile(m1, true);
    expected.LoadFromFile(m2, true);
    EXPECT_EQ(ReadWholeFile(File("out555.til")), expected.SaveToMemory(cmRGB555));
    EXPECT_EQ(ReadWholeFile(File("out565.til")), expected.SaveToMemory(cmRGB565));
    EXPECT_EQ(expected.TileCount(), 2u + 4u + 4u);
    EXPECT_EQ(expected.BorderHeader, more2->BorderHeader); // the last appended file's headers
    EXPECT_TRUE(expected.Tile(6).SameAs(more2->Tile(0)));
}

TEST_F(CliTest, SaveReadsInTheGivenMode)
{
    const std::string in = SmallFile(cmRGB565);
    ASSERT_EQ(RunArgs({"save", in, "--mode", "565", "--out555", File("a.til"), "--out565", File("b.til")}).Code, 0);
    TTileFile set;
    set.ColorMode = cmRGB565;
    set.LoadFromFile(in, false);
    EXPECT_EQ(ReadWholeFile(File("a.til")), set.SaveToMemory(cmRGB555));
    // Read and written in the same mode: the same file, less the trailing bytes.
    auto same = ReadWholeFile(in);
    same.resize(same.size() - 3);
    EXPECT_EQ(ReadWholeFile(File("b.til")), same);
    // Read as 5-5-5 and written as 5-5-5: reading never converts either.
    ASSERT_EQ(RunArgs({"save", in, "--mode", "555", "--out555", File("c.til")}).Code, 0);
    EXPECT_EQ(ReadWholeFile(File("c.til")), same);
}

TEST_F(CliTest, UsageErrorsExitWith2)
{
    struct TCase {
        std::vector<std::string> Args;
        std::string Err;
    };
    const std::string hint = "Try 'kestrund-cli --help'.\n";
    const std::string infoHint = "Try 'kestrund-cli info --help'.\n";
    const std::string saveHint = "Try 'kestrund-cli save --help'.\n";
    const std::vector<TCase> cases{
        {{}, "kestrund-cli: no verb given\n" + hint},
        {{"frobnicate"}, "kestrund-cli: unknown verb 'frobnicate'\n" + hint},
        {{"info"}, "kestrund-cli: info: missing FILE.til\n" + infoHint},
        {{"info", "a.til", "b.til"}, "kestrund-cli: info: unexpected argument 'b.til'\n" + infoHint},
        {{"info", "a.til", "--mode", "556"}, "kestrund-cli: info: --mode must be 555 or 565, not '556'\n" + infoHint},
        {{"info", "a.til", "--mode"}, "kestrund-cli: info: option '--mode' needs a value\n" + infoHint},
        {{"info", "a.til", "--out555", "x"}, "kestrund-cli: info: unknown option '--out555'\n" + infoHint},
        {{"info", "-x"}, "kestrund-cli: info: unknown option '-x'\n" + infoHint},
        {{"save", "a.til"}, "kestrund-cli: save: nothing to write: give --out555 and/or --out565\n" + saveHint},
        {{"save", "a.til", "--out555", "x", "--out555", "y"},
         "kestrund-cli: save: option '--out555' given more than once\n" + saveHint},
        {{"save", "--out565", "x"}, "kestrund-cli: save: missing IN.til\n" + saveHint},
    };
    for (const TCase& c : cases) {
        const TResult r = RunArgs(c.Args);
        EXPECT_EQ(r.Code, ExitUsage) << c.Err;
        EXPECT_EQ(r.Err, c.Err);
        EXPECT_EQ(r.Out, "");
    }
}

TEST_F(CliTest, FailuresExitWithExitFailureAndTheModelsMessage)
{
    const std::string missing = File("missing.til");
    TResult r = RunArgs({"info", missing});
    EXPECT_EQ(r.Code, ExitFailure);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err, "kestrund-cli: Cannot open file \"" + missing + "\". No such file or directory\n");

    auto data = MakeSmallSet()->SaveToMemory(cmRGB555);
    const std::string good = Write("good.til", data);
    Put16(data, small::TilesAt, 3);
    const std::string damaged = Write("damaged.til", data);
    r = RunArgs({"info", damaged});
    EXPECT_EQ(r.Code, ExitFailure);
    EXPECT_EQ(r.Err, "kestrund-cli: " + damaged + ": Tiles: count 3 is larger than the data (offset 2860)\n");

    // A damaged appended file: nothing is written.
    r = RunArgs({"save", good, "--append", damaged, "--out555", File("out.til")});
    EXPECT_EQ(r.Code, ExitFailure);
    EXPECT_EQ(r.Err, "kestrund-cli: " + damaged + ": Tiles: count 3 is larger than the data (offset 2860)\n");
    EXPECT_FALSE(fs::exists(File("out.til")));

    const std::string cannot = File("no-such-folder/out.til");
    r = RunArgs({"save", good, "--out565", cannot});
    EXPECT_EQ(r.Code, ExitFailure);
    EXPECT_EQ(r.Err, "kestrund-cli: Cannot create file \"" + cannot + "\". No such file or directory\n");
}

TEST_F(CliTest, HelpAndVersion)
{
    TResult r = RunArgs({"--help"});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Err, "");
    EXPECT_NE(r.Out.find("  info FILE.til [--mode 555|565]\n"), std::string::npos) << r.Out;
    EXPECT_NE(r.Out.find("  save IN.til [--mode 555|565] [--append MORE.til]... [--out555 FILE] [--out565 FILE]\n"),
              std::string::npos)
        << r.Out;

    r = RunArgs({"save", "--help"});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out.rfind("Usage: kestrund-cli save IN.til", 0), 0u) << r.Out;

    r = RunArgs({"--version"});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out, std::string("kestrund-cli ") + KESTRUND_VERSION + "\n");
}

// The built program: standard output and the exit status seen by a shell.
TResult RunProgram(const std::string& arguments)
{
    const std::string command = std::string("'") + KESTRUND_CLI_PATH + "' " + arguments + " 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return {-1, "", ""};
    std::string out;
    char buffer[256];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        out.append(buffer, n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, ""};
}

TEST_F(CliTest, TheProgramReportsThroughItsExitStatus)
{
    const std::string file = SmallFile();
    TResult r = RunProgram("info '" + file + "'");
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out, SmallInfo);
    EXPECT_EQ(RunProgram("info").Code, ExitUsage);
    EXPECT_EQ(RunProgram("info '" + File("missing.til") + "'").Code, ExitFailure);
    r = RunProgram("save '" + file + "' --out555 '" + File("copy.til") + "'");
    EXPECT_EQ(r.Code, 0);
    EXPECT_TRUE(fs::exists(File("copy.til")));
}

} // namespace
} // namespace kestrund::cli
