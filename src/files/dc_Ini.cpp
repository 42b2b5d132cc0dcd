#include "files/dc_Ini.h"

#include "files/U_FileAccess.h"
#include "model/U_Format.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string NameOf(const std::string& pair)
{
    return pair.substr(0, pair.find('='));
}

std::string ValueOf(const std::string& pair)
{
    const auto eq = pair.find('=');
    return eq == std::string::npos ? std::string() : pair.substr(eq + 1);
}

// File names are bytes; a path made from a std::string keeps them as they are.
std::filesystem::path PathOf(const std::string& text)
{
    return std::filesystem::path(text);
}

} // namespace

TIniData::TIniData(std::string fileName) : FFileName(std::move(fileName)) {}

bool TIniData::Load()
{
    FLines.clear();
    Pairs.clear();
    LineIndex.clear();
    std::error_code error;
    const auto status = std::filesystem::status(PathOf(FFileName), error);
    FUnreadable = std::filesystem::exists(status);
    if (!FUnreadable)
        return false;
    // Only a plain file is opened: a FIFO would block the start for good.
    std::ifstream file;
    if (std::filesystem::is_regular_file(status))
        file.open(PathOf(FFileName), std::ios::binary);
    if (!file.is_open())
        return false;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        FLines.push_back(line);
    }
    if (file.bad()) {
        FLines.clear();
        return false;
    }
    FUnreadable = false;
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        const std::string setting = Trimmed(FLines[i].substr(0, FLines[i].find(';')));
        const auto eq = setting.find('=');
        if (eq == std::string::npos)
            continue;
        const auto eq2 = setting.find('=', eq + 1);
        const std::string value = setting.substr(eq + 1, eq2 == std::string::npos ? std::string::npos : eq2 - eq - 1);
        Pairs.push_back(Trimmed(setting.substr(0, eq)) + "=" + Trimmed(value));
        LineIndex.push_back(std::to_string(i));
    }
    return !Pairs.empty();
}

bool TIniData::Save()
{
    if (FUnreadable)
        return false;
    std::error_code error;
    if (std::filesystem::exists(PathOf(FFileName), error)) {
        for (std::size_t k = 0; k < Pairs.size(); ++k) {
            std::size_t line = 0;
            const std::string& index = k < LineIndex.size() ? LineIndex[k] : std::string();
            const auto [end, parsed] = std::from_chars(index.data(), index.data() + index.size(), line);
            if (!index.empty() && parsed == std::errc() && line < FLines.size()) {
                const std::string& old = FLines[line];
                const auto first = old.find(';');
                std::string comment;
                if (first != std::string::npos) {
                    const auto second = old.find(';', first + 1);
                    comment = Trimmed(old.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1));
                }
                FLines[line] = Pairs[k] + ";" + comment;
            } else {
                FLines.push_back(Pairs[k]);
                if (k < LineIndex.size())
                    LineIndex[k] = std::to_string(FLines.size() - 1);
                else
                    LineIndex.push_back(std::to_string(FLines.size() - 1));
            }
        }
    } else {
        FLines = Pairs;
        LineIndex.clear();
        for (std::size_t k = 0; k < Pairs.size(); ++k)
            LineIndex.push_back(std::to_string(k));
    }
    std::ostringstream text;
    for (const auto& line : FLines)
        text << line << "\r\n";
    return WriteFileAtomically(FFileName, text.str());
}

int TIniData::Find(const std::string& upperName) const
{
    for (std::size_t k = 0; k < Pairs.size(); ++k)
        if (Uppered(NameOf(Pairs[k])) == upperName)
            return static_cast<int>(k);
    return -1;
}

int TIniData::GetInt(const std::string& name, int defaultValue) const
{
    const int k = Find(Uppered(name));
    if (k < 0)
        return defaultValue;
    const std::string value = ValueOf(Pairs[k]);
    const char* begin = value.data();
    if (!value.empty() && *begin == '+')
        ++begin;
    int result = 0;
    const auto [end, error] = std::from_chars(begin, value.data() + value.size(), result);
    return value.empty() || error != std::errc() || end != value.data() + value.size()
        ? defaultValue : result;
}

std::string TIniData::GetStr(const std::string& name, const std::string& defaultValue) const
{
    const int k = Find(Uppered(name));
    if (k < 0)
        return defaultValue;
    const std::string value = ValueOf(Pairs[k]);
    return value.empty() ? defaultValue : value;
}

void TIniData::SetValue(const std::string& name, const std::string& value)
{
    const std::string upper = Uppered(name);
    const int k = Find(upper);
    if (k >= 0)
        Pairs[k] = NameOf(Pairs[k]) + "=" + value;
    else
        Pairs.push_back(upper + "=" + value);
}
