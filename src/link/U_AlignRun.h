#pragma once
#include "link/U_RadioAlig.h"

#include <string>
#include <vector>

// A scripted alignment run: the steps a production bench gives `rk54 align`,
// read before the port is opened and then run in order on the open link.

struct TAlignStep {
    enum TKind { Set, Command, Status, Wait };
    TKind Kind = Status;
    std::string Text;                   // as written
    const TAlignField* Field = nullptr; // Set
    std::string Value;                  // Set: the value as written
    int Number = 0;                     // Command: the kind; Wait: milliseconds
};

// "set:NAME=VALUE", "rx-on" .. "trx-off", "status" or "wait:MS". False, with
// the reason in `error`, for a step that cannot be read or a value that no
// list of the window holds.
bool ParseAlignStep(const std::string& text, TAlignStep& step, std::string& error);

// The document and the window's choices that the steps change and send.
struct TAlignRun {
    TRKmem& Doc;
    TMap54& Image;
    TAlignSettings Settings;
};

// Runs one step: Done, or the outcome that ends the run (a wait that the
// view cancelled ends with Error). A status step puts "VR=xx NSQ=xx RSSI=xx" into
// `statusLine`.
TOutcome RunAlignStep(TCRsDrv& driver, const TAlignStep& step, TAlignRun& run, TLinkView& view,
                      std::string& statusLine);
