#pragma once
#include <QString>

#include <string>

// The core speaks UTF-8 std::string, the windows QString; one place converts.
inline std::string S(const QString& text) { return text.toStdString(); }
inline QString Qs(const std::string& text) { return QString::fromStdString(text); }
