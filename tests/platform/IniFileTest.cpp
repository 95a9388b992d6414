#include "IniFile.h"
#include "ScratchIni.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kestrund;

namespace {
class IniFile : public kestrund::testing::TScratchIni {
protected:
    void SetText(const std::string& text)
    {
        kestrund::testing::WriteText(Path(), text);
    }
};
} // namespace

TEST_F(IniFile, MissingFileAndKeysGiveDefaults)
{
    TExtIniFile ini(Path());
    EXPECT_EQ(ini.ReadString("Directories", "TileDir", "/x"), "/x");
    EXPECT_EQ(ini.ReadInteger("Preferences", "ZoomFactor", 1), 1);
    EXPECT_TRUE(ini.ReadBool("Preferences", "OverWriteWarning", true));
    EXPECT_FALSE(std::filesystem::exists(Path())) << "reading creates nothing";
}

TEST_F(IniFile, ReadsWindowsFilesIgnoringCase)
{
    SetText("; comment\r\n[Preferences]\r\nZoomFactor = 4\r\nlogLEVEL=2\r\nbad=12x\r\nflag=7\r\n\r\n"
            "[colors]\r\nBackGroundColor=-2147483633\r\nHex=$FF\r\n");
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadInteger("PREFERENCES", "zoomfactor", 1), 4);
    EXPECT_EQ(ini.ReadInteger("Preferences", "LogLevel", 0), 2);
    EXPECT_EQ(ini.ReadInteger("Preferences", "bad", 9), 9) << "a malformed number gives the default";
    EXPECT_TRUE(ini.ReadBool("Preferences", "flag", false)) << "any non-zero number is true";
    EXPECT_EQ(ini.ReadInteger("Colors", "BackGroundColor", 0), -2147483633LL);
    EXPECT_EQ(ini.ReadInteger("Colors", "Hex", 0), 255);
    EXPECT_EQ(ini.ReadInteger("Colors", "ZoomFactor", 3), 3) << "keys belong to their section";
    EXPECT_TRUE(ini.SectionExists("COLORS"));
    EXPECT_TRUE(ini.ValueExists("colors", "hex"));
}

TEST_F(IniFile, WritesKeepOtherSectionsAndReplaceInPlace)
{
    SetText("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    TIniFile ini(Path());
    ini.WriteInteger("a", "X", 5);
    ini.WriteString("A", "z", "hello world");
    ini.WriteBool("C", "b", true);
    EXPECT_EQ(Text(), "[A]\r\nx=5\r\nz=hello world\r\n\r\n[B]\r\ny=2\r\n\r\n[C]\r\nb=1\r\n");
    ini.EraseSection("b");
    ini.DeleteKey("A", "x");
    EXPECT_EQ(Text(), "[A]\r\nz=hello world\r\n\r\n[C]\r\nb=1\r\n");
}

TEST_F(IniFile, WriteUnlessDefault)
{
    TExtIniFile ini(Path());
    ini.WriteIntegerDef("Preferences", "ZoomFactor", 1, 3);
    ini.WriteBoolDef("Preferences", "OverWriteWarning", true, false);
    ini.WriteStringDef("Preferences", "HelpFile", "Kestrund.hlp", "other.hlp");
    EXPECT_EQ(Text(), "[Preferences]\r\nZoomFactor=3\r\nOverWriteWarning=0\r\nHelpFile=other.hlp\r\n");
    ini.WriteIntegerDef("Preferences", "ZoomFactor", 1, 1);
    ini.WriteBoolDef("Preferences", "OverWriteWarning", true, true);
    ini.WriteStringDef("Preferences", "HelpFile", "Kestrund.hlp", "Kestrund.hlp");
    EXPECT_EQ(Text(), "[Preferences]\r\n");
    EXPECT_FALSE(ini.ValueExists("Preferences", "ZoomFactor"));
}

TEST_F(IniFile, SettingsLocation)
{
    EXPECT_EQ(SettingsFilePath("/opt/k/kestrund", "/tmp/mine.ini", nullptr, "/home/u"), "/tmp/mine.ini");
    const std::string beside = (Dir / "kestrund").string();
    EXPECT_EQ(SettingsFilePath(beside, "", nullptr, "/home/u"), (Dir / "kestrund.ini").string());
    if (::geteuid() != 0) { // root may write anywhere
        EXPECT_EQ(SettingsFilePath("/proc/kestrund", "", "/cfg", "/home/u"), "/cfg/Kestrund/Kestrund.ini");
        EXPECT_EQ(SettingsFilePath("/proc/kestrund", "", "", "/home/u"), "/home/u/.config/Kestrund/Kestrund.ini");
    }
    // A settings file in a folder that does not exist yet is made on the first write.
    TIniFile nested((Dir / "a/b/k.ini").string());
    nested.WriteInteger("S", "k", 1);
    EXPECT_EQ(nested.ReadInteger("S", "k", 0), 1);
}
