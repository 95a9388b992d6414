// File → Options as the main window runs it (what it hands the dialog, what it does with the
// answer, the dialog's immediate actions) and the main window's help.

#include "ExtSpinEdit.h"
#include "Help.h"
#include "IniFile.h"
#include "MainFormFixture.h"
#include "MainFormPanels.h"

#include <cstdlib>

using namespace kestrund;
using namespace kestrund::testing;
namespace fs = std::filesystem;

namespace {

class Options : public MainForm {};

} // namespace

TEST_F(Options, TheDialogShowsTheStoredFoldersAndItsAnswerIsAppliedAndWrittenAtOnce)
{
    TIniFile(Ini).WriteString("Directories", "PersistentDirs", "1");
    TIniFile(Ini).WriteString("Directories", "TileDir", "/stored/tiles");
    auto form = Open();
    form->Settings.TileDir = "/used/in/this/run";
    std::optional<TOptionsRequest> asked;
    Prompts.OptionsAnswer = [&](const TOptionsRequest& request) {
        asked = request;
        return std::nullopt;
    };
    form->miFileOptions->trigger();
    ASSERT_TRUE(asked);
    EXPECT_EQ(asked->Values.TileDir, "/stored/tiles") << "a persistent folder shows as stored";
    EXPECT_TRUE(asked->Values.PersistentDirs && asked->Values.OverWriteWarning);
    EXPECT_EQ(std::tuple(asked->Values.ImgBorderWidth, asked->Values.BgColor, asked->Values.ShadowColor),
              std::tuple(2, 0xC0C0C0u, 0x808080u));
    EXPECT_EQ(TIniFile(Ini).ReadString("Preferences", "LogLevel", "none"), "none") << "Cancel writes nothing";

    TOptionsValues answer = asked->Values;
    answer.TileDir = "/chosen", answer.LogLevel = 2, answer.OverWriteWarning = false, answer.ImgBorderWidth = 5;
    answer.BgColor = 0x112233, answer.ShadowColor = 0x445566, answer.PersistentColors = true;
    Prompts.OptionsAnswer = [&](const TOptionsRequest&) { return answer; };
    form->miFileOptions->trigger();
    // Written at once, persistent folders and colours included.
    const TIniFile ini(Ini);
    EXPECT_EQ(ini.ReadString("Directories", "TileDir", "") + " " + ini.ReadString("Preferences", "LogLevel", "") +
                  " " + ini.ReadString("Preferences", "OverWriteWarning", "") + " " +
                  ini.ReadString("Preferences", "ImgBorderWidth", ""),
              "/chosen 2 0 5");
    EXPECT_EQ(std::pair(ini.ReadInteger("Colors", "BackGroundColor", 0), ini.ReadInteger("Colors", "ShadowColor", 0)),
              std::pair(0x112233LL, 0x445566LL));
    // Applied: the view's border and colours, and the save dialogs stop asking before overwriting.
    EXPECT_EQ(std::tuple(form->ViewPicture.width(), form->BgColor, form->ShadowColor, form->TileFile.ShadowColor),
              std::tuple(94 + 2 * 5, 0x112233u, 0x445566u, 0x445566u));
    form->miFileSaveImage->trigger();
    ASSERT_EQ(Prompts.SaveRequests.size(), 1u);
    EXPECT_FALSE(Prompts.SaveRequests[0].OverwritePrompt);
    EXPECT_EQ(Prompts.SaveRequests[0].InitialDir, form->Settings.ImageDir);
    EXPECT_EQ(form->miFileOptions->text() + " " + form->miFileOptions->shortcut().toString(), "O&ptions... Shift+F2");
}

TEST_F(Options, ResetIniAndTheRegistrationActAtOnce)
{
    const char* const sections[] = {"MainWindow",   "Preferences",   "Colors",         "Directories",    "LogWindow",
                                    "SelDirWindow", "OptionsWindow", "PropertyWindow", "ImportTGAWindow"};
    {
        TExtIniFile ini(Ini);
        for (const char* section : sections)
            ini.WriteString(section, "Left", "7");
        for (auto [section, key, value] : {std::tuple{"Preferences", "LogLevel", "2"}, {"Colors", "BackGroundColor", "255"},
                                           {"Other", "Kept", "1"}, {"LogWindow", "WordWrap", "0"}})
            ini.WriteString(section, key, value);
    }
    const std::string data = Dir / "data", desktop = data + "/applications/kestrund.desktop";
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (Dir / "config").c_str(), 1);
    auto form = Open(Rich);
    auto* wrap = form->findChild<QAction*>("aWordWrap");
    form->miInGameColorMode->trigger();
    ASSERT_EQ(std::tuple(form->Settings.LogLevel, form->BgColor, wrap->isChecked(), form->TileFile.ColorMode),
              std::tuple(2, 0xFFu, false, cmRGB565));
    bool registered = false;
    Prompts.OptionsAnswer = [&](const TOptionsRequest& request) {
        request.ResetIni();
        request.RegisterFileType();
        registered = fs::exists(desktop);
        request.UnregisterFileType();
        return std::nullopt;
    };
    form->miFileOptions->trigger();
    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    const TIniFile ini(Ini);
    for (const char* section : sections)
        EXPECT_EQ(ini.ReadString(section, "Left", "gone"), "gone") << section;
    EXPECT_EQ(ini.ReadString("Other", "Kept", ""), "1");
    EXPECT_EQ(std::tuple(form->Settings.LogLevel, form->BgColor, wrap->isChecked()), std::tuple(0, 0xC0C0C0u, true))
        << "the defaults, read at once";
    // Retagging the elements would have them misread as 5-5-5 pixels.
    EXPECT_EQ(std::tuple(form->TileFile.ColorMode, form->miInGameColorMode->isChecked(), form->TileFile.Tile(0).ColorMode),
              std::tuple(cmRGB565, true, cmRGB565));
    // Each registration step says what it did.
    EXPECT_TRUE(registered && !fs::exists(desktop));
    const std::string program = QCoreApplication::applicationFilePath().section('/', -1).toStdString();
    ASSERT_EQ(Prompts.Messages.size(), 2u);
    EXPECT_EQ(std::tuple(Prompts.Messages[0].Text, Prompts.Messages[1].Text, Prompts.Messages[1].Type),
              std::tuple(".til has been registered to " + program, std::string(".til has been unregistered."),
                         TMsgType::Information));
}

TEST_F(Options, HelpIndexAndTheContextsOfTheLeftPanel)
{
    auto form = OpenShown(Rich);
    TRecordingHelp help;
    form->miHelpIndex->trigger();
    EXPECT_EQ(help.Asked, std::vector<int>{0}) << "the contents";
    EXPECT_EQ(form->miHelpIndex->text() + " " + form->miHelpIndex->shortcut().toString(), "&Index ... F1");
    // Labels give their tag, other controls their context, disabled ones too (rules are off at start).
    auto* panel = form->findChild<QWidget*>("pLeft");
    ASSERT_TRUE(panel);
    const std::pair<QWidget*, int> cases[] = {
        {form->RuleLabels[9], 4101}, {form->RuleLabels[0], 4107}, {form->CountLabels[kTiles], 1011},
        {form->Spins[kRules], 111},  {form->ShowBoxes[kTiles], 101}, {form->lVRTileSetIndex, 1062}};
    for (const auto& [widget, context] : cases)
        EXPECT_EQ(HelpContextAt(panel, widget->mapTo(panel, widget->rect().center())), context)
            << widget->objectName().toStdString();
    EXPECT_EQ(HelpContextAt(form->ScrollBox, QPoint(200, 200)), 113);
}
