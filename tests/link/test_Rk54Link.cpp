// rk54 upload, download, ports and simulate, run as a person runs them.
#include "support/LinkTestKit.h"
#include "link/U_Clone.h"
#include "files/U_FileAccess.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <optional>

namespace {

struct TRun {
    int Status = -1;
    QString Out;
    QString Err;
};

class Rk54Link : public ::testing::Test {
protected:
    // A home of its own, so that the link folder is the test's.
    QProcessEnvironment Environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", Home.filePath("config"));
        env.insert("XDG_DATA_HOME", Home.filePath("data"));
        return env;
    }
    void Start(QProcess& p, const QStringList& args, const QByteArray& input = {}) const
    {
        p.setProcessEnvironment(Environment());
        p.setWorkingDirectory(Home.path());
        p.start(RK54_TOOL, args);
        ASSERT_TRUE(p.waitForStarted());
        if (!input.isNull())
            p.write(input);
        p.closeWriteChannel();
    }
    TRun Run(const QStringList& args, const QByteArray& input = {}) const
    {
        QProcess p;
        Start(p, args, input);
        EXPECT_TRUE(p.waitForFinished(60000));
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    QString File(const QString& name) const { return Home.filePath(name); }
    QByteArray Contents(const QString& name) const
    {
        QFile f(File(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // A data file of `doc`, as Save writes it.
    QString Save(const QString& name, TRKmem doc) const
    {
        TMap54 image;
        TTestView prompt;
        EXPECT_TRUE(WriteDataFile(File(name).toStdString(), doc, image, prompt));
        return File(name);
    }

    QTemporaryDir Home;
};

QByteArray Bytes(const TMap::TImage& image)
{
    return QByteArray(reinterpret_cast<const char*>(image.data()), int(image.size()));
}

} // namespace

TEST_F(Rk54Link, UploadWritesTheFileAsSaveWould)
{
    const TMap54 memory = ImageOf(RichDocument(0));
    TSimRig sim(memory);
    const TRun run = Run({"upload", "--port", sim.Port(), File("up.R54")});
    EXPECT_EQ(run.Status, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.contains("Upload is completed"));

    // What the program would save after this upload, written elsewhere under the same name.
    TMap54 received = AsUploaded(memory);
    TRKmem doc;
    ASSERT_TRUE(received.Decode(doc));
    QTemporaryDir other;
    TTestView prompt;
    ASSERT_TRUE(WriteDataFile(other.filePath("up.R54").toStdString(), doc, received, prompt));
    QFile expected(other.filePath("up.R54"));
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly));
    EXPECT_EQ(Contents("up.R54"), expected.readAll());
}

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
        const TRun run = Run({"download", "--no-safe", "--port", sim.Port(), "--mode", c.Mode, file}, c.Input);
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
        const TRun run = Run(args, c.Input);
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
        const TRun run = Run(QStringList {"download", "--port", sim.Port(), "--history", history} + c.Args);
        EXPECT_EQ(run.Status, c.Status) << run.Err.toStdString();
        EXPECT_TRUE((run.Out + run.Err).contains(c.Says)) << run.Out.toStdString() << run.Err.toStdString();
        EXPECT_EQ(sim->Transfers(), c.Transfers);
        EXPECT_EQ(CountOf(sim->Received(), 0x41), c.Writes);
        if (c.Writes == 0) {
            EXPECT_EQ(Bytes(sim->Memory()), Bytes(ImageOf(unit).Content()));
        }
        if (QString(c.Name) == "no safe") {
            EXPECT_EQ(CountOf(sim->Received(), 0x42), 0) << "the plain download reads nothing";
        }
        const TRun log = Run({"history", "--history", history, "--serial", QString::fromStdString(unit.SerialNo)});
        QStringList actions;
        for (const QString& line : log.Out.split('\n', Qt::SkipEmptyParts))
            actions << line.section('\t', 4, 4);
        EXPECT_EQ(actions, c.History) << log.Out.toStdString();
    }
}

TEST_F(Rk54Link, TheTraceHoldsEveryByteWithItsTime)
{
    TSimRig sim(ImageOf(RichDocument(0)));
    const TRun run = Run({"upload", "--port", sim.Port(), "--history", File("h"), "--trace", File("trace.txt"),
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
    const TRun log = Run({"history", "--history", File("h")});
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
    const TRun run = Run({"download", "--no-safe", "--port", sim.Port(), file});
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
        for (int i = 0; i < 1000 && sim->Received().size() < row.Units; ++i)
            QThread::msleep(10);
        ASSERT_GE(sim->Received().size(), row.Units);
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
    for (int i = 0; i < 200 && !QFileInfo(link).isSymLink(); ++i)
        QThread::msleep(10);
    ASSERT_TRUE(QFileInfo(link).isSymLink());

    // The link puts the simulator behind COM9.
    const TRun ports = Run({"ports"});
    EXPECT_EQ(ports.Status, 0);
    EXPECT_TRUE(ports.Out.contains(QRegularExpression("COM9 +" + QRegularExpression::escape(link))))
        << ports.Out.toStdString();
    const TRun up = Run({"upload", "--port", "COM9", File("up.R54")});
    EXPECT_EQ(up.Status, 0) << up.Err.toStdString();
    // The same device named by a path relative to the current folder; the
    // file keeps its base name, which the image carries.
    ASSERT_TRUE(QDir(Home.path()).mkdir("relative"));
    const TRun relative = Run({"upload", "--port", "config/RK54Win/ports/COM9", "relative/up.R54"});
    EXPECT_EQ(relative.Status, 0) << relative.Err.toStdString();
    EXPECT_EQ(Contents("relative/up.R54"), Contents("up.R54"));
    const TRun down = Run({"download", "--port", "COM9", "--mode", "extended", File("up.R54")});
    EXPECT_EQ(down.Status, 0) << down.Err.toStdString();

    ::kill(pid_t(sim.processId()), SIGINT);
    ASSERT_TRUE(sim.waitForFinished(10000));
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_EQ(Contents("saved.R54").size(), ImageSize);
}
