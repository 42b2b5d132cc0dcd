// The safe download against the simulated repeater: read, check, list,
// write, read back, with the archive and the log it leaves.
#include "support/LinkTestKit.h"
#include "support/TempFolder.h"

#include "files/U_History.h"
#include "link/U_SafeDownload.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

// A unit holding RichDocument(0), a document made for that very unit from
// RichDocument(1) (same serial number, other channels and texts), and a
// person who says No to another unit and Write to the change list.
struct TSafeRig : TSafeQuestions {
    explicit TSafeRig(TSimOptions options = {}) : Sim(UnitImage, std::move(options)) { Doc.SerialNo = Unit.SerialNo; }
    TSafeResult Run(TProgramMode mode = Normal)
    {
        return SafeDownload(Sim.Port(), Doc, Image, mode, View, *this, &History);
    }
    bool ConfirmIdentity(const std::vector<TIdentityRow>& rows) override
    {
        ++IdentityAsked;
        Identity = rows;
        return false;
    }
    bool ConfirmChanges(const std::vector<TFieldChange>& changes) override
    {
        Changes = changes;
        return true;
    }
    void ReadBackDiffers(const std::vector<TFieldChange>&) override {}
    void HistoryProblem(const std::string& text) override { Problems.push_back(text); }
    std::vector<std::string> Actions() const
    {
        std::vector<std::string> actions;
        for (const THistoryEntry& e : History.Entries())
            actions.push_back(e.Action);
        return actions;
    }
    TBytes Archived(const THistoryEntry& e) const { return TTempFolder::Read(History.ImagePath(e)); }
    int Writes()
    {
        const TUnits units = Sim->Received();
        return CountOf(units, 0x41) + CountOf(units, 0x21) + CountOf(units, 0x11);
    }

    const TRKmem Unit = RichDocument(0);
    const TMap54 UnitImage = ImageOf(Unit);
    TSimRig Sim;
    TRKmem Doc = RichDocument(1);
    TMap54 Image;
    TTestView View;
    int IdentityAsked = 0;
    std::vector<TIdentityRow> Identity;
    std::vector<TFieldChange> Changes;  // the change list, empty until it is shown
    std::vector<std::string> Problems;
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
    bool StoresBadly = false;  // the read-back differs and is kept as the unit has it
};

class SafeMode : public ::testing::TestWithParam<TModeCase> {};

TEST_P(SafeMode, ReadsWritesReadsBackAndKeepsAllThree)
{
    const TModeCase& c = GetParam();
    TSafeRig rig(c.StoresBadly ? WithFault(TSimFault::CorruptStore) : TSimOptions());

    const TSafeResult result = rig.Run(c.Mode);
    EXPECT_EQ(result.Verified, !c.StoresBadly);
    EXPECT_EQ(result.ReadBackDiffers(), c.StoresBadly);
    EXPECT_EQ(rig.IdentityAsked, 0);

    // Read, write, read: the message, the three transfers, the channels
    // written and the history's outcomes are tst_Radio's safe download rows;
    // a read-back made before the write would archive the unit's old memory.
    EXPECT_EQ(rig.Writes(), c.AreaWrites);

    // The change list names the fields as rk54 diff does, within the mode.
    EXPECT_TRUE(Named(rig.Changes, "Channel 1 RxFreq"));
    EXPECT_EQ(Named(rig.Changes, "CwIdText"), c.ChangesCommonArea);
    EXPECT_FALSE(Named(rig.Changes, "SerialNo"));

    const std::vector<THistoryEntry> log = rig.History.Entries();
    ASSERT_EQ(rig.Actions(), (std::vector<std::string>{"readback", "download", "before-download"}));
    EXPECT_EQ(rig.Archived(log[2]), ImageBytes(AsUploaded(rig.UnitImage)));
    EXPECT_EQ(rig.Archived(log[1]), ImageBytes(ImageOf(rig.Doc)));
    const TMap::TImage memory = rig.Sim->Memory();
    TMap54 back;
    std::copy(memory.begin(), memory.end(), back.Data());
    EXPECT_EQ(rig.Archived(log[0]), ImageBytes(AsUploaded(back)));
    // The log line's own fields are ServiceHistory's.
    for (const THistoryEntry& e : log) {
        EXPECT_EQ(e.Serial, "1234567");
        EXPECT_EQ(e.Mode, ModeName(c.Mode));
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, SafeMode,
                         ::testing::Values(TModeCase{"Normal", Normal, 16, false},
                                           TModeCase{"Manufacture", Manufacture, 18, true},
                                           TModeCase{"NormalStoresBadly", Normal, 16, false, true}),
                         [](const auto& info) { return std::string(info.param.Name); });

// What ends a safe download before anything is written: a field of the
// unit's identity that differs, asked about and marked alone, when No is the
// answer, or a fault in the first read, before anything is asked (how each
// fault ends is the upload's own). What Yes and the change list's answers
// do is the download's test through the window.
TEST(SafeDownload, NothingIsWrittenWhenTheFirstStepStopsIt)
{
    const struct {
        const char* Name;
        const char* Differs;  // the identity row marked; "": nothing is asked
        std::function<void(TRKmem&)> Change;
        std::vector<std::string> Actions;
        std::vector<std::string> Errors;
        std::optional<TSimFault> Fault = {};
    } rows[] = {
        {"other serial number", "Serial No", [](TRKmem& d) { d.SerialNo = "9999"; }, {"before-download"}, {}},
        {"other firmware", "Firmware", [](TRKmem& d) { d.FwVersion = "1.05"; }, {"before-download"}, {}},
        {"first read fails", "", [](TRKmem&) {}, {}, {"Checksum error"}, TSimFault::BadChecksum},
    };
    for (const auto& c : rows) {
        SCOPED_TRACE(c.Name);
        TSafeRig rig(c.Fault ? WithFault(*c.Fault) : TSimOptions());
        c.Change(rig.Doc);

        EXPECT_EQ(rig.Run(Manufacture).IdentityRefused, *c.Differs != '\0');
        ASSERT_EQ(rig.IdentityAsked, *c.Differs != '\0');
        for (const TIdentityRow& row : rig.Identity)
            EXPECT_EQ(row.Differs, row.Name == c.Differs) << row.Name;
        EXPECT_EQ(rig.View.Errors, c.Errors);
        EXPECT_EQ(rig.Actions(), c.Actions);
        EXPECT_EQ(TMap54::TImage(rig.Sim->Memory()), rig.UnitImage.Content());
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

TEST(SafeDownload, AHistoryThatCannotBeWrittenIsToldOnceAndTheTransferGoesOn)
{
    TSafeRig rig;
    // A file where the folder should be stops every write, whoever runs
    // the test (permissions do not stop the super-user).
    std::ofstream(rig.Folder / "history") << "not a folder";

    EXPECT_TRUE(rig.Run(Normal).Verified);
    ASSERT_EQ(rig.Problems.size(), 1u);
    EXPECT_NE(rig.Problems[0].find("history"), std::string::npos);
}

} // namespace
