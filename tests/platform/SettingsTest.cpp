#include "MainSettings.h"
#include "Scratch.h"

#include <gtest/gtest.h>

using namespace kestrund;
using namespace kestrund::testing;

namespace {
const TSettingsContext Context{"/opt/kestrund", 1920, 1080};
}

TEST(IniFile, ReadsWindowsFilesIgnoringCase)
{
    TScratchDir dir;
    TIniFile ini(dir / "k.ini");
    EXPECT_EQ(ini.ReadString("Directories", "TileDir", "/x"), "/x");
    EXPECT_FALSE(std::filesystem::exists(dir / "k.ini")) << "reading creates nothing";
    WriteText(dir / "k.ini", "; comment\r\n[Preferences]\r\nZoomFactor = 4\r\nlogLEVEL=2\r\nbad=12x\r\nflag=7\r\n"
                             "\r\n[colors]\r\nBack=-2147483633\r\nHex=$FF\r\nC=0X1f\r\nplus=+3\r\nnine=9\r\n");
    struct { const char *section, *key; long long def, value; } reads[] = {
        {"PREFERENCES", "zoomfactor", 1, 4}, {"Preferences", "LogLevel", 0, 2}, {"Preferences", "bad", 9, 9},
        {"Colors", "Back", 0, -2147483633LL}, {"Colors", "Hex", 0, 255}, {"Colors", "c", 0, 31},
        {"Colors", "plus", 0, 3}, {"Colors", "nine", 0, 9}, {"Colors", "ZoomFactor", 3, 3}, {"None", "C", 5, 5}};
    for (const auto& r : reads)
        EXPECT_EQ(ini.ReadInteger(r.section, r.key, r.def), r.value) << r.key;
    EXPECT_TRUE(ini.ReadBool("Preferences", "flag", false)) << "any non-zero number is true";
    EXPECT_TRUE(ini.SectionExists("COLORS"));
    EXPECT_TRUE(ini.ValueExists("colors", "hex"));
    EXPECT_FALSE(ini.ValueExists("Preferences", "hex"));
}

TEST(IniFile, WritesKeepOtherSectionsAndTheKeysSpelling)
{
    TScratchDir dir;
    const std::string path = dir / "a/b/k.ini"; // folders are made on the first write
    TIniFile ini(path);
    ini.WriteString("A", "x", "1");
    ini.WriteString("B", "y", "2");
    ini.WriteInteger("a", "X", 5);
    ini.WriteString("A", "z", "hello world");
    ini.WriteBool("C", "b", true);
    EXPECT_EQ(ReadText(path), "[A]\r\nx=5\r\nz=hello world\r\n\r\n[B]\r\ny=2\r\n\r\n[C]\r\nb=1\r\n");
    ini.EraseSection("b");
    ini.DeleteKey("A", "x");
    EXPECT_EQ(ReadText(path), "[A]\r\nz=hello world\r\n\r\n[C]\r\nb=1\r\n");
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
    EXPECT_EQ(SettingsFilePath("/opt/k/kestrund", "", "", "/home/u", no),
              "/home/u/.config/Kestrund/Kestrund.ini");

    // The real check: a folder that does not exist takes no files, not even root's.
    TScratchDir dir;
    EXPECT_EQ(SettingsFilePath(dir / "none/kestrund", "", "/cfg", nullptr), "/cfg/Kestrund/Kestrund.ini");
    EXPECT_EQ(SettingsFilePath(dir / "kestrund", "", "/cfg", nullptr), dir / "kestrund.ini");
}

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

    s.SrcDir = "/moved";
    s.BackGroundColor = s.ShadowColor = 0xFFFFFF;
    WriteMainSettings(all, s, Context, false);
    EXPECT_EQ(ReadText(dir / "all.ini"), text) << "persistent folders and colours are kept";
    // Back to the defaults (Silver, Gray, zoom 1 ...) deletes the keys.
    WriteMainSettings(all, DefaultMainSettings(Context), Context, false);
    EXPECT_EQ(ReadText(dir / "all.ini"), "[Directories]\r\n\r\n[Preferences]\r\nHelpFile=Kestrund.hlp\r\n\r\n"
                                         "[MainWindow]\r\n\r\n[Colors]\r\n");
}

TEST(MainSettings, StoredNumbersOutsideTheirRangeFallBack)
{
    TScratchDir dir;
    TExtIniFile ini(dir / "k.ini");
    using S = TMainSettings;
    struct { const char* text; int S::*field; int value; } rows[] = {
        {"[Preferences]\nLogLevel=2", &S::LogLevel, 2}, {"[Preferences]\nLogLevel=3", &S::LogLevel, 0},
        {"[Preferences]\nLogLevel=-1", &S::LogLevel, 0}, {"[Preferences]\nZoomFactor=40", &S::ZoomFactor, 8},
        {"[Preferences]\nZoomFactor=0", &S::ZoomFactor, 1}, {"[Preferences]\nImgBorderWidth=-1", &S::ImgBorderWidth, 0},
        {"[Preferences]\nImgBorderWidth=256", &S::ImgBorderWidth, 255},
        // The stored mode counts only when the default mode says "as last time" (2).
        {"[Colors]\nDefaultColorMode=2\nColorMode=1", &S::ColorMode, 1},
        {"[Colors]\nDefaultColorMode=2", &S::ColorMode, 0},
        {"[Colors]\nDefaultColorMode=1\nColorMode=0", &S::ColorMode, 1},
        {"[Colors]\nDefaultColorMode=3\nColorMode=1", &S::ColorMode, 0},
        {"[Colors]\nDefaultColorMode=-1\nColorMode=1", &S::DefaultColorMode, 0}};
    for (const auto& r : rows) {
        WriteText(dir / "k.ini", r.text);
        EXPECT_EQ(ReadMainSettings(ini, Context).*r.field, r.value) << r.text;
    }
}
