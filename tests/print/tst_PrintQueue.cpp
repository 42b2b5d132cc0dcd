// A real print job through the machine's CUPS scheduler to a cups-pdf
// queue, found as the PDF file the queue writes. Where there is no such
// queue the test says why and is counted as skipped.
#include "support/PdfTools.h"
#include "support/ReportDocs.h"
#include "print/U_PrintCommands.h"
#include "ui/base/U_Host.h"

#include <QDirIterator>
#include <QtTest>

#include <pwd.h>
#include <unistd.h>

class TestPrintQueue : public QObject {
    Q_OBJECT

private slots:
    void printsThroughCups()
    {
        if (PdfTools::Tool("lpstat").isEmpty())
            QSKIP("CUPS is not installed (no lpstat); ./test.sh installs cups and printer-driver-cups-pdf");
        if (!PdfTools::Installed())
            QSKIP(PdfTools::Missing);
        const QString devices = PdfTools::Output("lpstat", {"-v"});
        const auto m = QRegularExpression("device for ([^:]+): cups-pdf:").match(devices);
        if (!m.hasMatch())
            QSKIP(qPrintable("no cups-pdf print queue (lpstat -v: \"" + devices.trimmed()
                             + "\"); ./test.sh starts cupsd and creates one when run as root"));
        const QString queue = m.captured(1);

        // cups-pdf writes into the "Out" folder of its settings, in the
        // home of the job's owner.
        QString out = "${HOME}/PDF";
        QFile conf("/etc/cups/cups-pdf.conf");
        if (conf.open(QIODevice::ReadOnly))
            for (const QString& line : QString::fromUtf8(conf.readAll()).split('\n'))
                if (line.startsWith("Out "))
                    out = line.mid(4).trimmed();
        const passwd* user = getpwuid(getuid());
        out.replace("${HOME}", user ? QString::fromLocal8Bit(user->pw_dir) : QDir::homePath());
        QSet<QString> before;
        for (QDirIterator it(out, {"*.pdf"}, QDir::Files); it.hasNext();)
            before << it.next();

        THost host;
        QVERIFY2(host.PrinterNames().contains(queue), qPrintable(host.PrinterNames().join(", ")));
        TPrintCommands commands(nullptr, host);
        commands.Printer().Choose(queue, PaperLetter);
        QVERIFY(commands.PrintNow(BuildReport(ReportDocs::Rich(), {"6/1/2014", "site.R54"})));

        // The queue converts the job; its text does not survive that, its
        // pages and paper do.
        QString printed;
        QDeadlineTimer deadline(90000);
        while (printed.isEmpty() && !deadline.hasExpired()) {
            for (QDirIterator it(out, {"*.pdf"}, QDir::Files); it.hasNext();) {
                const QString file = it.next();
                if (!before.contains(file) && PdfTools::Pages(file) == 3)
                    printed = file;
            }
            QTest::qWait(200);
        }
        QVERIFY2(!printed.isEmpty(), qPrintable("no printed file in " + out + " from queue " + queue));
        QCOMPARE(PdfTools::PaperName(printed), QString("letter"));
        QFile::remove(printed);
    }
};

QTEST_MAIN(TestPrintQueue)
#include "tst_PrintQueue.moc"
