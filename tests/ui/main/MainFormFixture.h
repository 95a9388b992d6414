#pragma once
// The main window's test fixture: a scratch folder with a settings file and a set of five
// tiles, and every question the window asks answered from a script.

#include "MainForm.h"
#include "Scratch.h"
#include "SetBuilders.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace kestrund::testing {

struct TAskedMessage { std::string Text; TMsgType Type; int Buttons; };

// Answers the editor's questions from a script and records what was asked.
class TScriptedPrompts : public TPrompts {
public:
    std::deque<std::optional<std::string>> FileAnswers; // cancelled when none are left
    std::deque<int> MessageAnswers;                      // OK when none are left
    std::optional<TColor> ColorAnswer;                   // taken by the next question; none: cancelled

    std::vector<TFileDialogRequest> OpenRequests, SaveRequests;
    std::vector<TAskedMessage> Messages;
    std::vector<std::string> Abouts;

    std::optional<std::string> OpenFile(const TFileDialogRequest& asked) override { return File(OpenRequests, asked); }
    std::optional<std::string> SaveFile(const TFileDialogRequest& asked) override { return File(SaveRequests, asked); }
    int Message(const std::string& text, TMsgType type, int buttons) override
    {
        Messages.push_back({text, type, buttons});
        return Next(MessageAnswers, mbOK);
    }
    std::optional<TColor> ChooseColor(TColor) override { return std::exchange(ColorAnswer, std::nullopt); }
    void About(const std::string&, const std::string& text) override { Abouts.push_back(text); }

    // The property editor: each answer makes the result from the request; cancelled when none are left.
    std::deque<std::function<TElementEditResult(const TElementEditRequest&)>> EditAnswers;
    std::vector<TElementEditRequest> EditRequests;
    std::optional<TElementEditResult> EditElement(const TElementEditRequest& request) override
    {
        EditRequests.push_back(request);
        if (EditAnswers.empty())
            return std::nullopt;
        auto answer = std::move(EditAnswers.front());
        EditAnswers.pop_front();
        return answer(request);
    }

private:
    std::optional<std::string> File(std::vector<TFileDialogRequest>& requests, const TFileDialogRequest& request)
    {
        requests.push_back(request);
        return Next(FileAnswers, std::nullopt);
    }
    template <class T>
    static T Next(std::deque<T>& answers, std::type_identity_t<T> none)
    {
        if (answers.empty())
            return none;
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

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
