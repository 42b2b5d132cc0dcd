#include "support/StoredImages.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"
#include "files/U_FileAccess.h"

#include <gtest/gtest.h>

#include <functional>

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

} // namespace

TEST(DataFile, LongNamesAreCutInTheImage)
{
    TTempFolder dir;
    TScriptedPrompt prompt;
    struct Case { const char* file; const char* recorded; };
    const Case cases[] = {
        {"MyRepeaterSite.R54", "MyRepeat.R54"},
        {"Zürichberg.R54", "Zürichb.R54"},          // ü is two bytes: 8 bytes exactly
        {"Bergstraße1.R54", "Bergstra.R54"},
        {"Stationé2.R54", "Station.R54"},           // é would straddle bytes 8 and 9
        {"noext", "noext"},
        {"a.b.c.R54", "a.b.c.R54"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TOpen open;
        ASSERT_TRUE(WriteDataFile(dir / c.file, open.Doc, open.Image, prompt));
        EXPECT_EQ(open.Doc.DataFileName, c.recorded);
    }
}

TEST(DataFile, ReadFailuresLeaveTheDocumentAlone)
{
    TTempFolder dir;
    TOpen reference;
    reference.Doc.SerialNo = "KEEP";
    reference.Image[1000] = 0x42;
    auto good = ExpectedDefaultImage();

    auto shortFile = good;
    shortFile.resize(1985);
    TTempFolder::Write(dir / "short.R54", shortFile);
    TTempFolder::Write(dir / "empty.R54", {});
    auto badFreq = good;
    badFreq[208 + 10] = badFreq[208 + 11] = badFreq[208 + 12] = 0xFF;
    TTempFolder::Write(dir / "badfreq.R54", badFreq);
    auto badPower = good;
    badPower[21] = 0xFF;
    TTempFolder::Write(dir / "badpower.R54", badPower);
    fs::create_directory(dir.Path / "folder.R54");
    ASSERT_EQ(::mkfifo((dir / "fifo.R54").c_str(), 0644), 0);  // nobody writes it: a read would wait forever

    struct Case { std::string path; std::string message; };
    const Case cases[] = {
        {dir / "short.R54", "The file cannot be opened.\r\nThe file format is not correct."},
        {dir / "empty.R54", FileMessages::FormatError},
        {dir / "missing.R54", "File read error  File Name = " + (dir / "missing.R54")},
        {dir / "badfreq.R54", "File read error  File Name = " + (dir / "badfreq.R54")},
        {dir / "badpower.R54", "File read error  File Name = " + (dir / "badpower.R54")},
        {dir / "folder.R54", "File read error  File Name = " + (dir / "folder.R54")},
        {dir / "fifo.R54", "File read error  File Name = " + (dir / "fifo.R54")},
        {"/dev/zero", "File read error  File Name = /dev/zero"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        TOpen open = reference;
        TScriptedPrompt prompt;
        EXPECT_FALSE(ReadDataFile(c.path, open.Doc, open.Image, prompt));
        ASSERT_EQ(prompt.Messages.size(), 1u);
        EXPECT_EQ(prompt.Messages[0].Kind, 'E');
        EXPECT_EQ(prompt.Messages[0].Text, c.message);
        EXPECT_EQ(open.Doc.SerialNo, "KEEP");
        EXPECT_EQ(open.ImageBytes(), reference.ImageBytes());
    }
}

TEST(DataFile, OldFileTypeIsSavedOnlyUnderANewName)
{
    TTempFolder dir;
    TTempFolder::Write(dir / "good.RPT", ExpectedDefaultImage());
    TTempFolder::Write(dir / "good.rpt", ExpectedDefaultImage());
    TTempFolder::Write(dir / "good.Rpt", ExpectedDefaultImage());
    struct Case { std::string path; bool result; bool saveEnabled; };
    const Case cases[] = {
        {dir / "good.RPT", true, false},
        {dir / "good.rpt", true, false},
        {dir / "good.Rpt", true, true},     // mixed case leaves the flag alone
        {dir / "missing.RPT", false, false},  // cleared even when the read fails
        {dir / "good.R54x", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        TOpen open;
        TScriptedPrompt prompt;
        bool saveEnabled = true;
        EXPECT_EQ(ReadDataFile(c.path, open.Doc, open.Image, prompt, &saveEnabled), c.result);
        EXPECT_EQ(saveEnabled, c.saveEnabled);
    }
}

namespace {

const std::vector<uint8_t> OldContent(1986, 0x33);

// Entries of a folder whose names start with "." (the writer's temporary
// files), which a finished save must not leave behind.
int HiddenEntries(const fs::path& folder)
{
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        count += entry.path().filename().string().front() == '.';
    return count;
}

} // namespace

// Every kind of thing a save can be aimed at: what the save answers, where
// the new data lands and what becomes of what was there.
TEST(SaveTargets, EachKindOfTargetGetsItsOutcome)
{
    TTempFolder dir;
    const fs::path other = dir.Path / "other";
    fs::create_directory(other);
    const std::string longName = std::string(251, 'n') + ".R54";  // 255 bytes, the most a name may have
    struct Row {
        const char* name;
        std::function<std::string()> make;  // builds the situation, answers the path to save to
        bool saved;
        std::string landsIn;    // the file that must hold the new image ("" when refused)
        std::string keeps;      // a file that must still hold the old content ("" for none)
        fs::file_type stays;    // what the saved-to path is afterwards
    };
    const Row rows[] = {
        {"link to a file",
         [&] { TTempFolder::Write(dir / "real.R54", OldContent); fs::create_symlink("real.R54", dir.Path / "link.R54");
               return dir / "link.R54"; },
         true, dir / "real.R54", "", fs::file_type::symlink},
        {"link into another folder",
         [&] { TTempFolder::Write((other / "far.R54").string(), OldContent);
               fs::create_symlink("other/far.R54", dir.Path / "farlink.R54"); return dir / "farlink.R54"; },
         true, (other / "far.R54").string(), "", fs::file_type::symlink},
        {"dangling link",
         [&] { fs::create_symlink("absent.R54", dir.Path / "dangling.R54"); return dir / "dangling.R54"; },
         true, dir / "absent.R54", "", fs::file_type::symlink},
        {"FIFO",
         [&] { ::mkfifo((dir / "fifo.R54").c_str(), 0644); return dir / "fifo.R54"; },
         false, "", "", fs::file_type::fifo},
        {"folder",
         [&] { fs::create_directory(dir.Path / "folder.R54"); return dir / "folder.R54"; },
         false, "", "", fs::file_type::directory},
        {"read-only file",
         [&] { TTempFolder::Write(dir / "readonly.R54", OldContent);
               fs::permissions(dir / "readonly.R54", fs::perms::owner_read | fs::perms::group_read);
               return dir / "readonly.R54"; },
         false, "", dir / "readonly.R54", fs::file_type::regular},
        {"missing folder", [&] { return dir / "no/such/folder/x.R54"; }, false, "", "", fs::file_type::not_found},
        {"255-byte name",
         [&] { TTempFolder::Write(dir / longName, OldContent); return dir / longName; },
         true, dir / longName, "", fs::file_type::regular},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = row.make();
        TOpen open;
        TScriptedPrompt prompt;
        EXPECT_EQ(WriteDataFile(path, open.Doc, open.Image, prompt), row.saved);
        if (row.saved) {
            EXPECT_TRUE(prompt.Messages.empty());
            EXPECT_EQ(TTempFolder::Read(row.landsIn), open.ImageBytes());
        } else {
            ASSERT_EQ(prompt.Messages.size(), 1u);
            EXPECT_EQ(prompt.Messages[0].Text, "File write error  File Name = " + path);
        }
        if (!row.keeps.empty()) {
            EXPECT_EQ(TTempFolder::Read(row.keeps), OldContent);
        }
        EXPECT_EQ(fs::symlink_status(path).type(), row.stays);
    }
    EXPECT_EQ(HiddenEntries(dir.Path), 0);
    EXPECT_EQ(HiddenEntries(other), 0);
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
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0644));
    EXPECT_EQ(HiddenEntries(dir.Path), 0);
}

namespace {

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

TEST(SaveSteps, AFailedStepLeavesTheOldFile)
{
    for (const char* step : {"write", "mode", "flush", "close", "rename"}) {
        SCOPED_TRACE(step);
        TTempFolder dir;
        const std::string path = dir / "site.R54";
        TTempFolder::Write(path, OldContent);
        fs::permissions(path, fs::perms(0600));
        EXPECT_FALSE(WriteFileAtomically(path, std::string(1986, '\x44'), TFailingCalls(step)));
        EXPECT_EQ(TTempFolder::Read(path), OldContent);
        EXPECT_EQ(fs::status(path).permissions(), fs::perms(0600));
        EXPECT_EQ(HiddenEntries(dir.Path), 0);
    }
}

TEST(SaveSteps, DataReachesTheDiskBeforeTheNameDoes)
{
    TTempFolder dir;
    const std::string path = dir / "site.R54";
    TTempFolder::Write(path, OldContent);
    fs::permissions(path, fs::perms(0640));
    const TFailingCalls calls;
    ASSERT_TRUE(WriteFileAtomically(path, std::string(1986, '\x44'), calls));
    const std::vector<std::string> expected = {"write", "write", "write", "mode", "flush", "close", "rename",
                                               "flush folder"};
    EXPECT_EQ(calls.Log, expected);
    EXPECT_EQ(TTempFolder::Read(path), std::vector<uint8_t>(1986, 0x44));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));
}

// A log line counts as kept only once it is on the disk: a failed write or
// flush is told, and the lines already there stay.
TEST(SaveSteps, AnAppendIsFlushedBeforeItCounts)
{
    for (const char* step : {"", "write", "flush", "close"}) {
        SCOPED_TRACE(step);
        TTempFolder dir;
        const std::string path = dir / "history.log";
        TTempFolder::Write(path, OldContent);
        const TFailingCalls calls(step);
        EXPECT_EQ(AppendToFile(path, std::string(1500, '\x44'), calls), *step == '\0');
        if (*step == '\0') {
            EXPECT_EQ(std::vector<std::string>(calls.Log.end() - 2, calls.Log.end()),
                      (std::vector<std::string> {"flush", "close"}));
        }
        const std::vector<uint8_t> kept = TTempFolder::Read(path);
        ASSERT_GE(kept.size(), OldContent.size());
        EXPECT_TRUE(std::equal(OldContent.begin(), OldContent.end(), kept.begin()));
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
        {"plain", "site.R54", u"site.R54"},
        {"UTF-8", "Z\xc3\xbcrich.R54", u"Z\u00fcrich.R54"},
        {"Latin-1 byte", "caf\xe9.R54", u"caf\xdce9.R54"},
        {"stray continuation byte", "a\x80" "b", u"a\xdc80" "b"},
        {"overlong slash", "\xc0\xaf", u"\xdcc0\xdcaf"},
        {"encoded surrogate", "\xed\xa0\x80", u"\xdced\xdca0\xdc80"},
        {"four bytes", "\xf0\x9f\x93\xbb", u"\U0001F4FB"},
        {"cut short at the end", "x\xe2\x82", u"x\xdce2\xdc82"},
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
    TTempFolder::Write(dir / "caf\xe9.R54", OldContent);
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
        {"file", dir / ("caf" + shown + ".R54"), dir / "caf\xe9.R54"},
        {"file in such a folder", dir / ("d" + shown + "/x.R54"), dir / "d\xff\xfe/x.R54"},
        {"new name in such a folder", dir / ("d" + shown + "/new.R54"), dir / "d\xff\xfe/new.R54"},
        {"two that look alike", dir / ("twin" + shown + ".R54"), dir / ("twin" + shown + ".R54")},
        {"an ordinary name", dir / "plain.R54", dir / "plain.R54"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ChosenFileName(row.chosen), row.meant);
    }
}
