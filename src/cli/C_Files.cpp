#include "cli/C_Files.h"

#include "cli/U_Cli.h"
#include "cli/U_DocJson.h"
#include "link/U_SafeDownload.h"
#include "files/U_FileAccess.h"
#include "files/U_HexDump.h"
#include "files/U_OpenDocument.h"
#include "model/U_Values.h"

#include <QJsonDocument>

namespace {

// rk54 names its files on the command line: the file choosers of the
// document's commands answer with those names, in order.
class TNamedFiles : public TFileChooser {
public:
    explicit TNamedFiles(QStringList names) : FNames(std::move(names)) {}
    std::string OpenName(const std::string&, const std::string&) override { return Next(); }
    std::string SaveName(const std::string&, const std::string&, const std::string&) override { return Next(); }

private:
    std::string Next() { return FNames.isEmpty() ? std::string() : Local(FNames.takeFirst()); }
    QStringList FNames;
};

// The document as the program holds it, worked by the File menu's rules
// with the named files. rk54 keeps no program folder, so no file is its
// default document.
struct TCliDocument {
    TConsolePrompt Prompt;
    TNamedFiles Files;
    TOpenDocument Open;
    explicit TCliDocument(const QStringList& names = {}) : Files(names), Open(std::string(), Prompt, Files) {}
    TRKmem& Doc() { return Open.Document(); }
    TMap54& Image() { return Open.Codec(); }
};

// The common shape of the commands that read one data file: parse, open
// as File > Open does, then `show` the document.
int WithOpenedFile(const QStringList& args, const QString& description, void (*show)(TCliDocument&))
{
    QCommandLineParser parser;
    const int status = ParseArguments(parser, args, description, {"FILE"}, 1, 1);
    if (status >= 0)
        return status;
    TCliDocument open(parser.positionalArguments());
    if (!open.Open.Open())
        return ExitFileError;
    show(open);
    return ExitOk;
}

} // namespace

int RunNew(const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption band("band", "Band of the new document: vhf (default) or uhf.", "band", "vhf");
    parser.addOption(band);
    const int status = ParseArguments(parser, args,
        "Writes a new document, as File > New makes it, to FILE. With --band uhf the band is\n"
        "changed to UHF as the Hardware dialog does it (IF 73.75 MHz, UHF alignment defaults).",
        {"FILE"}, 1, 1);
    if (status >= 0)
        return status;
    const QString bandName = parser.value(band).toLower();
    if (bandName != "vhf" && bandName != "uhf") {
        std::fprintf(stderr, "rk54 new: --band must be vhf or uhf\n");
        return ExitUsage;
    }
    TCliDocument open(parser.positionalArguments());
    if (ChangeBand(open.Doc(), bandName == "uhf" ? 1 : 0) == TBandChange::Changed)
        open.Open.ReloadWork();
    return open.Open.SaveAs() ? ExitOk : ExitFileError;
}

namespace {

void PrintInfo(TCliDocument& open)
{
    const TRKmem& d = open.Doc();
    QString out;
    out += QStringLiteral("Product:   %1\n").arg(QString::fromStdString(d.ProductType));
    out += QStringLiteral("Serial No: %1\n").arg(QString::fromStdString(d.SerialNo));
    out += QStringLiteral("Firmware:  %1\n").arg(QString::fromStdString(d.FwVersion));
    out += QStringLiteral("Band:      %1\n").arg(QString::fromStdString(DisplayText(dvBand, d.Band)));
    out += QStringLiteral("Market:    %1\n").arg(d.MarketCode == 'U' ? "USA" : "EXP");
    out += QStringLiteral("Ch  Rx Freq     Tx Freq\n");
    for (const TChannel& ch : d.Channels) {
        if (ch.Used != 1)
            continue;
        const QString tx = ch.TxInhibit ? QStringLiteral("Tx Inh")
                                        : QString::fromStdString(ChannelFreqText(d.ChStep, ch.TxFreq));
        out += QStringLiteral("%1  %2  %3\n")
                   .arg(ch.Number, 2)
                   .arg(QString::fromStdString(ChannelFreqText(d.ChStep, ch.RxFreq)), -10)
                   .arg(tx);
    }
    PrintOut(out);
}

void PrintDecoded(TCliDocument& open)
{
    PrintOut(QString::fromUtf8(QJsonDocument(DocumentJson(open.Doc())).toJson(QJsonDocument::Indented)));
}

void PrintDump(TCliDocument& open)
{
    open.Image().Encode(open.Doc());
    QString out = QStringLiteral("      ");
    for (int c = 0; c < DumpColumns; ++c)
        out += QLatin1Char(' ') + QString::fromStdString(DumpColumnLabel(c));
    out += QLatin1Char('\n');
    for (int r = 1; r <= DumpRows; ++r) {
        QString line = QString::fromStdString(DumpRowLabel(r));
        for (int c = 1; c <= DumpColumns; ++c) {
            const std::string cell = DumpCellAt(open.Image(), r, c);
            if (!cell.empty())
                line += QLatin1Char(' ') + QString::fromStdString(cell);
        }
        out += line + QLatin1Char('\n');
    }
    PrintOut(out);
}

} // namespace

int RunInfo(const QStringList& args)
{
    return WithOpenedFile(args,
        "Prints a short summary of a data file: product, serial number, firmware, band, market\n"
        "and the used channels with their frequencies as the channel grid shows them.",
        PrintInfo);
}

int RunDecode(const QStringList& args)
{
    return WithOpenedFile(args,
        "Prints every document field of a data file as JSON, keys named as the fields are.",
        PrintDecoded);
}

int RunDump(const QStringList& args)
{
    return WithOpenedFile(args,
        "Prints the raw data viewer's dump of a data file as the program shows it after opening\n"
        "it (read, then encoded): one line per row, the address label and the 16 cells.",
        PrintDump);
}

int RunResave(const QStringList& args)
{
    QCommandLineParser parser;
    const int status = ParseArguments(parser, args,
        "Opens IN as File > Open does and writes it to OUT as File > Save As does.\n"
        "OUT is left untouched when IN cannot be read.",
        {"IN", "OUT"}, 2, 2);
    if (status >= 0)
        return status;
    TCliDocument open(parser.positionalArguments());
    if (!open.Open.Open())
        return ExitFileError;
    return open.Open.SaveAs() ? ExitOk : ExitFileError;
}

int RunDiff(const QStringList& args)
{
    QCommandLineParser parser;
    const int status = ParseArguments(parser, args,
        "Lists the document fields that differ between two data files, one line each with both\n"
        "values. Exit status 0 when the documents are equal, 1 when they differ.",
        {"A", "B"}, 2, 2);
    if (status >= 0)
        return status;
    const QStringList files = parser.positionalArguments();
    TCliDocument a({files[0]}), b({files[1]});
    if (!a.Open.Open() || !b.Open.Open())
        return ExitFileError;
    const QString out = QString::fromStdString(ChangesText(FieldChanges(a.Doc(), b.Doc())));
    PrintOut(out);
    return out.isEmpty() ? ExitOk : ExitDiffers;
}
