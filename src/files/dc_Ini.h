#pragma once
#include <string>
#include <vector>

// The settings file: one "NAME=value" per line with an optional comment
// after ";". Rewriting keeps every other line and every comment.
class TIniData {
public:
    explicit TIniData(std::string fileName);

    bool Load();
    // Replaces the file atomically; false when it could not be written
    // (the old file is then left as it was). A file that exists but could
    // not be read is never written: its lines, comments and keys would be lost.
    bool Save();
    // The file is there but Load could not read it (no permission, not a
    // plain file, a read error); the settings are then the defaults.
    bool Unreadable() const { return FUnreadable; }

    int GetInt(const std::string& name, int defaultValue) const;
    std::string GetStr(const std::string& name, const std::string& defaultValue) const;
    void SetValue(const std::string& name, const std::string& value);
    void SetValue(const std::string& name, int value) { SetValue(name, std::to_string(value)); }

    const std::string& FileName() const { return FFileName; }
    const std::vector<std::string>& Lines() const { return FLines; }

private:
    int Find(const std::string& upperName) const;

    std::string FFileName;
    bool FUnreadable = false;
    std::vector<std::string> FLines;
    std::vector<std::string> Pairs;      // "NAME=value"
    std::vector<std::string> LineIndex;  // line number of the k-th pair, if it came from the file
};
