#pragma once
#include <QStringList>

// Sub-commands over data files.
int RunNew(const QStringList& args);
int RunInfo(const QStringList& args);
int RunDecode(const QStringList& args);
int RunDump(const QStringList& args);
int RunResave(const QStringList& args);
int RunDiff(const QStringList& args);
