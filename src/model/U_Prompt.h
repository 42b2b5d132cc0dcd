#pragma once
#include <string>

// How the core speaks to the person: the window shows message boxes, the
// command-line tool prints, the tests script the answers.
class TPrompt {
public:
    virtual ~TPrompt() = default;
    virtual void Error(const std::string& text) = 0;
    virtual void Information(const std::string& text) = 0;
    // Yes returns true; No and a dismissed question return false.
    virtual bool Confirm(const std::string& text) = 0;
};

// A question can be answered or dismissed; the save question treats a
// dismissed prompt differently from No.
enum class TAnswer { Yes, No, Dismissed };

// The window's message boxes. Confirm is the engines' plain yes/no.
class TUiPrompt : public TPrompt {
public:
    virtual TAnswer Ask(const std::string& text) = 0;
    // Yes/No with a caption and the exclamation icon (the narrow-band notice).
    virtual TAnswer Caution(const std::string& caption, const std::string& text) = 0;
    virtual void Warning(const std::string& text) = 0;
    bool Confirm(const std::string& text) override { return Ask(text) == TAnswer::Yes; }
};
