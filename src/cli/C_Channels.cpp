#include "cli/C_Channels.h"

#include "cli/U_Cli.h"
#include "files/U_FileAccess.h"
#include "model/U_ChannelTable.h"

#include <cstdio>
#include <fstream>
#include <iterator>

int RunExportCsv(const QStringList& args)
{
    QCommandLineParser parser;
    const int status = ParseArguments(parser, args,
        "Writes the 16 channels of FILE as CSV (File > Export Channels), to OUT or to\n"
        "standard output: one row per channel, one column per grid column headed by the\n"
        "grid's captions, plus the used flag and the 16 multi-tone slots.",
        {"FILE", "[OUT]"}, 1, 2);
    if (status >= 0)
        return status;
    TConsolePrompt prompt;
    TRKmem doc;
    TMap54 image;
    if (!ReadDataFile(Local(parser.positionalArguments().at(0)), doc, image, prompt))
        return ExitFileError;
    const std::string csv = WriteChannelsCsv(doc);
    if (parser.positionalArguments().size() < 2) {
        std::fwrite(csv.data(), 1, csv.size(), stdout);
        return ExitOk;
    }
    const std::string out = Local(parser.positionalArguments().at(1));
    if (!WriteFileAtomically(out, csv)) {
        prompt.Error(FileMessages::WriteError(out));
        return ExitFileError;
    }
    return ExitOk;
}

int RunImportCsv(const QStringList& args)
{
    QCommandLineParser parser;
    const int status = ParseArguments(parser, args,
        "Takes the channels of the CSV file into the document FILE and writes the result to\n"
        "OUT (File > Import Channels, then Save As); FILE itself is not changed. Columns are\n"
        "matched by their captions in any order; a missing column leaves its field alone. Any\n"
        "bad cell is reported with its row and column and nothing is written.\n"
        "Exit status: 0 done, 3 a file cannot be read or written, 65 the CSV was refused.",
        {"FILE", "CSV", "OUT"}, 3, 3);
    if (status >= 0)
        return status;
    const QStringList paths = parser.positionalArguments();
    TConsolePrompt prompt;
    TRKmem doc;
    TMap54 image;
    if (!ReadDataFile(Local(paths.at(0)), doc, image, prompt))
        return ExitFileError;
    std::ifstream in(Local(paths.at(1)), std::ios::binary);
    if (!in) {
        prompt.Error(FileMessages::ReadError(Local(paths.at(1))));
        return ExitFileError;
    }
    const std::string csv((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const TCsvImport result = ReadChannelsCsv(csv, doc);
    for (const std::string& column : result.UnknownColumns)
        std::fprintf(stderr, "rk54 import-csv: warning: unknown column \"%s\" ignored\n", column.c_str());
    for (const std::string& error : result.Errors)
        std::fprintf(stderr, "rk54 import-csv: %s\n", error.c_str());
    if (!result.Applied)
        return ExitDataRefused;
    return WriteDataFile(Local(paths.at(2)), doc, image, prompt) ? ExitOk : ExitFileError;
}
