#pragma once
#include "link/U_Clone.h"

#include <algorithm>
#include <array>
#include <vector>

// The pieces the transfers are made of, for the engines of this folder: one
// read of the whole memory, one write, the end of a transfer. The safe
// download strings three of them together on one open port.
namespace CloneSteps {

// The progress bar of one transfer; it never passes its maximum.
class TProgress {
public:
    explicit TProgress(TLinkView& view) : View(view) { View.SetProgress(0); }
    void Set(int position)
    {
        Position = std::min(position, TLinkView::ProgressMax);
        View.SetProgress(Position);
    }
    void Step() { Set(Position + 1); }
    void Repaint() { View.SetProgress(Position); }

private:
    TLinkView& View;
    int Position = 0;
};

// Handshake and the four areas into `working` (cleared first), as the
// upload reads them; nothing is decoded.
TOutcome ReadImage(TCRsDrv& driver, TMap54& working, TLinkView& view, TProgress& progress);
// Done or BadImage.
TOutcome DecodeImage(const TMap54& working, TRKmem& doc);
// Handshake and the areas `mode` writes, as the download sends them.
TOutcome WriteImage(TCRsDrv& driver, const TMap54& image, TProgramMode mode, TLinkView& view, TProgress& progress);
// The end of a transfer: the closing byte, the pauses and, unless
// `announceDone` is false, "... is completed"; failures are always told.
// A cancelled transfer ends without a word and without another byte.
// Returns whether it was cancelled.
bool Finish(TCRsDrv& driver, TOutcome outcome, TLinkView::TDirection direction, TLinkView& view, TProgress& progress,
            bool announceDone = true);

// The image bytes a download in `mode` writes: [First, First + Count).
struct TRange {
    int First;
    int Count;
};
std::vector<TRange> WrittenRanges(TProgramMode mode);
// The data bytes of the area 2 frame: the area's image bytes but the last,
// and their sum in place of the last.
using TArea2Data = std::array<uint8_t, Clone::Area2.DataBytes>;
TArea2Data Area2Data(const uint8_t* image);
// What a unit that held `unit` holds after a download of `sent` in `mode`
// (the upload's view of it: the first CloneSize bytes and the end marker).
TMap54 AsWritten(const TMap54& unit, const TMap54& sent, TProgramMode mode);

} // namespace CloneSteps
