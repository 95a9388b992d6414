#pragma once
// Every question the editor asks answered from a script, and what was asked recorded; shared by
// the dialogs' and the main window's tests.

#include "Help.h"
#include "Prompts.h"

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
        const auto answer = Next(EditAnswers, {});
        return answer ? std::optional(answer(request)) : std::nullopt;
    }

    // The options dialog: the answer makes the values from the request; cancelled when there is none.
    std::function<std::optional<TOptionsValues>(const TOptionsRequest&)> OptionsAnswer;
    std::optional<TOptionsValues> Options(const TOptionsRequest& request) override
    {
        return OptionsAnswer ? OptionsAnswer(request) : std::nullopt;
    }

    std::deque<TRecoveryChoice> RecoveryAnswers; // Later when none are left
    std::vector<std::string> RecoveryQuestions;
    TRecoveryChoice AskRecovery(const std::string& text) override
    {
        RecoveryQuestions.push_back(text);
        return Next(RecoveryAnswers, TRecoveryChoice::Later);
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

// Takes the help asked for instead of the help window, while it exists.
struct TRecordingHelp : THelpHandler {
    std::vector<int> Asked;
    void ShowContext(int context) override { Asked.push_back(context); }
};

} // namespace kestrund::testing
