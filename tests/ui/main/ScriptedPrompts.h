#pragma once
// Answers the editor's questions from a script and records what was asked.

#include "Prompts.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace kestrund::testing {

struct TAskedMessage {
    std::string Text;
    TMsgType Type;
    int Buttons;
};

class TScriptedPrompts : public TPrompts {
public:
    std::deque<std::optional<std::string>> FileAnswers; // nullopt = cancelled
    std::deque<int> MessageAnswers;                      // default mbOK
    std::deque<std::optional<TColor>> ColorAnswers;

    std::vector<TFileDialogRequest> OpenRequests, SaveRequests;
    std::vector<TAskedMessage> Messages;
    std::vector<std::string> Abouts;

    std::optional<std::string> OpenFile(const TFileDialogRequest& request) override
    {
        OpenRequests.push_back(request);
        return Next();
    }
    std::optional<std::string> SaveFile(const TFileDialogRequest& request) override
    {
        SaveRequests.push_back(request);
        return Next();
    }
    int Message(const std::string& text, TMsgType type, int buttons) override
    {
        Messages.push_back({text, type, buttons});
        if (MessageAnswers.empty())
            return mbOK;
        const int answer = MessageAnswers.front();
        MessageAnswers.pop_front();
        return answer;
    }
    std::optional<TColor> ChooseColor(TColor) override
    {
        if (ColorAnswers.empty())
            return std::nullopt;
        auto answer = ColorAnswers.front();
        ColorAnswers.pop_front();
        return answer;
    }
    void About(const std::string&, const std::string& text) override { Abouts.push_back(text); }

private:
    std::optional<std::string> Next()
    {
        if (FileAnswers.empty())
            return std::nullopt;
        auto answer = FileAnswers.front();
        FileAnswers.pop_front();
        return answer;
    }
};

} // namespace kestrund::testing
