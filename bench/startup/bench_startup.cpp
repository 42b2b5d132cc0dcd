// Time from process start to the main window shown, with the default data
// file present. The benchmark starts itself again as the program (same
// window, same start-up path, settings and default file in a scratch
// folder), which reports the moment the main window first paints.
//
//   bench_startup [RUNS]
#include "ui/main/Main.h"
#include "ui/base/U_Host.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

class TFolderHost : public THost {
public:
    explicit TFolderHost(QString folder) : Folder(std::move(folder)) {}
    QString ProgramFolder() const override { return Folder; }
    bool PortableFolder() const override { return true; }
    QString Folder;
};

// Tells the driver when the window has painted, then leaves at once.
class TShownProbe : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            std::printf("shown\n");
            std::fflush(stdout);
            _exit(0);
        }
        return false;
    }
};

int RunProgram(int argc, char* argv[], const QString& folder)
{
    QApplication app(argc, argv);
    TSingleInstance instance(folder);
    if (!instance.Acquire())
        return 1;
    TFolderHost host(folder);
    TfrmMain window(host, {});
    TShownProbe probe;
    window.installEventFilter(&probe);
    window.ShowAsStored();
    return app.exec();
}

double StartOnce(const QString& self, const QString& folder)
{
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(self, {"--program", folder});
    if (!process.waitForStarted(10000))
        return -1;
    while (!process.canReadLine())
        if (!process.waitForReadyRead(10000))
            return -1;
    const double ms = clock.nsecsElapsed() / 1e6;
    process.waitForFinished(10000);
    return process.readLine().trimmed() == "shown" ? ms : -1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc >= 3 && QByteArray(argv[1]) == "--program")
        return RunProgram(argc, argv, QString::fromLocal8Bit(argv[2]));

    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 15;
    QTemporaryDir folder;
    const QString self = QCoreApplication::applicationFilePath();

    // The first start writes the default data file; it is not counted.
    if (StartOnce(self, folder.path()) < 0) {
        std::fprintf(stderr, "the program did not show its window\n");
        return 1;
    }
    std::vector<double> times;
    for (int k = 0; k < runs; ++k) {
        const double ms = StartOnce(self, folder.path());
        if (ms < 0) {
            std::fprintf(stderr, "run %d: the program did not show its window\n", k + 1);
            return 1;
        }
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("start-up to main window shown, default file present (%s, %d runs)\n",
                qgetenv("QT_QPA_PLATFORM").isEmpty() ? "display" : qgetenv("QT_QPA_PLATFORM").constData(),
                runs);
    std::printf("  min %.1f ms   median %.1f ms   max %.1f ms   (target < 500 ms)\n", times.front(),
                times[times.size() / 2], times.back());
    return 0;
}
