#pragma once
#include "model/U_Prompt.h"

class TLinkTrace;

// What a radio link engine needs of the person in front of it. The transfer
// window, the alignment window, the command-line tool and the tests each
// implement it; the engines never touch a widget or a terminal themselves.
//
// Everything is called on the thread that runs the engine.
class TLinkView : public TPrompt {
public:
    enum TDirection { UploadDirection, DownloadDirection };

    // A clone transfer is about to talk to the repeater: the window disables
    // the main window and shows itself, with its cancel flag cleared.
    virtual void TransferBegins(TDirection direction) { (void)direction; }
    // The transfer is over (whatever its outcome); the port is already closed.
    virtual void TransferEnds() {}

    // Progress of a clone transfer, 0 .. ProgressMax.
    virtual void SetProgress(int position) { (void)position; }

    // The cancel flag: set by the person (Cancel button, close box, Ctrl+C).
    // Only read by the engines, at the points where a transfer may stop.
    virtual bool Cancelled() const { return false; }

    // Length of silence after which a wait for the repeater gives up. The
    // real program waits 5000 ms; tests shorten it.
    virtual int SilenceMs() const { return DefaultSilenceMs; }

    // The pause at the very end of a transfer or an alignment session, while
    // the repeater restarts. Nothing follows on the line, so a view whose
    // other end is no repeater (a test's simulator) may shorten it.
    virtual int RestartPauseMs() const { return DefaultRestartPauseMs; }

    // Let the program handle what is pending (paint, clicks, the Cancel
    // button, Ctrl+C). Called at least every 10 ms while the engine waits.
    virtual void Breathe();

    // Where the bytes of the line are recorded, if anywhere (not owned).
    virtual TLinkTrace* Trace() { return nullptr; }

    // The link never asks questions; views that only show messages need not
    // answer one.
    TAnswer Ask(const std::string& text) override
    {
        (void)text;
        return TAnswer::No;
    }

    static constexpr int ProgressMax = 33;
    static constexpr int DefaultSilenceMs = 5000;
    static constexpr int DefaultRestartPauseMs = 2000;
};

// How long a window's link waits: the real program's times, which tests
// shorten where the wire's timing is not what they look at.
struct TLinkTiming {
    int SilenceMs = TLinkView::DefaultSilenceMs;
    int RestartPauseMs = TLinkView::DefaultRestartPauseMs;
};
