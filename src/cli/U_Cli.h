#pragma once
#include "model/U_Prompt.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// Exit statuses of rk54 that are not transfer outcomes.
enum TExitCode {
    ExitOk = 0,
    ExitDiffers = 1,
    ExitFileError = 3,
    ExitNotThisUnit = 4,      // safe download: the repeater is not the document's
    ExitReadBackDiffers = 5,  // safe download: the repeater does not hold what was written
    ExitUsage = 64,
    ExitDataRefused = 65,  // input data the command refuses (sysexits: data error)
    ExitWrongPassword = 77,
};

// One sub-command: `args` starts with the sub-command's own name.
struct TSubcommand {
    const char* Name;
    const char* Summary;
    int (*Run)(const QStringList& args);
};

// Messages go to standard error; the system's "\r\n" becomes a line break.
// Questions are answered Yes: running the command is the confirmation.
class TConsolePrompt : public TPrompt {
public:
    void Error(const std::string& text) override;
    void Information(const std::string& text) override;
    TAnswer Ask(const std::string& text) override;
};

// Parses a sub-command's arguments. Returns -1 when the command should go
// on, otherwise the exit status (0 after --help, 64 after a usage error,
// which has already been printed with the usage text).
int ParseArguments(QCommandLineParser& parser, const QStringList& args, const QString& description,
                   const QStringList& positionalNames, int minimum, int maximum);

std::string Local(const QString& text);  // a path or text for the core: the bytes it came as
void PrintOut(const QString& text);      // standard output, text as given
