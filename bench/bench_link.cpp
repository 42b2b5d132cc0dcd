// Paced transfers against the simulated repeater: the line is the limit.
// For each transfer prints the time measured, the line's lower bound (the
// bytes the repeater side sent at 11 bits each, plus the protocol's own
// pauses), their ratio and the processor time the program used. The safe
// download is two uploads and a download on one port; its bound is theirs.
// Last, the longest time the event loop went without running during a
// paced transfer: a timer records how late it fires.
#include "link/U_Clone.h"
#include "link/U_SafeDownload.h"
#include "sim/dc_RepeaterSim.h"
#include "PacedSim.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

class TQuietView : public TLinkView {
public:
    void Error(const std::string& text) override { std::fprintf(stderr, "  error: %s\n", text.c_str()); }
    void Information(const std::string&) override {}
};

double ThreadCpuMs()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The bench's unit is the document's own: nothing to ask, every write goes on.
class TWriteAlways : public TSafeQuestions {
public:
    bool ConfirmIdentity(const std::vector<TIdentityRow>&) override { return true; }
    bool ConfirmChanges(const std::vector<TFieldChange>&) override { return true; }
    void ReadBackDiffers(const std::vector<TFieldChange>&) override { Differed = true; }
    void HistoryProblem(const std::string&) override {}
    bool Differed = false;
};

enum class TKind { Upload, Download, Safe };

struct TRun {
    const char* Name;
    TKind Kind;
    TProgramMode Mode;
    int PausesMs;  // 100 ms before the start request, 700 ms and 2000 ms at the end, ...
};

// How late a 5 ms timer fires while the transfer runs: the longest stretch
// in which the event loop did not run.
class TStallWatch {
public:
    TStallWatch()
    {
        Timer.setTimerType(Qt::PreciseTimer);
        Timer.setInterval(IntervalMs);
        QObject::connect(&Timer, &QTimer::timeout, [this] {
            const double now = double(Clock.nsecsElapsed()) / 1e6;
            Longest = std::max(Longest, now - Last - IntervalMs);
            Last = now;
        });
        Clock.start();
        Timer.start();
    }
    double LongestMs() const { return Longest; }

private:
    static constexpr int IntervalMs = 5;
    QTimer Timer;
    QElapsedTimer Clock;
    double Last = 0;
    double Longest = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    TRKmem doc;
    TMap54::SetDefaults(doc);
    TMap54 memory;
    memory.Encode(doc);

    // ... and 100 ms before the second section. The upload's 100 ms after the
    // first read request is not counted: the reply is on the line meanwhile.
    constexpr int UploadPauses = 100 + 100 + 700 + 2000;
    constexpr int NormalPauses = 100 + 700 + 2000;
    constexpr int ExtendedPauses = 100 + 100 + 700 + 2000;
    const TRun runs[] = {
        {"upload", TKind::Upload, Normal, UploadPauses},
        {"download normal", TKind::Download, Normal, NormalPauses},
        {"download extended", TKind::Download, Extended, ExtendedPauses},
        {"download manufacture", TKind::Download, Manufacture, ExtendedPauses},
        {"safe normal", TKind::Safe, Normal, 2 * UploadPauses + NormalPauses},
        {"safe extended", TKind::Safe, Extended, 2 * UploadPauses + ExtendedPauses},
        {"safe manufacture", TKind::Safe, Manufacture, 2 * UploadPauses + ExtendedPauses},
    };
    double longestStall = 0;
    std::printf("%-22s %8s %10s %10s %7s %9s %8s\n", "transfer", "bytes", "measured", "bound", "ratio",
                "cpu", "result");
    bool allDone = true;
    for (const TRun& run : runs) {
        const std::unique_ptr<TRepeaterSim> sim = StartPacedSim(memory);
        if (!sim)
            return 1;
        TQuietView view;
        TRKmem work = doc;
        TMap54 image;
        TWriteAlways questions;
        const TStallWatch stalls;
        const double cpuStart = ThreadCpuMs();
        QElapsedTimer clock;
        clock.start();
        const QString port = QString::fromStdString(sim->DevicePath());
        TTransferResult result;
        if (run.Kind == TKind::Upload) {
            result = Upload(port, work, image, view);
        } else if (run.Kind == TKind::Download) {
            result = Download(port, work, image, run.Mode, view);
        } else {
            const TSafeResult safe = SafeDownload(port, work, image, run.Mode, view, questions, nullptr);
            result = safe.Transfer;
            if (!safe.Verified)
                result.Outcome = TOutcome::Error;
        }
        longestStall = std::max(longestStall, stalls.LongestMs());
        const double measured = double(clock.nsecsElapsed()) / 1e6;
        const double cpu = ThreadCpuMs() - cpuStart;
        sim->Stop();
        const uint64_t bytes = sim->BytesSent();
        const double line = double(bytes) * std::chrono::duration<double, std::milli>(TRepeaterSim::ByteTime).count();
        const double bound = line + run.PausesMs;
        std::printf("%-22s %8llu %8.0f ms %7.0f ms %7.3f %6.0f ms %8s\n", run.Name, (unsigned long long)bytes,
                    measured, bound, measured / bound, cpu, result.Succeeded() ? "done" : "FAILED");
        allDone = allDone && result.Succeeded();
    }
    std::printf("\nlongest event-loop stall during the paced transfers: %.1f ms (limit 50 ms)\n", longestStall);
    return allDone ? 0 : 1;
}
