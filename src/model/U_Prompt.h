#pragma once
#include <string>

// The three ways a Yes/No question can end. Esc and the question's close box
// answer Cancel, never No: a person who backs out of a question has not
// agreed to anything, least of all to losing edits.
enum class TAnswer { Yes, No, Cancel };

// How the core speaks to the person: the window shows message boxes, the
// command-line tool prints, the tests script the answers.
class TPrompt {
public:
    virtual ~TPrompt() = default;
    virtual void Error(const std::string& text) = 0;
    virtual void Information(const std::string& text) = 0;
    // A prompt without a box of its own for warnings shows them as errors.
    virtual void Warning(const std::string& text) { Error(text); }
    // A Yes/No question.
    virtual TAnswer Ask(const std::string& text) = 0;
    // For questions where only Yes goes on: No and Cancel are alike.
    bool Confirm(const std::string& text) { return Ask(text) == TAnswer::Yes; }
};
