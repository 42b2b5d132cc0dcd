#pragma once
#include "model/U_Prompt.h"

#include <deque>
#include <string>
#include <vector>

// Records every message and answers questions from a script (Yes when the
// script runs out).
class TScriptedPrompt : public TPrompt {
public:
    struct TMessage {
        char Kind;  // 'E' error, 'W' warning, 'I' information, 'Q' question
        std::string Text;
    };
    std::vector<TMessage> Messages;
    std::deque<TAnswer> Answers;

    void Error(const std::string& text) override { Messages.push_back({'E', text}); }
    void Warning(const std::string& text) override { Messages.push_back({'W', text}); }
    void Information(const std::string& text) override { Messages.push_back({'I', text}); }
    TAnswer Ask(const std::string& text) override
    {
        Messages.push_back({'Q', text});
        if (Answers.empty())
            return TAnswer::Yes;
        const TAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
};
