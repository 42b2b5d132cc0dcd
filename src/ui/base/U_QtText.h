#pragma once
#include "files/U_FileAccess.h"

#include <QString>

#include <string>

// The core speaks UTF-8 std::string, the windows QString; one place converts.
inline std::string S(const QString& text) { return text.toStdString(); }
inline QString Qs(const std::string& text) { return QString::fromStdString(text); }
// File names are the system's bytes, which need not be UTF-8; these keep
// every byte through a QString and back (see FileNameText).
inline QString PathText(const std::string& bytes) { return QString::fromStdU16String(FileNameText(bytes)); }
inline std::string PathBytes(const QString& text) { return FileNameBytes(text.toStdU16String()); }
