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
    int RestartPauseMs() const override { return RestartPause; }
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
    std::vector<TDirection> Begun;
    std::vector<int> Progress;
    int Ended = 0;
    int Breaths = 0;
    bool Cancel = false;
    int Silence = 1000;  // short, with room for a loaded machine
    int RestartPause = 0;  // the simulator is ready at once
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
// The alignment command frames among `units`, in order.
TUnits AlignCommands(const TUnits& units);
// The last `count` of `units`, or all of them when there are fewer.
TUnits Tail(const TUnits& units, size_t count);
// How a repeater is taken out of alignment: 0x27, the second-section
// handshake (0x03, 0x06) and 0x28.
extern const TUnits ClosingSequence;
// Nothing holds the device any more.
bool PortIsFree(const QString& port);
// Polls `done` (letting the program breathe) until it holds or `ms` have
// passed; answers whether it holds. For what a loaded machine may delay.
bool WaitUntil(const std::function<bool()>& done, int ms = 10000);

// One end of a serial line in raw mode that the test works byte by byte:
// the far end of a new pseudo-terminal whose other end (Port) a driver
// opens, or the device a simulated repeater serves, opened by its path.
class TRawLine {
public:
    TRawLine();
    explicit TRawLine(const std::string& device);
    ~TRawLine();
    TRawLine(const TRawLine&) = delete;
    TRawLine& operator=(const TRawLine&) = delete;
    QString Port() const { return QString::fromStdString(Path); }
    void Send(const TBytes& bytes);
    // `count` bytes, however long they take.
    TBytes Take(size_t count);
    // What arrives until the line has been quiet for `quietMs`.
    TBytes TakeUntilQuiet(int quietMs = 250);
    // Sends `bytes`, checks their echo and answers what came after it.
    TBytes Ask(const TBytes& bytes);

private:
    int Fd = -1;
    int Hold = -1;  // a new terminal's other end, held open so the line stays up
    std::string Path;
};
