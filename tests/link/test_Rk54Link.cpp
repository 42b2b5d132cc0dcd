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

    // The arguments with PORT standing for `sim`'s device and FILE, NEW and
    // MISSING for doc.R54 (the saved file), new.R54 (a name nothing may take)
    // and missing.R54 (a file that is not there) in the home.
    QStringList Expand(const QStringList& args, const TSimRig& sim) const
    {
        const QHash<QString, QString> stand = {{"PORT", sim.Port()}, {"FILE", File("doc.R54")},
                                               {"NEW", File("new.R54")}, {"MISSING", File("missing.R54")}};
        QStringList expanded;
        for (const QString& a : args)
            expanded << stand.value(a, a);
        return expanded;
    }

    QTemporaryDir Home;
};

const QByteArray Password = "orvanealign\n";
TUnits ThenClosing(TUnits units)
{
    units.insert(units.end(), ClosingSequence.begin(), ClosingSequence.end());
    return units;
}

QByteArray Bytes(const TMap::TImage& image)
{
    return QByteArray(reinterpret_cast<const char*>(image.data()), int(image.size()));
}

} // namespace

// A download does what its options say: the safe download answers its
// questions from them, the mode picks the areas written, and wide channels
// for the USA go narrow with the caution shown. Each run leaves its trace in
// the history and exits with its own status; the data file stays as it was.
TEST_F(Rk54Link, DownloadDoesWhatItsOptionsSay)
{
    TRKmem unit = RichDocument(1);
    unit.MarketCode = 'E';  // no narrow-band caution but where a row asks for it
    const QByteArray unitBytes = Bytes(ImageOf(unit).Content());
    TRKmem doc = RichDocument(0);
    doc.MarketCode = 'E';
    doc.SerialNo = unit.SerialNo;
    doc.SqlThreshold = {11, 22, 33, 44};  // area 1 differs from the unit's too
    Save("same.R54", doc);
    TRKmem other = doc;
    other.SerialNo = "OTHER";
    Save("other.R54", other);
    doc.MarketCode = 'U';
    for (TChannel& ch : doc.Channels)
        ch.Bandwidth = 1;  // wide; the channels lie at 150-160 MHz
    Save("wide.R54", doc);
    for (TChannel& ch : doc.Channels)
        ch.Bandwidth = 0;
    Save("narrow.R54", doc);  // what the repeater is to get of wide.R54
    const QStringList readback = {"readback", "download", "before-download"};
    const struct {
        const char* Name;
        QStringList Args;
        const char* File;
        std::optional<TSimFault> Fault;
        int Status;
        const char* Says;  // in either output
        int Writes;  // frames that write areas 1, 2 and 4 (0x11, 0x21, 0x41)
        QStringList History;  // actions, newest first
        QByteArray Input = {};
        const char* Sent = nullptr;  // the file whose channels reach the repeater, if not File
    } cases[] = {
        {"dry run", {"--dry-run"}, "same.R54", {}, 0, "Channel 1 RxFreq: ", 0, {"before-download"}},
        {"mismatch", {}, "other.R54", {}, 4, "--force", 0, {"before-download"}},
        {"forced", {"--force"}, "other.R54", {}, 0, "Verified", 16, readback},
        {"read-back differs", {}, "same.R54", TSimFault::CorruptStore, 5, "Channel 5 ", 16, readback},
        {"no safe, manufacture", {"--no-safe", "--mode", "manufacture"}, "same.R54", {}, 0, "Download is completed",
         18, {"download"}, Password},
        {"wide channels for the USA", {"--no-safe"}, "wide.R54", {}, 0, "FCC Rule Caution!", 16, {"download"}, {},
         "narrow.R54"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const QByteArray before = Contents(c.File);
        TSimRig sim(ImageOf(unit), c.Fault ? WithFault(*c.Fault) : TSimOptions());
        const QString history = File(QString("history-%1").arg(c.Name));
        const TRk54Run run =
            Run(QStringList {"download", "--port", sim.Port(), "--history", history} + c.Args + QStringList {File(c.File)},
                c.Input);
        EXPECT_EQ(run.Status, c.Status) << run.Err.toStdString();
        EXPECT_TRUE((QString::fromUtf8(run.Out) + run.Err).contains(c.Says)) << run.Out.toStdString()
                                                                             << run.Err.toStdString();
        const TUnits units = sim->Received();
        EXPECT_EQ(CountOf(units, 0x11) + CountOf(units, 0x21) + CountOf(units, 0x41), c.Writes);
        // Which bytes each mode writes is the engine's test; here the file's
        // channels reach the repeater (narrowed, unless spoilt by the
        // repeater), or nothing does.
        const QByteArray memory = Bytes(sim->Memory());
        if (c.Writes == 0) {
            EXPECT_EQ(memory, unitBytes);
        } else if (!c.Fault) {
            const QByteArray sent = Contents(c.Sent ? c.Sent : c.File).mid(Image54::ChannelBase, 768);
            ASSERT_NE(sent, unitBytes.mid(Image54::ChannelBase, 768));
            EXPECT_EQ(memory.mid(Image54::ChannelBase, 768), sent);
        }
        EXPECT_EQ(Contents(c.File), before);
        const TRk54Run log = Run({"history", "--history", history, "--serial", QString::fromStdString(unit.SerialNo)});
        QStringList actions;
        for (const QString& line : QString::fromUtf8(log.Out).split('\n', Qt::SkipEmptyParts))
            actions << line.section('\t', 4, 4);
        EXPECT_EQ(actions, c.History) << log.Out.toStdString();
    }
}

// Every failure and refusal ends with its status and message (how each fault
// of the repeater ends is the engines' test; here one row per status and per
// command). No more reaches the repeater than the row's last units, an
// alignment run ending with its closing sequence; the data file stays as it
// was and nothing new appears. The arguments are as Expand reads them.
TEST_F(Rk54Link, FailuresEndWithTheirStatusAndLeaveTheFilesAlone)
{
    Save("doc.R54", RichDocument(0));
    const QByteArray kept = Contents("doc.R54");
    const QStringList align = {"align", "--port", "PORT", "--point", "low", "--save", "FILE"};
    const struct {
        const char* Name;
        QStringList Args;
        std::optional<TSimFault> Fault;
        int Status;
        const char* Message;  // in the standard error; "": not checked
        size_t Commands;      // alignment command frames sent
        TUnits Tail;          // the last units the repeater got; none: nothing reached it
        QByteArray Input = Password;
    } cases[] = {
        {"upload, no such port", {"upload", "--port", "/nonexistent/port", "NEW"}, {}, 1, "Problem on COM port", 0,
         {}},
        {"download, refused", {"download", "--no-safe", "--port", "PORT", "FILE"}, TSimFault::WrongHandshake, 1,
         "Download error", 0, {{0x15}}},
        {"wrong manufacture password", {"download", "--port", "PORT", "--mode", "manufacture", "FILE"}, {}, 77, "", 0,
         {}, "wrong\n"},
        {"unknown mode", {"download", "--port", "PORT", "--mode", "fast", "FILE"}, {}, 64, "", 0, {}},
        {"no file", {"upload", "--port", "PORT"}, {}, 64, "", 0, {}},
        {"missing file", {"download", "--port", "PORT", "MISSING"}, {}, 3, "", 0, {}},
        {"unknown fault", {"simulate", "--link", "NEW", "--fault", "bogus"}, {}, 64, "", 0, {}},
        {"align, unknown step", align + QStringList {"rx-on", "blink"}, {}, 64, "step 'blink'", 0, {}},
        {"align, unknown name", align + QStringList {"set:Colour=red"}, {}, 64, "no value is named 'Colour'", 0, {}},
        {"align, not a choice", align + QStringList {"set:ModeSelect=relay"}, {}, 64, "not a choice of ModeSelect", 0,
         {}},
        {"align, tone not in the list", align + QStringList {"set:Ctcss=67.1"}, {}, 64, "not a CTCSS tone", 0, {}},
        {"align, wait without a time", align + QStringList {"wait:soon"}, {}, 64, "wait:MS", 0, {}},
        {"align, wrong password", align + QStringList {"rx-on"}, {}, 77, "wrong password", 0, {}, "orvanealig\n"},
        {"align, start refused", align + QStringList {"rx-on"}, TSimFault::WrongHandshake, 1, "Problem detected", 0,
         {{0x02}, {0x15}}},
        {"align, status checksum wrong", align + QStringList {"status", "rx-on"}, TSimFault::BadChecksum, 10,
         "Problem detected", 0, ThenClosing({{0xB2, 0x00, 0x02, 0x51, 0x05}, {0x15}})},
        {"align, command refused", align + QStringList {"rx-on", "status"}, TSimFault::NegativeAck, 20, "", 1,
         ThenClosing({})},
        {"align, command unanswered", align + QStringList {"rx-off"}, TSimFault::AlignSilence, 2, "Problem detected",
         1, ThenClosing({{0xB1, 0x00, 0x02, 0x72, 0x25}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TSimRig sim(ImageOf(RichDocument(1)), c.Fault ? WithFault(*c.Fault) : TSimOptions());
        const TRk54Run run = Run(Expand(c.Args, sim), c.Input);
        EXPECT_EQ(run.Status, c.Status) << run.Err.toStdString();
        EXPECT_TRUE(run.Err.contains(c.Message)) << run.Err.toStdString();
        EXPECT_TRUE(run.Out.isEmpty()) << run.Out.toStdString();
        const TUnits units = sim->Received();
        EXPECT_EQ(AlignCommands(units).size(), c.Commands);
        // With no tail given, the whole of what arrived must be nothing.
        EXPECT_EQ(Tail(units, c.Tail.empty() ? units.size() : c.Tail.size()), c.Tail);
        EXPECT_EQ(Contents("doc.R54"), kept);
        EXPECT_FALSE(QFileInfo::exists(File("new.R54")) || QFileInfo(File("new.R54")).isSymLink());
        EXPECT_TRUE(PortIsFree(sim.Port()));
    }
}

TEST_F(Rk54Link, TheTraceHoldsEveryByteWithItsTime)
{
    TSimRig sim(ImageOf(RichDocument(0)));
    const TRk54Run run = Run({"upload", "--port", sim.Port(), "--history", File("h"), "--trace", File("trace.txt"),
                          File("up.R54")});
    ASSERT_EQ(run.Status, 0) << run.Err.toStdString();
    const QStringList lines = QString::fromUtf8(Contents("trace.txt")).split('\n', Qt::SkipEmptyParts);
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

// A signal is the Cancel button: the run stops where it is, nothing is
// written, and the status says which signal ended it. The simulator's faults
// hold a transfer still (waiting for the repeater, or silent in the middle of
// the data) and the alignment run waits, so that the signal always lands
// mid-run. The arguments are as Expand reads them.
TEST_F(Rk54Link, SignalsCancelTheRunAndSaySo)
{
    Save("doc.R54", RichDocument(0));
    const struct {
        const char* Name;
        QStringList Args;
        std::optional<TSimFault> Fault;
        size_t Units;  // heard before the signal; unanswered, the start request is repeated
        int Signal;
        int Status;
    } rows[] = {
        {"upload waiting for the repeater, Ctrl+C", {"upload", "--port", "PORT", "NEW"}, TSimFault::NoAnswer, 2,
         SIGINT, 130},
        {"download in the middle of the data, SIGTERM", {"download", "--port", "PORT", "FILE"}, TSimFault::Silence, 4,
         SIGTERM, 143},
        // Open (2 units) and tx-on are through; the run waits before tx-off.
        {"align during a wait, Ctrl+C",
         {"align", "--port", "PORT", "--point", "lowest", "FILE", "tx-on", "wait:60000", "tx-off"}, {}, 3, SIGINT,
         130},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        TSimRig sim(ImageOf(RichDocument(1)), row.Fault ? WithFault(*row.Fault) : TSimOptions());
        const TMap::TImage before = sim->Memory();
        QProcess p;
        Start(p, Expand(row.Args, sim), Password);
        ASSERT_TRUE(WaitUntil([&] { return sim->Received().size() >= row.Units; }));
        ::kill(pid_t(p.processId()), row.Signal);
        ASSERT_TRUE(p.waitForFinished(20000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), row.Status);
        EXPECT_EQ(QString(p.readAllStandardError()).trimmed().split('\n').last(), "Cancelled");
        EXPECT_FALSE(QFileInfo::exists(File("new.R54")));
        EXPECT_EQ(sim->Memory(), before);
        if (row.Args.front() == "align") {
            const TUnits units = sim->Received();
            EXPECT_EQ(Tail(units, 4), ClosingSequence);
            EXPECT_EQ(AlignCommands(units).size(), 1u);  // tx-on, and no tx-off after it
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
    EXPECT_TRUE(QString::fromUtf8(ports.Out).contains(QRegularExpression("COM9 +" + QRegularExpression::escape(link))))
        << ports.Out.toStdString();
    const TRk54Run up = Run({"upload", "--port", "COM9", File("up.R54")});
    EXPECT_EQ(up.Status, 0) << up.Err.toStdString();
    // The file is what the program would save after this upload.
    TMap memory;
    const QByteArray stored = Contents("memory.R54");
    std::copy(stored.begin(), stored.end(), memory.Data());
    const TMap54 received = AsUploaded(memory);
    TRKmem doc;
    ASSERT_TRUE(received.Decode(doc));
    EXPECT_EQ(Contents("up.R54"), AsSaved("up.R54", doc, received));
    // What a download writes is in the memory the simulator saves.
    TRKmem next = RichDocument(1);
    next.MarketCode = 'E';  // no narrow-band caution
    const TRk54Run down = Run({"download", "--no-safe", "--port", "COM9", Save("next.R54", next)});
    EXPECT_EQ(down.Status, 0) << down.Err.toStdString();

    ::kill(pid_t(sim.processId()), SIGINT);
    ASSERT_TRUE(sim.waitForFinished(10000));
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    const QByteArray saved = Contents("saved.R54");
    EXPECT_EQ(saved.size(), ImageSize);
    EXPECT_EQ(saved.mid(Image54::ChannelBase, 768), Contents("next.R54").mid(Image54::ChannelBase, 768));
    EXPECT_EQ(saved.left(Image54::ChannelBase), stored.left(Image54::ChannelBase));
}


// The frames carry the file's own bytes from the point's addresses (Rx at
// 4 5 11 14 15 17, Tx at 26 27 42 (high power) 46 (wide) 50 (DCS wide) for
// point 2), the values set clamped to their range; --save writes those
// values as the window's OK would, and the repeater is taken out of
// alignment at the end.
TEST_F(Rk54Link, AlignRunsItsStepsInOrderAndSavesTheClampedValues)
{
    const QString file = Save("doc.R54", RichDocument(0));
    const QByteArray before = Contents("doc.R54");
    const auto b = [&](int address) { return uint8_t(before[address]); };
    TSimRig sim(ImageOf(RichDocument(1)));
    const TRk54Run run = Run({"align", "--port", sim.Port(), "--point", "HIGH", "--save", file,
                              "set:RxFrequency=1000", "set:SQLThresholdLevel=300", "set:sqlhysteresis=x1",
                              "set:ModeSelect=Repeater", "set:widenarrow=narrow", "rx-on", "status",
                              "set:WideNarrow=wide", "set:CtcssDcsEncoder=dcs", "set:Dcs=754", "trx-on", "wait:50",
                              "trx-off"},
                             Password);
    EXPECT_EQ(run.Status, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, "VR=1a NSQ=2b RSSI=3c\n");
    const TBytes rx = {0x99, 0x99, 0xFF, b(14), 0x00, b(17)};
    const TBytes tx = {b(26), b(27), b(42), b(46), 231, b(50)};
    EXPECT_EQ(AlignCommands(sim->Received()),
              (TUnits {WithSum(Joined({{0xB1, 0x00, 0x0A, 0x52, 'R'}, rx, {0x4E}})),
                       WithSum(Joined({{0xB1, 0x00, 0x10, 'T', 'R'}, tx, rx, {'W'}})),
                       {0xB1, 0x00, 0x02, 0x74, 0x27}}));
    EXPECT_EQ(Tail(sim->Received(), 4), ClosingSequence);
    // What Save writes under the same name (the image keeps the file's name).
    TRKmem expected = RichDocument(0);
    expected.RxAdjFreq[2].SetFromFloat(999.9);
    expected.SqlThreshold[2] = 255;
    expected.SqlHysteresis = 0;
    EXPECT_EQ(Contents("doc.R54"), AsSaved("doc.R54", expected));
}
