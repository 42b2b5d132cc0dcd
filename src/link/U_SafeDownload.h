#pragma once
#include "link/U_Clone.h"

#include <string>
#include <vector>

class THistory;

// "Read it before you write it": a download that first reads what the unit
// holds and keeps it, makes sure the unit is the one the document was made
// for, shows what will change, writes exactly as the plain download does and
// reads the unit back to compare what it now holds with what was sent.

// A field, named as `rk54 diff` names it, with its value in the unit and in
// the document (the read-back: what came back and what was written).
struct TFieldChange {
    std::string Name;
    std::string Unit;
    std::string Document;
};

// One line of the identity comparison.
struct TIdentityRow {
    std::string Name;  // "Serial No", "Band", "Market", "Firmware"
    std::string Unit;
    std::string Document;
    bool Differs = false;
};

// What a safe download asks of the person. The window shows boxes, rk54
// answers from its options, the tests script it.
class TSafeQuestions {
public:
    virtual ~TSafeQuestions() = default;
    // The unit is not the one the document describes: true writes all the same.
    virtual bool ConfirmIdentity(const std::vector<TIdentityRow>& rows) = 0;
    // The fields the download will change (possibly none): true writes.
    virtual bool ConfirmChanges(const std::vector<TFieldChange>& changes) = 0;
    // The unit does not hold what was written: these fields differ.
    virtual void ReadBackDiffers(const std::vector<TFieldChange>& differences) = 0;
    // The history could not be kept; the transfer goes on regardless.
    virtual void HistoryProblem(const std::string& text) = 0;
};

// The step a safe download ended in.
enum class TSafeStage { Read, Identity, Changes, Write, ReadBack, Done };

struct TSafeResult {
    TSafeStage Stage = TSafeStage::Read;
    // The outcome of the transfer that ended it (the read-back's when all
    // three ran); Cancelled and PortFailed as for a plain transfer.
    TTransferResult Transfer;
    bool IdentityRefused = false;  // the person (or rk54 without --force) said No
    bool ChangesDeclined = false;  // Cancel on the change list, or a dry run
    bool Verified = false;         // the unit holds what was written
    std::vector<TFieldChange> Differences;  // of the read-back, when not verified

    bool ReadBackDiffers() const { return Stage == TSafeStage::Done && !Verified; }
};

namespace SafeMessages {
constexpr const char* Verified = "Download is completed\r\nVerified";
constexpr const char* Differs = "The repeater does not hold what was written.";
}

// Encodes `doc` into `image` (kept whatever happens) and runs read, identity
// check, change list, download, read-back on one open port. Every image read
// or written goes to `history` when given. Nothing is written to the unit
// after a failed, cancelled or refused step; every failure ends with its
// message through `view`.
TSafeResult SafeDownload(const QString& port, const TRKmem& doc, TMap54& image, TProgramMode mode, TLinkView& view,
                         TSafeQuestions& questions, THistory* history);

// Serial number, band, market and firmware side by side. A document without
// a serial number or firmware (a new one: none, or the placeholder serial
// "12345678" and firmware "0.00") is not compared on those.
std::vector<TIdentityRow> IdentityRows(const TRKmem& unit, const TRKmem& doc);
// The fields whose values differ between `unit` and `doc`.
std::vector<TFieldChange> FieldChanges(const TRKmem& unit, const TRKmem& doc);
// The changes as text, a line each: "Name: unit | document".
std::string ChangesText(const std::vector<TFieldChange>& changes);

// Keeps one image in the history with the identity of `who`. False with the
// reason in `error`.
bool RecordInHistory(THistory& history, const TMap54& image, const TRKmem& who, const char* action,
                     TProgramMode mode, const std::string& outcome, std::string& error);
// The log's word for a transfer's end: "done", "cancelled" or its message.
std::string OutcomeText(const TTransferResult& result, TLinkView::TDirection direction);
const char* ModeName(TProgramMode mode);
