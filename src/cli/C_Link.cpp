#include "cli/C_Link.h"

#include "cli/U_Cli.h"
#include "files/U_FileAccess.h"
#include "files/U_History.h"
#include "link/U_AlignRun.h"
#include "link/U_Checks.h"
#include "link/U_Clone.h"
#include "link/U_LinkTrace.h"
#include "link/U_Ports.h"
#include "link/U_SafeDownload.h"
#include "link/dc_RsDrv.h"
#include "sim/dc_RepeaterSim.h"

#include <QDate>
#include <QDir>
#include <QStandardPaths>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t Interrupted = 0;  // the signal that came, or 0
TRepeaterSim* RunningSim = nullptr;

void OnInterrupt(int signal)
{
    Interrupted = signal;
    if (RunningSim)
        RunningSim->RequestStop();  // async-signal-safe: a flag and a pipe write
}

// Ctrl+C (and a polite kill) is the Cancel button while it is installed.
class TInterruptGuard {
public:
    TInterruptGuard()
    {
        Interrupted = 0;
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &OldInt);
        sigaction(SIGTERM, &action, &OldTerm);
    }
    ~TInterruptGuard()
    {
        sigaction(SIGINT, &OldInt, nullptr);
        sigaction(SIGTERM, &OldTerm, nullptr);
    }

private:
    struct sigaction OldInt {};
    struct sigaction OldTerm {};
};

// The transfer window of the terminal: messages and a progress bar on
// standard error, Ctrl+C as Cancel.
class TConsoleView : public TLinkView {
public:
    TConsoleView() : Terminal(::isatty(STDERR_FILENO) == 1) {}

    void Error(const std::string& text) override
    {
        EndBar();
        Prompt.Error(text);
    }
    void Information(const std::string& text) override
    {
        EndBar();
        Prompt.Information(text);
    }
    void TransferBegins(TDirection) override
    {
        if (Terminal)
            Prompt.Information("Connection cables to radio");
    }
    void TransferEnds() override { EndBar(); }
    void SetProgress(int position) override
    {
        if (!Terminal)
            return;
        constexpr int Width = ProgressMax;
        std::string bar(size_t(position), '#');
        bar.resize(Width, '.');
        std::fprintf(stderr, "\r[%s] %3d%%", bar.c_str(), position * 100 / ProgressMax);
        std::fflush(stderr);
        BarShown = true;
    }
    bool Cancelled() const override { return Interrupted != 0; }
    TLinkTrace* Trace() override { return FTrace.IsOpen() ? &FTrace : nullptr; }

    // --trace FILE; false (and told) when the file cannot be written.
    bool TraceTo(const QString& path)
    {
        if (FTrace.Open(path))
            return true;
        Prompt.Error(FTrace.ErrorText.toStdString());
        return false;
    }

private:
    void EndBar()
    {
        if (BarShown)
            std::fputc('\n', stderr);
        BarShown = false;
    }

    TConsolePrompt Prompt;
    const bool Terminal;
    bool BarShown = false;
    TLinkTrace FTrace;
};

// The safe download's questions, answered by the command's options: an
// identity mismatch is refused unless --force, the change list is printed
// and the download goes on unless --dry-run.
class TConsoleQuestions : public TSafeQuestions {
public:
    TConsoleQuestions(bool force, bool dryRun) : Force(force), DryRun(dryRun) {}

    bool ConfirmIdentity(const std::vector<TIdentityRow>& rows) override
    {
        std::string text = "The repeater is not the one the document was made for:\n";
        text += Row("", "Repeater", "Document", false);
        for (const TIdentityRow& row : rows)
            text += Row(row.Name, row.Unit, row.Document, row.Differs);
        text += Force ? "Writing all the same (--force).\n" : "Nothing was written; --force writes all the same.\n";
        std::fputs(text.c_str(), stderr);
        return Force;
    }
    bool ConfirmChanges(const std::vector<TFieldChange>& changes) override
    {
        QString out = changes.empty() ? QStringLiteral("The download changes no field.\n")
                                      : QStringLiteral("The download changes %1 field(s) (repeater | document):\n").arg(changes.size());
        out += QString::fromStdString(ChangesText(changes));
        if (DryRun)
            out += QStringLiteral("Dry run: nothing was written.\n");
        PrintOut(out);
        std::fflush(stdout);
        return !DryRun;
    }
    void ReadBackDiffers(const std::vector<TFieldChange>& differences) override
    {
        const std::string text =
            std::string(SafeMessages::Differs) + " Read back | written:\n" + ChangesText(differences);
        std::fputs(text.c_str(), stderr);
    }
    void HistoryProblem(const std::string& text) override
    {
        std::fprintf(stderr, "%s The transfer goes on.\n", text.c_str());
    }

private:
    static std::string Row(const std::string& name, const std::string& unit, const std::string& doc, bool differs)
    {
        char line[160];
        std::snprintf(line, sizeof line, "  %-10s %-12s %-12s%s\n", name.c_str(), unit.c_str(), doc.c_str(),
                      differs ? " <- differs" : "");
        return line;
    }

    bool Force;
    bool DryRun;
};

// The one place an outcome becomes an exit status: its own number.
int ExitStatus(TOutcome outcome)
{
    return static_cast<int>(outcome);
}

// The exit status of a transfer: its outcome; a cancel that came when
// nothing had gone wrong yet still is no success. A signal is the Cancel
// button, and whoever sent it hears so: "Cancelled" and, as shells expect
// of a command ended by a signal, 128 + its number. One that comes after
// the transfer has completed cancelled nothing, and saying so would be false.
int ExitStatusOf(const TTransferResult& result)
{
    if (Interrupted != 0 && !result.Succeeded()) {
        std::fprintf(stderr, "Cancelled\n");
        return 128 + Interrupted;
    }
    if (result.PortFailed || (result.Cancelled && result.Outcome == TOutcome::Done))
        return ExitStatus(TOutcome::Error);
    return ExitStatus(result.Outcome);
}

// One line from the terminal without echo, or from standard input as it is.
std::string ReadPassword()
{
    const bool terminal = ::isatty(STDIN_FILENO) == 1;
    termios saved {};
    if (terminal) {
        std::fprintf(stderr, "Password: ");
        std::fflush(stderr);
        ::tcgetattr(STDIN_FILENO, &saved);
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    std::string line;
    std::getline(std::cin, line);
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
        std::fputc('\n', stderr);
    }
    return line;
}

const char* const PortHelp = "The repeater's port: COM<n> or a device path.";

// The program's settings file in the per-user folder, where RK54Win keeps it
// when it is not run as a portable copy.
QString UserSettingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/RK54Win/RK54Win.ini";
}

const QCommandLineOption HistoryOption("history",
    "The service history folder (default: the one RK54Win's settings name, else History beside them).", "DIR");
const QCommandLineOption TraceOption("trace", "Write every byte sent and received, with its time, to FILE.", "FILE");

std::unique_ptr<THistory> HistoryOf(const QCommandLineParser& parser)
{
    const std::string folder = parser.isSet(HistoryOption) ? Local(parser.value(HistoryOption))
                                                           : HistorySettings::FolderFromSettings(Local(UserSettingsFile()));
    return std::make_unique<THistory>(folder);
}

// Keeps an image in the history; a history that cannot be written is told
// but changes no exit status.
void Keep(THistory& history, const TMap54& image, const TRKmem& who, const char* action, TProgramMode mode,
          const std::string& outcome)
{
    std::string error;
    if (!RecordInHistory(history, image, who, action, mode, outcome, error))
        std::fprintf(stderr, "%s\n", error.c_str());
}

} // namespace

int RunUpload(const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption port("port", PortHelp, "PORT");
    parser.addOption(port);
    parser.addOption(HistoryOption);
    parser.addOption(TraceOption);
    const int status = ParseArguments(parser, args,
        "Reads the repeater's memory (Radio > Upload) and saves it as FILE. FILE is written\n"
        "only when the upload succeeded; the image is also kept in the service history.\n"
        "Progress goes to standard error; Ctrl+C cancels.\n"
        "Exit status: 0 done, 1 port or transfer error, 2 time-out, 10 checksum error,\n"
        "14 incompatible data, 20 unexpected reply, 3 FILE cannot be written,\n"
        "130 or 143 cancelled by Ctrl+C or SIGTERM (nothing is written).",
        {"FILE"}, 1, 1);
    if (status >= 0)
        return status;
    if (!parser.isSet(port)) {
        std::fprintf(stderr, "rk54 upload: --port is required\n");
        return ExitUsage;
    }
    TRKmem doc;
    TMap54::SetDefaults(doc);
    TMap54 image;
    TConsoleView view;
    if (parser.isSet(TraceOption) && !view.TraceTo(parser.value(TraceOption)))
        return ExitFileError;
    TTransferResult result;
    {
        TInterruptGuard guard;
        result = Upload(parser.value(port), doc, image, view);
    }
    if (!result.Succeeded())
        return ExitStatusOf(result);
    Keep(*HistoryOf(parser), image, doc, HistoryActions::Upload, Normal, "done");
    TConsolePrompt prompt;
    return WriteDataFile(Local(parser.positionalArguments().first()), doc, image, prompt) ? ExitOk
                                                                                          : ExitFileError;
}

int RunDownload(const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption port("port", PortHelp, "PORT");
    const QCommandLineOption mode("mode",
        "What is written: normal (the channels), extended (also the common parameters "
        "and alpha tags) or manufacture (everything; asks for the password).", "MODE", "normal");
    const QCommandLineOption noSafe("no-safe", "Write without reading the repeater first and back afterwards.");
    const QCommandLineOption force("force", "Write even when the repeater's serial number, band, market or "
                                            "firmware differ from FILE's.");
    const QCommandLineOption dryRun("dry-run", "Read the repeater, check it and list the changes; write nothing.");
    for (const auto* option : {&port, &mode, &noSafe, &force, &dryRun, &HistoryOption, &TraceOption})
        parser.addOption(*option);
    const int status = ParseArguments(parser, args,
        "Writes FILE into the repeater (Radio > Download). A US-market document with wide\n"
        "channels in 150-174 or 421-512 MHz gets the narrow-band caution on standard error\n"
        "and is sent with those channels narrow; FILE itself is not changed.\n"
        "Safe download (unless --no-safe): the repeater is read and its image kept in the\n"
        "service history, checked against FILE (serial number, band, market, firmware),\n"
        "the fields that will change are listed on standard output, FILE is written and\n"
        "the repeater read back and compared with what was sent.\n"
        "Exit status: 0 done (and verified), 1 port or transfer error, 2 time-out,\n"
        "10 checksum error, 14 incompatible data, 20 block refused, 3 FILE cannot be read,\n"
        "4 repeater is not FILE's (refused without --force), 5 read-back differs,\n"
        "77 wrong password, 130 or 143 cancelled by Ctrl+C or SIGTERM.",
        {"FILE"}, 1, 1);
    if (status >= 0)
        return status;
    if (!parser.isSet(port)) {
        std::fprintf(stderr, "rk54 download: --port is required\n");
        return ExitUsage;
    }
    const QString modeName = parser.value(mode).toLower();
    TProgramMode programMode = Normal;
    if (modeName == "extended") {
        programMode = Extended;
    } else if (modeName == "manufacture") {
        programMode = Manufacture;
    } else if (modeName != "normal") {
        std::fprintf(stderr, "rk54 download: --mode must be normal, extended or manufacture\n");
        return ExitUsage;
    }
    if (programMode == Manufacture && !IsManufacturePassword(ReadPassword())) {
        std::fprintf(stderr, "rk54 download: wrong password\n");
        return ExitWrongPassword;
    }

    TConsolePrompt prompt;
    TRKmem doc;
    TMap54 image;
    if (!ReadDataFile(Local(parser.positionalArguments().first()), doc, image, prompt))
        return ExitFileError;
    // Running the command is the confirmation: the caution is shown and
    // answered Yes, which in every phase means narrow, then download.
    const int phase = FccPhaseOf(QDate::currentDate().toString("yyyyMMdd").toStdString());
    if (!PrepareDownload(doc, phase, prompt).Download)
        return ExitOk;

    TConsoleView view;
    if (parser.isSet(TraceOption) && !view.TraceTo(parser.value(TraceOption)))
        return ExitFileError;
    const std::unique_ptr<THistory> history = HistoryOf(parser);
    TInterruptGuard guard;
    if (parser.isSet(noSafe)) {
        const TTransferResult result = Download(parser.value(port), doc, image, programMode, view);
        if (!result.PortFailed)
            Keep(*history, image, doc, HistoryActions::Download, programMode,
                 OutcomeText(result, TLinkView::DownloadDirection));
        return ExitStatusOf(result);
    }
    TConsoleQuestions questions(parser.isSet(force), parser.isSet(dryRun));
    const TSafeResult result = SafeDownload(parser.value(port), doc, image, programMode, view, questions, history.get());
    if (result.IdentityRefused)
        return ExitNotThisUnit;
    if (result.ChangesDeclined)
        return ExitOk;
    if (result.ReadBackDiffers())
        return ExitReadBackDiffers;
    return ExitStatusOf(result.Transfer);
}

int RunHistory(const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption serial("serial", "Only the events of the unit with serial number S.", "S");
    parser.addOption(serial);
    parser.addOption(HistoryOption);
    const int status = ParseArguments(parser, args,
        "Prints the service history log, newest first: time (UTC), serial number, firmware,\n"
        "band, action, program mode, archived image, its SHA-256 and the outcome, separated\n"
        "by tabs. The images lie in the history folder under the names shown.",
        {}, 0, 0);
    if (status >= 0)
        return status;
    const std::unique_ptr<THistory> history = HistoryOf(parser);
    QString out;
    for (const THistoryEntry& entry : history->Entries(Local(parser.value(serial))))
        out += QString::fromStdString(THistory::LineOf(entry)) + '\n';
    PrintOut(out);
    return ExitOk;
}

int RunAlign(const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption port("port", PortHelp, "PORT");
    const QCommandLineOption point("point", "The alignment point: lowest, low, high or highest.", "POINT");
    const QCommandLineOption save("save", "Write the point's values back into FILE when every step succeeded "
                                          "(the window's OK); without it FILE is not changed (Cancel).");
    parser.addOption(port);
    parser.addOption(point);
    parser.addOption(save);
    QString names = " ";
    for (const TAlignField& f : AlignFields()) {
        const QString name = QString::fromStdString(Align::FieldName(f));
        if (names.size() - names.lastIndexOf('\n') + name.size() > 78)
            names += "\n ";
        names += " " + name;
    }
    names += "\n";
    const int status = ParseArguments(parser, args,
        "Runs one live alignment of the repeater (Common > Alignment) from the values of FILE,\n"
        "after the manufacture password, and then takes the repeater out of alignment mode.\n"
        "The steps run in order:\n"
        "  set:NAME=VALUE  a value of the point or a choice of the window, clamped as the\n"
        "                  window clamps it (set:RxFrequency=150.5, set:TxPowerType=low,\n"
        "                  set:CtcssDcsEncoder=ctcss, set:Ctcss=88.5, set:ModeSelect=repeater)\n"
        "  rx-on, rx-off, tx-on, tx-off, trx-on, trx-off\n"
        "                  switch the receiver and transmitter with the values set so far\n"
        "  status          print VR=xx NSQ=xx RSSI=xx\n"
        "  wait:MS         hold the link (the repeater stays keyed) for MS milliseconds\n"
        "NAME, without regard to case, is one of:\n" + names +
        "Ctrl+C ends a wait at once and any other step when it is done; the repeater is\n"
        "always taken out of alignment mode once it went in.\n"
        "Exit status: 0 done, 1 port error or refused start, 2 no answer, 10 status checksum\n"
        "error, 20 command refused, 3 FILE cannot be read or written, 64 a step that cannot\n"
        "be read (before the port is opened), 77 wrong password, 130 or 143 ended by Ctrl+C\n"
        "or SIGTERM (after the closing sequence; FILE is not changed).",
        {"FILE", "STEP..."}, 1, 1 << 20);
    if (status >= 0)
        return status;
    if (!parser.isSet(port) || !parser.isSet(point)) {
        std::fprintf(stderr, "rk54 align: --port and --point are required\n");
        return ExitUsage;
    }
    int pointIndex = -1;
    for (int p = 0; p < AlignPointCount; ++p)
        if (parser.value(point).compare(AlignPointNames[p], Qt::CaseInsensitive) == 0)
            pointIndex = p;
    if (pointIndex < 0) {
        std::fprintf(stderr, "rk54 align: --point must be lowest, low, high or highest\n");
        return ExitUsage;
    }
    QStringList positional = parser.positionalArguments();
    const QString file = positional.takeFirst();
    std::vector<TAlignStep> steps;
    for (const QString& text : positional) {
        TAlignStep step;
        std::string error;
        if (!ParseAlignStep(Local(text), step, error)) {
            std::fprintf(stderr, "rk54 align: step '%s': %s\n", qPrintable(text), error.c_str());
            return ExitUsage;
        }
        steps.push_back(step);
    }
    if (!IsManufacturePassword(ReadPassword())) {
        std::fprintf(stderr, "rk54 align: wrong password\n");
        return ExitWrongPassword;
    }

    TConsolePrompt prompt;
    TRKmem doc;
    TMap54 image;
    if (!ReadDataFile(Local(file), doc, image, prompt))
        return ExitFileError;
    TConsoleView view;
    TInterruptGuard guard;
    TOutcome outcome = TOutcome::Done;
    std::unique_ptr<TCRsDrv> driver = AlignOpen(parser.value(port), view, outcome);
    if (!driver)
        return ExitStatus(outcome);
    TAlignRun run {doc, image, {}};
    run.Settings.Point = pointIndex;
    for (const TAlignStep& step : steps) {
        std::string line;
        outcome = RunAlignStep(*driver, step, run, view, line);
        if (!line.empty()) {
            PrintOut(QString::fromStdString(line) + "\n");
            std::fflush(stdout);
        }
        if (outcome == TOutcome::Done && view.Cancelled())
            outcome = TOutcome::Error;
        if (outcome != TOutcome::Done)
            break;
    }
    // A signal during the closing sequence cancels nothing: the run was over.
    const int signal = Interrupted;
    AlignClose(*driver, view);
    if (signal != 0) {
        std::fprintf(stderr, "Cancelled\n");
        return 128 + signal;
    }
    if (outcome != TOutcome::Done || !parser.isSet(save))
        return ExitStatus(outcome);
    return WriteDataFile(Local(file), doc, image, prompt) ? ExitOk : ExitFileError;
}

int RunPorts(const QStringList& args)
{
    QCommandLineParser parser;
    const int status = ParseArguments(parser, args,
        "Lists the serial ports as the Configuration dialog shows them, each with its device.\n"
        "COM1-COM32 are /dev/ttyS0-31, COM33-COM64 /dev/ttyUSB0-31, COM65-COM96\n"
        "/dev/ttyACM0-31 (the LDA-30 interface); a link named COM<n> in\n" + TPortHost::DefaultLinkFolder()
            + "\nputs any device behind that number.",
        {}, 0, 0);
    if (status >= 0)
        return status;
    for (const TPortEntry& entry : TPortHost::System().Ports())
        PrintOut(QString("%1 %2\n").arg(entry.Text, -18).arg(entry.Device));
    return ExitOk;
}

int RunSimulate(const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption link("link", "Make PATH a link to the simulator's device (for example "
                                          + TPortHost::DefaultLinkFolder() + "/COM9).", "PATH");
    const QCommandLineOption imageFile("image", "The repeater's memory: a data file (default: a new document).", "FILE");
    const QCommandLineOption save("save", "Save the memory to FILE after every transfer and at the end.", "FILE");
    const QCommandLineOption pace("pace", "Pace the line at 9600 bit/s, 8 data bits, 2 stop bits.");
    QString faultNames;
    for (const std::string& name : SimFaultNames())
        faultNames += QString::fromStdString(name) + (name == SimFaultNames().back() ? "" : ", ");
    const QCommandLineOption fault("fault",
        "Make a fault (repeatable): " + faultNames + ". Block faults strike at block 4 of the "
        "channel area; bad-checksum also spoils every alignment status reply, nak refuses "
        "every alignment command.", "F");
    for (const auto* option : {&link, &imageFile, &save, &pace, &fault})
        parser.addOption(*option);
    const int status = ParseArguments(parser, args,
        "Plays an HPD-4400 repeater with its programming cable on a pseudo-terminal: echoes\n"
        "every byte and answers the clone and alignment protocols from its memory.\n"
        "Runs until Ctrl+C.",
        {}, 0, 0);
    if (status >= 0)
        return status;
    if (!parser.isSet(link)) {
        std::fprintf(stderr, "rk54 simulate: --link is required\n");
        return ExitUsage;
    }
    TSimOptions options;
    options.LinkPath = Local(parser.value(link));
    options.SavePath = parser.isSet(save) ? Local(parser.value(save)) : std::string();
    options.Pace = parser.isSet(pace);
    for (const QString& name : parser.values(fault)) {
        TSimFault f;
        if (!ParseSimFault(Local(name), f)) {
            std::fprintf(stderr, "rk54 simulate: unknown fault '%s' (known: %s)\n", qPrintable(name),
                         qPrintable(faultNames));
            return ExitUsage;
        }
        options.Faults.insert(f);
    }

    TConsolePrompt prompt;
    TRKmem doc;
    TMap54::SetDefaults(doc);
    TMap54 memory;
    if (parser.isSet(imageFile)) {
        if (!ReadDataFile(Local(parser.value(imageFile)), doc, memory, prompt))
            return ExitFileError;
    } else {
        memory.Encode(doc);
    }
    TRepeaterSim sim(memory, options);
    std::string error;
    if (!sim.Open(error)) {
        std::fprintf(stderr, "rk54 simulate: %s\n", error.c_str());
        return ExitStatus(TOutcome::Error);
    }
    PrintOut(QString("Repeater on %1, linked as %2. Ctrl+C ends.\n")
                 .arg(QString::fromStdString(sim.DevicePath()), parser.value(link)));
    std::fflush(stdout);
    RunningSim = &sim;
    {
        TInterruptGuard guard;
        sim.Run();
    }
    RunningSim = nullptr;
    return sim.SaveFailed() ? ExitFileError : ExitOk;
}
