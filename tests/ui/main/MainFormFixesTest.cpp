// The main window's keyboard, layout, menu, placement and import fixes.

#include "ExtSpinEdit.h"
#include "MainForm.h"
#include "Scratch.h"
#include "ScriptedPrompts.h"
#include "SetBuilders.h"

#include <QAction>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

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
    std::string RichSet()
    {
        MakeRichSet(3, false)->SaveToFile(Dir / "rich.til", 0);
        return Dir / "rich.til";
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
    const std::string file = RichSet();
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
