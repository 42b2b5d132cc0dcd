#include "files/U_History.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

std::string Sha(const std::string& text)
{
    return Sha256Hex(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

TEST(Sha256, KnownDigests)
{
    struct TCase {
        const char* Name;
        std::string Text;
        const char* Digest;
    };
    const TCase cases[] = {
        {"empty", "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"two blocks", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"a million", std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Sha(c.Text), c.Digest) << c.Name;
}

struct THistoryRig {
    TTempFolder Folder;
    std::time_t Clock = 1796598900;  // 2026-12-06T23:15:00Z
    THistory History {Folder / "h", [this] { return Clock; }};

    THistoryEntry Keep(const std::string& serial, const char* action, uint8_t fill)
    {
        std::vector<uint8_t> image(1986, fill);
        THistoryEntry e;
        e.Serial = serial;
        e.Firmware = "1.05";
        e.Band = "UHF";
        e.Action = action;
        e.Mode = "Extended";
        e.Outcome = "done";
        std::string error;
        EXPECT_TRUE(History.Record(image.data(), image.size(), e, error)) << error;
        return e;
    }
    std::string Log() const { return TTempFolder::ReadText(History.LogPath()); }
};

// The archive's name and bytes are held by SafeMode.*; here the log line as
// it is stored, field by field.
TEST(ServiceHistory, LogsOneLinePerEvent)
{
    THistoryRig rig;
    rig.Keep("AB 12", HistoryActions::BeforeDownload, 0x5A);
    EXPECT_EQ(rig.Log(), "2026-12-06T23:15:00Z\tAB 12\t1.05\tUHF\tbefore-download\tExtended\t"
                         "AB_12/20261206T231500Z-before-download.R54\t"
                             + Sha256Hex(std::vector<uint8_t>(1986, 0x5A).data(), 1986) + "\tdone\n");
}

TEST(ServiceHistory, ASecondImageInTheSameSecondNeverReplacesTheFirst)
{
    THistoryRig rig;
    const THistoryEntry first = rig.Keep("S1", HistoryActions::Upload, 1);
    const THistoryEntry second = rig.Keep("S1", HistoryActions::Upload, 2);
    const THistoryEntry third = rig.Keep("S1", HistoryActions::Upload, 3);

    EXPECT_EQ(second.File, "S1/20261206T231500Z-upload-2.R54");
    EXPECT_EQ(third.File, "S1/20261206T231500Z-upload-3.R54");
    EXPECT_EQ(TTempFolder::Read(rig.History.ImagePath(first)), std::vector<uint8_t>(1986, 1));
    EXPECT_EQ(TTempFolder::Read(rig.History.ImagePath(second)), std::vector<uint8_t>(1986, 2));
    // No temporary files are left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(rig.Folder / "h/S1"), {}), 3);
}

TEST(ServiceHistory, ALineCutShortByACrashIsPassedOverAndTheNextEventStartsClean)
{
    struct TCase {
        const char* Name;
        std::string Leftover;  // what the crashed write left at the end of the log
    };
    const TCase cases[] = {
        {"half line", "2026-12-06T23:15:01Z\tS1\t1.05\tUHF\tdownl"},
        {"line without its break", "2026-12-06T23:15:01Z\tS1\t1.05\tUHF\tdownload\tNormal\tS1/x.R54\t"
                                   "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855\tdone"},
        {"garbage", "\x01\x02 not an event\n"},
    };
    for (const TCase& c : cases) {
        THistoryRig rig;
        rig.Keep("S1", HistoryActions::Upload, 1);
        std::ofstream(rig.History.LogPath(), std::ios::app | std::ios::binary) << c.Leftover;
        EXPECT_EQ(rig.History.Entries().size(), 1u) << c.Name;

        ++rig.Clock;
        rig.Keep("S1", HistoryActions::ReadBack, 2);
        const std::vector<THistoryEntry> entries = rig.History.Entries();
        ASSERT_EQ(entries.size(), 2u) << c.Name;
        EXPECT_EQ(entries[0].Action, "readback") << c.Name;
        EXPECT_EQ(entries[1].Action, "upload") << c.Name;
    }
}

TEST(ServiceHistory, FieldsNeverBreakTheLine)
{
    THistoryEntry e {"2026-12-06T23:15:00Z", "A\tB\nC", "1.05", "VHF", "upload", "Normal", "x/y.R54",
                     std::string(64, 'a'), "done"};
    const std::string line = THistory::LineOf(e);
    THistoryEntry back;
    ASSERT_TRUE(THistory::ParseLine(line, back));
    EXPECT_EQ(back.Serial, "A B C");
    EXPECT_EQ(back.Outcome, "done");
}

TEST(ServiceHistory, SerialFolders)
{
    struct TCase {
        const char* Serial;
        const char* Folder;
    };
    const TCase cases[] = {{"12345678", "12345678"}, {"A/B..", "A_B.."}, {"..", "unknown"}, {"", "unknown"},
                           {"  ", "unknown"}};
    for (const TCase& c : cases)
        EXPECT_EQ(THistory::SerialFolder(c.Serial), c.Folder) << "'" << c.Serial << "'";
}

} // namespace
