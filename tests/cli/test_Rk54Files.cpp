// The rk54 tool as a script would run it: real process, real files.
#include "support/StoredImages.h"
#include "support/Rk54Tool.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

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

// The corpus's fully used document (with bytes no field covers) copied in
// as `name`, so that no command under test can touch the stored file.
std::string FullFile(const TTempFolder& dir, const std::string& name)
{
    std::filesystem::copy_file(RK54_CORPUS "/full.R54", dir / name);
    return dir / name;
}

} // namespace

TEST(Rk54, NewWritesTheDefaultDocuments)
{
    TTempFolder dir;
    EXPECT_EQ(RunRk54({"new", Q(dir / "defaultv.R54")}).Status, 0);
    EXPECT_EQ(TTempFolder::Read(dir / "defaultv.R54"), ExpectedDefaultImage("defaultv"));
    EXPECT_EQ(RunRk54({"new", "--band", "uhf", Q(dir / "uhf.R54")}).Status, 0);
    EXPECT_EQ(TTempFolder::Read(dir / "uhf.R54"), ExpectedUhfImage("uhf"));
    EXPECT_EQ(RunRk54({"new", "--band", "hf", Q(dir / "x.R54")}).Status, 64);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.R54"));
}

TEST(Rk54, ResaveWritesWhatSaveAsWould)
{
    TTempFolder dir;
    const std::string in = FullFile(dir, "full.R54");
    ASSERT_EQ(RunRk54({"resave", Q(in), Q(dir / "copy.R54")}).Status, 0);
    auto expected = TTempFolder::Read(in);
    const uint8_t name[8] = {'c', 'o', 'p', 'y', 0, 0, 0, 0};
    std::copy(name, name + 8, expected.begin() + 112);
    StoreChecksums(expected);
    EXPECT_EQ(TTempFolder::Read(dir / "copy.R54"), expected);
}

TEST(Rk54, FileNamesAreTheBytesGiven)
{
    TTempFolder dir;
    const std::string in = FullFile(dir, "full.R54");
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

TEST(Rk54, FailuresHaveTheirStatusAndMessage)
{
    TTempFolder dir;
    auto bytes = ExpectedDefaultImage();
    bytes.resize(100);
    TTempFolder::Write(dir / "short.R54", bytes);
    const std::vector<uint8_t> old(50, 0x11);
    TTempFolder::Write(dir / "out.R54", old);

    const TRk54Run shortRead = RunRk54({"resave", Q(dir / "short.R54"), Q(dir / "out.R54")});
    EXPECT_EQ(shortRead.Status, 3);
    EXPECT_EQ(shortRead.Err, "The file cannot be opened.\nThe file format is not correct.\n");
    EXPECT_EQ(TTempFolder::Read(dir / "out.R54"), old);

    const TRk54Run missing = RunRk54({"info", Q(dir / "missing.R54")});
    EXPECT_EQ(missing.Status, 3);
    EXPECT_EQ(missing.Err, "File read error  File Name = " + Q(dir / "missing.R54") + "\n");

    ASSERT_EQ(RunRk54({"new", Q(dir / "good.R54")}).Status, 0);
    const TRk54Run cannotWrite = RunRk54({"resave", Q(dir / "good.R54"), Q(dir / "nofolder/x.R54")});
    EXPECT_EQ(cannotWrite.Status, 3);
    EXPECT_EQ(cannotWrite.Err, "File write error  File Name = " + Q(dir / "nofolder/x.R54") + "\n");

    EXPECT_EQ(RunRk54({}).Status, 64);
    EXPECT_EQ(RunRk54({"frobnicate"}).Status, 64);
    EXPECT_EQ(RunRk54({"diff", "a"}).Status, 64);
    EXPECT_EQ(RunRk54({"info", "--bogus", "x"}).Status, 64);
    const TRk54Run help = RunRk54({"resave", "--help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_TRUE(help.Out.startsWith("Usage: rk54 resave [options] IN OUT")) << help.Out.toStdString();
}

TEST(Rk54, ChannelsTravelThroughCsv)
{
    TTempFolder dir;
    const std::string in = FullFile(dir, "site.R54");
    std::filesystem::create_directories(dir / "imported");
    std::filesystem::create_directories(dir / "resaved");

    const TRk54Run exported = RunRk54({"export-csv", Q(in)});
    ASSERT_EQ(exported.Status, 0) << exported.Err.toStdString();
    ASSERT_EQ(RunRk54({"export-csv", Q(in), Q(dir / "site.csv")}).Status, 0);
    const auto file = TTempFolder::Read(dir / "site.csv");
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(file.data()), qsizetype(file.size())), exported.Out);

    // Its own export changes nothing: the same bytes as a plain Save As.
    const TRk54Run imported = RunRk54({"import-csv", Q(in), Q(dir / "site.csv"), Q(dir / "imported/out.R54")});
    ASSERT_EQ(imported.Status, 0) << imported.Err.toStdString();
    ASSERT_EQ(RunRk54({"resave", Q(in), Q(dir / "resaved/out.R54")}).Status, 0);
    EXPECT_EQ(TTempFolder::Read(dir / "imported/out.R54"), TTempFolder::Read(dir / "resaved/out.R54"));
    const auto before = TTempFolder::Read(in);

    std::ofstream(dir / "bad.csv") << "Ch;Rx Freq;Site\r\n2;99.5;hill\r\n";
    const TRk54Run bad = RunRk54({"import-csv", Q(in), Q(dir / "bad.csv"), Q(dir / "bad.R54")});
    EXPECT_EQ(bad.Status, 65);
    EXPECT_TRUE(bad.Err.contains("unknown column \"Site\" ignored")) << bad.Err.toStdString();
    EXPECT_TRUE(bad.Err.contains("row 2, column \"Rx Freq\", \"99.5\": outside the alignment range")) << bad.Err.toStdString();
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.R54"));
    EXPECT_EQ(TTempFolder::Read(in), before);
}
