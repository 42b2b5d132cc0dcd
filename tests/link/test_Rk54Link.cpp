// rk54 upload, download, ports and simulate, run as a person runs them.
#include "support/LinkTestKit.h"
#include "support/Rk54Tool.h"
#include "link/U_Clone.h"
#include "files/U_FileAccess.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <optional>

namespace {

class Rk54Link : public ::testing::Test {
protected:
    // A home of its own, so that the link folder is the test's.
    void Start(QProcess& p, const QStringList& args, const QByteArray& input = {}) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", Home.filePath("config"));
        env.insert("XDG_DATA_HOME", Home.filePath("data"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(Home.path());
        StartRk54(p, args, input);
    }
    TRk54Run Run(const QStringList& args, const QByteArray& input = {}) const
    {
        QProcess p;
        Start(p, args, input);
        return FinishRk54(p);
    }
    QString File(const QString& name) const { return Home.filePath(name); }
    QByteArray Contents(const QString& name) const
    {
        QFile f(File(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // A data file of `doc`, as Save writes it over `image`.
    QString Save(const QString& name, TRKmem doc, TMap54 image = {}) const
    {
        TTestView prompt;
        EXPECT_TRUE(WriteDataFile(File(name).toStdString(), doc, image, prompt));
        return File(name);
    }
    // The bytes Save writes under `name`, written in a folder of their own.
    QByteArray AsSaved(const QString& name, const TRKmem& doc, const TMap54& image = {}) const
    {
        QDir(Home.path()).mkpath("expected");
        Save("expected/" + name, doc, image);
        return Contents("expected/" + name);
    }

    QTemporaryDir Home;
};

QByteArray Bytes(const TMap::TImage& image)
{
    return QByteArray(reinterpret_cast<const char*>(image.data()), int(image.size()));
}

} // namespace

TEST_F(Rk54Link, DownloadInEachModeWritesItsAreas)
{
    TRKmem doc = RichDocument(0);
    doc.MarketCode = 'E';  // no narrow-band caution here
    const QString file = Save("down.R54", doc);
    const QByteArray before = Contents("down.R54");
    const struct {
        const char* Mode;
        QByteArray Input;
        int FirstByte;
    } cases[] = {{"normal", {}, 208}, {"extended", {}, 80}, {"manufacture", "orvanealign\n", 0}};
    for (const auto& c : cases) {
        const TMap54 old = ImageOf(RichDocument(1));
        TSimRig sim(old);
        const TRk54Run run = Run({"download", "--no-safe", "--port", sim.Port(), "--mode", c.Mode, file}, c.Input);
        EXPECT_EQ(run.Status, 0) << c.Mode << run.Err.toStdString();
        EXPECT_TRUE(run.Err.contains("Download is completed"));
        const TMap::TImage memory = sim->Memory();
        EXPECT_EQ(memory[size_t(c.FirstByte)], uint8_t(before[c.FirstByte])) << c.Mode;
        if (c.FirstByte > 0) {
            EXPECT_EQ(memory[size_t(c.FirstByte - 1)], old[c.FirstByte - 1]) << c.Mode;
        }
        EXPECT_EQ(Bytes(memory).mid(208, 768), before.mid(208, 768));
    }
    EXPECT_EQ(Contents("down.R54"), before);
}

// Every failure and refusal ends with its status and message; the data file
// stays as it was and nothing new appears. PORT stands for the simulator,
// FILE for a saved data file, NEW for a name nothing may take, MISSING for
// a file that is not there.
TEST_F(Rk54Link, FailuresEndWithTheirStatusAndLeaveTheFilesAlone)
{
    const QString file = Save("doc.R54", RichDocument(0));
    const QByteArray kept = Contents("doc.R54");
    const QStringList upload = {"upload", "--port", "PORT", "FILE"};
    const QStringList download = {"download", "--no-safe", "--port", "PORT", "FILE"};
    const QStringList manufacture = {"download", "--port", "PORT", "--mode", "manufacture", "FILE"};
    const struct {
        QStringList Args;
        std::optional<TSimFault> Fault;
        int Status;
        const char* Message;  // nullptr: the usage or the refusal, not checked
        bool Reaches = true;  // something reached the repeater
        QByteArray Input = {};
    } cases[] = {
        {upload, TSimFault::BadChecksum, 10, "Checksum error"},
        {upload, TSimFault::WrongIndex, 20, "Upload error"},
        {upload, TSimFault::WrongHandshake, 1, "Upload error"},
        {{"upload", "--port", "/nonexistent/port", "NEW"}, {}, 1, "Problem on COM port", false},
        {download, TSimFault::NegativeAck, 20, "Download error"},
        {download, TSimFault::WrongHandshake, 1, "Download error"},
        {manufacture, {}, 77, nullptr, false, "wrong\n"},
        {manufacture, {}, 77, nullptr, false},  // no password at all
        {{"download", "--port", "PORT", "--mode", "fast", "FILE"}, {}, 64, nullptr, false},
        {{"download", "FILE"}, {}, 64, nullptr, false},
        {{"upload", "--port", "PORT"}, {}, 64, nullptr, false},
        {{"download", "--port", "PORT", "MISSING"}, {}, 3, nullptr, false},
        {{"simulate", "--link", "NEW", "--fault", "bogus"}, {}, 64, nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Args.join(' ').toStdString());
        TSimRig sim(ImageOf(RichDocument(1)), c.Fault ? WithFault(*c.Fault) : TSimOptions());
        const QHash<QString, QString> stand = {{"PORT", sim.Port()}, {"FILE", file}, {"NEW", File("new.R54")},
                                               {"MISSING", File("missing.R54")}};
        QStringList args;
        for (const QString& a : c.Args)
            args << stand.value(a, a);
        const TRk54Run run = Run(args, c.Input);
        EXPECT_EQ(run.Status, c.Status) << run.Err.toStdString();
        if (c.Message) {
            EXPECT_TRUE(run.Err.contains(c.Message)) << run.Err.toStdString();
        }
        EXPECT_EQ(!sim->Received().empty(), c.Reaches);
        EXPECT_EQ(Contents("doc.R54"), kept);
        EXPECT_FALSE(QFileInfo::exists(File("new.R54")) || QFileInfo(File("new.R54")).isSymLink());
    }
}

// The safe download answers its questions from the options; each run
// leaves its trace in the history and exits with its own status.
TEST_F(Rk54Link, SafeDownloadAnswersFromItsOptions)
{
    TRKmem unit = RichDocument(1);
    unit.MarketCode = 'E';
    TRKmem doc = RichDocument(0);
    doc.MarketCode = 'E';
    doc.SerialNo = unit.SerialNo;
    const QString same = Save("same.R54", doc);
    doc.SerialNo = "OTHER";
    const QString other = Save("other.R54", doc);
    const struct {
        const char* Name;
        QStringList Args;
        std::optional<TSimFault> Fault;
        int Status;
        int Transfers;
        int Writes;  // area 4 frames
        const char* Says;
        QStringList History;  // actions, newest first
    } cases[] = {
        {"dry run", {"--dry-run", same}, {}, 0, 1, 0, "Channel 1 RxFreq: ", {"before-download"}},
        {"mismatch", {other}, {}, 4, 1, 0, "--force", {"before-download"}},
        {"forced", {"--force", other}, {}, 0, 3, 16, "Verified", {"readback", "download", "before-download"}},
        {"read-back differs", {same}, TSimFault::CorruptStore, 5, 3, 16, "Channel 5 ",
         {"readback", "download", "before-download"}},
        {"no safe", {"--no-safe", same}, {}, 0, 1, 16, "Download is completed", {"download"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TSimRig sim(ImageOf(unit), c.Fault ? WithFault(*c.Fault) : TSimOptions());
        const QString history = File(QString("history-%1").arg(c.Name));
        const TRk54Run run = Run(QStringList {"download", "--port", sim.Port(), "--history", history} + c.Args);
        EXPECT_EQ(run.Status, c.Status) << run.Err.toStdString();
        EXPECT_TRUE((QString::fromUtf8(run.Out) + run.Err).contains(c.Says)) << run.Out.toStdString()
                                                                             << run.Err.toStdString();
        EXPECT_EQ(sim->Transfers(), c.Transfers);
        EXPECT_EQ(CountOf(sim->Received(), 0x41), c.Writes);
        if (c.Writes == 0) {
            EXPECT_EQ(Bytes(sim->Memory()), Bytes(ImageOf(unit).Content()));
        }
        if (QString(c.Name) == "no safe") {
            EXPECT_EQ(CountOf(sim->Received(), 0x42), 0) << "the plain download reads nothing";
        }
        const TRk54Run log = Run({"history", "--history", history, "--serial", QString::fromStdString(unit.SerialNo)});
        QStringList actions;
        for (const QString& line : QString::fromUtf8(log.Out).split('\n', Qt::SkipEmptyParts))
            actions << line.section('\t', 4, 4);
        EXPECT_EQ(actions, c.History) << log.Out.toStdString();
    }
}

TEST_F(Rk54Link, TheTraceHoldsEveryByteWithItsTime)
{
    TSimRig sim(ImageOf(RichDocument(0)));
    const TRk54Run run = Run({"upload", "--port", sim.Port(), "--history", File("h"), "--trace", File("trace.txt"),
                          File("up.R54")});
    ASSERT_EQ(run.Status, 0) << run.Err.toStdString();
    const QStringList lines = QString::fromUtf8(Contents("trace.txt")).split('\n', Qt::SkipEmptyParts);
    ASSERT_GT(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith("# RK54 link trace"));
    const QRegularExpression sent("^ +\\d+\\.\\d{3} ms  sent 02$");
    const QRegularExpression answer("^ +\\d+\\.\\d{3} ms  recv 02 02 01$");
    EXPECT_TRUE(lines.indexOf(sent) >= 0) << lines.join('\n').left(400).toStdString();
    EXPECT_TRUE(lines.indexOf(answer) > lines.indexOf(sent));
    // Every byte the repeater sent is in the trace, echo included.
    qsizetype received = 0;
    for (const QString& line : lines)
        if (line.contains(" recv "))
            received += line.section(" recv ", 1).split(' ').size();
    EXPECT_EQ(uint64_t(received), sim->BytesSent());
    // The upload is in the history too.
    const TRk54Run log = Run({"history", "--history", File("h")});
    EXPECT_TRUE(log.Out.contains("\tupload\t")) << log.Out.toStdString();
}

TEST_F(Rk54Link, TheNarrowBandCautionIsShownAndTheChannelsGoNarrow)
{
    TRKmem doc = RichDocument(0);
    doc.MarketCode = 'U';
    for (TChannel& ch : doc.Channels)
        ch.Bandwidth = 1;  // wide; the channels lie at 150-160 MHz
    const QString file = Save("wide.R54", doc);
    const QByteArray before = Contents("wide.R54");
    TSimRig sim(ImageOf(RichDocument(1)));
    const TRk54Run run = Run({"download", "--no-safe", "--port", sim.Port(), file});
    EXPECT_EQ(run.Status, 0);
    EXPECT_TRUE(run.Err.contains("FCC Rule Caution!"));
    EXPECT_EQ(Contents("wide.R54"), before);  // the file stays as it was

    TMap sent;
    std::copy_n(sim->Memory().data(), ImageSize, sent.Data());
    TRKmem inRepeater;
    ASSERT_TRUE(AsUploaded(sent).Decode(inRepeater));
    for (const TChannel& ch : inRepeater.Channels)
        EXPECT_EQ(ch.Bandwidth, 0);
}

// A signal is the Cancel button: the transfer stops where it is, nothing is
// written, and the status says which signal ended it. The simulator's faults
// hold the transfer still (waiting for the repeater, or silent in the middle
// of the data) so that the signal always lands mid-transfer.
TEST_F(Rk54Link, SignalsCancelTheTransferAndSaySo)
{
    const QString file = Save("doc.R54", RichDocument(0));
    const struct {
        const char* Name;
        const char* Command;
        TSimFault Fault;
        size_t Units;  // what the simulator must have heard before the signal
        int Signal;
        int Status;
    } rows[] = {
        {"upload waiting for the repeater, Ctrl+C", "upload", TSimFault::NoAnswer, 1, SIGINT, 130},
        {"upload in the middle of the data, SIGTERM", "upload", TSimFault::Silence, 4, SIGTERM, 143},
        {"download waiting for the repeater, SIGTERM", "download", TSimFault::NoAnswer, 1, SIGTERM, 143},
        {"download in the middle of the data, Ctrl+C", "download", TSimFault::Silence, 4, SIGINT, 130},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        TSimRig sim(ImageOf(RichDocument(1)), WithFault(row.Fault));
        const TMap::TImage before = sim->Memory();
        const bool upload = QLatin1String(row.Command) == QLatin1String("upload");
        QProcess p;
        Start(p, {row.Command, "--port", sim.Port(), upload ? File("cancelled.R54") : file});
        ASSERT_TRUE(WaitUntil([&] { return sim->Received().size() >= row.Units; }));
        ::kill(pid_t(p.processId()), row.Signal);
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), row.Status);
        EXPECT_EQ(QString(p.readAllStandardError()).trimmed().split('\n').last(), "Cancelled");
        EXPECT_FALSE(QFileInfo::exists(File("cancelled.R54")));
        if (row.Fault == TSimFault::NoAnswer) {
            EXPECT_EQ(sim->Memory(), before);
        }
    }
}

TEST_F(Rk54Link, SimulateServesALinkedPortUntilInterrupted)
{
    const QString link = Home.filePath("config/RK54Win/ports/COM9");
    const QString image = Save("memory.R54", RichDocument(0));
    QProcess sim;
    Start(sim, {"simulate", "--link", link, "--image", image, "--save", File("saved.R54")});
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo(link).isSymLink(); }));

    // The link puts the simulator behind COM9.
    const TRk54Run ports = Run({"ports"});
    EXPECT_EQ(ports.Status, 0);
    EXPECT_TRUE(QString::fromUtf8(ports.Out).contains(QRegularExpression("COM9 +" + QRegularExpression::escape(link))))
        << ports.Out.toStdString();
    const TRk54Run up = Run({"upload", "--port", "COM9", File("up.R54")});
    EXPECT_EQ(up.Status, 0) << up.Err.toStdString();
    EXPECT_TRUE(up.Err.contains("Upload is completed"));
    // The file is what the program would save after this upload.
    TMap memory;
    const QByteArray stored = Contents("memory.R54");
    std::copy(stored.begin(), stored.end(), memory.Data());
    const TMap54 received = AsUploaded(memory);
    TRKmem doc;
    ASSERT_TRUE(received.Decode(doc));
    EXPECT_EQ(Contents("up.R54"), AsSaved("up.R54", doc, received));
    // The same device named by a path relative to the current folder; the
    // file keeps its base name, which the image carries.
    ASSERT_TRUE(QDir(Home.path()).mkdir("relative"));
    const TRk54Run relative = Run({"upload", "--port", "config/RK54Win/ports/COM9", "relative/up.R54"});
    EXPECT_EQ(relative.Status, 0) << relative.Err.toStdString();
    EXPECT_EQ(Contents("relative/up.R54"), Contents("up.R54"));
    const TRk54Run down = Run({"download", "--port", "COM9", "--mode", "extended", File("up.R54")});
    EXPECT_EQ(down.Status, 0) << down.Err.toStdString();

    ::kill(pid_t(sim.processId()), SIGINT);
    ASSERT_TRUE(sim.waitForFinished(10000));
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_EQ(Contents("saved.R54").size(), ImageSize);
}

namespace {

const QByteArray Password = "orvanealign\n";
const TUnits ClosingSequence = {{0x27}, {0x03}, {0x06}, {0x28}};

TBytes CommandFrames(const TUnits& units)
{
    TBytes all;
    for (const TBytes& unit : units)
        if (unit.size() > 1 && unit.front() == 0xB1)
            all.insert(all.end(), unit.begin(), unit.end());
    return all;
}

TUnits Tail(const TUnits& units, size_t count)
{
    return TUnits(units.end() - std::min(count, units.size()), units.end());
}

TUnits ThenClosing(TUnits units)
{
    units.insert(units.end(), ClosingSequence.begin(), ClosingSequence.end());
    return units;
}

} // namespace

// The frames carry the file's own bytes from the point's addresses: Rx at
// 4 5 11 14 15 17 and Tx at 26 27 42 (high power) 46 (wide) 50 (DCS wide)
// for point 2.
TEST_F(Rk54Link, AlignRunsItsStepsInOrderAndTakesTheRepeaterOutOfAlignment)
{
    const QString file = Save("doc.R54", RichDocument(0));
    const QByteArray before = Contents("doc.R54");
    const auto b = [&](int address) { return uint8_t(before[address]); };
    TSimRig sim(ImageOf(RichDocument(1)));
    const TRk54Run run = Run({"align", "--port", sim.Port(), "--point", "HIGH", file, "set:ModeSelect=Repeater",
                          "set:widenarrow=narrow", "rx-on", "status", "set:WideNarrow=wide",
                          "set:CtcssDcsEncoder=dcs", "set:Dcs=754", "trx-on", "wait:50", "trx-off"},
                         Password);
    EXPECT_EQ(run.Status, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, "VR=1a NSQ=2b RSSI=3c\n");
    const TBytes rx = {b(4), b(5), b(11), b(14), b(15), b(17)};
    const TBytes tx = {b(26), b(27), b(42), b(46), 231, b(50)};
    EXPECT_EQ(CommandFrames(sim->Received()),
              Joined({WithSum(Joined({{0xB1, 0x00, 0x0A, 0x52, 'R'}, rx, {0x4E}})),
                      WithSum(Joined({{0xB1, 0x00, 0x10, 'T', 'R'}, tx, rx, {'W'}})),
                      {0xB1, 0x00, 0x02, 0x74, 0x27}}));
    EXPECT_EQ(Tail(sim->Received(), 4), ClosingSequence);
    EXPECT_EQ(Contents("doc.R54"), before);
    EXPECT_TRUE(PortIsFree(sim.Port()));
}

TEST_F(Rk54Link, AlignSaveWritesTheClampedValuesAsTheWindowsOkWould)
{
    const QString file = Save("doc.R54", RichDocument(0));
    const QByteArray before = Contents("doc.R54");
    TSimRig sim(ImageOf(RichDocument(1)));
    const TRk54Run run = Run({"align", "--port", sim.Port(), "--point", "high", "--save", file,
                          "set:RxFrequency=1000", "set:SQLThresholdLevel=300", "set:sqlhysteresis=x1", "rx-on"},
                         Password);
    EXPECT_EQ(run.Status, 0) << run.Err.toStdString();
    const auto b = [&](int address) { return uint8_t(before[address]); };
    EXPECT_EQ(CommandFrames(sim->Received()),
              WithSum({0xB1, 0x00, 0x0A, 'R', 'B', 0x99, 0x99, 0xFF, b(14), 0x00, b(17), 'W'}));
    // What Save writes under the same name (the image keeps the file's name).
    TRKmem expected = RichDocument(0);
    expected.RxAdjFreq[2].SetFromFloat(999.9);
    expected.SqlThreshold[2] = 255;
    expected.SqlHysteresis = 0;
    EXPECT_EQ(Contents("doc.R54"), AsSaved("doc.R54", expected));
}

// PORT stands for the simulator, FILE for the saved data file, which no
// failure changes.
TEST_F(Rk54Link, AlignFailuresEndWithTheirStatusAndTheClosingSequence)
{
    const QString file = Save("doc.R54", RichDocument(0));
    const QByteArray kept = Contents("doc.R54");
    const QStringList align = {"align", "--port", "PORT", "--point", "low", "--save", "FILE"};
    const struct {
        const char* Name;
        QStringList Steps;
        std::optional<TSimFault> Fault;
        int Status;
        const char* Message;  // in the standard error
        size_t Commands;      // command frames sent
        TUnits Tail;          // the last units the repeater got; none: nothing reached it
        QByteArray Input = Password;
    } cases[] = {
        {"unknown step", {"rx-on", "blink"}, {}, 64, "step 'blink'", 0, {}},
        {"unknown name", {"set:Colour=red"}, {}, 64, "no value is named 'Colour'", 0, {}},
        {"not a choice", {"set:ModeSelect=relay"}, {}, 64, "not a choice of ModeSelect", 0, {}},
        {"tone not in the list", {"set:Ctcss=67.1"}, {}, 64, "not a CTCSS tone", 0, {}},
        {"wait without a time", {"wait:soon"}, {}, 64, "wait:MS", 0, {}},
        {"wrong password", {"rx-on"}, {}, 77, "wrong password", 0, {}, "orvanealig\n"},
        {"start refused", {"rx-on"}, TSimFault::WrongHandshake, 1, "Problem detected", 0, {{0x02}, {0x15}}},
        {"start unanswered", {"rx-on"}, TSimFault::NoAnswer, 2, "Problem detected", 0, {{0x02}}},
        {"status checksum wrong", {"status", "rx-on"}, TSimFault::BadChecksum, 10, "Problem detected", 0,
         ThenClosing({{0xB2, 0x00, 0x02, 0x51, 0x05}, {0x15}})},
        {"command refused", {"rx-on", "status"}, TSimFault::NegativeAck, 20, "", 1, ThenClosing({})},
        {"command unanswered", {"rx-off"}, TSimFault::AlignSilence, 2, "Problem detected", 1,
         ThenClosing({{0xB1, 0x00, 0x02, 0x72, 0x25}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TSimRig sim(ImageOf(RichDocument(1)), c.Fault ? WithFault(*c.Fault) : TSimOptions());
        QStringList args;
        for (const QString& a : align)
            args << (a == "PORT" ? sim.Port() : a == "FILE" ? file : a);
        const TRk54Run run = Run(args + c.Steps, c.Input);
        EXPECT_EQ(run.Status, c.Status) << run.Err.toStdString();
        EXPECT_TRUE(run.Err.contains(c.Message)) << run.Err.toStdString();
        EXPECT_TRUE(run.Out.isEmpty()) << run.Out.toStdString();
        const TUnits units = sim->Received();
        EXPECT_EQ(size_t(std::count_if(units.begin(), units.end(),
                                       [](const TBytes& u) { return u.size() > 1 && u[0] == 0xB1; })),
                  c.Commands);
        if (c.Tail.empty()) {
            EXPECT_TRUE(units.empty());
        } else {
            EXPECT_EQ(Tail(units, c.Tail.size()), c.Tail);
        }
        EXPECT_EQ(Contents("doc.R54"), kept);
        EXPECT_TRUE(PortIsFree(sim.Port()));
    }
}

TEST_F(Rk54Link, AlignCtrlCDuringAWaitEndsTheRunWithTheClosingSequence)
{
    const QString file = Save("doc.R54", RichDocument(0));
    TSimRig sim(ImageOf(RichDocument(1)));
    QProcess p;
    Start(p, {"align", "--port", sim.Port(), "--point", "lowest", file, "tx-on", "wait:60000", "tx-off"},
          Password);
    p.waitForBytesWritten(5000);
    ASSERT_TRUE(WaitUntil([&] { return !CommandFrames(sim->Received()).empty(); }));
    ::kill(pid_t(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 130);
    EXPECT_TRUE(QString(p.readAllStandardError()).contains("Cancelled"));
    const TUnits units = sim->Received();
    EXPECT_EQ(Tail(units, 4), ClosingSequence);
    EXPECT_EQ(Tail(units, 5).front().size(), 13u);  // tx-on, and no tx-off after it
}
