#pragma once
// Answers the editor's questions from a script and records what was asked.

#include "Prompts.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace kestrund::testing {

struct TAskedMessage { std::string Text; TMsgType Type; int Buttons; };

class TScriptedPrompts : public TPrompts {
public:
    std::deque<std::optional<std::string>> FileAnswers; // nullopt = cancelled, as when none are left
    std::deque<int> MessageAnswers;                      // mbOK when none are left
    std::deque<std::optional<TColor>> ColorAnswers;

    std::vector<TFileDialogRequest> OpenRequests, SaveRequests;
    std::vector<TAskedMessage> Messages;
    std::vector<std::string> Abouts;

    std::optional<std::string> OpenFile(const TFileDialogRequest& request) override
    {
        OpenRequests.push_back(request);
        return Next(FileAnswers, std::nullopt);
    }
    std::optional<std::string> SaveFile(const TFileDialogRequest& request) override
    {
        SaveRequests.push_back(request);
        return Next(FileAnswers, std::nullopt);
    }
    int Message(const std::string& text, TMsgType type, int buttons) override
    {
        Messages.push_back({text, type, buttons});
        return Next(MessageAnswers, mbOK);
    }
    std::optional<TColor> ChooseColor(TColor) override { return Next(ColorAnswers, std::nullopt); }
    void About(const std::string&, const std::string& text) override { Abouts.push_back(text); }

private:
    template <class T, class Default>
    static T Next(std::deque<T>& answers, Default none)
    {
        if (answers.empty())
            return none;
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace kestrund::testing
