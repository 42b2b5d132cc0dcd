// Live alignment against the simulated repeater pacing the line at 9600
// bit/s: the time from a toggle click in the alignment window, and from a
// step of rk54 align, to the repeater's acknowledgement. The bound of each
// exchange is the line time of what the repeater side sends back (the echo
// of the frame and the answer, 11 bits a byte) plus the exchange's fixed
// pause of 100 ms. Prints the mean of several repeats and the worst ratio.
#include "ui/link/D_Alignment.h"
#include "link/U_AlignRun.h"
#include "link/dc_RsDrv.h"
#include "sim/dc_RepeaterSim.h"
#include "../PacedSim.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

namespace {

constexpr int Repeats = 10;
constexpr double PauseMs = 100;

class TQuietView : public TLinkView {
public:
    void Error(const std::string& text) override { std::fprintf(stderr, "  error: %s\n", text.c_str()); }
    void Information(const std::string&) override {}
};

class TQuietPrompt : public TPrompt {
public:
    void Error(const std::string& text) override { std::fprintf(stderr, "  error: %s\n", text.c_str()); }
    void Information(const std::string&) override {}
    TAnswer Ask(const std::string&) override { return TAnswer::Cancel; }
};

double ByteMs()
{
    return std::chrono::duration<double, std::milli>(TRepeaterSim::ByteTime).count();
}

struct TFigures {
    double MeanMs = 0;
    double MeanBoundMs = 0;
    double WorstRatio = 0;
    bool Done = true;
};

// Runs `exchange` Repeats times; each returns true when acknowledged.
TFigures Measure(TRepeaterSim& sim, const std::function<bool()>& exchange)
{
    TFigures f;
    for (int k = 0; k < Repeats; ++k) {
        const uint64_t sentBefore = sim.BytesSent();
        QElapsedTimer clock;
        clock.start();
        f.Done = exchange() && f.Done;
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        const double bound = double(sim.BytesSent() - sentBefore) * ByteMs() + PauseMs;
        f.MeanMs += ms / Repeats;
        f.MeanBoundMs += bound / Repeats;
        f.WorstRatio = std::max(f.WorstRatio, ms / bound);
    }
    return f;
}

void Print(const char* name, const TFigures& f)
{
    std::printf("%-26s %8.1f ms %8.1f ms %7.3f %7.3f %6s\n", name, f.MeanMs, f.MeanBoundMs, f.MeanMs / f.MeanBoundMs,
                f.WorstRatio, f.Done ? "done" : "FAILED");
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TRKmem doc;
    TMap54::SetDefaults(doc);
    TMap54 memory;
    memory.Encode(doc);
    const std::unique_ptr<TRepeaterSim> sim = StartPacedSim(memory);
    if (!sim)
        return 1;
    const QString port = QString::fromStdString(sim->DevicePath());
    std::printf("%-26s %11s %11s %7s %7s %6s\n", "exchange (10 repeats)", "measured", "bound", "ratio", "worst",
                "result");
    bool allDone = true;

    // The window: a click on a toggle returns once the repeater acknowledged.
    {
        TMap54 image;
        TQuietPrompt prompt;
        TfrmAlignment window(2, doc, image, prompt);
        if (!window.OpenLink(port))
            return 1;
        window.show();
        const auto click = [&](const char* name) {
            return [&window, name] {
                auto* button = window.findChild<QAbstractButton*>(name);
                button->click();
                return button->isChecked();
            };
        };
        for (const auto& [name, button] : {std::pair {"click RX on / RX off", "chbRxOn"},
                                           std::pair {"click TX on / TX off", "chbTxOn"}}) {
            // Every other click switches off; both are measured.
            const TFigures f = Measure(*sim, [&, on = true]() mutable {
                const bool checked = click(button)();
                const bool ok = checked == on;
                on = !on;
                return ok;
            });
            Print(name, f);
            allDone = allDone && f.Done;
        }
        window.reject();  // runs the closing sequence
    }

    // rk54 align: the same steps through the engine the tool runs.
    {
        TQuietView view;
        TOutcome outcome = TOutcome::Done;
        std::unique_ptr<TCRsDrv> driver = AlignOpen(port, view, outcome);
        if (!driver)
            return 1;
        TRKmem work = doc;
        TMap54 image;
        TAlignRun run {work, image, {}};
        run.Settings.Point = 2;
        for (const char* text : {"rx-on", "tx-on", "trx-on", "trx-off", "status"}) {
            TAlignStep step;
            std::string reason;
            ParseAlignStep(text, step, reason);
            const TFigures f = Measure(*sim, [&] {
                std::string line;
                return RunAlignStep(*driver, step, run, view, line) == TOutcome::Done;
            });
            Print((std::string("rk54 align step ") + text).c_str(), f);
            allDone = allDone && f.Done;
        }
        AlignClose(*driver, view);
    }
    sim->Stop();
    return allDone ? 0 : 1;
}
