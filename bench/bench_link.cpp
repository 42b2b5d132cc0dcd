// Paced transfers against the simulated repeater: the line is the limit.
// For each transfer prints the time measured, the line's lower bound (the
// bytes the repeater side sent at 11 bits each, plus the protocol's own
// pauses), their ratio and the processor time the program used.
#include "link/U_Clone.h"
#include "sim/dc_RepeaterSim.h"

#include <QCoreApplication>
#include <QElapsedTimer>

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

struct TRun {
    const char* Name;
    bool IsUpload;
    TProgramMode Mode;
    int PausesMs;  // 100 ms before the start request, 700 ms and 2000 ms at the end, ...
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    TRKmem doc;
    TMap54::SetDefaults(doc);
    TMap54 memory;
    memory.Encode(doc);

    // ... 100 ms before the first read request, 100 ms before the second section.
    const TRun runs[] = {
        {"upload", true, Normal, 100 + 100 + 100 + 700 + 2000},
        {"download normal", false, Normal, 100 + 700 + 2000},
        {"download extended", false, Extended, 100 + 100 + 700 + 2000},
        {"download manufacture", false, Manufacture, 100 + 100 + 700 + 2000},
    };
    std::printf("%-22s %8s %10s %10s %7s %9s %8s\n", "transfer", "bytes", "measured", "bound", "ratio",
                "cpu", "result");
    bool allDone = true;
    for (const TRun& run : runs) {
        TSimOptions options;
        options.Pace = true;
        TRepeaterSim sim(memory, options);
        std::string error;
        if (!sim.Open(error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        sim.Start();
        TQuietView view;
        TRKmem work = doc;
        TMap54 image;
        const double cpuStart = ThreadCpuMs();
        QElapsedTimer clock;
        clock.start();
        const QString port = QString::fromStdString(sim.DevicePath());
        const TTransferResult result =
            run.IsUpload ? Upload(port, work, image, view) : Download(port, work, image, run.Mode, view);
        const double measured = double(clock.nsecsElapsed()) / 1e6;
        const double cpu = ThreadCpuMs() - cpuStart;
        sim.Stop();
        const uint64_t bytes = sim.BytesSent();
        const double line = double(bytes) * std::chrono::duration<double, std::milli>(TRepeaterSim::ByteTime).count();
        const double bound = line + run.PausesMs;
        std::printf("%-22s %8llu %8.0f ms %7.0f ms %7.3f %6.0f ms %8s\n", run.Name, (unsigned long long)bytes,
                    measured, bound, measured / bound, cpu, result.Succeeded() ? "done" : "FAILED");
        allDone = allDone && result.Succeeded();
    }
    return allDone ? 0 : 1;
}
