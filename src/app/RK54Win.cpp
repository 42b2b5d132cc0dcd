#include "ui/main/Main.h"
#include "ui/base/U_Host.h"
#include "ui/base/U_QtText.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[])
{
    // Answered before any window system is needed, so it works anywhere.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("RK54Win %s\n", RK54_VERSION);
        return 0;
    }
    QApplication app(argc, argv);
    app.setApplicationName("RK54Win");

    // One copy at a time; a second start ends at once, without a word.
    TSingleInstance instance;
    if (!instance.Acquire())
        return 0;

    // The arguments as the system gave them (Qt has taken its own out): a
    // start-up file whose name the locale cannot spell is still that file.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << PathText(argv[i]);
    THost host;
    TfrmMain window(host, arguments);
    window.ShowAsStored();
    return app.exec();
}
