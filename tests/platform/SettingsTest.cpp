// The settings file: its reading and writing, where it lives, the main window's settings in it
// and the window's place on the screens.

#include "MainSettings.h"
#include "ProgramPlaces.h"
#include "RecoveryFiles.h"
#include "Scratch.h"

#include <gtest/gtest.h>

using namespace kestrund;
using namespace kestrund::testing;

static const TSettingsContext Context{"/opt/kestrund", 1920, 1080};

TEST(IniFile, ReadsAndWritesWindowsFilesIgnoringCase)
{
    TScratchDir dir;
    TIniFile ini(dir / "k.ini");
    EXPECT_EQ(ini.ReadString("Directories", "TileDir", "/x"), "/x");
    EXPECT_FALSE(std::filesystem::exists(dir / "k.ini")) << "reading creates nothing";
    WriteText(dir / "k.ini", "; comment\r\n[Preferences]\r\nZoomFactor = 4\r\nlogLEVEL=2\r\nbad=12x\r\nflag=7\r\n"
                             "\r\n[colors]\r\nBack=-2147483633\r\nHex=$FF\r\nC=0X1f\r\nplus=+3\r\nnine=9\r\n"
                             "[32]\r\nbig=99999999999999999999\r\nu=4294967295\r\np=2147483648\r\nm=-2147483649\r\n"
                             "max=2147483647\r\nmin=-2147483648\r\nhex=$FFFFFFFF\r\nhex33=$100000000\r\n");
    // Numbers beyond 32 bits are malformed, as a Windows program reads them.
    struct { const char *section, *key; long long def, value; } reads[] = {
        {"PREFERENCES", "zoomfactor", 1, 4}, {"Preferences", "LogLevel", 0, 2}, {"Preferences", "bad", 9, 9},
        {"Colors", "Back", 0, -2147483633LL}, {"Colors", "Hex", 0, 255}, {"Colors", "c", 0, 31},
        {"Colors", "plus", 0, 3}, {"Colors", "nine", 0, 9}, {"Colors", "ZoomFactor", 3, 3}, {"None", "C", 5, 5},
        {"32", "big", -7, -7}, {"32", "u", -7, -7}, {"32", "p", -7, -7}, {"32", "m", -7, -7},
        {"32", "max", -7, 2147483647}, {"32", "min", -7, -2147483648LL}, {"32", "hex", -7, -1},
        {"32", "hex33", -7, -7}};
    for (const auto& r : reads)
        EXPECT_EQ(ini.ReadInteger(r.section, r.key, r.def), r.value) << r.key;
    EXPECT_TRUE(ini.ReadBool("Preferences", "flag", false)) << "any non-zero number is true";
    EXPECT_EQ((std::array{ini.SectionExists("COLORS"), ini.ValueExists("colors", "hex"), ini.SectionExists("None"),
                          ini.ValueExists("Preferences", "hex")}), (std::array{true, true, false, false}));

    TIniFile written(dir / "a/b/k.ini"); // folders are made on the first write
    written.WriteString("A", "x", "1");
    written.WriteString("B", "y", "2");
    written.WriteInteger("a", "X", 5);
    written.WriteString("A", "z", "hello world");
    written.WriteBool("C", "b", true);
    EXPECT_EQ(ReadText(dir / "a/b/k.ini"), "[A]\r\nx=5\r\nz=hello world\r\n\r\n[B]\r\ny=2\r\n\r\n[C]\r\nb=1\r\n");
    written.EraseSection("b"), written.DeleteKey("A", "x");
    EXPECT_EQ(ReadText(dir / "a/b/k.ini"), "[A]\r\nz=hello world\r\n\r\n[C]\r\nb=1\r\n");
}

TEST(IniFile, SettingsLiveBesideTheProgramOrInTheUsersConfiguration)
{
    std::vector<std::string> asked;
    const auto yes = [&asked](const std::string& folder) { return asked.push_back(folder), true; };
    const auto no = [](const std::string&) { return false; };
    EXPECT_EQ(SettingsFilePath("/opt/k/kestrund", "/tmp/mine.ini", nullptr, "/home/u", yes), "/tmp/mine.ini");
    EXPECT_EQ(SettingsFilePath("/opt/k/kestrund", "", "/cfg", "/home/u", yes), "/opt/k/kestrund.ini");
    EXPECT_EQ(SettingsFilePath("kestrund", "", "/cfg", "/home/u", yes), "kestrund.ini");
    EXPECT_EQ(asked, (std::vector<std::string>{"/opt/k", "."}));
    EXPECT_EQ(SettingsFilePath("/opt/k/kestrund", "", "/cfg", "/home/u", no), "/cfg/Kestrund/Kestrund.ini");
    EXPECT_EQ(SettingsFilePath("/opt/k/kestrund", "", "", "/home/u", no), "/home/u/.config/Kestrund/Kestrund.ini");

    // The real check: a folder that does not exist takes no files, not even root's.
    TScratchDir dir;
    EXPECT_EQ(SettingsFilePath(dir / "none/kestrund", "", "/cfg", nullptr), "/cfg/Kestrund/Kestrund.ini");
    EXPECT_EQ(SettingsFilePath(dir / "kestrund", "", "/cfg", nullptr), dir / "kestrund.ini");

    // Installed (bin beside share/kestrund): never beside the program, though root may write there.
    // The demo set and help pages are found from the program's folder, installed or built.
    for (const char* folder : {"usr/bin", "usr/share/kestrund/demo", "usr/share/kestrund/help", "opt/bin",
                               "opt/share/kestrund", "b/src/app", "b/demo", "b/bin"})
        std::filesystem::create_directories(dir / folder);
    for (const char* file : {"usr/share/kestrund/demo/gtset555.til", "usr/share/kestrund/help/index.html",
                             "b/demo/gtset555.til"})
        WriteText(dir / file, "");
    struct { std::string program, ini; TProgramPlaces places; } layouts[] = {
        {"usr/bin/kestrund", "/cfg/Kestrund/Kestrund.ini",
         {true, dir / "usr/share/kestrund/demo/gtset555.til", dir / "usr/share/kestrund/help"}},
        {"opt/bin/kestrund", "/cfg/Kestrund/Kestrund.ini", {true, "", ""}},
        {"b/src/app/kestrund", dir / "b/src/app/kestrund.ini", {false, dir / "b/demo/gtset555.til", {}}},
        {"b/bin/kestrund", dir / "b/bin/kestrund.ini", {false, "", {}}}, // a bin folder alone is not installed
    };
    for (const auto& l : layouts) {
        EXPECT_EQ(SettingsFilePath(dir / l.program, "", "/cfg", nullptr, yes), l.ini) << l.program;
        const TProgramPlaces found = FindProgramPlaces(dir / l.program);
        EXPECT_EQ((std::tuple{found.Installed, found.DemoSet}), (std::tuple{l.places.Installed, l.places.DemoSet}))
            << l.program;
        // Only installed pages are checked: the build tree's help pages are the source tree's.
        EXPECT_EQ(found.Installed ? found.HelpFolder : std::string(), l.places.HelpFolder) << l.program;
    }
}

// Only changed values are written, and read back; numbers outside their range fall back, and the stored
// colour mode counts only when the default mode says "as last time" (2).
TEST(MainSettings, OnlyChangedValuesAreWrittenAndReadBack)
{
    TScratchDir dir;
    TExtIniFile ini(dir / "k.ini"), all(dir / "all.ini"), copy(dir / "copy.ini");
    TMainSettings s = ReadMainSettings(ini, Context);
    EXPECT_EQ(s.MainWindow, (TWindowPlacement{560, 235, 800, 609, 0}));
    WriteMainSettings(ini, s, Context, false);
    EXPECT_EQ(ReadText(dir / "k.ini"), "[Preferences]\r\nHelpFile=Kestrund.hlp\r\n") << "the defaults are not written";

    // Every field away from its default, in the order of declaration; forced, so the
    // persistent folders and colours are written too.
    s = {"/t", "/s", "/i", "/ti", "/b", "/r", "/tii", true, false, true, 2, false, "h", 0, 8, 0x8000000F, 0xFF,
         true, 2, 1, {1, 2, 3, 4, 2}};
    WriteMainSettings(all, s, Context, true);
    const std::string text = ReadText(dir / "all.ini");
    EXPECT_EQ(text, "[Directories]\r\nTileDir=/t\r\nSrcDir=/s\r\nImageDir=/i\r\nTileImageDir=/ti\r\n"
                    "BorderImageDir=/b\r\nRiverImageDir=/r\r\nTileImpImageDir=/tii\r\nPersistentDirs=1\r\n"
                    "DiversImageDirs=0\r\nAlwayUseDef=1\r\n\r\n[Preferences]\r\nLogLevel=2\r\nOverWriteWarning=0\r\n"
                    "HelpFile=h\r\nImgBorderWidth=0\r\nZoomFactor=8\r\n\r\n[MainWindow]\r\nLeft=1\r\nWidth=3\r\n"
                    "Top=2\r\nHeight=4\r\nState=2\r\n\r\n[Colors]\r\nBackGroundColor=-2147483633\r\n"
                    "ShadowColor=255\r\nDefaultColorMode=2\r\nColorMode=1\r\n");
    WriteMainSettings(copy, ReadMainSettings(all, Context), Context, true);
    EXPECT_EQ(ReadText(dir / "copy.ini"), text);

    s.SrcDir = "/moved", s.BackGroundColor = s.ShadowColor = 0xFFFFFF;
    WriteMainSettings(all, s, Context, false);
    EXPECT_EQ(ReadText(dir / "all.ini"), text) << "persistent folders and colours are kept";
    // Back to the defaults (Silver, Gray, zoom 1 ...) deletes the keys.
    WriteMainSettings(all, DefaultMainSettings(Context), Context, false);
    EXPECT_EQ(ReadText(dir / "all.ini"), "[Directories]\r\n\r\n[Preferences]\r\nHelpFile=Kestrund.hlp\r\n\r\n"
                                         "[MainWindow]\r\n\r\n[Colors]\r\n");

    const std::pair<const char*, std::array<long long, 6>> rows[] = {
        {"[Preferences]\nLogLevel=3\nZoomFactor=40\nImgBorderWidth=-1\n[Colors]\nDefaultColorMode=2\nColorMode=1",
         {0, 8, 0, 2, 1, 0xC0C0C0}},
        {"[Preferences]\nLogLevel=-1\nZoomFactor=0\nImgBorderWidth=256\n[Colors]\nDefaultColorMode=2",
         {0, 1, 255, 2, 0, 0xC0C0C0}},
        {"[Preferences]\nLogLevel=2\nZoomFactor=99999999999999999999\n[Colors]\nDefaultColorMode=1\nColorMode=0\n"
         "BackGroundColor=4294967295", {2, 1, 2, 1, 1, 0xC0C0C0}},
        {"[Colors]\nDefaultColorMode=3\nColorMode=1\nBackGroundColor=-1", {0, 1, 2, 0, 0, 0xFFFFFFFF}},
        {"[Colors]\nDefaultColorMode=-1\nColorMode=1", {0, 1, 2, 0, 0, 0xC0C0C0}},
    };
    for (const auto& [stored, expected] : rows) {
        WriteText(dir / "k.ini", stored);
        s = ReadMainSettings(ini, Context);
        EXPECT_EQ((std::array<long long, 6>{s.LogLevel, s.ZoomFactor, s.ImgBorderWidth, s.DefaultColorMode,
                                            s.ColorMode, s.BackGroundColor}), expected) << stored;
    }
}

// A window kept where it is on the primary screen, on the second and left of the primary, and moved onto the
// primary when its monitor is gone or only a sliver of it shows, made smaller when it is too big as well.
TEST(WindowPlacement, AWindowOffEveryScreenComesBackOntoThePrimary)
{
    const std::vector<TScreenArea> two = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}},
                                   leftOfPrimary = {{0, 0, 1920, 1080}, {-1280, 0, 1280, 1024}};
    const struct { const std::vector<TScreenArea>& Screens; TWindowPlacement Stored, Placed; } cases[] = {
        {two, {100, 100, 800, 609, 0}, {100, 100, 800, 609, 0}},
        {two, {2000, 100, 800, 609, 2}, {2000, 100, 800, 609, 2}},
        {leftOfPrimary, {-1000, 50, 800, 609, 0}, {-1000, 50, 800, 609, 0}},
        {two, {3500, 100, 800, 609, 2}, {560, 235, 800, 609, 2}},
        {two, {-790, 100, 800, 609, 0}, {560, 235, 800, 609, 0}},
        {two, {5000, 5000, 2500, 1500, 0}, {0, 0, 1920, 1080, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlacedOnScreens(c.Stored, c.Screens), c.Placed) << &c - cases;
}

// Where recovery copies live, and which runs left some: a folder of copies or a lock.
TEST(Recovery, FolderFromTheEnvironmentAndTheRunsThatLeftFiles)
{
    const struct { const char *Data, *Home, *Folder; } rows[] = {{"/d", nullptr, "/d/Kestrund/recovery"},
        {"rel", "/h", "/h/.local/share/Kestrund/recovery"}, {nullptr, nullptr, ""}};
    for (const auto& row : rows)
        EXPECT_EQ(RecoveryFolder([&](std::string_view name) { return name == "HOME" ? row.Home : row.Data; }),
                  row.Folder);
    TScratchDir dir;
    for (const char* name : {"20240102-030405-9.lock", "20240101-000000-7.lock", "x.lock.txt", ".lock"})
        WriteText(dir / name, "");
    std::filesystem::create_directory(dir / NewRecoveryId(86400, 12));
    EXPECT_EQ(RecoveryIds(dir.Path().string()),
              (std::vector<std::string>{"19700102-000000-12", "20240101-000000-7", "20240102-030405-9"}));
}
