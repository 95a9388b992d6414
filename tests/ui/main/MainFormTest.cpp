// The main window driven as its user drives it, every question answered from a script; and the
// command line that starts it.

#include "EditorCommandLine.h"
#include "ErrorLogForm.h"
#include "ExtSpinEdit.h"
#include "FileUtil.h"
#include "MainFormFixture.h"
#include "ScriptExport.h"
#include "ViewPicture.h"

#include <deque>
#include <map>

using namespace kestrund;
using namespace kestrund::testing;
namespace fs = std::filesystem;

namespace {

// What the window showed when an event reached this: the set's tile count and whether the
// loading label was up.
struct TSeen : QObject {
    explicit TSeen(const TMainForm& form) : Form(form) {}
    const TMainForm& Form;
    std::vector<std::pair<std::size_t, bool>> Seen;
    bool Note()
    {
        Seen.emplace_back(Form.TileFile.TileCount(), Form.lLoadingLabel->isVisible());
        return false;
    }
    bool event(QEvent* event) override { return event->type() == QEvent::User ? Note() : QObject::event(event); }
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Paint && Note(); }
};

} // namespace

TEST_F(MainForm, StartsWithOneElementOfEachKindInTheDefaultWindowAndRemembersChangedSettings)
{
    auto form = OpenShown();
    for (QLabel* count : form->CountLabels)
        EXPECT_EQ(count->text(), "1");
    // Only the tiles are shown; the rules' groups are enabled, their number widgets wait for the box.
    EXPECT_EQ((std::array{form->ShowBoxes[kTiles]->isChecked(), form->Groups[kTiles]->isEnabled(),
                          form->Groups[kBorders]->isEnabled(), form->Spins[kRules]->isEnabled(),
                          form->Groups[kRules]->isEnabled(), form->Spins[kVariationRules]->isEnabled()}),
              (std::array{true, true, false, false, true, false}));
    EXPECT_EQ((QStringList{form->windowTitle(), form->miFileOpen->shortcut().toString(), form->miFileOpen->statusTip(),
                           form->miFileImportScript->text(), form->ZoomItems[0]->text()}),
              (QStringList{"Kestrund", "Ctrl+O", "Open a TileFile", "Im&port Script ..", "Zoom &1x  "}));
    EXPECT_EQ(form->Spins[kTiles]->property("HelpContext").toInt(), 102);

    // The left panel shows every group whole and the numbers in one column.
    ASSERT_EQ(form->size(), QSize(800, 609));
    auto* panel = form->findChild<QScrollArea*>("sbLeft");
    ASSERT_TRUE(panel);
    EXPECT_NEAR(panel->width(), 203, 10);
    QWidget* visible = panel->viewport();
    const int numberColumn = form->Spins[kTiles]->mapTo(visible, QPoint()).x();
    for (int k = 0; k < KindCount; ++k) {
        for (QWidget* w : {static_cast<QWidget*>(form->ShowBoxes[k]), static_cast<QWidget*>(form->Groups[k])})
            EXPECT_TRUE(visible->rect().contains(QRect(w->mapTo(visible, QPoint()), w->size()))) << k;
        EXPECT_EQ(form->Spins[k]->mapTo(visible, QPoint()).x(), numberColumn) << k;
    }
    // The File menu's hint shows in the status bar, hovered and opened.
    QAction* file = form->menuBar()->actions().front();
    const QPoint at = form->menuBar()->actionGeometry(file).center();
    QMouseEvent move(QEvent::MouseMove, at, form->menuBar()->mapToGlobal(at), Qt::NoButton, {}, {});
    QApplication::sendEvent(form->menuBar(), &move);
    EXPECT_EQ(form->statusBar()->currentMessage(), "Open, save, import, export, etc.") << "hovered";
    form->statusBar()->clearMessage();
    form->menuBar()->setActiveAction(file);
    EXPECT_EQ(form->statusBar()->currentMessage(), "Open, save, import, export, etc.") << "opened";
    file->menu()->close();
    // The menu's shortcuts act from a number field, which keeps its text: the field would take
    // Ctrl+X, C, A and E for cutting, copying, selecting and going to the end.
    TExtSpinEdit* spin = form->Spins[kTiles];
    Prompts.MessageAnswers = {mbNo}; // Ctrl+C changed the set: Ctrl+X asks, and the change is dropped
    for (auto [key, item] : {std::pair{"Ctrl+C", form->miInGameColorMode}, {"Ctrl+A", form->miAppendTileFile},
                             {"Ctrl+E", form->miFileExportScript}, {"Ctrl+X", form->miFileExit}}) {
        spin->setFocus();
        spin->selectAll();
        QSignalSpy fired(item, &QAction::triggered);
        QTest::keySequence(spin, QKeySequence(key));
        EXPECT_EQ(std::pair(fired.count(), spin->text()), std::pair(qsizetype(1), QString("0"))) << key;
    }
    EXPECT_FALSE(form->isVisible()) << "Ctrl+X closes the window";

    form.reset(); // the first run writes only the help file
    TIniFile ini(Ini);
    EXPECT_EQ(ini.ReadString("Preferences", "HelpFile", ""), "Kestrund.hlp");
    EXPECT_FALSE(ini.SectionExists("Colors") || ini.ValueExists("Preferences", "ZoomFactor"));
    form = Open();
    form->SetZoom(3);
    form->SetBackgroundColor(clBtnFace);
    form.reset();
    EXPECT_EQ(ini.ReadString("Preferences", "ZoomFactor", "") + ini.ReadString("Colors", "BackGroundColor", ""),
              "3-2147483633");
    form = Open();
    EXPECT_EQ(std::pair(form->ZoomFactor, form->BgColor), std::pair(3, clBtnFace));
    EXPECT_TRUE(Item(form->BackgroundMenu, "S&ystem")->isChecked());
}

TEST_F(MainForm, OpenAppendAndNewKeepNumbersInRangeDamagedFilesLeaveTheSet)
{
    auto form = Open(Rich);
    EXPECT_EQ(std::pair(form->CountLabels[kTiles]->text(), form->Spins[kTiles]->MaxValue()), std::pair(QString("5"), 4))
        << "five tiles";
    auto missing = Open(Dir / "none.til");
    ASSERT_EQ(Prompts.Messages.size(), 1u);
    EXPECT_EQ(std::pair(Prompts.Messages[0].Text, Prompts.Messages[0].Type),
              std::pair(Dir / "none.til" + " not found", TMsgType::Error));

    auto bytes = ReadWholeFile(Rich);
    bytes.resize(bytes.size() / 2);
    WriteWholeFile(Dir / "cut.til", bytes);
    Run(*form, &TMainForm::miFileOpenClick, {Dir / "cut.til"});
    ASSERT_EQ(Prompts.Messages.size(), 2u);
    EXPECT_EQ(Prompts.Messages[1].Text.rfind(Dir / "cut.til" + " could not be read:\n\r", 0), 0u)
        << Prompts.Messages[1].Text;
    EXPECT_EQ(form->TileFile.TileCount(), 5u) << "the open set stays";
    EXPECT_EQ(Prompts.OpenRequests[0].Title, "Open Tile File");
    EXPECT_EQ(Prompts.OpenRequests[0].Filter, "CTP1/CTP2 Tile File (*.til)|*.til|All Files (*.*)|*.*");

    form->Spins[kTiles]->SetValue(4);
    TTileFile().SaveToFile(Dir / "small.til", 0);
    Run(*form, &TMainForm::miFileOpenClick, {Dir / "small.til"});
    EXPECT_EQ(form->Spins[kTiles]->Value(), 0) << "brought back into the one-tile set";
    EXPECT_EQ(form->Settings.TileDir, Dir.Path().string()) << "the next dialog starts there";
    Run(*form, &TMainForm::miAppendTileFileClick, {Rich});
    EXPECT_EQ(Prompts.OpenRequests.back().Title, "Append Tile File");
    EXPECT_EQ(std::pair(form->TileFile.TileCount(), form->Spins[kTiles]->MaxValue()), std::pair(std::size_t(6), 5));

    form->Spins[kTiles]->SetValue(3);
    Prompts.MessageAnswers = {mbNo}; // the append is dropped
    form->miFileNewClick();
    for (TExtSpinEdit* spin : form->Spins)
        EXPECT_EQ(spin->Value(), 0);
    form->Spins[kTiles]->UpClick();
    EXPECT_EQ(form->Spins[kTiles]->Value(), 0) << "one tile: the number stays 0";
}

TEST_F(MainForm, AFileNamedForTheOtherColourModeOffersToSwitch)
{
    struct { const char* File; bool StartInGame, Append; int Answer; bool Asked, EndInGame; } cases[] = {
        {"gtset565.til", false, false, mbYes, true, true}, {"gtset565.til", false, false, mbNo, true, false},
        {"GTSET555.TIL", true, false, mbYes, true, false}, {"more565.til", false, true, mbYes, true, true},
        {"gtset565.til", true, false, mbYes, false, true}, {"plain.til", false, false, mbYes, false, false},
        {"555to565.til", false, false, mbYes, false, false}};
    std::vector<std::string> questions;
    for (const auto& c : cases) {
        TTileFile().SaveToFile(Dir / c.File, 0);
        auto form = Open();
        if (c.StartInGame) {
            form->miInGameColorMode->trigger();
            form->Document.UndoStack().setClean(); // as if saved: no question about unsaved changes
        }
        Prompts.Messages.clear();
        Prompts.MessageAnswers = {c.Answer};
        Run(*form, c.Append ? &TMainForm::miAppendTileFileClick : &TMainForm::miFileOpenClick, {Dir / c.File});
        ASSERT_EQ(Prompts.Messages.size(), c.Asked ? 1u : 0u) << c.File;
        for (const TAskedMessage& asked : Prompts.Messages) {
            EXPECT_EQ(std::pair(asked.Type, asked.Buttons), std::pair(TMsgType::Confirmation, mbYes | mbNo));
            questions.push_back(asked.Text);
        }
        const TTileFile& set = form->TileFile;
        const std::uint8_t mode = c.EndInGame ? cmRGB565 : cmRGB555; // the last tile: read in that mode
        const bool checked = form->miInGameColorMode->isChecked();
        EXPECT_EQ(std::tuple(set.ColorMode, set.Tile(set.TileCount() - 1).ColorMode, checked),
                  std::tuple(mode, mode, c.EndInGame)) << c.File;
    }
    EXPECT_EQ(questions[0], "gtset565.til is named like an In-Game (565) tile file, but the color mode "
                            "is Normal (555).\n\rSwitch to In-Game Color mode first?");
}

TEST_F(MainForm, SaveTileFileAsksTwice)
{
    auto form = Open(Rich);
    const std::string tileDir = form->Settings.TileDir;
    form->miFileSaveTileFileClick(); // cancelling the first dialog asks nothing more
    ASSERT_EQ(Prompts.SaveRequests.size(), 1u);
    EXPECT_EQ(Prompts.SaveRequests[0].Title + " " + Prompts.SaveRequests[0].FileName,
              "Save CTP1/CTP2 Tile File - Normal colors gtset555.til");

    // Cancelling only the second writes the 5-5-5 file alone; the folder stays.
    fs::create_directory(Dir.Path() / "out");
    Run(*form, &TMainForm::miFileSaveTileFileClick, {Dir / "out/a555", std::nullopt});
    EXPECT_EQ(Prompts.SaveRequests[2].Title + " " + Prompts.SaveRequests[2].FileName,
              "Save CTP1/CTP2 Tile File - InGame version gtset565.til");
    EXPECT_TRUE(fs::exists(Dir.Path() / "out/a555.til")) << "the default extension is added";
    EXPECT_EQ(form->Settings.TileDir, tileDir);

    Run(*form, &TMainForm::miFileSaveTileFileClick, {Dir / "out/b555.til", Dir / "out/b565.til"});
    EXPECT_EQ(ReadWholeFile(Dir / "out/b555.til"), form->TileFile.SaveToMemory(0));
    EXPECT_EQ(ReadWholeFile(Dir / "out/b565.til"), form->TileFile.SaveToMemory(1));
    EXPECT_EQ(form->Settings.TileDir, (Dir.Path() / "out").string());
}

TEST_F(MainForm, ExportScriptChecksTheGraphicsFolder)
{
    auto form = Open();
    // A file in the folder's place: warned, nothing written.
    WriteText(Dir / "set", "in the way");
    Run(*form, &TMainForm::miFileExportScriptClick, {Dir / "set.src"});
    ASSERT_EQ(Prompts.Messages.size(), 1u);
    EXPECT_EQ(Prompts.Messages[0].Text,
              "A file named '" + Dir / "set" + "' already exists\rCould not create Directory");
    EXPECT_EQ(Prompts.Messages[0].Buttons, mbYes | mbCancel);
    EXPECT_FALSE(fs::exists(Dir.Path() / "set.src"));
    EXPECT_EQ(Prompts.SaveRequests[0].Title + " " + Prompts.SaveRequests[0].FileName,
              "Export to Script File and Graphics test.src");

    // A new name: the folder is made and the set exported into it.
    Run(*form, &TMainForm::miFileExportScriptClick, {Dir / "fresh.src"});
    EXPECT_EQ(Prompts.Messages.size(), 1u);
    EXPECT_TRUE(fs::exists(Dir.Path() / "fresh/TILE0000.tga"));
    EXPECT_EQ(ReadText(Dir / "fresh.src"), ScriptText(form->TileFile));

    // An existing folder: asked; Cancel writes nothing, OK exports.
    fs::remove(Dir.Path() / "fresh.src");
    Prompts.MessageAnswers = {mbCancel, mbOK};
    Run(*form, &TMainForm::miFileExportScriptClick, {Dir / "fresh.src", Dir / "fresh.src"});
    EXPECT_EQ(Prompts.Messages.back().Text,
              "The directory '" + Dir / "fresh" + "' already exists\rUsing this may overwrite existing files");
    EXPECT_EQ(Prompts.Messages.back().Buttons, mbOK | mbCancel);
    EXPECT_FALSE(fs::exists(Dir.Path() / "fresh.src"));
    form->miFileExportScriptClick();
    EXPECT_TRUE(fs::exists(Dir.Path() / "fresh.src"));
}

TEST_F(MainForm, ImportScriptPaintsTheWindowFirstAndReportsTheResult)
{
    auto form = OpenShown();
    // A clean import: the window's pending events (as a closed file dialog leaves the exposure of its
    // area) handled and the loading label painted before it starts; no message, the log beside the script.
    const auto rich = MakeRichSet(9, false);
    fs::create_directory(Dir.Path() / "rich");
    ExportScript(*rich, "rich", Dir / "rich.src");
    TSeen pending(*form), painted(*form);
    form->lLoadingLabel->installEventFilter(&painted);
    EXPECT_FALSE(form->miViewScriptLog->isEnabled());
    QCoreApplication::postEvent(&pending, new QEvent(QEvent::User));
    Run(*form, &TMainForm::miFileImportScriptClick, {Dir / "rich.src"});
    const std::pair<std::size_t, bool> beforeTheImport = {1u, true};
    EXPECT_EQ(pending.Seen, std::vector{beforeTheImport}) << "the pending events are handled first";
    ASSERT_FALSE(painted.Seen.empty());
    EXPECT_EQ(painted.Seen.front(), beforeTheImport) << "the label is painted before the import";
    EXPECT_TRUE(Prompts.Messages.empty()) << Prompts.Messages[0].Text;
    EXPECT_EQ(Prompts.OpenRequests[0].Title, "Import Script File");
    EXPECT_TRUE(fs::exists(Dir.Path() / "rich.log"));
    EXPECT_EQ(std::pair(form->TileFile.TileCount(), form->Spins[kTiles]->MaxValue()),
              std::pair(rich->TileCount(), static_cast<int>(rich->TileCount()) - 1));
    EXPECT_FALSE(form->lLoadingLabel->isVisibleTo(form.get()));
    // The log window shows that log; Ctrl+W brings it up beside the window.
    auto* log = form->findChild<TErrorLogForm*>();
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(log->Text(), LogText(QByteArray::fromStdString(ReadText(Dir / "rich.log"))));
    ASSERT_TRUE(form->miViewScriptLog->isEnabled());
    QTest::keyClick(form.get(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(std::pair(log->isVisible(), log->isModal()), std::pair(true, false));

    // Element errors while appending: a warning naming the script and the log. A script whose log
    // would be itself, one that is not a script, and an unexpected failure while appending: refused
    // or failed, the set as it was.
    fs::create_directory(Dir.Path() / "new");
    ExportScript(TTileFile(), "new", Dir / "new.src");
    fs::remove(Dir.Path() / "new/TILE0000.tga");
    WriteText(Dir / "s.log", "Kestrund Script v.1.1\r\n");
    WriteText(Dir / "bad.src", "hello\r\n");
    WriteText(Dir / "short.src", "Kestrund Script v.1.1\r\n$7C1F $83E0\r\n0\r\n0\r\n2\r\n1 0 0 A.tga\r\n");
    const auto failed = [&](auto log) { return "Import Failed\n\rSe logfile: \"" + Dir / log + "\" for details"; };
    const struct { bool Append; const char* File; std::string Says; TMsgType Type; } imports[] = {
        {true, "new.src", "There were errors importing " + Dir / "new.src" + "\n\rSome elements might not have been " +
         "properly created\n\rSe logfile: \"" + Dir / "new.log" + "\" for details", TMsgType::Warning},
        {false, "s.log", "Cannot import \"" + Dir / "s.log" + "\": its import log would be written over the script " +
         "itself; give the script another extension, such as .src", TMsgType::Error},
        {false, "bad.src", failed("bad.log"), TMsgType::Error},
        {true, "short.src", failed("short.log"), TMsgType::Error}};
    for (const auto& i : imports) {
        form->Document.UndoStack().setClean(); // as if saved: no question about unsaved changes
        Prompts.Messages.clear();
        Run(*form, i.Append ? &TMainForm::miAppendScriptClick : &TMainForm::miFileImportScriptClick, {Dir / i.File});
        ASSERT_EQ(Prompts.Messages.size(), 1u) << i.File;
        EXPECT_EQ(std::pair(Prompts.Messages[0].Text, Prompts.Messages[0].Type), std::pair(i.Says, i.Type));
        EXPECT_EQ(std::pair(form->TileFile.TileCount(), form->TileFile.RiverCount()),
                  std::pair(rich->TileCount() + 1, rich->RiverCount() + 1)) << "appended once, then put back";
    }
    EXPECT_EQ(ReadText(Dir / "s.log"), "Kestrund Script v.1.1\r\n");

    // A log too large for the window: said, and the older log is not shown as this one's.
    log->SetMaxLogBytes(fs::file_size(Dir.Path() / "rich.log") - 1);
    Prompts.Messages.clear();
    Run(*form, &TMainForm::miFileImportScriptClick, {Dir / "rich.src"});
    ASSERT_EQ(Prompts.Messages.size(), 1u);
    EXPECT_EQ(Prompts.Messages[0].Text,
              "Logfile to large for internal viewer\n\rUse external viewer to se logfile: \"" + Dir / "rich.log" + '"');
    EXPECT_EQ(std::tuple(Prompts.Messages[0].Type, log->Text(), form->miViewScriptLog->isEnabled()),
              std::tuple(TMsgType::Information, QString(), false));
    EXPECT_EQ(log->LoadFromFile(Dir / "rich.log"), TErrorLogForm::TLoadResult::TooLarge);
    log->SetMaxLogBytes(TErrorLogForm::DefaultMaxLogBytes);
    EXPECT_EQ(log->LoadFromFile(Dir / "none.log"), TErrorLogForm::TLoadResult::Unreadable);
    // Opening a tile file leaves no log to show.
    Run(*form, &TMainForm::miFileImportScriptClick, {Dir / "rich.src"});
    EXPECT_TRUE(form->miViewScriptLog->isEnabled());
    Run(*form, &TMainForm::miFileOpenClick, {Rich});
    EXPECT_FALSE(form->miViewScriptLog->isEnabled());
}

TEST_F(MainForm, ViewSizesAndRuleFollowingTheTile)
{
    auto form = Open(Rich);
    form->miView3x3->trigger();
    EXPECT_EQ(form->ViewPicture.size(), QSize(294, 176));
    form->SetZoom(8);
    EXPECT_EQ(form->pbTile->size(), QSize(2352, 1408));
    // The variation rule's box switches its number widgets, the tile set index's caption among them.
    QLabel* indexCaption = nullptr;
    for (QLabel* label : form->Groups[kVariationRules]->findChildren<QLabel*>())
        if (label->text() == "Tile Set Index: (of first tile)")
            indexCaption = label;
    ASSERT_TRUE(indexCaption);
    for (bool on : {true, false}) {
        form->ShowBoxes[kVariationRules]->click();
        EXPECT_EQ((std::array{form->Spins[kVariationRules]->isEnabled(), indexCaption->isEnabled(),
                              form->lVRTileSetIndex->isEnabled()}),
                  (std::array{on, on, on}));
        EXPECT_EQ(form->ViewPicture.size(), on ? QSize(290, 172) : QSize(294, 176));
    }
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
    EXPECT_EQ(std::tuple(form->Spins[kRules]->Value(), form->RuleLabels[0]->text() + form->RuleLabels[1]->text()),
              std::tuple(3, "7-1"));
    form->miViewHex->trigger();
    EXPECT_EQ((QStringList{form->RuleLabels[1]->text(), form->lTileIDHex->text(), form->CountLabels[kTiles]->text()}),
              (QStringList{"FFFF", QString("%1").arg(id, 4, 16, QChar('0')).toUpper(), "0005"}));
    // A tile no rule names shows the direction names.
    set.TileRule(3).Values[rvAlt1] = set.TileRule(1).Values[rvAlt2] = 0xFFFF;
    form->RedrawView();
    EXPECT_EQ(form->RuleLabels[0]->text() + form->RuleLabels[9]->text(), "N0000");
}

TEST_F(MainForm, ColourMenusInvertAndBorderToolbar)
{
    auto form = Open();
    // Invert toggles: on, the set's shadow is the background's complement and no colour is checked.
    QAction *gray = Item(form->ShadowMenu, "&Gray"), *black = Item(form->ShadowMenu, "&Black");
    auto shadow = [&] {
        return std::tuple(form->miShadowInvert->isChecked(), gray->isChecked(), black->isChecked(),
                          form->TileFile.ShadowColor, form->ShadowColor);
    };
    using TShadow = std::tuple<bool, bool, bool, TColor, TColor>;
    for (bool inverted : {true, false, true}) {
        form->miShadowInvert->trigger();
        EXPECT_EQ(shadow(), TShadow(inverted, !inverted, false, inverted ? ~0xC0C0C0u : 0x808080u, 0x808080u));
    }
    black->trigger(); // a colour ends the inversion
    EXPECT_EQ(shadow(), TShadow(false, false, true, 0u, 0u));
    form->miShadowInvert->trigger();
    EXPECT_EQ(shadow(), TShadow(true, false, false, ~0xC0C0C0u, 0u)) << "Invert changes the set's colour only";

    // Custom: cancelled changes nothing; confirmed takes the colour.
    QAction *custom = Item(form->BackgroundMenu, "&Custom"), *silver = Item(form->BackgroundMenu, "&Silver");
    auto background = [&] {
        return std::tuple(form->BgColor, form->TileFile.TransparentColor, silver->isChecked(), custom->isChecked());
    };
    custom->trigger();
    EXPECT_EQ(background(), std::tuple(0xC0C0C0u, 0xC0C0C0u, true, false));
    Prompts.ColorAnswer = 0x123456u;
    custom->trigger();
    EXPECT_EQ(background(), std::tuple(0x123456u, 0x123456u, false, true));

    EXPECT_FALSE(form->BorderButtons[0]->isEnabled());
    form->ShowBoxes[kBorders]->click();
    EXPECT_EQ(std::pair(form->BorderButtons[0]->isEnabled(), form->BorderMask()), std::pair(true, 15));
    form->BorderButtons[1]->click();
    EXPECT_EQ((std::array{form->BorderMask(), form->ViewState().BorderMask}), (std::array{13, 13}));
    // The default border's north-west edge is green; unpressed it is not drawn.
    const TMaskPoint p = BorderMask(1)[0];
    EXPECT_NE(form->ViewPicture.pixelColor(2 + p.X, 2 + p.Y), QColor(0, 248, 0));
    form->BorderButtons[1]->click();
    EXPECT_EQ(form->ViewPicture.pixelColor(2 + p.X, 2 + p.Y), QColor(0, 248, 0));

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
    EXPECT_EQ(QtSelectedFilter("A (*.a)|*.a|B (*.b)|*.b", 2) + '|' + QtSelectedFilter("A (*.a)|*.a", 3), "B (*.b)|");
    for (auto [name, ext, full] : {std::tuple{"/x/set", "*.src", "/x/set.src"}, {"/x/set.SRC", "*.src", "/x/set.SRC"},
                                   {"/x.d/set", "*.til", "/x.d/set.til"}})
        EXPECT_EQ(WithDefaultExtension(name, ext), full);
}

TEST(EditorCommandLine, HelpVersionUsageErrorsAndTheDisplay)
{
    using TEnv = std::map<std::string, std::string>;
    const TEnv desktop = {{"DISPLAY", ":0"}, {"KESTRUND_INI", "/env.ini"}}, headless = {{"KESTRUND_INI", "/env.ini"}},
               offscreen = {{"QT_QPA_PLATFORM", "offscreen"}};
    // Exit -1: the editor runs. Says: the start of what it prints, on stdout for exit 0, else on stderr.
    const struct { std::vector<std::string> Args; const TEnv& Env; int Exit; const char *Says, *Ini, *File; } cases[] {
        {{"--help"}, headless, 0, "Usage: kestrund [--ini PATH] [FILE.til]\n", "", ""},
        {{"a.til", "-h"}, desktop, 0, "Usage: kestrund", "", ""}, {{"--version"}, headless, 0, "kestrund 0.", "", ""},
        {{"--bogus"}, desktop, 2, "kestrund: unknown option '--bogus'\nUsage: kestrund", "", ""},
        {{"-x", "a.til"}, headless, 2, "kestrund: unknown option '-x'\n", "", ""},
        {{"--ini"}, desktop, 2, "kestrund: --ini needs a path\n", "", ""},
        {{"a.til"}, desktop, -1, "", "/env.ini", "a.til"},
        {{"a.til", "b.til"}, desktop, 2, "kestrund: one file at a time, not 2\n", "", ""},
        {{"a.til"}, headless, 1,
         "kestrund: no display to open the window on: set DISPLAY, or QT_QPA_PLATFORM=offscreen for headless use\n",
         "", ""},
        {{"--ini", "/k.ini", "--", "-odd.til"}, desktop, -1, "", "/k.ini", "-odd.til"},
        {{"--ini=/k.ini", "-style", "fusion", "a.til"}, offscreen, -1, "", "/k.ini", "a.til"},
        {{"-platform", "offscreen", "--reverse"}, headless, -1, "", "/env.ini", ""}};
    for (const auto& c : cases) {
        const auto env = [&c](const char* name) { return c.Env.contains(name) ? c.Env.at(name).c_str() : nullptr; };
        const TEditorCommandLine line = ParseEditorCommandLine(c.Args, env, true);
        EXPECT_EQ(line.Run ? -1 : line.ExitCode, c.Exit) << c.Args.front();
        EXPECT_EQ((line.ExitCode == 0 ? line.Out : line.Err).rfind(c.Says, 0), 0u) << c.Args.front();
        EXPECT_EQ(line.IniPath + '|' + line.FileToOpen, c.Ini + std::string("|") + c.File) << c.Args.front();
    }
}
