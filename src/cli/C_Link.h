#pragma once
#include <QStringList>

// Sub-commands that talk to the repeater (or play it).
int RunUpload(const QStringList& args);
int RunDownload(const QStringList& args);
int RunHistory(const QStringList& args);
int RunPorts(const QStringList& args);
int RunSimulate(const QStringList& args);
