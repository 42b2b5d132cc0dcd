#pragma once
// What the radio link tests share: a view that records everything the
// engines tell the person and answers their questions as scripted, a simulated repeater on a pseudo-terminal, and a
// transfer set up between the two.
#include "link/U_Clone.h"
#include "link/U_LinkView.h"
#include "codec/dc_Map54.h"
#include "sim/dc_RepeaterSim.h"
#include "support/Documents.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TTestView : public TLinkView {
public:
    void Error(const std::string& text) override { Errors.push_back(text); }
    void Information(const std::string& text) override { Infos.push_back(text); }
    TAnswer Ask(const std::string& text) override
    {
        Questions.push_back(text);
        if (Dismissed)
            return TAnswer::Cancel;
        return Answer ? TAnswer::Yes : TAnswer::No;
    }
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
    std::vector<std::string> Questions;
    bool Answer = false;
    bool Dismissed = false;  // every question backed out of (Esc, close box)
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
using TUnits = std::vector<TBytes>;

// The same image and the same value in every field.
void ExpectSameDocument(const TRKmem& a, const TRKmem& b);
// The image an upload of the repeater's `memory` gives the program.
TMap54 AsUploaded(const TMap& memory);

// A simulated repeater, opened and serving on its own thread.
class TSimRig {
public:
    explicit TSimRig(const TMap& memory, TSimOptions options = {});
    ~TSimRig();
    QString Port() const { return QString::fromStdString(Sim->DevicePath()); }
    TRepeaterSim* operator->() { return Sim.get(); }

private:
    std::unique_ptr<TRepeaterSim> Sim;
};

TSimOptions WithFault(TSimFault fault);

// A transfer between a program holding RichDocument(1) and a simulated
// repeater holding RichDocument(0) (or `memory`).
struct TTransferRig {
    explicit TTransferRig(TSimOptions options = {}, const TMap& memory = ImageOf(RichDocument(0)));
    TTransferResult Run(bool upload, TProgramMode mode = Manufacture);

    TSimRig Sim;
    const TRKmem Original = RichDocument(1);
    TRKmem Doc = Original;
    TMap54 Image = ImageOf(Original);
    TTestView View;
};

// The commands of what the computer sent (first byte of each unit).
TBytes Commands(const TUnits& units);
int CountOf(const TUnits& units, uint8_t command);
TBytes Bytes(const QByteArray& a);
TBytes Joined(std::initializer_list<TBytes> parts);
// The frame with its checksum, the low byte of the sum of its bytes.
TBytes WithSum(TBytes frame);
// Nothing holds the device any more.
bool PortIsFree(const QString& port);
