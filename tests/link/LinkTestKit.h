#pragma once
// What the radio link tests share: a view that records everything the
// engines tell the person, and a simulated repeater on a pseudo-terminal.
#include "U_LinkView.h"
#include "dc_Map54.h"
#include "dc_RepeaterSim.h"

#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TTestView : public TLinkView {
public:
    void Error(const std::string& text) override { Errors.push_back(text); }
    void Information(const std::string& text) override { Infos.push_back(text); }
    void TransferBegins(TDirection direction) override { Begun.push_back(direction); }
    void TransferEnds() override { ++Ended; }
    void SetProgress(int position) override
    {
        Progress.push_back(position);
        if (OnProgress)
            OnProgress(position);
    }
    bool Cancelled() const override { return Cancel; }
    int SilenceMs() const override { return Silence; }
    void Breathe() override
    {
        ++Breaths;
        if (OnBreathe)
            OnBreathe();
    }

    // Progress positions with the repeats of a repaint folded away.
    std::vector<int> ProgressSteps() const;

    std::vector<std::string> Errors;
    std::vector<std::string> Infos;
    std::vector<TDirection> Begun;
    std::vector<int> Progress;
    int Ended = 0;
    int Breaths = 0;
    bool Cancel = false;
    int Silence = 1000;  // short, with room for a loaded machine
    std::function<void()> OnBreathe;
    std::function<void(int)> OnProgress;
};

using TBytes = std::vector<uint8_t>;

// A document with something in every area: used channels with frequencies,
// alpha tags, a serial number. `variant` makes different ones.
TRKmem RichDocument(int variant);
TMap54 ImageOf(const TRKmem& doc);

// A simulated repeater, opened and serving on its own thread.
class TSimRig {
public:
    explicit TSimRig(const TMap& memory, TSimOptions options = {});
    ~TSimRig();
    QString Port() const { return QString::fromStdString(Sim->DevicePath()); }
    TRepeaterSim& operator*() { return *Sim; }
    TRepeaterSim* operator->() { return Sim.get(); }

private:
    std::unique_ptr<TRepeaterSim> Sim;
};

TSimOptions WithFault(TSimFault fault);
// The commands of what the computer sent (first byte of each unit).
TBytes Commands(const std::vector<TBytes>& units);
