#pragma once
#include "model/U_Prompt.h"

#include <deque>
#include <string>
#include <vector>

// A scripted person: answers the questions in order and records every
// message it was shown. A question the script did not expect is backed out
// of (Cancel), so a test that forgot one sees the command stop rather than
// go ahead. `Base` is the prompt interface the code under test talks to.
template <class Base>
class TScriptedPromptOf : public Base {
public:
    struct TMessage {
        char Kind;  // 'E' error, 'W' warning, 'I' information, 'Q' question, 'C' caution
        std::string Text;
        std::string Caption;
    };

    void Error(const std::string& text) override { Messages.push_back({'E', text, {}}); }
    void Warning(const std::string& text) override { Messages.push_back({'W', text, {}}); }
    void Information(const std::string& text) override { Messages.push_back({'I', text, {}}); }
    TAnswer Ask(const std::string& text) override
    {
        Messages.push_back({'Q', text, {}});
        return Next();
    }
    // Yes/No with a caption (overrides where `Base` has it).
    TAnswer Caution(const std::string& caption, const std::string& text)
    {
        Messages.push_back({'C', text, caption});
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
            return TAnswer::Cancel;
        const TAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    std::vector<std::string> TextsWhere(bool questions) const
    {
        std::vector<std::string> texts;
        for (const TMessage& m : Messages)
            if ((m.Kind == 'Q' || m.Kind == 'C') == questions)
                texts.push_back(m.Text);
        return texts;
    }
};

using TScriptedPrompt = TScriptedPromptOf<TPrompt>;
