#include "ExtSpinEdit.h"
#include "FileUtil.h"
#include "MainForm.h"
#include "Scratch.h"
#include "ScriptExport.h"
#include "ScriptedPrompts.h"
#include "SetBuilders.h"
#include "ViewPicture.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace kestrund;
using namespace kestrund::testing;
namespace fs = std::filesystem;

namespace {

class MainForm : public ::testing::Test {
protected:
    auto Open(const std::string& file = {}) { return std::make_unique<TMainForm>(Prompts, Ini, file); }
    void SetUp() override { MakeRichSet(3, false)->SaveToFile(Rich, 0); }
    static QAction* Item(QMenu* menu, const QString& caption)
    {
        for (QAction* a : menu->actions())
            if (a->text() == caption)
                return a;
        return nullptr;
    }

    TScratchDir Dir;
    const std::string Ini = Dir / "k.ini", Rich = Dir / "rich.til"; // a set of five tiles
    TScriptedPrompts Prompts;
};

} // namespace

TEST_F(MainForm, StartsWithOneElementOfEachKindAndRemembersChangedSettings)
{
    auto form = Open();
    EXPECT_EQ(form->windowTitle(), "Kestrund");
    for (QLabel* count : form->CountLabels)
        EXPECT_EQ(count->text(), "1");
    // Only the tiles are shown; the rule's group is enabled, its number widgets wait for the box.
    EXPECT_EQ((std::array{form->ShowBoxes[kTiles]->isChecked(), form->Groups[kTiles]->isEnabled(),
                          form->Groups[kBorders]->isEnabled(), form->Spins[kRules]->isEnabled(),
                          form->Groups[kRules]->isEnabled()}),
              (std::array{true, true, false, false, true}));
    EXPECT_EQ(form->ViewPicture.size(), QSize(98, 76));
    EXPECT_EQ((QStringList{form->miFileOpen->shortcut().toString(), form->miFileOpen->statusTip(),
                           form->miFileImportScript->text(), form->ZoomItems[0]->text()}),
              (QStringList{"Ctrl+O", "Open a TileFile", "Im&port Script ..", "Zoom &1x  "}));
    EXPECT_EQ(form->Spins[kTiles]->property("HelpContext").toInt(), 102);
    EXPECT_EQ(form->lTileIDHex->property("Tag").toInt(), 1012);

    form.reset(); // the first run writes only the help file
    TIniFile ini(Ini);
    EXPECT_EQ(ini.ReadString("Preferences", "HelpFile", ""), "Kestrund.hlp");
    EXPECT_FALSE(ini.SectionExists("Colors"));
    EXPECT_FALSE(ini.ValueExists("Preferences", "ZoomFactor"));
    form = Open();
    form->SetZoom(3);
    form->SetBackgroundColor(clBtnFace);
    form.reset();
    EXPECT_EQ(ini.ReadString("Preferences", "ZoomFactor", ""), "3");
    EXPECT_EQ(ini.ReadString("Colors", "BackGroundColor", ""), "-2147483633");
    form = Open();
    EXPECT_EQ(form->ZoomFactor, 3);
    EXPECT_EQ(form->BgColor, clBtnFace);
    EXPECT_TRUE(Item(form->BackgroundMenu, "S&ystem")->isChecked());
}

TEST_F(MainForm, OpenAppendAndNewKeepNumbersInRangeDamagedFilesLeaveTheSet)
{
    auto form = Open(Rich);
    EXPECT_EQ(form->CountLabels[kTiles]->text(), "5");
    EXPECT_EQ(form->Spins[kTiles]->MaxValue(), 4);
    auto missing = Open(Dir / "none.til");
    ASSERT_EQ(Prompts.Messages.size(), 1u);
    EXPECT_EQ(Prompts.Messages[0].Text, Dir / "none.til" + " not found");
    EXPECT_EQ(Prompts.Messages[0].Type, TMsgType::Error);

    auto bytes = ReadWholeFile(Rich);
    bytes.resize(bytes.size() / 2);
    WriteWholeFile(Dir / "cut.til", bytes);
    Prompts.FileAnswers = {Dir / "cut.til"};
    form->miFileOpenClick();
    ASSERT_EQ(Prompts.Messages.size(), 2u);
    EXPECT_EQ(Prompts.Messages[1].Text.rfind(Dir / "cut.til" + " could not be read:\n\r", 0), 0u)
        << Prompts.Messages[1].Text;
    EXPECT_EQ(form->TileFile.TileCount(), 5u) << "the open set stays";
    EXPECT_EQ(Prompts.OpenRequests[0].Title, "Open Tile File");
    EXPECT_EQ(Prompts.OpenRequests[0].Filter, "CTP1/CTP2 Tile File (*.til)|*.til|All Files (*.*)|*.*");

    form->Spins[kTiles]->SetValue(4);
    TTileFile().SaveToFile(Dir / "small.til", 0);
    Prompts.FileAnswers = {Dir / "small.til"};
    form->miFileOpenClick();
    EXPECT_EQ(form->Spins[kTiles]->Value(), 0) << "brought back into the one-tile set";
    EXPECT_EQ(form->Settings.TileDir, Dir.Path().string());
    Prompts.FileAnswers = {Rich};
    form->miAppendTileFileClick();
    EXPECT_EQ(Prompts.OpenRequests.back().Title, "Append Tile File");
    EXPECT_EQ(form->TileFile.TileCount(), 6u);
    EXPECT_EQ(form->Spins[kTiles]->MaxValue(), 5);

    form->Spins[kTiles]->SetValue(3);
    form->miFileNewClick();
    for (TExtSpinEdit* spin : form->Spins)
        EXPECT_EQ(spin->Value(), 0);
    form->Spins[kTiles]->UpClick();
    EXPECT_EQ(form->Spins[kTiles]->Value(), 0) << "one tile: the number stays 0";
}

TEST_F(MainForm, SaveTileFileAsksTwice)
{
    auto form = Open(Rich);
    const std::string tileDir = form->Settings.TileDir;
    form->miFileSaveTileFileClick(); // cancelling the first dialog asks nothing more
    EXPECT_EQ(Prompts.SaveRequests.size(), 1u);
    EXPECT_EQ(Prompts.SaveRequests[0].Title, "Save CTP1/CTP2 Tile File - Normal colors");
    EXPECT_EQ(Prompts.SaveRequests[0].FileName, "gtset555.til");

    // Cancelling only the second writes the 5-5-5 file alone; the folder stays.
    fs::create_directory(Dir.Path() / "out");
    Prompts.FileAnswers = {Dir / "out/a555", std::nullopt};
    form->miFileSaveTileFileClick();
    EXPECT_EQ(Prompts.SaveRequests[2].Title, "Save CTP1/CTP2 Tile File - InGame version");
    EXPECT_EQ(Prompts.SaveRequests[2].FileName, "gtset565.til");
    EXPECT_TRUE(fs::exists(Dir.Path() / "out/a555.til")) << "the default extension is added";
    EXPECT_EQ(form->Settings.TileDir, tileDir);

    Prompts.FileAnswers = {Dir / "out/b555.til", Dir / "out/b565.til"};
    form->miFileSaveTileFileClick();
    EXPECT_EQ(ReadWholeFile(Dir / "out/b555.til"), form->TileFile.SaveToMemory(0));
    EXPECT_EQ(ReadWholeFile(Dir / "out/b565.til"), form->TileFile.SaveToMemory(1));
    EXPECT_EQ(form->Settings.TileDir, (Dir.Path() / "out").string());
}

TEST_F(MainForm, ExportScriptChecksTheGraphicsFolder)
{
    auto form = Open();
    // A file in the folder's place: warned, nothing written.
    WriteText(Dir / "set", "in the way");
    Prompts.FileAnswers = {Dir / "set.src"};
    form->miFileExportScriptClick();
    ASSERT_EQ(Prompts.Messages.size(), 1u);
    EXPECT_EQ(Prompts.Messages[0].Text,
              "A file named '" + Dir / "set" + "' already exists\rCould not create Directory");
    EXPECT_EQ(Prompts.Messages[0].Buttons, mbYes | mbCancel);
    EXPECT_FALSE(fs::exists(Dir.Path() / "set.src"));
    EXPECT_EQ(Prompts.SaveRequests[0].Title, "Export to Script File and Graphics");
    EXPECT_EQ(Prompts.SaveRequests[0].FileName, "test.src");

    // A new name: the folder is made and the set exported into it.
    Prompts.FileAnswers = {Dir / "fresh.src"};
    form->miFileExportScriptClick();
    EXPECT_EQ(Prompts.Messages.size(), 1u);
    EXPECT_TRUE(fs::exists(Dir.Path() / "fresh/TILE0000.tga"));
    EXPECT_EQ(ReadText(Dir / "fresh.src"), ScriptText(form->TileFile));

    // An existing folder: asked; Cancel writes nothing, OK exports.
    fs::remove(Dir.Path() / "fresh.src");
    Prompts.FileAnswers = {Dir / "fresh.src", Dir / "fresh.src"};
    Prompts.MessageAnswers = {mbCancel, mbOK};
    form->miFileExportScriptClick();
    EXPECT_EQ(Prompts.Messages.back().Text,
              "The directory '" + Dir / "fresh" + "' already exists\rUsing this may overwrite existing files");
    EXPECT_EQ(Prompts.Messages.back().Buttons, mbOK | mbCancel);
    EXPECT_FALSE(fs::exists(Dir.Path() / "fresh.src"));
    form->miFileExportScriptClick();
    EXPECT_TRUE(fs::exists(Dir.Path() / "fresh.src"));
}

TEST_F(MainForm, ImportScriptResults)
{
    auto form = Open();
    // A clean import: no message, the log beside the script.
    const auto rich = MakeRichSet(9, false);
    fs::create_directory(Dir.Path() / "rich");
    ExportScript(*rich, "rich", Dir / "rich.src");
    Prompts.FileAnswers = {Dir / "rich.src"};
    form->miFileImportScriptClick();
    EXPECT_TRUE(Prompts.Messages.empty()) << Prompts.Messages[0].Text;
    EXPECT_EQ(Prompts.OpenRequests[0].Title, "Import Script File");
    EXPECT_EQ(form->LogFileName, Dir / "rich.log");
    EXPECT_TRUE(fs::exists(Dir.Path() / "rich.log"));
    EXPECT_EQ(form->TileFile.TileCount(), rich->TileCount());
    EXPECT_EQ(form->Spins[kTiles]->MaxValue(), static_cast<int>(rich->TileCount()) - 1);
    EXPECT_FALSE(form->lLoadingLabel->isVisibleTo(form.get()));

    // Element errors: a warning naming the script and the log.
    fs::create_directory(Dir.Path() / "new");
    ExportScript(TTileFile(), "new", Dir / "new.src");
    fs::remove(Dir.Path() / "new/TILE0000.tga");
    Prompts.FileAnswers = {Dir / "new.src"};
    form->miAppendScriptClick();
    ASSERT_EQ(Prompts.Messages.size(), 1u);
    EXPECT_EQ(Prompts.Messages[0].Text, "There were errors importing " + Dir / "new.src" +
                                            "\n\rSome elements might not have been properly created\n\rSe logfile: \"" +
                                            Dir / "new.log" + "\" for details");
    EXPECT_EQ(Prompts.Messages[0].Type, TMsgType::Warning);
    EXPECT_EQ(form->TileFile.TileCount(), rich->TileCount() + 1) << "appended";

    // A script whose log would be itself is refused, and said so.
    WriteText(Dir / "s.log", "Kestrund Script v.1.1\r\n");
    Prompts.FileAnswers = {Dir / "s.log"};
    Prompts.Messages.clear();
    form->miFileImportScriptClick();
    ASSERT_EQ(Prompts.Messages.size(), 1u);
    EXPECT_EQ(Prompts.Messages[0].Text, "Cannot import \"" + Dir / "s.log" +
                                            "\": its import log would be written over the script itself; give the "
                                            "script another extension, such as .src");
    EXPECT_EQ(ReadText(Dir / "s.log"), "Kestrund Script v.1.1\r\n");

    // Not a script, and an unexpected failure while appending: failed, the set as it was.
    WriteText(Dir / "bad.src", "hello\r\n");
    WriteText(Dir / "short.src", "Kestrund Script v.1.1\r\n$7C1F $83E0\r\n0\r\n0\r\n2\r\n1 0 0 A.tga\r\n");
    for (const std::string name : {"bad", "short"}) {
        Prompts.FileAnswers = {Dir / (name + ".src")};
        name == "bad" ? form->miFileImportScriptClick() : form->miAppendScriptClick();
        EXPECT_EQ(Prompts.Messages.back().Text,
                  "Import Failed\n\rSe logfile: \"" + Dir / (name + ".log") + "\" for details");
        EXPECT_EQ(Prompts.Messages.back().Type, TMsgType::Error);
        EXPECT_EQ(form->TileFile.TileCount(), rich->TileCount() + 1);
        EXPECT_EQ(form->TileFile.RiverCount(), rich->RiverCount() + 1) << "put back, not reset";
    }
}

TEST_F(MainForm, ViewSizesAndRuleFollowingTheTile)
{
    auto form = Open(Rich);
    form->miView3x3->trigger();
    EXPECT_EQ(form->ViewPicture.size(), QSize(294, 176));
    form->SetZoom(8);
    EXPECT_EQ(form->pbTile->size(), QSize(2352, 1408));
    form->ShowBoxes[kVariationRules]->click();
    EXPECT_EQ(form->ViewPicture.size(), QSize(290, 172));
    EXPECT_TRUE(form->Spins[kVariationRules]->isEnabled());
    form->ShowBoxes[kVariationRules]->click();
    form->miViewSingle->trigger();
    EXPECT_EQ(form->ViewPicture.size(), QSize(98, 76));
    form->ShowBoxes[kImprovements]->click();
    EXPECT_EQ(form->ViewPicture.size(), QSize(4 + std::max(94, form->TileFile.Improvement(0).MaxWidth()), 76))
        << "an improvement widens the view";
    EXPECT_TRUE(form->Groups[kImprovements]->isEnabled());

    // The rule for a tile: every Alt1 before any Alt2; the rule number follows.
    TTileFile& set = form->TileFile;
    const std::uint16_t id = set.Tile(2).TileID;
    for (std::size_t r = 0; r < set.TileRuleCount(); ++r)
        set.TileRule(r).Values.fill(0xFFFF);
    set.TileRule(1).Values[rvAlt2] = set.TileRule(3).Values[rvAlt1] = id;
    set.TileRule(3).Values[nbN] = 7;
    form->Spins[kTiles]->SetValue(2);
    EXPECT_EQ(form->CurrentRule, &set.TileRule(3));
    EXPECT_EQ(form->Spins[kRules]->Value(), 3);
    EXPECT_EQ(form->RuleLabels[0]->text() + form->RuleLabels[1]->text(), "7-1");
    form->miViewHex->trigger();
    EXPECT_EQ(form->RuleLabels[1]->text(), "FFFF");
    EXPECT_EQ(form->lTileIDHex->text(), QString("%1").arg(id, 4, 16, QChar('0')).toUpper());
    EXPECT_EQ(form->CountLabels[kTiles]->text(), "0005");
    // A tile no rule names shows the direction names.
    set.TileRule(3).Values[rvAlt1] = set.TileRule(1).Values[rvAlt2] = 0xFFFF;
    form->RedrawView();
    EXPECT_EQ(form->RuleLabels[0]->text() + form->RuleLabels[9]->text(), "N0000");
}

TEST_F(MainForm, ColourMenusAndBorderToolbar)
{
    auto form = Open();
    QAction* black = Item(form->ShadowMenu, "&Black");
    black->trigger();
    EXPECT_TRUE(black->isChecked() && !form->miShadowInvert->isChecked());
    EXPECT_EQ((std::array{form->ShadowColor, form->TileFile.ShadowColor}), (std::array<TColor, 2>{0, 0}));
    form->miShadowInvert->trigger();
    EXPECT_EQ(form->TileFile.ShadowColor, ~0xC0C0C0u);
    EXPECT_EQ(form->ShadowColor, 0u) << "Invert changes the set's colour only";

    // Custom: cancelled changes nothing; confirmed takes the colour.
    QAction* custom = Item(form->BackgroundMenu, "&Custom");
    custom->trigger();
    EXPECT_EQ(form->BgColor, 0xC0C0C0u);
    EXPECT_TRUE(Item(form->BackgroundMenu, "&Silver")->isChecked());
    Prompts.ColorAnswers = {0x123456u};
    custom->trigger();
    EXPECT_EQ(form->BgColor, 0x123456u);
    EXPECT_EQ(form->TileFile.TransparentColor, 0x123456u);
    EXPECT_TRUE(custom->isChecked());

    EXPECT_FALSE(form->BorderButtons[0]->isEnabled());
    form->ShowBoxes[kBorders]->click();
    EXPECT_TRUE(form->BorderButtons[0]->isEnabled());
    EXPECT_EQ(form->BorderMask(), 15);
    form->BorderButtons[1]->click();
    EXPECT_EQ((std::array{form->BorderMask(), form->ViewState().BorderMask}), (std::array{13, 13}));
    // The default border's north-west edge is green; unpressed it is not drawn.
    const TMaskPoint p = BorderMask(1)[0];
    EXPECT_NE(form->ViewPicture.pixelColor(2 + p.X, 2 + p.Y), QColor(0, 248, 0));
    form->BorderButtons[1]->click();
    EXPECT_EQ(form->ViewPicture.pixelColor(2 + p.X, 2 + p.Y), QColor(0, 248, 0));
    form->miInGameColorMode->trigger();
    EXPECT_EQ(form->TileFile.ColorMode, cmRGB565);
    EXPECT_EQ(form->TileFile.Tile(0).ColorMode, cmRGB565);

    form->miHelpAbout->trigger();
    ASSERT_EQ(Prompts.Abouts.size(), 1u);
    EXPECT_EQ(Prompts.Abouts[0].rfind("Kestrund\nVersion ", 0), 0u) << Prompts.Abouts[0];
}

TEST(Prompts, FiltersInQtFormAndDefaultExtensions)
{
    EXPECT_EQ(QtFilter("CTP1/CTP2 Tile File (*.til)|*.til|All Files (*.*)|*.*"),
              "CTP1/CTP2 Tile File (*.til);;All Files (*.*)");
    EXPECT_EQ(QtFilter("JPEG JFIF Compliant (*.jpg,*.jif,*.jpeg)|*.jpg;*.jif;*.jpeg"),
              "JPEG JFIF Compliant (*.jpg *.jif *.jpeg)");
    EXPECT_EQ(QtSelectedFilter("A (*.a)|*.a|B (*.b)|*.b", 2), "B (*.b)");
    EXPECT_EQ(QtSelectedFilter("A (*.a)|*.a", 3), "");
    for (auto [name, ext, full] : {std::tuple{"/x/set", "*.src", "/x/set.src"}, {"/x/set.SRC", "*.src", "/x/set.SRC"},
                                   {"/x.d/set", "*.til", "/x.d/set.til"}})
        EXPECT_EQ(WithDefaultExtension(name, ext), full);
}
