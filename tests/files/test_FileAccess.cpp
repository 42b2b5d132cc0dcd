#include "support/StoredImages.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"
#include "files/U_FileAccess.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The program's open document and image, as after File > New.
struct TOpen {
    TRKmem Doc;
    TMap54 Image;
    TOpen() { TMap54::SetDefaults(Doc); }
    std::vector<uint8_t> ImageBytes() const { return {Image.Data(), Image.Data() + ImageSize}; }
};

const std::vector<uint8_t> OldContent(1986, 0x33);

// Entries of a folder whose names start with "." (the writer's temporary
// files), which a finished save must not leave behind.
int HiddenEntries(const fs::path& folder)
{
    return int(std::count_if(fs::directory_iterator(folder), fs::directory_iterator(),
                             [](const fs::directory_entry& e) { return e.path().filename().string().front() == '.'; }));
}

// The system's calls, with one step made to fail and every step recorded.
class TFailingCalls : public TFileCalls {
public:
    explicit TFailingCalls(std::string failing = "") : Failing(std::move(failing)) {}
    long Write(int fd, const char* data, unsigned long size) const override
    {
        // Short writes on the way, as a pipe or a busy disk gives them.
        return Step("write") ? TFileCalls::Write(fd, data, std::min(size, 700ul)) : -1;
    }
    int Sync(int fd) const override
    {
        return Step(Log.empty() || Log.back() != "rename" ? "flush" : "flush folder") ? TFileCalls::Sync(fd) : -1;
    }
    int Close(int fd) const override
    {
        const int result = TFileCalls::Close(fd);
        return Step("close") ? result : -1;
    }
    int ChangeMode(int fd, unsigned mode) const override
    {
        return Step("mode") ? TFileCalls::ChangeMode(fd, mode) : -1;
    }
    int Rename(const char* from, const char* to) const override
    {
        return Step("rename") ? TFileCalls::Rename(from, to) : -1;
    }

    mutable std::vector<std::string> Log;

private:
    bool Step(const std::string& name) const
    {
        Log.push_back(name);
        if (name != Failing)
            return true;
        errno = EIO;
        return false;
    }
    std::string Failing;
};

} // namespace

TEST(DataFile, LongNamesAreCutInTheImage)
{
    TTempFolder dir;
    TScriptedPrompt prompt;
    struct Case { const char* file; const char* recorded; };
    const Case cases[] = {
        {"Zürichberg.R54", "Zürichb.R54"},          // ü is two bytes: 8 bytes exactly
        {"Stationé2.R54", "Station.R54"},           // é would straddle bytes 8 and 9
        {"a.b.c.R54", "a.b.c.R54"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TOpen open;
        ASSERT_TRUE(WriteDataFile(dir / c.file, open.Doc, open.Image, prompt));
        EXPECT_EQ(open.Doc.DataFileName, c.recorded);
    }
}

// A file that does not read is told and leaves the document alone; the old
// file type clears Save, even when its read fails.
TEST(DataFile, ReadFailuresLeaveTheDocumentAloneAndTheOldTypeClearsSave)
{
    TTempFolder dir;
    TOpen reference;
    reference.Doc.SerialNo = "KEEP";
    reference.Image[1000] = 0x42;
    auto good = ExpectedDefaultImage();
    TTempFolder::Write(dir / "good.RPT", good);
    TTempFolder::Write(dir / "good.Rpt", good);
    auto badFreq = good;
    badFreq[208 + 10] = badFreq[208 + 11] = badFreq[208 + 12] = 0xFF;
    TTempFolder::Write(dir / "badfreq.R54", badFreq);
    // Nobody writes it: a read would wait forever. What is not a plain file
    // (a folder, a device) is refused by the same test.
    ASSERT_EQ(::mkfifo((dir / "fifo.R54").c_str(), 0644), 0);

    struct Case { std::string path; std::string message; bool saveEnabled; };  // message "": the file reads
    const Case cases[] = {
        {dir / "missing.RPT", "File read error  File Name = " + (dir / "missing.RPT"), false},
        {dir / "badfreq.R54", "File read error  File Name = " + (dir / "badfreq.R54"), true},
        {dir / "fifo.R54", "File read error  File Name = " + (dir / "fifo.R54"), true},
        {dir / "good.RPT", "", false},
        {dir / "good.Rpt", "", true},  // mixed case leaves the flag alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        TOpen open = reference;
        TScriptedPrompt prompt;
        bool saveEnabled = true;
        EXPECT_EQ(ReadDataFile(c.path, open.Doc, open.Image, prompt, &saveEnabled), c.message.empty());
        EXPECT_EQ(saveEnabled, c.saveEnabled);
        if (c.message.empty())
            continue;
        ASSERT_EQ(prompt.Messages.size(), 1u);
        EXPECT_EQ(prompt.Messages[0].Kind, 'E');
        EXPECT_EQ(prompt.Messages[0].Text, c.message);
        EXPECT_EQ(open.Doc.SerialNo, "KEEP");
        EXPECT_EQ(open.ImageBytes(), reference.ImageBytes());
    }
}

// Every kind of thing a save can be aimed at: what the save answers, where
// the new data lands and what becomes of what was there.
TEST(SaveTargets, EachKindOfTargetGetsItsOutcome)
{
    TTempFolder dir;
    const std::string longName = std::string(251, 'n') + ".R54";  // 255 bytes, the most a name may have
    TTempFolder::Write(dir / "real.R54", OldContent);
    fs::create_symlink("real.R54", dir.Path / "link.R54");
    fs::create_symlink("absent.R54", dir.Path / "dangling.R54");
    ASSERT_EQ(::mkfifo((dir / "fifo.R54").c_str(), 0644), 0);  // a folder is refused by the same test
    TTempFolder::Write(dir / "readonly.R54", OldContent);
    fs::permissions(dir / "readonly.R54", fs::perms::owner_read | fs::perms::group_read);
    TTempFolder::Write(dir / longName, OldContent);
    struct Row {
        const char* name;
        std::string path;
        std::string landsIn;    // the file that must hold the new image ("" when refused: a file there is kept)
        fs::file_type stays;    // what the saved-to path is afterwards
    };
    const Row rows[] = {
        {"link to a file", dir / "link.R54", dir / "real.R54", fs::file_type::symlink},
        {"dangling link", dir / "dangling.R54", dir / "absent.R54", fs::file_type::symlink},
        {"FIFO", dir / "fifo.R54", "", fs::file_type::fifo},
        {"read-only file", dir / "readonly.R54", "", fs::file_type::regular},
        {"missing folder", dir / "no/such/folder/x.R54", "", fs::file_type::not_found},
        {"255-byte name", dir / longName, dir / longName, fs::file_type::regular},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TOpen open;
        TScriptedPrompt prompt;
        EXPECT_EQ(WriteDataFile(row.path, open.Doc, open.Image, prompt), !row.landsIn.empty());
        if (!row.landsIn.empty()) {
            EXPECT_TRUE(prompt.Messages.empty());
            EXPECT_EQ(TTempFolder::Read(row.landsIn), open.ImageBytes());
        } else {
            ASSERT_EQ(prompt.Messages.size(), 1u);
            EXPECT_EQ(prompt.Messages[0].Text, "File write error  File Name = " + row.path);
            EXPECT_TRUE(!fs::is_regular_file(row.path) || TTempFolder::Read(row.path) == OldContent);
        }
        EXPECT_EQ(fs::symlink_status(row.path).type(), row.stays);
    }
    EXPECT_EQ(HiddenEntries(dir.Path), 0);
}

// A root-owned file in a folder the user owns: the folder would let the
// rename through, the file says no. Needs two users, so it runs as root and
// does the save as "nobody" in a child process.
TEST(SaveTargets, SomeoneElsesFileIsNotReplaced)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to make a file that belongs to someone else";
    TTempFolder dir;
    const std::string path = dir / "root.R54";
    TTempFolder::Write(path, OldContent);
    fs::permissions(path, fs::perms(0644));
    ASSERT_EQ(::chown(dir.Path.c_str(), 65534, 65534), 0);  // the folder is nobody's
    EXPECT_EQ(RunAsNobody([&] { return WriteFileAtomically(path, "new") ? 1 : 0; }), 0) << "1: replaced";
    EXPECT_EQ(TTempFolder::Read(path), OldContent);
    EXPECT_EQ(HiddenEntries(dir.Path), 0);
}

// Each step of a save and of a log append made to fail in turn ("": none
// fails). A save's data reaches the disk before its name does; a failed
// step is told and leaves the old file with its permissions and no
// temporary file. A log line counts as kept only once it is on the disk:
// a failed call is told, and the lines already there stay.
TEST(SaveSteps, AFailedStepLeavesTheOldFile)
{
    for (const char* step : {"", "write", "mode", "flush", "close", "rename"}) {
        SCOPED_TRACE(step);
        const bool fails = *step != '\0';
        TTempFolder dir;
        const std::string path = dir / "site.R54";
        TTempFolder::Write(path, OldContent);
        fs::permissions(path, fs::perms(0640));
        const TFailingCalls calls(step);
        EXPECT_EQ(WriteFileAtomically(path, std::string(1986, '\x44'), calls), !fails);
        EXPECT_EQ(TTempFolder::Read(path), fails ? OldContent : std::vector<uint8_t>(1986, 0x44));
        EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));
        EXPECT_EQ(HiddenEntries(dir.Path), 0);
        if (!fails) {
            const std::vector<std::string> expected = {"write", "write", "write", "mode", "flush", "close", "rename",
                                                       "flush folder"};
            EXPECT_EQ(calls.Log, expected);
        }

        const std::string log = dir / "history.log";
        TTempFolder::Write(log, OldContent);
        const TFailingCalls appending(step);
        const bool appended = AppendToFile(log, std::string(1500, '\x44'), appending);
        EXPECT_EQ(appended, std::find(appending.Log.begin(), appending.Log.end(), step) == appending.Log.end());
        if (!fails) {
            EXPECT_EQ(std::vector<std::string>(appending.Log.end() - 2, appending.Log.end()),
                      (std::vector<std::string> {"flush", "close"}));
        }
        const std::vector<uint8_t> kept = TTempFolder::Read(log);
        EXPECT_TRUE(std::search(kept.begin(), kept.end(), OldContent.begin(), OldContent.end()) == kept.begin());
    }
}

// File names are bytes; the text that windows and the command line carry
// must give back the very bytes it came from, whatever the locale can spell.
TEST(FileNames, TextGivesBackTheBytes)
{
    const struct {
        const char* name;
        std::string bytes;
        std::u16string text;
    } rows[] = {
        {"UTF-8", "Z\xc3\xbcrich.R54", u"Z\u00fcrich.R54"},
        {"Latin-1 byte", "caf\xe9.R54", u"caf\xdce9.R54"},
        {"overlong slash", "\xc0\xaf", u"\xdcc0\xdcaf"},
        {"encoded surrogate", "\xed\xa0\x80", u"\xdced\xdca0\xdc80"},
        {"four bytes", "\xf0\x9f\x93\xbb", u"\U0001F4FB"},
        {"beyond U+10FFFF", "\xf4\x90\x80\x80", u"\xdcf4\xdc90\xdc80\xdc80"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FileNameText(row.bytes), row.text);
        EXPECT_EQ(FileNameBytes(row.text), row.bytes);
    }
}

// A chooser that shows undecodable bytes as U+FFFD hands back such a name;
// it is matched to the one entry it stands for, never guessed among several.
TEST(FileNames, AChosenNameFindsTheFileItShowed)
{
    TTempFolder dir;
    fs::create_directory(dir.Path / "d\xff\xfe");
    TTempFolder::Write(dir / "d\xff\xfe/x.R54", OldContent);
    TTempFolder::Write(dir / "twin\xe8.R54", OldContent);
    TTempFolder::Write(dir / "twin\xe9.R54", OldContent);
    const std::string shown = "\xef\xbf\xbd";  // U+FFFD
    const struct {
        const char* name;
        std::string chosen;
        std::string meant;
    } rows[] = {
        {"file in such a folder", dir / ("d" + shown + "/x.R54"), dir / "d\xff\xfe/x.R54"},
        {"new name in such a folder", dir / ("d" + shown + "/new.R54"), dir / "d\xff\xfe/new.R54"},
        {"two that look alike", dir / ("twin" + shown + ".R54"), dir / ("twin" + shown + ".R54")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ChosenFileName(row.chosen), row.meant);
    }
}
