#include "ui/main/Main.h"
#include "ui/base/U_Host.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    app.setApplicationName("RK54Win");

    // One copy at a time; a second start ends at once, without a word.
    TSingleInstance instance;
    if (!instance.Acquire())
        return 0;

    THost host;
    TfrmMain window(host, app.arguments().mid(1));
    window.ShowAsStored();
    return app.exec();
}
