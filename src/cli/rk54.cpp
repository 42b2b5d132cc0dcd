// rk54: the command-line tool over the program's core.
#include "cli/C_Channels.h"
#include "cli/C_Files.h"
#include "cli/C_Link.h"
#include "cli/C_Report.h"
#include "cli/U_Cli.h"
#include "files/U_FileAccess.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace {

const TSubcommand Subcommands[] = {
    {"new", "write a new document (File > New) to a data file", RunNew},
    {"info", "summary of a data file", RunInfo},
    {"decode", "every document field of a data file as JSON", RunDecode},
    {"dump", "raw hex dump of a data file, as the raw data viewer shows it", RunDump},
    {"resave", "open a data file and save it under another name", RunResave},
    {"diff", "document fields that differ between two data files", RunDiff},
    {"report", "the printed report of a data file as text or as a PDF", RunReport},
    {"export-csv", "the 16 channels of a data file as CSV", RunExportCsv},
    {"import-csv", "take channels from a CSV file into a data file", RunImportCsv},
    {"upload", "read the repeater's memory over a serial port into a data file", RunUpload},
    {"download", "write a data file into the repeater over a serial port", RunDownload},
    {"history", "the service history: images read from and written to repeaters", RunHistory},
    {"ports", "list the serial ports as the Configuration dialog shows them", RunPorts},
    {"simulate", "play a repeater on a pseudo-terminal", RunSimulate},
};

void Usage(FILE* stream)
{
    std::fprintf(stream,
                 "Usage: rk54 COMMAND [options] ARGUMENTS\n\n"
                 "Works with the repeater's data files (*.R54, *.RPT) from the command line.\n\n"
                 "Commands:\n");
    for (const TSubcommand& s : Subcommands)
        std::fprintf(stream, "  %-10s %s\n", s.Name, s.Summary);
    std::fprintf(stream,
                 "\nrk54 COMMAND --help explains a command; rk54 --version prints the version.\n"
                 "Exit status: 0 success, 1 documents differ (diff), 3 a data file cannot be read\n"
                 "or written, 64 wrong usage. upload and download end with the transfer's outcome:\n"
                 "0 done, 1 port or transfer error, 2 time-out, 10 checksum error, 14 incompatible\n"
                 "data, 20 unexpected reply; download also 4 repeater is not the file's, 5 read-back\n"
                 "differs; 77 wrong manufacture password; 130 or 143 cancelled by Ctrl+C or SIGTERM.\n");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("rk54");
    // The arguments as the system gave them: a file name in bytes the locale
    // cannot spell must still name that very file (see Local).
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromStdU16String(FileNameText(argv[i]));
    if (args.isEmpty()) {
        Usage(stderr);
        return ExitUsage;
    }
    if (args.first() == "--help" || args.first() == "-h" || args.first() == "help") {
        Usage(stdout);
        return ExitOk;
    }
    if (args.first() == "--version") {
        std::printf("rk54 %s\n", RK54_VERSION);
        return ExitOk;
    }
    for (const TSubcommand& s : Subcommands)
        if (args.first() == QLatin1String(s.Name))
            return s.Run(args);
    std::fprintf(stderr, "rk54: unknown command '%s'\n\n", qPrintable(args.first()));
    Usage(stderr);
    return ExitUsage;
}
