#include "support/ImageBuilder.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"
#include "files/U_FileAccess.h"

#include <gtest/gtest.h>

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

TEST(DataFile, WriteThenReadGivesTheSameImage)
{
    TTempFolder dir;
    TOpen open;
    TScriptedPrompt prompt;
    const std::string path = dir / "defaultv.R54";
    ASSERT_TRUE(WriteDataFile(path, open.Doc, open.Image, prompt));
    EXPECT_EQ(open.Doc.DataFileName, "defaultv.R54");
    EXPECT_EQ(TTempFolder::Read(path), ExpectedDefaultImage("defaultv"));

    TOpen other;
    other.Doc.SerialNo = "changed";
    ASSERT_TRUE(ReadDataFile(path, other.Doc, other.Image, prompt));
    EXPECT_EQ(other.ImageBytes(), open.ImageBytes());
    EXPECT_EQ(other.Doc.SerialNo, "12345678");
    EXPECT_EQ(other.Doc.DataFileName, "defaultv");
    EXPECT_TRUE(prompt.Messages.empty());
}

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
    TOpen open;
    ASSERT_TRUE(WriteDataFile(dir / "MyRepeaterSite.R54", open.Doc, open.Image, prompt));
    const auto bytes = TTempFolder::Read(dir / "MyRepeaterSite.R54");
    EXPECT_EQ(std::string(bytes.begin() + 112, bytes.begin() + 120), "MyRepeat");
    EXPECT_EQ(ShortBaseName("Stationé2"), "Station");
    EXPECT_EQ(ShortBaseName("Short"), "Short");
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

    struct Case { std::string path; std::string message; };
    const Case cases[] = {
        {dir / "short.R54", FileMessages::FormatError},
        {dir / "empty.R54", FileMessages::FormatError},
        {dir / "missing.R54", "File read error  File Name = " + (dir / "missing.R54")},
        {dir / "badfreq.R54", "File read error  File Name = " + (dir / "badfreq.R54")},
        {dir / "badpower.R54", "File read error  File Name = " + (dir / "badpower.R54")},
        {dir / "folder.R54", "File read error  File Name = " + (dir / "folder.R54")},
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
    EXPECT_EQ(std::string(FileMessages::FormatError),
              "The file cannot be opened.\r\nThe file format is not correct.");
}

TEST(DataFile, ReadAcceptsLongFilesAndWrongChecksums)
{
    TTempFolder dir;
    auto bytes = ExpectedDefaultImage();
    bytes[0] = 0x00;      // marker
    bytes[207] ^= 0xFF;   // checksum A
    bytes[1456] ^= 0xFF;  // checksum B
    auto longer = bytes;
    longer.resize(2000, 0xEE);
    TTempFolder::Write(dir / "long.R54", longer);
    TOpen open;
    TScriptedPrompt prompt;
    ASSERT_TRUE(ReadDataFile(dir / "long.R54", open.Doc, open.Image, prompt));
    EXPECT_EQ(open.ImageBytes(), bytes);
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

TEST(DataFile, FailedWriteLeavesTheOldFile)
{
    TTempFolder dir;
    const std::vector<uint8_t> old(1986, 0x33);
    TTempFolder::Write(dir / "readonly.R54", old);
    fs::permissions(dir / "readonly.R54", fs::perms::owner_read | fs::perms::group_read);
    fs::create_directory(dir.Path / "folder.R54");

    const std::string cases[] = {
        dir / "readonly.R54",
        dir / "folder.R54",
        dir / "no/such/folder/x.R54",
    };
    for (const std::string& path : cases) {
        SCOPED_TRACE(path);
        TOpen open;
        TScriptedPrompt prompt;
        EXPECT_FALSE(WriteDataFile(path, open.Doc, open.Image, prompt));
        ASSERT_EQ(prompt.Messages.size(), 1u);
        EXPECT_EQ(prompt.Messages[0].Text, "File write error  File Name = " + path);
    }
    EXPECT_EQ(TTempFolder::Read(dir / "readonly.R54"), old);
    // Nothing half-written is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.Path))
        ++files;
    EXPECT_EQ(files, 2);
}

TEST(DataFile, ReplacingKeepsTheFilesPermissions)
{
    TTempFolder dir;
    const std::string path = dir / "site.R54";
    TTempFolder::Write(path, std::vector<uint8_t>(10, 0));
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    TOpen open;
    TScriptedPrompt prompt;
    ASSERT_TRUE(WriteDataFile(path, open.Doc, open.Image, prompt));
    EXPECT_EQ(TTempFolder::Read(path).size(), 1986u);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}
