#include "link/U_SafeDownload.h"

#include "files/U_History.h"
#include "link/U_CloneSteps.h"
#include "model/U_Fields.h"
#include "link/dc_RsDrv.h"
#include "model/U_Values.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

using CloneSteps::TProgress;

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string MarketText(int code) { return code == 'U' ? "USA" : "EXP"; }

// A new document carries the placeholder serial number and, once saved and
// opened again, the firmware text of two zero bytes: neither names a unit.
std::string DocumentSerial(const TRKmem& doc)
{
    const std::string serial = Trimmed(doc.SerialNo);
    return serial == "12345678" ? std::string() : serial;
}
std::string DocumentFirmware(const TRKmem& doc)
{
    const std::string firmware = Trimmed(doc.FwVersion);
    return firmware == "0.00" ? std::string() : firmware;
}

// One transfer of the three: its own run of the progress bar, its own end.
struct TStep {
    TOutcome Outcome = TOutcome::Error;
    bool Cancelled = false;
    bool Succeeded() const { return Outcome == TOutcome::Done && !Cancelled; }
};

TStep ReadUnit(TCRsDrv& driver, TMap54& image, TRKmem& decoded, TLinkView& view)
{
    view.TransferBegins(TLinkView::UploadDirection);
    TProgress progress(view);
    TStep step;
    step.Outcome = CloneSteps::ReadImage(driver, image, view, progress);
    if (step.Outcome == TOutcome::Done)
        step.Outcome = CloneSteps::DecodeImage(image, decoded);
    step.Cancelled = CloneSteps::Finish(driver, step.Outcome, TLinkView::UploadDirection, view, progress, false);
    return step;
}

TStep WriteUnit(TCRsDrv& driver, const TMap54& image, TProgramMode mode, TLinkView& view)
{
    view.TransferBegins(TLinkView::DownloadDirection);
    TProgress progress(view);
    TStep step;
    step.Outcome = CloneSteps::WriteImage(driver, image, mode, view, progress);
    step.Cancelled = CloneSteps::Finish(driver, step.Outcome, TLinkView::DownloadDirection, view, progress, false);
    return step;
}

// The fields that differ in the areas `mode` writes, between what was
// written and what came back; bytes no field names are listed by address.
std::vector<TFieldChange> ReadBackDifferences(const TMap54& written, const TRKmem& writtenDoc, const TMap54& back,
                                              TProgramMode mode)
{
    TMap54 seen;
    seen.CopyFrom(written);
    for (const CloneSteps::TRange& range : CloneSteps::WrittenRanges(mode))
        std::memcpy(seen.Data() + range.First, back.Data() + range.First, size_t(range.Count));
    TRKmem seenDoc;
    std::vector<TFieldChange> out;
    if (CloneSteps::DecodeImage(seen, seenDoc) == TOutcome::Done)
        out = FieldChanges(seenDoc, writtenDoc);
    if (!out.empty())
        return out;
    for (const CloneSteps::TRange& range : CloneSteps::WrittenRanges(mode)) {
        for (int a = range.First; a < range.First + range.Count; ++a) {
            if (back[a] == written[a])
                continue;
            char unit[8];
            char sent[8];
            std::snprintf(unit, sizeof unit, "0x%02X", back[a]);
            std::snprintf(sent, sizeof sent, "0x%02X", written[a]);
            out.push_back({"Image byte " + std::to_string(a), unit, sent});
        }
    }
    return out;
}

bool SameBytes(const TMap54& a, const TMap54& b, TProgramMode mode)
{
    for (const CloneSteps::TRange& range : CloneSteps::WrittenRanges(mode))
        if (std::memcmp(a.Data() + range.First, b.Data() + range.First, size_t(range.Count)) != 0)
            return false;
    return true;
}

// The history of one safe download; a failure to keep it is told once and
// never stops the transfer.
class TRecorder {
public:
    TRecorder(THistory* history, TProgramMode mode, TSafeQuestions& questions)
        : History(history), Mode(mode), Questions(questions)
    {
    }
    void Keep(const TMap54& image, const TRKmem& who, const char* action, const std::string& outcome)
    {
        std::string error;
        if (History && !RecordInHistory(*History, image, who, action, Mode, outcome, error) && !Told) {
            Told = true;
            Questions.HistoryProblem(error);
        }
    }

private:
    THistory* History;
    TProgramMode Mode;
    TSafeQuestions& Questions;
    bool Told = false;
};

} // namespace

const char* ModeName(TProgramMode mode)
{
    switch (mode) {
    case Extended: return "Extended";
    case Manufacture: return "Manufacture";
    case Normal: break;
    }
    return "Normal";
}

std::vector<TIdentityRow> IdentityRows(const TRKmem& unit, const TRKmem& doc)
{
    const std::string docSerial = DocumentSerial(doc);
    const std::string docFirmware = DocumentFirmware(doc);
    std::vector<TIdentityRow> rows = {
        {"Serial No", Trimmed(unit.SerialNo), Trimmed(doc.SerialNo), !docSerial.empty() && docSerial != Trimmed(unit.SerialNo)},
        {"Band", DisplayText(dvBand, unit.Band), DisplayText(dvBand, doc.Band), unit.Band != doc.Band},
        {"Market", MarketText(unit.MarketCode), MarketText(doc.MarketCode),
         (unit.MarketCode == 'U') != (doc.MarketCode == 'U')},
        {"Firmware", Trimmed(unit.FwVersion), Trimmed(doc.FwVersion),
         !docFirmware.empty() && docFirmware != Trimmed(unit.FwVersion)},
    };
    return rows;
}

std::vector<TFieldChange> FieldChanges(const TRKmem& unit, const TRKmem& doc)
{
    // Numbers bare, texts and frequencies in quotes, as `rk54 decode` writes them.
    const auto shown = [](TFieldKind kind, const std::string& value) {
        return kind == TFieldKind::Number ? value : '"' + value + '"';
    };
    std::vector<TFieldChange> out;
    for (const TFieldDifference& d : FieldDifferences(unit, doc))
        out.push_back({d.Name, shown(d.Kind, d.A), shown(d.Kind, d.B)});
    return out;
}

std::string ChangesText(const std::vector<TFieldChange>& changes)
{
    std::string text;
    for (const TFieldChange& c : changes)
        text += c.Name + ": " + c.Unit + " | " + c.Document + "\n";
    return text;
}

bool RecordInHistory(THistory& history, const TMap54& image, const TRKmem& who, const char* action,
                     TProgramMode mode, const std::string& outcome, std::string& error)
{
    THistoryEntry entry;
    entry.Serial = Trimmed(who.SerialNo);
    entry.Firmware = Trimmed(who.FwVersion);
    entry.Band = DisplayText(dvBand, who.Band);
    entry.Action = action;
    entry.Mode = ModeName(mode);
    entry.Outcome = outcome;
    return history.Record(image.Data(), ImageSize, entry, error);
}

std::string OutcomeText(const TTransferResult& result, TLinkView::TDirection direction)
{
    if (result.PortFailed)
        return CloneMessages::PortProblem;
    if (result.Cancelled)
        return "cancelled";
    const bool upload = direction == TLinkView::UploadDirection;
    switch (result.Outcome) {
    case TOutcome::Done: return "done";
    case TOutcome::Timeout: return CloneMessages::Timeout;
    case TOutcome::Checksum: return CloneMessages::Checksum;
    case TOutcome::BadImage: return CloneMessages::BadImage;
    default: return upload ? CloneMessages::UploadError : CloneMessages::DownloadError;
    }
}

TSafeResult SafeDownload(const QString& port, const TRKmem& doc, TMap54& image, TProgramMode mode, TLinkView& view,
                         TSafeQuestions& questions, THistory* history)
{
    TSafeResult result;
    std::unique_ptr<TCRsDrv> driver = OpenRadioPort(port, view);
    if (!driver) {
        result.Transfer.PortFailed = true;
        return result;
    }
    image.Encode(doc);
    TRecorder recorder(history, mode, questions);
    const auto end = [&](TSafeStage stage, const TStep& step) {
        result.Stage = stage;
        result.Transfer.Outcome = step.Outcome;
        result.Transfer.Cancelled = step.Cancelled;
        driver->Close();
        driver.reset();
        view.TransferEnds();
        return result;
    };

    TMap54 before;
    auto unit = std::make_unique<TRKmem>();
    if (TStep read = ReadUnit(*driver, before, *unit, view); !read.Succeeded())
        return end(TSafeStage::Read, read);
    recorder.Keep(before, *unit, HistoryActions::BeforeDownload, "done");
    const TStep answered {TOutcome::Done, false};

    const std::vector<TIdentityRow> rows = IdentityRows(*unit, doc);
    const bool mismatch = std::any_of(rows.begin(), rows.end(), [](const TIdentityRow& r) { return r.Differs; });
    if (mismatch && !questions.ConfirmIdentity(rows)) {
        result.IdentityRefused = true;
        return end(TSafeStage::Identity, answered);
    }

    // What the unit will hold: its own bytes outside the areas the mode
    // writes, the document's inside them.
    const TMap54 after = CloneSteps::AsWritten(before, image, mode);
    auto afterDoc = std::make_unique<TRKmem>();
    if (CloneSteps::DecodeImage(after, *afterDoc) != TOutcome::Done)
        afterDoc->Assign(doc);
    if (!questions.ConfirmChanges(FieldChanges(*unit, *afterDoc))) {
        result.ChangesDeclined = true;
        return end(TSafeStage::Changes, answered);
    }

    const TStep write = WriteUnit(*driver, image, mode, view);
    recorder.Keep(image, *afterDoc, HistoryActions::Download,
                  OutcomeText({write.Outcome, write.Cancelled}, TLinkView::DownloadDirection));
    if (!write.Succeeded())
        return end(TSafeStage::Write, write);

    TMap54 back;
    auto backDoc = std::make_unique<TRKmem>();
    const TStep read = ReadUnit(*driver, back, *backDoc, view);
    // An image that cannot be decoded is still what the unit holds: keep it.
    if (read.Succeeded() || (read.Outcome == TOutcome::BadImage && !read.Cancelled)) {
        result.Verified = read.Succeeded() && SameBytes(back, after, mode);
        if (!result.Verified)
            result.Differences = ReadBackDifferences(after, *afterDoc, back, mode);
        recorder.Keep(back, *afterDoc, HistoryActions::ReadBack, result.Verified ? "verified" : "differs");
    }
    if (!read.Succeeded())
        return end(TSafeStage::ReadBack, read);
    if (result.Verified)
        view.Information(SafeMessages::Verified);
    else
        questions.ReadBackDiffers(result.Differences);
    return end(TSafeStage::Done, read);
}
