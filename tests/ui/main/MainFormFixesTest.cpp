// The main window's keyboard, layout, menu, placement and import fixes.

#include "ExtSpinEdit.h"
#include "MainForm.h"
#include "ScriptExport.h"
#include "Scratch.h"
#include "ScriptedPrompts.h"
#include "SetBuilders.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

using namespace kestrund;
using namespace kestrund::testing;

namespace {

class MainFormFixes : public ::testing::Test {
protected:
    std::unique_ptr<TMainForm> Open(const std::string& file = {})
    {
        return std::make_unique<TMainForm>(Prompts, Dir / "k.ini", file);
    }
    std::unique_ptr<TMainForm> OpenShown(const std::string& file = {})
    {
        auto form = Open(file);
        form->show();
        QApplication::setActiveWindow(form.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return form;
    }
    TScratchDir Dir;
    TScriptedPrompts Prompts;
};

} // namespace

TEST_F(MainFormFixes, MenuShortcutsWinOverTheNumberFields)
{
    struct TCase {
        const char* Key;
        QAction* TMainForm::*Action;
    };
    static const TCase cases[] = {
        {"Ctrl+X", &TMainForm::miFileExit},
        {"Ctrl+C", &TMainForm::miInGameColorMode},
        {"Ctrl+A", &TMainForm::miAppendTileFile},
        {"Ctrl+E", &TMainForm::miFileExportScript},
    };
    const std::string file = Dir / "rich.til";
    MakeRichSet(3, false)->SaveToFile(file, 0);
    for (const TCase& c : cases) {
        auto form = OpenShown(file);
        TExtSpinEdit* spin = form->Spins[kTiles];
        spin->SetValue(3);
        spin->setFocus();
        spin->selectAll();
        QSignalSpy fired(form.get()->*c.Action, &QAction::triggered);
        QTest::keySequence(spin, QKeySequence(c.Key));
        EXPECT_EQ(fired.count(), 1) << c.Key;
        EXPECT_EQ(spin->text(), "3") << c.Key;
    }
}

TEST_F(MainFormFixes, LeftPanelFitsTheDefaultWindow)
{
    auto form = OpenShown();
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
}

TEST_F(MainFormFixes, TileSetIndexIsSwitchedWithTheVariationRule)
{
    auto form = Open();
    QLabel* caption = nullptr;
    for (QLabel* label : form->Groups[kVariationRules]->findChildren<QLabel*>())
        if (label->text() == "Tile Set Index: (of first tile)")
            caption = label;
    ASSERT_TRUE(caption);
    for (bool on : {false, true, false}) {
        if (form->ShowBoxes[kVariationRules]->isChecked() != on)
            form->ShowBoxes[kVariationRules]->click();
        EXPECT_EQ(caption->isEnabled(), on);
        EXPECT_EQ(form->lVRTileSetIndex->isEnabled(), on);
    }
}

TEST_F(MainFormFixes, FileMenuHintShowsInTheStatusBar)
{
    auto form = OpenShown();
    QAction* file = form->menuBar()->actions().front();
    const QRect item = form->menuBar()->actionGeometry(file);
    QMouseEvent move(QEvent::MouseMove, item.center(), form->menuBar()->mapToGlobal(item.center()), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(form->menuBar(), &move);
    EXPECT_EQ(form->statusBar()->currentMessage(), "Open, save, import, export, etc.") << "hovered";
    form->statusBar()->clearMessage();
    form->menuBar()->setActiveAction(file);
    EXPECT_EQ(form->statusBar()->currentMessage(), "Open, save, import, export, etc.") << "opened";
    file->menu()->close();
}

TEST_F(MainFormFixes, InvertTogglesItsCheckMark)
{
    auto form = Open();
    QAction* gray = nullptr;
    for (QAction* a : form->ShadowMenu->actions())
        if (a->text() == "&Gray")
            gray = a;
    ASSERT_TRUE(gray);
    const bool on[] = {true, false, true};
    for (bool inverted : on) {
        form->miShadowInvert->trigger();
        EXPECT_EQ(form->miShadowInvert->isChecked(), inverted);
        EXPECT_EQ(gray->isChecked(), !inverted);
        EXPECT_EQ(form->TileFile.ShadowColor, inverted ? ~0xC0C0C0u : 0x808080u);
    }
    gray->trigger(); // a colour ends the inversion
    EXPECT_FALSE(form->miShadowInvert->isChecked());
    EXPECT_TRUE(gray->isChecked());
}

TEST_F(MainFormFixes, AWindowStoredOffScreenOpensOnThePrimary)
{
    WriteText(Dir / "k.ini", "[MainWindow]\r\nLeft=5000\r\nTop=5000\r\n");
    auto form = Open();
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(form->geometry().center()));
}

namespace {
// What the window showed when an event reached it: the set's tile count (1 until the
// import has run) and whether the loading label was up.
struct TSeen : QObject {
    TMainForm* Form = nullptr;
    std::vector<std::pair<std::size_t, bool>> Seen;
    bool Note()
    {
        Seen.emplace_back(Form->TileFile.TileCount(), Form->lLoadingLabel->isVisible());
        return false;
    }
    bool event(QEvent* event) override { return event->type() == QEvent::User ? Note() : QObject::event(event); }
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Paint && Note(); }
};
// A file dialog that leaves an event behind, as a closed dialog leaves the exposure of its area.
struct TDialogLeavesEvents : TScriptedPrompts {
    QObject* Receiver = nullptr;
    std::optional<std::string> OpenFile(const TFileDialogRequest& request) override
    {
        QCoreApplication::postEvent(Receiver, new QEvent(QEvent::User));
        return TScriptedPrompts::OpenFile(request);
    }
};
} // namespace

TEST_F(MainFormFixes, ImportPaintsTheWindowBeforeItStarts)
{
    std::filesystem::create_directory(Dir.Path() / "rich");
    ExportScript(*MakeRichSet(9, false), "rich", Dir / "rich.src");
    TDialogLeavesEvents prompts;
    TMainForm form(prompts, Dir / "k.ini");
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    TSeen pending, painted;
    pending.Form = painted.Form = &form;
    form.lLoadingLabel->installEventFilter(&painted);
    prompts.Receiver = &pending;
    prompts.FileAnswers = {Dir / "rich.src"};
    form.miFileImportScriptClick();
    const std::vector<std::pair<std::size_t, bool>> beforeTheImport = {{1u, true}};
    EXPECT_EQ(pending.Seen, beforeTheImport) << "the window's pending events are handled first";
    ASSERT_FALSE(painted.Seen.empty());
    EXPECT_EQ(painted.Seen.front(), beforeTheImport.front()) << "the label is painted before the import";
}

TEST_F(MainFormFixes, AFileNamedForTheOtherColourModeOffersToSwitch)
{
    struct TCase {
        const char* File;
        bool StartInGame, Append;
        int Answer;
        bool Asked, EndInGame;
    };
    static const TCase cases[] = {
        {"gtset565.til", false, false, mbYes, true, true},  {"gtset565.til", false, false, mbNo, true, false},
        {"GTSET555.TIL", true, false, mbYes, true, false},  {"more565.til", false, true, mbYes, true, true},
        {"gtset565.til", true, false, mbYes, false, true},  {"plain.til", false, false, mbYes, false, false},
        {"555to565.til", false, false, mbYes, false, false},
    };
    for (const TCase& c : cases) {
        TTileFile().SaveToFile(Dir / c.File, 0);
        auto form = Open();
        if (c.StartInGame)
            form->miInGameColorMode->trigger();
        Prompts.Messages.clear();
        Prompts.FileAnswers = {Dir / c.File};
        Prompts.MessageAnswers = {c.Answer};
        c.Append ? form->miAppendTileFileClick() : form->miFileOpenClick();
        ASSERT_EQ(Prompts.Messages.size(), c.Asked ? 1u : 0u) << c.File;
        if (c.Asked) {
            EXPECT_EQ(Prompts.Messages[0].Type, TMsgType::Confirmation);
            EXPECT_EQ(Prompts.Messages[0].Buttons, mbYes | mbNo);
        }
        const std::uint8_t mode = c.EndInGame ? cmRGB565 : cmRGB555;
        EXPECT_EQ(form->TileFile.ColorMode, mode) << c.File;
        EXPECT_EQ(form->TileFile.Tile(form->TileFile.TileCount() - 1).ColorMode, mode) << "read in that mode";
        EXPECT_EQ(form->miInGameColorMode->isChecked(), c.EndInGame);
    }
    Prompts.Messages.clear();
    auto form = Open();
    Prompts.FileAnswers = {Dir / "gtset565.til"};
    form->miFileOpenClick();
    ASSERT_EQ(Prompts.Messages.size(), 1u);
    EXPECT_EQ(Prompts.Messages[0].Text, "gtset565.til is named like an In-Game (565) tile file, but the color mode "
                                        "is Normal (555).\n\rSwitch to In-Game Color mode first?");
}
