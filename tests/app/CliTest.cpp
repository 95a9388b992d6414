// kestrund-cli: every verb's exit status, output and messages, and the files it writes.

#include "CliCommands.h"
#include "ContactSheet.h"
#include "MiscFunc.h"
#include "SetBuilders.h"
#include "Scratch.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

namespace kestrund::cli {
namespace {

using namespace kestrund::testing;
namespace fs = std::filesystem;

// A command line (its words split at blanks) and what it gives; '@' stands for the scratch folder.
struct TRow { int Code; std::string Args, Out = {}, Err = {}; };

// info's text for the small set (or what a cut file holds of it).
std::string Info(const std::string& elements, int widest, int trailing, int missing)
{
    return "TileRules: 1\nBorders: 1\nTiles: 2\n" + elements +
           Format("BorderHeader: 7 704 9\nTileHeader: 258\nTilesWithOverlay: 1\nWidestOverlay: %d\n"
                  "TrailingBytes: %d\nMissingSections: %d\n", widest, trailing, missing);
}
const std::string SmallInfo = Info("Rivers: 1\nImprovements: 1\nVariationRules: 1\n", 120, 3, 0);

TEST(Cli, VerbsExitStatusesOutputAndFiles)
{
    TScratchDir dir;
    const auto fill = [&](std::string text) {
        for (std::size_t at; (at = text.find('@')) != std::string::npos;)
            text.replace(at, 1, dir.Path().string());
        return text;
    };
    // The small set with its overlay on the first tile, a 120-pixel river line and 3 bytes after
    // the last section; cut after the improvements and after the tiles.
    auto smallSet = MakeSmallSet();
    const auto whole = smallSet->SaveToMemory(cmRGB555);
    SaveBytes(dir / "cut1.til", {whole.begin(), whole.begin() + small::VariationRulesAt});
    SaveBytes(dir / "cut3.til", {whole.begin(), whole.begin() + small::RiversAt});
    smallSet->Tile(0).Overlay = std::move(smallSet->Tile(1).Overlay);
    smallSet->River(0).Lines.resize(1);
    smallSet->River(0).Lines[0] = std::make_unique<TLine>(cmRGB555, std::vector<std::uint16_t>{0xFA78});
    smallSet->River(0).FirstLine = smallSet->River(0).LastLine = 0;
    for (int mode : {cmRGB555, cmRGB565}) {
        auto data = smallSet->SaveToMemory(mode);
        data.insert(data.end(), {9, 9, 9});
        SaveBytes(dir / (mode ? "small565.til" : "small555.til"), data);
    }
    for (const char* folder : {"d565", "sub", "nolog.log"}) // nolog.log: the log cannot be written
        fs::create_directories(dir.Path() / folder);
    fs::copy_file(dir / "small555.til", dir / "d565/plain.til");
    MakeSet(TSetShape{}, 5)->SaveToFile(dir / "more1.til", cmRGB555);
    MakeSet(TSetShape{}, 6)->SaveToFile(dir / "more2.til", cmRGB555);
    auto damaged = whole;
    Put16(damaged, small::TilesAt, 3);
    SaveBytes(dir / "damaged.til", damaged);
    const auto rich = MakeRichSet(21, false);
    rich->SaveToFile(dir / "in.til", cmRGB555);
    TTileFile().SaveToFile(dir / "fresh.til", cmRGB555);
    MakeSet(TSetShape{.Tiles = 60}, 7)->SaveToFile(dir / "tall.til", cmRGB555);
    MakeSet(TSetShape{.Tiles = 0, .TilesWithOverlay = 0}, 8)->SaveToFile(dir / "bare.til", cmRGB555);
    const std::string head = "Kestrund Script v.1.1\r\n$7C1F $83E0\r\n0\r\n0\r\n";
    const std::string empty = head + "0\r\n0\r\n0\r\n0\r\n";
    for (const auto& [name, text] : std::vector<std::pair<const char*, std::string>>{
             {"bad.src", "not a script\r\n"}, {"short.src", head + "2\r\n"}, {"s.log", empty}, {"nolog.src", empty},
             {"partial.src", head + "1\r\n1 0 0 T.tga\r\n0\r\n0\r\n0\r\n"}, {"a.til", "old"},
             {"other", "a file where the export wants its folder"}})
        WriteText(dir / name, text);
    fs::create_symlink(dir / "a.til", dir / "link.til");

    const auto usage = [](const std::string& verb, const std::string& message) {
        return "kestrund-cli: " + verb + ": " + message + "\nTry 'kestrund-cli " + verb + " --help'.\n";
    };
    const std::string damage = "kestrund-cli: @/damaged.til: Tiles: count 3 is larger than the data (offset 2860)\n";
    const std::string note = "kestrund-cli: reading @/small565.til as 5-6-5 (from its name; --mode sets it)\n";
    const auto same = [&](const std::string& verb, const std::string& name) {
        return usage(verb, "--out555 and --out565 name the same file '@/" + name + "'");
    };
    const std::vector<TRow> rows{
        // info and save; "565" in the file's name (not its folder's) reads it as 5-6-5 unless --mode says.
        {0, "info @/small555.til", SmallInfo},
        {0, "info --mode=565 @/small555.til", SmallInfo},
        {0, "info @/small565.til", SmallInfo, note},
        {0, "info @/d565/plain.til", SmallInfo},
        {0, "info @/cut1.til", Info("Rivers: 1\nImprovements: 1\nVariationRules: 0\n", 94, 0, 1)},
        {0, "info @/cut3.til", Info("Rivers: 0\nImprovements: 0\nVariationRules: 0\n", 94, 0, 3)},
        {0, "save @/small555.til --append @/more1.til --out555 @/out555.til --append @/more2.til --out565 "
            "@/out565.til"},
        {0, "save @/small565.til --mode 565 --out555 @/p.til --out565 @/q.til"},
        {0, "save @/small565.til --out555 @/r.til", "", note},
        {0, "save @/small565.til --mode 555 --out555 @/d.til"},
        {ExitFailure, "info @/missing.til", "",
         "kestrund-cli: Cannot open file \"@/missing.til\". No such file or directory\n"},
        {ExitFailure, "info -- --x.til", "", "kestrund-cli: Cannot open file \"--x.til\". No such file or directory\n"},
        {ExitFailure, "info @/damaged.til", "", damage},
        {ExitFailure, "save @/small555.til --append @/damaged.til --out555 @/out.til", "", damage},
        {ExitFailure, "save @/small555.til --out565 @/no/out.til", "",
         "kestrund-cli: Cannot create file \"@/no/out.til\". No such file or directory\n"},
        // Usage errors, one file for both layouts among them (also through a link, "." or "..").
        {ExitUsage, "", "", "kestrund-cli: no verb given\nTry 'kestrund-cli --help'.\n"},
        {ExitUsage, "frobnicate", "", "kestrund-cli: unknown verb 'frobnicate'\nTry 'kestrund-cli --help'.\n"},
        {ExitUsage, "info", "", usage("info", "missing FILE.til")},
        {ExitUsage, "info a.til b.til", "", usage("info", "unexpected argument 'b.til'")},
        {ExitUsage, "info a.til --mode 556", "", usage("info", "--mode must be 555 or 565, not '556'")},
        {ExitUsage, "info a.til --mode", "", usage("info", "option '--mode' needs a value")},
        {ExitUsage, "info a.til --out555 x", "", usage("info", "unknown option '--out555'")},
        {ExitUsage, "info -x", "", usage("info", "unknown option '-x'")},
        {ExitUsage, "save a.til", "", usage("save", "nothing to write: give --out555 and/or --out565")},
        {ExitUsage, "save a.til --out555 x --out555 y", "", usage("save", "option '--out555' given more than once")},
        {ExitUsage, "save --out565 x", "", usage("save", "missing IN.til")},
        {ExitUsage, "save @/small555.til --out555 @/a.til --out565 @/a.til", "", same("save", "a.til")},
        {ExitUsage, "save @/small555.til --out555 @/a.til --out565 @/./a.til", "", same("save", "./a.til")},
        {ExitUsage, "save @/small555.til --out555 @/a.til --out565 @/d/../a.til", "", same("save", "d/../a.til")},
        {ExitUsage, "import-script @/fresh.src --out555 @/a.til --out565 @/link.til", "",
         same("import-script", "link.til")},
        {ExitUsage, "export-script @/in.til", "", usage("export-script", "missing SCRIPT.src")},
        {0, "--version", "kestrund-cli " KESTRUND_VERSION "\n"},
        {0, "save --help",
         "Usage: kestrund-cli save IN.til [--mode 555|565] [--append MORE.til]... [--out555 FILE] [--out565 FILE]\n"
         "Reads IN.til, appends each MORE.til in order, then writes the 5-5-5 and/or 5-6-5 file.\n"},
        // Scripts: the export wants a folder of its own; the import exits with its result code.
        {0, "export-script @/in.til @/set.src"},
        {ExitFailure, "export-script @/in.til @/set.src", "",
         "kestrund-cli: The directory '@/set' already exists; give --force to export into it (files of the same "
         "names are replaced)\n"},
        {0, "export-script @/in.til @/set.src --force"},
        {ExitFailure, "export-script @/in.til @/other.src", "",
         "kestrund-cli: A file named '@/other' already exists; could not create the directory\n"},
        {ExitFailure, "export-script @/in.til @/noext", "",
         "kestrund-cli: Cannot export to \"@/noext\": the script needs a name and an extension (such as .src), since "
         "its pictures go into a folder beside it named like the script without its extension\n"},
        {0, "export-script @/small565.til @/sub\\a.src", "", note}, // '\' separates folders too
        {0, "import-script @/sub\\a.src --out565 @/sub/back.til"},
        {0, "import-script @/set.src --out555 @/back.til --log-level 2"},
        {1, "import-script @/bad.src --out555 @/x.til", "",
         "kestrund-cli: importing @/bad.src failed (result 1); see @/bad.log\n"},
        {17, "import-script @/partial.src", "",
         "kestrund-cli: some elements of @/partial.src were not loaded; see @/partial.log\n"},
        {0, "export-script @/fresh.til @/fresh.src"}, // its empty overlays are one transparent pixel
        {0, "import-script @/fresh.src --append @/in.til --out565 @/y.til"},
        {0, "import-script @/fresh.src --append @/small565.til", "", note},
        {ExitFailure, "import-script @/short.src", "", "kestrund-cli: Unexpected end of the script file\n"},
        {ExitFailure, "import-script @/s.log", "",
         "kestrund-cli: Cannot import \"@/s.log\": its import log would be written over the script itself; give the "
         "script another extension, such as .src\n"},
        {ExitLogNotWritten, "import-script @/nolog.src", "",
         "kestrund-cli: importing @/nolog.src failed: the log could not be written: Cannot create file "
         "\"@/nolog.log\". Is a directory\n"},
        {ExitSaveFailed, "import-script @/fresh.src --out565 @/no/x.til", "",
         "kestrund-cli: @/fresh.src was imported (result 0), but the tile file was not written: Cannot create file "
         "\"@/no/x.til\". No such file or directory\n"},
        {ExitUsage, "import-script @/fresh.src --log-level 3", "",
         usage("import-script", "--log-level must be 0, 1 or 2, not '3'")},
        // The view: what was drawn, and the pictures' sizes (checked below).
        {0, "render @/in.til @/single.bmp --tile 0", "Size: 98 76\nTile: 100 0 0\n"},
        {0, "render @/small565.til @/v.bmp", "Size: 98 76\nTile: 10 3 5\nRule: 0 3 2 6 1 5 9 4 7 8 10 11 12 13 14 15\n",
         note},
        {0, "render @/in.til @/square.jpg --view 3x3 --tile 2 --border 1",
         "Size: 294 176\nTile: 174 2 6\nBorder: 2 263\n"},
        {0, "render @/in.til @/variation.tga --view variation --variation 1 --background 0xFFFFFF",
         Format("Size: 290 172\nVariationRule: %d\n", rich->VariationRule(1).StepTileIndex(0))},
        {0, "render @/in.til @/improvement.bmp --improvement 3 --border-width 0", "Size: 154 72\nImprovement: 515\n"},
        {0, "render @/in.til @/t.bmp --tile 0x1 --hex --border-mask 15",
         "Size: 98 76\nTile: 0089 01 03\nBorder: 01 07\n"},
        {ExitUsage, "render @/in.til @/t.png", "",
         usage("render", "the picture must be .tga, .bmp or .jpg, not '@/t.png'")},
        {ExitUsage, "render @/in.til @/t.bmp --view 4x4", "",
         usage("render", "--view must be single, 3x3 or variation, not '4x4'")},
        {ExitUsage, "render @/in.til @/t.bmp --border-mask 16", "",
         usage("render", "--border-mask must be a number from 0 to 15, not '16'")},
        {ExitFailure, "render @/in.til @/t.bmp --tile 99", "", "kestrund-cli: --tile 99: the set has 5 tiles\n"},
        // Contact sheets: the layout's size (the pictures checked below); what cannot be drawn is not written.
        {0, "sheet @/in.til @/tiles.png --columns 3 --labels", "Size: 298 178\nCells: 5 in 3 columns\n"},
        {0, "sheet @/in.til @/rules.bmp --kind rules --zoom 2 --labels --hex --background 0x303030",
         "Size: 1156 706\nCells: 4 in 2 columns\n"},
        {0, "sheet @/in.til @/improvements.tga --kind improvements", "Size: 636 80\nCells: 4 in 4 columns\n"},
        {0, "sheet @/in.til @/variations.jpg --kind variations --columns 1", "Size: 294 520\nCells: 3 in 1 column\n"},
        {ExitUsage, "sheet @/in.til @/s.gif", "",
         usage("sheet", "the picture must be .png, .bmp, .tga or .jpg, not '@/s.gif'")},
        {ExitUsage, "sheet @/in.til @/s.png --kind trees", "",
         usage("sheet", "--kind must be tiles, borders, rivers, improvements, rules or variations, not 'trees'")},
        {ExitUsage, "sheet @/in.til @/s.png --zoom 9", "",
         usage("sheet", "--zoom must be a number from 1 to 8, not '9'")},
        {ExitFailure, "sheet @/bare.til @/s.png", "", "kestrund-cli: The set has no tiles to put on a sheet\n"},
        {ExitFailure, "sheet @/tall.til @/s.tga --zoom 8 --columns 1", "",
         "kestrund-cli: A Targa picture is at most 32767 pixels wide and high, and this sheet would be 760 x 34804; "
         "give other --columns, a smaller --zoom or write .png\n"},
    };
    for (const TRow& row : rows) {
        std::istringstream words(fill(row.Args));
        const std::vector<std::string> args{std::istream_iterator<std::string>(words), {}};
        std::ostringstream out, err; // the code, then what was written
        EXPECT_EQ((std::tuple{RunCli(args, out, err), out.str(), err.str()}),
                  (std::tuple{row.Code, fill(row.Out), fill(row.Err)})) << row.Args;
    }

    // save: the appended set in both layouts; reading never converts, writing the other layout does.
    TTileFile expected;
    for (const char* name : {"small555.til", "more1.til", "more2.til"})
        expected.LoadFromFile(dir / name, name[0] == 'm');
    EXPECT_EQ(LoadBytes(dir / "out555.til"), expected.SaveToMemory(cmRGB555));
    EXPECT_EQ(LoadBytes(dir / "out565.til"), expected.SaveToMemory(cmRGB565));
    auto as565 = LoadBytes(dir / "small565.til");
    as565.resize(as565.size() - 3); // less the trailing bytes
    EXPECT_EQ(LoadBytes(dir / "q.til"), as565);
    // "565" in the name reads the file as 5-6-5 without --mode, as --mode 565 does; --mode 555 wins over the name.
    for (auto [name, mode] : {std::pair{"p.til", cmRGB565}, {"r.til", cmRGB565}, {"d.til", cmRGB555}}) {
        expected.ColorMode = static_cast<std::uint8_t>(mode);
        expected.LoadFromFile(dir / "small565.til", false);
        EXPECT_EQ(LoadBytes(dir / name), expected.SaveToMemory(cmRGB555)) << name;
    }
    // Scripts: the way back gives the same file; failed imports and exports write nothing.
    EXPECT_EQ(LoadBytes(dir / "back.til"), LoadBytes(dir / "in.til"));
    EXPECT_NE(ReadText(dir / "set.log").find("\r\nTile number 0 at line "), std::string::npos);
    EXPECT_EQ(ReadText(dir / "bad.log"), fill("ERROR: \"@/bad.src\" is not a valid script-file\r\n"));
    EXPECT_EQ(ReadText(dir / "s.log"), empty);
    EXPECT_EQ(ReadText(dir / "a.til"), "old");
    TTileFile appended;
    appended.LoadFromFile(dir / "y.til", false);
    EXPECT_EQ(appended.TileCount(), 5u + 1u);
    for (const char* name : {"out.til", "x.til", "other.src", "noext", "sub\\a", "sub\\a.log", "s.png", "s.tga"})
        EXPECT_FALSE(fs::exists(dir.Path() / name)) << name;
    for (const char* name : {"sub/a/TILE000A.tga", "sub/a.log", "sub/back.til"})
        EXPECT_TRUE(fs::exists(dir.Path() / name)) << name;
    // The pictures as ImageMagick, an independent reader, sees them.
    for (const auto& [file, seen] : {std::pair{"single.bmp", "BMP3 98x76"}, {"square.jpg", "JPEG 294x176"},
                                     {"variation.tga", "TGA 290x172"}, {"improvement.bmp", "BMP3 154x72"},
                                     {"improvements.tga", "TGA 636x80"}, {"variations.jpg", "JPEG 294x520"}})
        EXPECT_EQ(ShellCommand("identify -format '%m %wx%h' " + dir / file).second, seen);
    // The lossless sheets as ImageMagick reads them are the sheets composed (whose cells the view tests check).
    TTileFile in;
    in.LoadFromFile(dir / "in.til", false);
    for (const auto& [file, options] :
         {std::pair{"tiles.png", TContactSheetOptions{.Columns = 3, .Labels = true}},
          {"rules.bmp", {.Kind = TSheetKind::Rules, .Zoom = 2, .Labels = true, .Hex = true, .Colors = {0x303030}}}}) {
        const TRgbSurface sheet = ComposeContactSheet(in, options);
        std::string rgb;
        for (TColor c : sheet.Data())
            rgb += {static_cast<char>(c), static_cast<char>(c >> 8), static_cast<char>(c >> 16)};
        EXPECT_TRUE(ShellCommand("convert " + dir / file + " rgb:-").second == rgb) << file;
    }
    // The built program reports through its exit status.
    const std::string program = "'" KESTRUND_CLI_PATH "'";
    EXPECT_EQ(ShellCommand(program + " info " + dir / "small555.til"), std::pair(0, SmallInfo));
    EXPECT_EQ(ShellCommand(program + " info " + dir / "missing.til").first, ExitFailure);
    EXPECT_EQ(ShellCommand(program + " info").first, ExitUsage);
    // The verbs, and the build's demo set found from the program's own place, whatever the working folder.
    const auto [helped, help] = ShellCommand("cd / && " + program + " --help");
    EXPECT_EQ(helped, 0);
    for (const char* line : {"info FILE.til [--mode 555|565]\n",
                             "save IN.til [--mode 555|565] [--append MORE.til]... [--out555 FILE] [--out565 FILE]\n",
                             "demo set     " KESTRUND_DEMO_DIR "/gtset555.til\n"})
        EXPECT_NE(help.find("\n  " + std::string(line)), std::string::npos) << line;
}

} // namespace
} // namespace kestrund::cli

// A power cut must leave a saved file old or new: the file is synced before it replaces the
// target and the folder after; an export's pictures are synced at once, before the script.
TEST(Cli, SavesReachTheDiskBeforeAndAfterTheRename)
{
    kestrund::testing::TScratchDir dir;
    kestrund::testing::MakeRichSet(3, false)->SaveToFile(dir / "in.til", kestrund::cmRGB555);
    // The leak checker of the sanitizer build cannot run under a tracer.
    const std::string trace = "ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 strace -f -qq -s 4096 "
                              "-e trace=fsync,rename,syncfs -o " + dir / "trace.txt" + " ";
    if (kestrund::testing::ShellCommand(trace + "true").first != 0)
        GTEST_SKIP() << "strace cannot trace here";
    // The calls in order, each rename with its target's name, the pictures' renames as one.
    const std::string calls =
        R"x(sed -E 's/^[0-9]+ +//; s/^rename.*\/([^/]*)"\) = .*/rename \1/; s/rename .*\.tga$/rename picture/; )x"
        R"x(s/\(.*//' )x" + dir / "trace.txt" +
        R"( | awk '!($0 == "rename picture" && $0 == last); {last = $0}' | tr '\n' ' ')";
    const std::string cli = trace + KESTRUND_CLI_PATH + " ", in = dir / "in.til ";
    for (const auto& [args, expected] : {
             std::pair{"save " + in + "--out555 " + dir / "a.til --out565 " + dir / "b.til",
                       "fsync rename a.til fsync fsync rename b.til fsync "},
             std::pair{"export-script " + in + dir / "s.src", "rename picture syncfs fsync rename s.src fsync "}}) {
        ASSERT_EQ(kestrund::testing::ShellCommand(cli + args).first, 0) << args;
        EXPECT_EQ(kestrund::testing::ShellCommand(calls).second, expected);
    }
}
