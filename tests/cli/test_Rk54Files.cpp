// The rk54 tool as a script would run it: real process, real files.
#include "support/ImageBuilder.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"
#include "files/U_FileAccess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct TRun {
    int Status;
    QString Out;
    QString Err;
};

TRun Rk54(const QStringList& args)
{
    QProcess p;
    p.start(RK54_TOOL, args);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

// rk54 with arguments passed as the very bytes given, as a shell passes a
// file name the locale cannot spell. Answers the exit status.
int Rk54Bytes(std::vector<std::string> args)
{
    args.insert(args.begin(), RK54_TOOL);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (::posix_spawn(&child, RK54_TOOL, nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TDecimal Dec(double x)
{
    TDecimal d;
    d.SetFromFloat(x);
    return d;
}

// A document with something in nearly every corner, written as a data file
// with a few bytes that no field covers.
std::string WriteRichFile(const TTempFolder& dir, const std::string& name)
{
    TRKmem doc;
    TMap54::SetDefaults(doc);
    TMap54 image;
    image[205] = 0x01;
    image[206] = 0x05;
    image[1460] = 0x77;
    image[23] = 0x99;
    doc.SerialNo = "AB12";
    doc.MarketCode = 'U';
    doc.ChStep = 1;
    doc.CwIdText = "DE TEST";
    doc.AniCode = "12AF";
    doc.DtmfRx = 1;
    doc.AniOn = 3;
    for (int i = 0; i < 16; ++i) {
        TChannel& ch = doc.Channels[i];
        ch.Used = i % 3 != 2;
        ch.RxFreq = Dec(146.0025 + i * 0.0125);
        ch.TxFreq = Dec(146.6025 + i * 0.0125);
        ch.TxInhibit = i == 4;
        ch.DecoderIsDcs[0] = i % 2;
        ch.DecoderCode[0] = i * 5;
        ch.EncoderCode[0] = 47 - i;
        ch.MultiTone = i == 7;
        ch.ToneEntryUsed[3] = i == 7;
        ch.NsqMode = 1;
        ch.NsqLevel = 200 + i;
        ch.CwIdAniEni = i % 3;
    }
    for (int t = 0; t < 48; t += 5) {
        doc.AlphaTagNumber[t] = t * 100;
        doc.AlphaTagText[t] = "TAG" + std::to_string(t);
    }
    TScriptedPrompt prompt;
    const std::string path = dir / name;
    WriteDataFile(path, doc, image, prompt);
    return path;
}

} // namespace

TEST(Rk54, NewWritesTheDefaultDocuments)
{
    TTempFolder dir;
    EXPECT_EQ(Rk54({"new", Q(dir / "defaultv.R54")}).Status, 0);
    EXPECT_EQ(TTempFolder::Read(dir / "defaultv.R54"), ExpectedDefaultImage("defaultv"));
    EXPECT_EQ(Rk54({"new", "--band", "uhf", Q(dir / "uhf.R54")}).Status, 0);
    EXPECT_EQ(TTempFolder::Read(dir / "uhf.R54"), ExpectedUhfImage("uhf"));
    EXPECT_EQ(Rk54({"new", "--band", "hf", Q(dir / "x.R54")}).Status, 64);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.R54"));
}

TEST(Rk54, ResaveWritesWhatSaveAsWould)
{
    TTempFolder dir;
    const std::string in = WriteRichFile(dir, "rich.R54");
    ASSERT_EQ(Rk54({"resave", Q(in), Q(dir / "copy.R54")}).Status, 0);
    auto expected = TTempFolder::Read(in);
    const uint8_t name[8] = {'c', 'o', 'p', 'y', 0, 0, 0, 0};
    std::copy(name, name + 8, expected.begin() + 112);
    StoreChecksums(expected);
    EXPECT_EQ(TTempFolder::Read(dir / "copy.R54"), expected);
    EXPECT_EQ(expected[1460], 0x77);
    EXPECT_EQ(expected[206], 0x05);

    const TRun same = Rk54({"diff", Q(in), Q(dir / "copy.R54")});
    EXPECT_EQ(same.Status, 1);  // only the recorded name differs
    EXPECT_EQ(same.Out, "DataFileName: \"rich    \" | \"copy    \"\n");
}

TEST(Rk54, FileNamesAreTheBytesGiven)
{
    TTempFolder dir;
    const std::string in = WriteRichFile(dir, "rich.R54");
    const std::string latin = dir / "caf\xe9.R54";
    ASSERT_EQ(Rk54Bytes({"resave", in, latin}), 0);
    EXPECT_EQ(TTempFolder::Read(latin).size(), 1986u);
    EXPECT_FALSE(std::filesystem::exists(dir / "caf\xef\xbf\xbd.R54"));
    // ... and opens again under that name.
    EXPECT_EQ(Rk54Bytes({"resave", latin, dir / "back\xff.R54"}), 0);
    EXPECT_EQ(TTempFolder::Read(dir / "back\xff.R54").size(), 1986u);
    // Not a plain file: refused, and the device is still a device.
    EXPECT_EQ(Rk54Bytes({"resave", in, "/dev/null"}), 3);
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

TEST(Rk54, DiffNamesChannelsAndTagsByNumber)
{
    TTempFolder dir;
    ASSERT_EQ(Rk54({"new", Q(dir / "a.R54")}).Status, 0);
    ASSERT_EQ(Rk54({"resave", Q(dir / "a.R54"), Q(dir / "a.R54")}).Status, 0);
    const TRun equal = Rk54({"diff", Q(dir / "a.R54"), Q(dir / "a.R54")});
    EXPECT_EQ(equal.Status, 0);
    EXPECT_TRUE(equal.Out.isEmpty());

    auto bytes = TTempFolder::Read(dir / "a.R54");
    bytes[208 + 48 * 2 + 10] = 0x45;   // channel 3 Rx 450.000
    bytes[208 + 48 * 2 + 11] = 0x00;
    bytes[976 + 10 * 4 + 2] = 'X';     // alpha tag 5 text
    TTempFolder::Write(dir / "b.R54", bytes);
    const TRun diff = Rk54({"diff", Q(dir / "a.R54"), Q(dir / "b.R54")});
    EXPECT_EQ(diff.Status, 1);
    EXPECT_TRUE(diff.Out.contains("Channel 3 RxFreq: \"161\" | \"450\"\n")) << diff.Out.toStdString();
    EXPECT_TRUE(diff.Out.contains("AlphaTag 5 Text: \"\" | \"X%%%%%%%\"\n")) << diff.Out.toStdString();
    EXPECT_EQ(diff.Out.count('\n'), 2);
}

TEST(Rk54, DecodeInfoAndDump)
{
    TTempFolder dir;
    const std::string in = WriteRichFile(dir, "rich.R54");
    const TRun decode = Rk54({"decode", Q(in)});
    ASSERT_EQ(decode.Status, 0);
    const QJsonObject o = QJsonDocument::fromJson(decode.Out.toUtf8()).object();
    EXPECT_EQ(o["SerialNo"].toString(), "AB12");
    EXPECT_EQ(o["FwVersion"].toString(), "1.05");
    EXPECT_EQ(o["MarketCode"].toInt(), 'U');
    EXPECT_EQ(o["AniCode"].toString(), "12AF");
    EXPECT_EQ(o["Channels"].toArray()[1].toObject()["RxFreq"].toString(), "146.015");
    EXPECT_EQ(o["Channels"].toArray()[4].toObject()["TxInhibit"].toInt(), -1);
    EXPECT_EQ(o["AlphaTagText"].toArray()[5].toString(), "TAG5    ");
    EXPECT_EQ(o["AlphaTagNumber"].toArray()[1].toInt(), -1);

    const TRun info = Rk54({"info", Q(in)});
    ASSERT_EQ(info.Status, 0);
    EXPECT_TRUE(info.Out.contains("Market:    USA")) << info.Out.toStdString();
    EXPECT_TRUE(info.Out.contains(" 1  146.00250   146.60250\n")) << info.Out.toStdString();
    EXPECT_TRUE(info.Out.contains(" 5  146.05250   Tx Inh\n")) << info.Out.toStdString();
    EXPECT_FALSE(info.Out.contains("\n 3  ")) << info.Out.toStdString();

    const TRun dump = Rk54({"dump", Q(in)});
    ASSERT_EQ(dump.Status, 0);
    const QStringList lines = dump.Out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 126);
    EXPECT_EQ(lines[1], "00000h 5a 6e 17 40 17 00 16 00 15 00 30 30 30 30 00 14");
    EXPECT_EQ(lines[125], "007C0h 00 5a");
    // Read, then encoded: the name read as spaces is written back as spaces.
    EXPECT_EQ(lines[8], "00070h 72 69 63 68 20 20 20 20 72 70 74 32 02 58 02 58");
}

TEST(Rk54, FailuresHaveTheirStatusAndMessage)
{
    TTempFolder dir;
    auto bytes = ExpectedDefaultImage();
    bytes.resize(100);
    TTempFolder::Write(dir / "short.R54", bytes);
    const std::vector<uint8_t> old(50, 0x11);
    TTempFolder::Write(dir / "out.R54", old);

    const TRun shortRead = Rk54({"resave", Q(dir / "short.R54"), Q(dir / "out.R54")});
    EXPECT_EQ(shortRead.Status, 3);
    EXPECT_EQ(shortRead.Err, "The file cannot be opened.\nThe file format is not correct.\n");
    EXPECT_EQ(TTempFolder::Read(dir / "out.R54"), old);

    const TRun missing = Rk54({"info", Q(dir / "missing.R54")});
    EXPECT_EQ(missing.Status, 3);
    EXPECT_EQ(missing.Err, "File read error  File Name = " + Q(dir / "missing.R54") + "\n");

    ASSERT_EQ(Rk54({"new", Q(dir / "good.R54")}).Status, 0);
    const TRun cannotWrite = Rk54({"resave", Q(dir / "good.R54"), Q(dir / "nofolder/x.R54")});
    EXPECT_EQ(cannotWrite.Status, 3);
    EXPECT_EQ(cannotWrite.Err, "File write error  File Name = " + Q(dir / "nofolder/x.R54") + "\n");

    EXPECT_EQ(Rk54({}).Status, 64);
    EXPECT_EQ(Rk54({"frobnicate"}).Status, 64);
    EXPECT_EQ(Rk54({"info"}).Status, 64);
    EXPECT_EQ(Rk54({"diff", "a"}).Status, 64);
    EXPECT_EQ(Rk54({"info", "--bogus", "x"}).Status, 64);
    const TRun help = Rk54({"resave", "--help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_TRUE(help.Out.startsWith("Usage: rk54 resave [options] IN OUT")) << help.Out.toStdString();
    EXPECT_EQ(Rk54({"--help"}).Status, 0);
}

TEST(Rk54, ChannelsTravelThroughCsv)
{
    TTempFolder dir;
    const std::string in = WriteRichFile(dir, "site.R54");
    std::filesystem::create_directories(dir / "imported");
    std::filesystem::create_directories(dir / "resaved");

    const TRun exported = Rk54({"export-csv", Q(in)});
    ASSERT_EQ(exported.Status, 0) << exported.Err.toStdString();
    ASSERT_EQ(Rk54({"export-csv", Q(in), Q(dir / "site.csv")}).Status, 0);
    const auto file = TTempFolder::Read(dir / "site.csv");
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(file.data()), qsizetype(file.size())), exported.Out.toUtf8());

    // Its own export changes nothing: the same bytes as a plain Save As.
    const TRun imported = Rk54({"import-csv", Q(in), Q(dir / "site.csv"), Q(dir / "imported/out.R54")});
    ASSERT_EQ(imported.Status, 0) << imported.Err.toStdString();
    ASSERT_EQ(Rk54({"resave", Q(in), Q(dir / "resaved/out.R54")}).Status, 0);
    EXPECT_EQ(TTempFolder::Read(dir / "imported/out.R54"), TTempFolder::Read(dir / "resaved/out.R54"));
    const auto before = TTempFolder::Read(in);

    std::ofstream(dir / "bad.csv") << "Ch;Rx Freq;Site\r\n2;99.5;hill\r\n";
    const TRun bad = Rk54({"import-csv", Q(in), Q(dir / "bad.csv"), Q(dir / "bad.R54")});
    EXPECT_EQ(bad.Status, 65);
    EXPECT_TRUE(bad.Err.contains("unknown column \"Site\" ignored")) << bad.Err.toStdString();
    EXPECT_TRUE(bad.Err.contains("row 2, column \"Rx Freq\", \"99.5\": outside the alignment range")) << bad.Err.toStdString();
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.R54"));
    EXPECT_EQ(TTempFolder::Read(in), before);
}
