// The safe download against the simulated repeater: read, check, list,
// write, read back, with the archive and the log it leaves.
#include "support/LinkTestKit.h"
#include "support/TempFolder.h"

#include "files/U_History.h"
#include "link/U_SafeDownload.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

// A person who says No to another unit and Write to the change list.
class TScriptedQuestions : public TSafeQuestions {
public:
    bool ConfirmIdentity(const std::vector<TIdentityRow>& rows) override
    {
        Identity = rows;
        ++IdentityAsked;
        return false;
    }
    bool ConfirmChanges(const std::vector<TFieldChange>& changes) override
    {
        Changes = changes;
        ++ChangesAsked;
        return true;
    }
    void ReadBackDiffers(const std::vector<TFieldChange>& differences) override { Differences = differences; }
    void HistoryProblem(const std::string& text) override { Problems.push_back(text); }

    int IdentityAsked = 0;
    int ChangesAsked = 0;
    std::vector<TIdentityRow> Identity;
    std::vector<TFieldChange> Changes;
    std::vector<TFieldChange> Differences;
    std::vector<std::string> Problems;
};

// A unit holding RichDocument(0) and a document made for that very unit
// from RichDocument(1): same serial number, other channels and texts.
struct TSafeRig {
    explicit TSafeRig(TSimOptions options = {}) : Sim(UnitImage, std::move(options))
    {
        Doc.SerialNo = Unit.SerialNo;
    }
    TSafeResult Run(TProgramMode mode = Normal)
    {
        return SafeDownload(Sim.Port(), Doc, Image, mode, View, Questions, &History);
    }
    std::vector<std::string> Actions() const
    {
        std::vector<std::string> actions;
        for (const THistoryEntry& e : History.Entries())
            actions.push_back(e.Action);
        return actions;
    }
    TBytes Archived(const THistoryEntry& e) const { return TTempFolder::Read(History.ImagePath(e)); }
    int Writes() { return CountOf(Sim->Received(), 0x41) + CountOf(Sim->Received(), 0x21) + CountOf(Sim->Received(), 0x11); }

    const TRKmem Unit = RichDocument(0);
    const TMap54 UnitImage = ImageOf(Unit);
    TSimRig Sim;
    TRKmem Doc = RichDocument(1);
    TMap54 Image;
    TTestView View;
    TScriptedQuestions Questions;
    TTempFolder Folder;
    std::time_t Clock = 1796598900;  // 2026-12-06T23:15:00Z
    THistory History {Folder / "history", [this] { return Clock++; }};
};

TBytes ImageBytes(const TMap& image)
{
    return TBytes(image.Data(), image.Data() + ImageSize);
}

bool Named(const std::vector<TFieldChange>& list, const std::string& name)
{
    return std::any_of(list.begin(), list.end(), [&](const TFieldChange& c) { return c.Name == name; });
}

struct TModeCase {
    const char* Name;
    TProgramMode Mode;
    int AreaWrites;          // frames with 0x11, 0x21 and 0x41
    bool ChangesCommonArea;  // CW ID text lies in area 2
};

void PrintTo(const TModeCase& c, std::ostream* os) { *os << c.Name; }

class SafeMode : public ::testing::TestWithParam<TModeCase> {};

TEST_P(SafeMode, ReadsWritesReadsBackAndKeepsAllThree)
{
    const TModeCase& c = GetParam();
    TSafeRig rig;

    const TSafeResult result = rig.Run(c.Mode);

    EXPECT_TRUE(result.Verified);
    EXPECT_EQ(result.Stage, TSafeStage::Done);
    EXPECT_TRUE(rig.View.Errors.empty());
    EXPECT_EQ(rig.Questions.IdentityAsked, 0);
    EXPECT_EQ(rig.View.Ended, 1);

    // Read, write, read: the message, the three transfers, the channels
    // written and the history's outcomes are tst_Radio's safe download rows.
    const TUnits units = rig.Sim->Received();
    EXPECT_EQ(CountOf(units, 0x42), 2 * 16);
    EXPECT_EQ(CountOf(units, 0x62), 2 * 48);
    EXPECT_EQ(rig.Writes(), c.AreaWrites);
    const auto firstWrite = std::find_if(units.begin(), units.end(), [](const TBytes& u) { return (u[0] & 0x0F) == 1; });
    const auto lastRead = std::find_if(units.rbegin(), units.rend(), [](const TBytes& u) { return u[0] == 0x12; });
    ASSERT_NE(firstWrite, units.end());
    EXPECT_LT(firstWrite - units.begin(), units.rend() - lastRead - 1) << "the read-back comes after the write";

    // The change list names the fields as rk54 diff does, within the mode.
    EXPECT_EQ(rig.Questions.ChangesAsked, 1);
    EXPECT_TRUE(Named(rig.Questions.Changes, "Channel 1 RxFreq"));
    EXPECT_EQ(Named(rig.Questions.Changes, "CwIdText"), c.ChangesCommonArea);
    EXPECT_FALSE(Named(rig.Questions.Changes, "SerialNo"));

    const std::vector<THistoryEntry> log = rig.History.Entries();
    ASSERT_EQ(rig.Actions(), (std::vector<std::string>{"readback", "download", "before-download"}));
    EXPECT_EQ(log[2].File, "1234567/20261206T231500Z-before-download.R54");
    EXPECT_EQ(log[2].Time, "2026-12-06T23:15:00Z");
    EXPECT_EQ(rig.Archived(log[2]), ImageBytes(AsUploaded(rig.UnitImage)));
    EXPECT_EQ(rig.Archived(log[1]), ImageBytes(ImageOf(rig.Doc)));
    const TMap::TImage memory = rig.Sim->Memory();
    TMap54 back;
    std::copy(memory.begin(), memory.end(), back.Data());
    EXPECT_EQ(rig.Archived(log[0]), ImageBytes(AsUploaded(back)));
    for (const THistoryEntry& e : log) {
        EXPECT_EQ(e.Serial, "1234567");
        EXPECT_EQ(e.Mode, ModeName(c.Mode));
        EXPECT_EQ(e.Band, "VHF");
        const TBytes bytes = rig.Archived(e);
        EXPECT_EQ(e.Sha256, Sha256Hex(bytes.data(), bytes.size()));
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, SafeMode,
                         ::testing::Values(TModeCase{"Normal", Normal, 16, false},
                                           TModeCase{"Extended", Extended, 17, true},
                                           TModeCase{"Manufacture", Manufacture, 18, true}),
                         [](const auto& info) { return std::string(info.param.Name); });

// Each field of the unit's identity that differs is asked about and marked
// alone; No writes nothing. What Yes and the change list's answers do is the
// download's test through the window.
TEST(SafeDownload, AMismatchIsAskedAndNoWritesNothing)
{
    const struct {
        const char* Differs;
        std::function<void(TRKmem&)> Change;
    } rows[] = {
        {"Serial No", [](TRKmem& d) { d.SerialNo = "9999"; }},
        {"Band", [](TRKmem& d) { d.Band = 1; }},
        {"Market", [](TRKmem& d) { d.MarketCode = 0; }},
        {"Firmware", [](TRKmem& d) { d.FwVersion = "1.05"; }},
    };
    for (const auto& c : rows) {
        SCOPED_TRACE(c.Differs);
        TSafeRig rig;
        c.Change(rig.Doc);

        const TSafeResult result = rig.Run(Extended);

        ASSERT_EQ(rig.Questions.IdentityAsked, 1);
        for (const TIdentityRow& row : rig.Questions.Identity)
            EXPECT_EQ(row.Differs, row.Name == c.Differs) << row.Name;
        EXPECT_TRUE(result.IdentityRefused);
        EXPECT_EQ(rig.Writes(), 0);
        EXPECT_EQ(rig.Sim->Transfers(), 1);
        EXPECT_EQ(rig.Questions.ChangesAsked, 0);
        EXPECT_EQ(rig.Actions(), std::vector<std::string>{"before-download"});
        EXPECT_EQ(TMap54::TImage(rig.Sim->Memory()), rig.UnitImage.Content());
        EXPECT_TRUE(rig.View.Infos.empty());
    }
}

TEST(IdentityRows, ANewDocumentIsNotComparedOnSerialAndFirmware)
{
    TRKmem unit = RichDocument(0);
    unit.FwVersion = "1.05";
    TRKmem fresh;
    TMap54::SetDefaults(fresh);
    fresh.MarketCode = unit.MarketCode;
    for (const std::string firmware : {"", "0.00"}) {
        fresh.FwVersion = firmware;
        for (const TIdentityRow& row : IdentityRows(unit, fresh))
            EXPECT_FALSE(row.Differs) << row.Name << " against firmware '" << firmware << "'";
    }
}

// Which fields a read-back that differs names, and the history's outcome,
// are the download's test through the window; here the images kept.
TEST(SafeDownload, AReadBackThatDiffersKeepsBothImages)
{
    TSafeRig rig(WithFault(TSimFault::CorruptStore));

    const TSafeResult result = rig.Run(Normal);

    EXPECT_TRUE(result.ReadBackDiffers());
    EXPECT_FALSE(rig.Questions.Differences.empty());
    const std::vector<THistoryEntry> log = rig.History.Entries();
    ASSERT_EQ(rig.Actions(), (std::vector<std::string>{"readback", "download", "before-download"}));
    const TBytes back = rig.Archived(log[0]);
    const TBytes sent = rig.Archived(log[1]);
    EXPECT_EQ(back[208 + 4 * 48], uint8_t(~sent[208 + 4 * 48]));
}

// How each fault of the first read ends is the upload's own; here: it ends
// the safe download before anything is asked or written.
TEST(SafeDownload, AFaultInTheFirstReadWritesNothingAndAsksNothing)
{
    TSafeRig rig(WithFault(TSimFault::BadChecksum));

    const TSafeResult result = rig.Run(Manufacture);

    EXPECT_EQ(result.Stage, TSafeStage::Read);
    EXPECT_EQ(result.Transfer.Outcome, TOutcome::Checksum);
    EXPECT_EQ(rig.View.Errors, std::vector<std::string>{"Checksum error"});
    EXPECT_EQ(rig.Writes(), 0);
    EXPECT_EQ(CountOf(rig.Sim->Received(), 0x63), 0);
    EXPECT_EQ(rig.Questions.IdentityAsked + rig.Questions.ChangesAsked, 0);
    EXPECT_TRUE(rig.History.Entries().empty());
    EXPECT_EQ(TMap54::TImage(rig.Sim->Memory()), rig.UnitImage.Content());
    EXPECT_TRUE(PortIsFree(rig.Sim.Port()));
}

TEST(SafeDownload, AHistoryThatCannotBeWrittenIsToldOnceAndTheTransferGoesOn)
{
    TSafeRig rig;
    // A file where the folder should be stops every write, whoever runs
    // the test (permissions do not stop the super-user).
    std::ofstream(rig.Folder / "history") << "not a folder";

    const TSafeResult result = rig.Run(Normal);

    EXPECT_TRUE(result.Verified);
    ASSERT_EQ(rig.Questions.Problems.size(), 1u);
    EXPECT_NE(rig.Questions.Problems[0].find("history"), std::string::npos);
}

} // namespace
