#include "MainSettings.h"
#include "ScratchIni.h"

#include <gtest/gtest.h>


using namespace kestrund;

namespace {
class MainSettings : public kestrund::testing::TScratchIni {
protected:
    TSettingsContext Context{"/opt/kestrund", 1920, 1080};
};
} // namespace

TEST_F(MainSettings, FirstRunStartsWithDefaultsAndWritesOnlyHelpFile)
{
    TExtIniFile ini(Path());
    const TMainSettings s = ReadMainSettings(ini, Context);
    EXPECT_EQ(s.TileDir, "/opt/kestrund");
    EXPECT_EQ(s.MainWindow, (TWindowPlacement{560, 235, 800, 609, 0}));
    EXPECT_EQ(s.BackGroundColor, 0xC0C0C0u);
    EXPECT_EQ(s.ZoomFactor, 1);
    WriteMainSettings(ini, s, Context, false);
    EXPECT_EQ(Text(), "[Preferences]\r\nHelpFile=Kestrund.hlp\r\n");
}

TEST_F(MainSettings, ChangedValuesAreWrittenAndDefaultsDeleted)
{
    TExtIniFile ini(Path());
    TMainSettings s = ReadMainSettings(ini, Context);
    s.MainWindow.Left = 10;
    s.ZoomFactor = 4;
    s.BackGroundColor = 0x8000000F; // the system button face
    s.TileDir = "/data/sets";
    WriteMainSettings(ini, s, Context, false);
    EXPECT_EQ(ini.ReadString("MainWindow", "Left", ""), "10");
    EXPECT_FALSE(ini.ValueExists("MainWindow", "Width"));
    EXPECT_EQ(ini.ReadString("Colors", "BackGroundColor", ""), "-2147483633");
    EXPECT_EQ(ini.ReadString("Directories", "TileDir", ""), "/data/sets");
    EXPECT_EQ(ReadMainSettings(ini, Context).BackGroundColor, 0x8000000Fu);

    // Silver and Gray are the defaults: choosing them deletes the keys.
    s.BackGroundColor = 0xC0C0C0;
    s.ShadowColor = 0x808080;
    s.ZoomFactor = 1;
    WriteMainSettings(ini, s, Context, false);
    EXPECT_FALSE(ini.ValueExists("Colors", "BackGroundColor"));
    EXPECT_FALSE(ini.ValueExists("Colors", "ShadowColor"));
    EXPECT_FALSE(ini.ValueExists("Preferences", "ZoomFactor"));
}

TEST_F(MainSettings, PersistentColoursAndFoldersAreNotOverwritten)
{
    TExtIniFile ini(Path());
    ini.WriteInteger("Colors", "BackGroundColor", 0xFF);
    ini.WriteBool("Colors", "PersistentColors", true);
    ini.WriteBool("Directories", "PersistentDirs", true);
    ini.WriteString("Directories", "SrcDir", "/kept");
    TMainSettings s = ReadMainSettings(ini, Context);
    ASSERT_TRUE(s.PersistentColors);
    s.BackGroundColor = 0xFFFFFF;
    s.SrcDir = "/moved";
    WriteMainSettings(ini, s, Context, false);
    EXPECT_EQ(ReadMainSettings(ini, Context).BackGroundColor, 0xFFu);
    EXPECT_EQ(ReadMainSettings(ini, Context).SrcDir, "/kept");
    WriteMainSettings(ini, s, Context, true); // the Options command forces them
    EXPECT_EQ(ReadMainSettings(ini, Context).BackGroundColor, 0xFFFFFFu);
    EXPECT_EQ(ReadMainSettings(ini, Context).SrcDir, "/moved");
}

TEST_F(MainSettings, ColourModeIsRememberedOnlyWhenAskedTo)
{
    TExtIniFile ini(Path());
    TMainSettings s = ReadMainSettings(ini, Context);
    s.DefaultColorMode = 2;
    s.ColorMode = 1;
    WriteMainSettings(ini, s, Context, false);
    EXPECT_EQ(ini.ReadString("Colors", "ColorMode", ""), "1");
    EXPECT_EQ(ReadMainSettings(ini, Context).ColorMode, 1);
    s.DefaultColorMode = 0;
    WriteMainSettings(ini, s, Context, false);
    EXPECT_FALSE(ini.ValueExists("Colors", "ColorMode"));
    EXPECT_EQ(ReadMainSettings(ini, Context).ColorMode, 0);
    // The in-game mode as default ignores a stored mode.
    ini.WriteInteger("Colors", "DefaultColorMode", 1);
    ini.WriteInteger("Colors", "ColorMode", 0);
    EXPECT_EQ(ReadMainSettings(ini, Context).ColorMode, 1);
}

TEST_F(MainSettings, OutOfRangeValuesFallBack)
{
    TExtIniFile ini(Path());
    ini.WriteInteger("Preferences", "LogLevel", 7);
    ini.WriteInteger("Preferences", "ZoomFactor", 40);
    ini.WriteString("Preferences", "ImgBorderWidth", "wide");
    const TMainSettings s = ReadMainSettings(ini, Context);
    EXPECT_EQ(s.LogLevel, 0);
    EXPECT_EQ(s.ZoomFactor, 8);
    EXPECT_EQ(s.ImgBorderWidth, 2);
}
