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
