#pragma once
#include <QStringList>

// rk54 export-csv and import-csv: the 16 channels to and from a CSV file.
int RunExportCsv(const QStringList& args);
int RunImportCsv(const QStringList& args);
