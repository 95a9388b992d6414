#pragma once
// The main window's test fixture: a scratch folder with a settings file and a set of five
// tiles, and every question the window asks answered from a script.

#include "../ScriptedPrompts.h"
#include "MainForm.h"
#include "Scratch.h"
#include "SetBuilders.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

namespace kestrund::testing {

class MainForm : public ::testing::Test {
protected:
    void SetUp() override { MakeRichSet(3, false)->SaveToFile(Rich, 0); }
    auto Open(const std::string& file = {}) { return std::make_unique<TMainForm>(Prompts, Ini, file); }
    auto OpenShown(const std::string& file = {})
    {
        auto form = Open(file);
        form->show();
        QApplication::setActiveWindow(form.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return form;
    }
    // Runs a menu command, its file dialogs answered with files.
    void Run(TMainForm& form, void (TMainForm::*command)(), std::deque<std::optional<std::string>> files = {})
    {
        Prompts.FileAnswers = std::move(files);
        (form.*command)();
    }
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

} // namespace kestrund::testing
