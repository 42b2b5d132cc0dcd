#pragma once
#include <QStringList>

// rk54 report: the printed report of a data file.
int RunReport(const QStringList& args);
