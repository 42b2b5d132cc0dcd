#pragma once
#include "model/U_Prompt.h"

#include <deque>
#include <string>
#include <vector>

// A scripted person: answers the questions in order and records every
// message it was shown. A question the script did not expect is dismissed,
// so a test that forgot one sees the command stop rather than go ahead.
class TScriptedPrompt : public TUiPrompt {
public:
    struct TMessage {
        std::string Kind;  // "error", "information", "warning", "ask", "caution"
        std::string Text;
        std::string Caption;
    };

    void Error(const std::string& text) override { Messages.push_back({"error", text, {}}); }
    void Information(const std::string& text) override { Messages.push_back({"information", text, {}}); }
    void Warning(const std::string& text) override { Messages.push_back({"warning", text, {}}); }
    TAnswer Ask(const std::string& text) override
    {
        Messages.push_back({"ask", text, {}});
        return Next();
    }
    TAnswer Caution(const std::string& caption, const std::string& text) override
    {
        Messages.push_back({"caution", text, caption});
        return Next();
    }

    // The questions, and the other messages, in the order shown.
    std::vector<std::string> Asked() const { return TextsWhere(true); }
    std::vector<std::string> Told() const { return TextsWhere(false); }

    std::deque<TAnswer> Answers;
    std::vector<TMessage> Messages;

private:
    TAnswer Next()
    {
        if (Answers.empty())
            return TAnswer::Dismissed;
        const TAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    std::vector<std::string> TextsWhere(bool questions) const
    {
        std::vector<std::string> texts;
        for (const TMessage& m : Messages)
            if ((m.Kind == "ask" || m.Kind == "caution") == questions)
                texts.push_back(m.Text);
        return texts;
    }
};
