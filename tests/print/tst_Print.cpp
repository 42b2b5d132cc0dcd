// Printing as a person meets it: the page images, the preview worked with
// keys and buttons, the print setup, the File menu's commands in the main
// window.
#include "support/PdfTools.h"
#include "support/ReportDocs.h"
#include "support/TestHost.h"
#include "print/D_Preview.h"
#include "print/U_PrintCommands.h"
#include "print/dc_PrtImg.h"

#include <QComboBox>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QtTest>

namespace {

const std::vector<TReportPage>& Report()
{
    static const auto report = BuildReport(ReportDocs::Rich(), {"6/1/2014", "site.R54"});
    return report;
}

// Ink on a row band of the image: any pixel that is not white.
bool Inked(const QImage& image, int top, int bottom, int left = 0, int right = -1)
{
    if (right < 0)
        right = image.width() - 1;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return true;
    return false;
}

QPushButton* Button(QWidget& window, const char* name)
{
    return window.findChild<QPushButton*>(name);
}

// Alt and a button's underlined letter: the button shows itself pressed
// and clicks a moment later, as for a person.
void PressMnemonic(QWidget& window, char letter)
{
    QTest::keyClick(&window, letter, Qt::AltModifier);
    for (QPushButton* button : window.findChildren<QPushButton*>())
        if (button->text().contains(QString('&') + QChar(letter), Qt::CaseInsensitive))
            QTRY_VERIFY(!button->isDown());
}

} // namespace

class TestPrint : public QObject {
    Q_OBJECT

private slots:
    // Each line stands in its own band of 13 pixels (10 points at 96 dots
    // per inch), after five blanks and its indent. (The Letter page's size
    // is the main window's preview at full size.)
    void pageImages()
    {
        const QSize size(827, 1169);
        const TPrtImg pages(Report(), PaperA4);
        QVERIFY(pages.Ok());
        QCOMPARE(pages.PageCount(), 3);
        const QFontMetrics font(TPrtImg::ReportFont(), &pages.PageBitmap(0));
        QCOMPARE(font.horizontalAdvance("iiii"), font.horizontalAdvance("WWWW"));
        for (int p = 0; p < 3; ++p) {
            const QImage& image = pages.PageBitmap(p);
            QCOMPARE(image.size(), size);
            std::vector<bool> used(size.height() / 13);
            for (const TReportLine& line : Report()[p].Lines)
                used[line.Line] = true;
            // Between a line's baseline and its x-height only its own
            // letters can stand; the line above descends no lower.
            for (int n = 0; n + 1 < int(used.size()); ++n) {
                const int baseline = n * 13 + font.ascent();
                QVERIFY2(Inked(image, baseline - font.xHeight() + 1, baseline - 1) == used[n],
                         qPrintable(QString("page %1 line %2").arg(p + 1).arg(n)));
            }
            const auto blanks = [&font](int n) { return font.horizontalAdvance(QString(n, ' ')); };
            QVERIFY(!Inked(image, 0, size.height() - 1, 0, blanks(5) - 2));
            // The date stands 70 blanks in.
            QVERIFY(!Inked(image, 0, 12, 0, blanks(70) - 2));
            QVERIFY(Inked(image, 0, 12, blanks(70), blanks(80)));
        }
    }

    void printsOneJobOrFails()
    {
        if (!PdfTools::Installed())
            QSKIP(PdfTools::Missing);
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("job.pdf"));
        QVERIFY(TPrtImg::Print(Report(), printer));
        QCOMPARE(PdfTools::Pages(dir.filePath("job.pdf")), 3);
        const QString text = PdfTools::Text(dir.filePath("job.pdf"));
        QVERIFY2(text.contains("Channel 04: 80"), qPrintable(text));

        printer.setOutputFileName(dir.filePath("no/such/folder/job.pdf"));
        QVERIFY(!TPrtImg::Print(Report(), printer));
    }

    void previewSteps_data()
    {
        QTest::addColumn<QStringList>("steps");  // button names, or keys as "Alt+N"
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QString>("enabled");    // Next, Previous, Zoom In, Zoom Out as 1/0

        QTest::newRow("last page") << QStringList {"btnNext", "Alt+N"} << 2 << 0 << "0110";
        QTest::newRow("back to the first") << QStringList {"Alt+N", "Alt+N", "Alt+V", "btnPrevious"} << 0 << 0
                                           << "1010";
        QTest::newRow("full size, next page") << QStringList {"btnZoomIn", "Alt+I", "Alt+N"} << 1 << 2 << "1101";
        QTest::newRow("zoom out to the page") << QStringList {"btnZoomIn", "Alt+I", "Alt+O", "btnZoomOut"} << 0 << 0
                                              << "1010";
    }
    void previewSteps()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, page);
        QFETCH(int, zoom);
        QFETCH(QString, enabled);

        TfrmPreview preview(std::make_unique<TPrtImg>(Report(), PaperA4), nullptr);
        preview.resize(900, 700);
        preview.show();
        QApplication::setActiveWindow(&preview);
        QVERIFY(QTest::qWaitForWindowActive(&preview));
        for (const QString& step : steps) {
            if (step.startsWith("Alt+"))
                PressMnemonic(preview, step.back().toLatin1());
            else
                QTest::mouseClick(preview.findChild<QPushButton*>(step), Qt::LeftButton);
        }
        QCOMPARE(preview.Page(), page);
        QCOMPARE(preview.Zoom(), zoom);
        QString states;
        for (const char* name : {"btnNext", "btnPrevious", "btnZoomIn", "btnZoomOut"})
            states += Button(preview, name)->isEnabled() ? '1' : '0';
        QCOMPARE(states, enabled);

        auto* box = preview.findChild<QScrollArea*>("sbxPage");
        auto* img = preview.findChild<QLabel*>("imgPage");
        // Unzoomed, the whole page stands in the window's height; zoomed in
        // twice it is the page at full size (its exact pixels are the main
        // window test's).
        const QSize pageSize = TPrtImg::PageSize(PaperA4);
        QVERIFY(zoom == 0 ? img->height() <= box->viewport()->height() : img->size() == pageSize);
        // The page shown is the page asked for: the image holds its header
        // ink where the page has it, at the page's scale.
        const QImage shown = img->pixmap().toImage();
        const double s = double(img->width()) / pageSize.width();
        const int dateTop = int(20 * s) + 1;
        QVERIFY(Inked(shown, dateTop, dateTop + int(10 * s), int((40 + 560) * s), img->width() - 1));
        const int titleTop = int((20 + 2 * 13) * s) + 1;  // the title block stands on page 1 only
        QCOMPARE(Inked(shown, titleTop, titleTop + int(8 * s), 0, img->width() - 1), page == 0);
    }

    void previewCloses()
    {
        int printed = 0;
        TfrmPreview preview(std::make_unique<TPrtImg>(Report(), PaperA4), [&] { ++printed; });
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QTest::mouseClick(Button(preview, "btnPrint"), Qt::LeftButton);
        QCOMPARE(printed, 1);
        QVERIFY(!preview.isVisible());

        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QTest::keyClick(&preview, Qt::Key_Escape);
        QVERIFY(!preview.isVisible());
        QCOMPARE(printed, 1);
    }

    void printSetup_data()
    {
        QTest::addColumn<QStringList>("printers");
        QTest::addColumn<int>("defaultPaper");  // QPageSize id of the default printer's paper
        QTest::addColumn<QString>("keys");      // "p" next printer, "s" other size, "ok", "cancel"
        QTest::addColumn<QString>("chosen");    // current printer afterwards
        QTest::addColumn<int>("paper");         // its paper afterwards

        // The printer and size the lists show at first are what "p" and "s"
        // move from, and what OK keeps.
        QTest::newRow("no printer") << QStringList() << int(QPageSize::A4) << "ok" << "" << int(QPageSize::A4);
        QTest::newRow("letter default, cancel") << QStringList {"Front", "Back"} << int(QPageSize::Letter) << "s cancel"
                                                << "Back" << int(QPageSize::Letter);
        QTest::newRow("other printer, Letter") << QStringList {"Front", "Back"} << int(QPageSize::A4) << "p s ok"
                                               << "Front" << int(QPageSize::Letter);
        QTest::newRow("legal shows Letter") << QStringList {"Front"} << int(QPageSize::Legal) << "ok" << "Front"
                                            << int(QPageSize::Letter);
    }
    void printSetup()
    {
        QFETCH(QStringList, printers);
        QFETCH(int, defaultPaper);
        QFETCH(QString, keys);
        QFETCH(QString, chosen);
        QFETCH(int, paper);

        QTemporaryDir dir;
        TTestHost host(dir.path());
        host.Printers = printers;
        host.DefaultPrinter = printers.value(1, printers.value(0));
        for (const QString& name : printers)
            host.Papers[name] = QPageSize::PageSizeId(defaultPaper);
        TPrintCommands commands(nullptr, host);
        host.OnDialog = [&](QDialog& dialog) {
            auto* names = dialog.findChild<QComboBox*>("cmbPrinter");
            auto* sizes = dialog.findChild<QComboBox*>("cmbSize");
            for (const QString& key : keys.split(' ')) {
                if (key == "p") {
                    QTest::keyClick(&dialog, Qt::Key_N, Qt::AltModifier);
                    QTest::keyClick(names, names->currentIndex() == 0 ? Qt::Key_Down : Qt::Key_Up);
                } else if (key == "s") {
                    QTest::keyClick(&dialog, Qt::Key_Z, Qt::AltModifier);
                    QTest::keyClick(sizes, sizes->currentIndex() == 0 ? Qt::Key_Down : Qt::Key_Up);
                } else {
                    QTest::mouseClick(Button(dialog, key == "ok" ? "btnOK" : "btnCancel"), Qt::LeftButton);
                }
            }
            return dialog.isVisible() ? int(QDialog::Rejected) : dialog.result();
        };
        // Before any setup the report takes the printer's paper when it is
        // Letter or A4, else A4 with the printer's paper left alone.
        const bool letter = !printers.isEmpty() && defaultPaper == QPageSize::Letter;
        QCOMPARE(commands.Printer().ReportPaper(), letter ? PaperLetter : PaperA4);
        QCOMPARE(int(commands.Printer().Paper()), printers.isEmpty() ? int(QPageSize::A4) : defaultPaper);
        const bool confirmed = commands.Setup();
        QCOMPARE(confirmed, !printers.isEmpty() && keys.endsWith("ok"));
        QCOMPARE(commands.Printer().Name(), chosen);
        QCOMPARE(int(commands.Printer().Paper()), paper);
    }

    // The File menu in the main window: the preview takes the paper of the
    // printer set up, Print Setup changes it for the next preview, and the
    // report exports to a PDF file written whole or not at all.
    void mainWindowCommands()
    {
        TMainRig rig;
        rig.Host.Printers = {"Office"};
        rig.Host.DefaultPrinter = "Office";
        rig.Host.Papers["Office"] = QPageSize::Letter;
        TfrmMain& main = rig.Start();
        QCOMPARE(main.findChild<QLabel*>("lblPrinter")->text(), QString("Office"));

        QSize previewPage;
        rig.Host.OnDialog = [&](QDialog& dialog) {
            if (auto* img = dialog.findChild<QLabel*>("imgPage")) {
                Button(dialog, "btnZoomIn")->click();
                Button(dialog, "btnZoomIn")->click();
                previewPage = img->size();
                return int(QDialog::Rejected);
            }
            dialog.findChild<QComboBox*>("cmbSize")->setCurrentText("A4");
            Button(dialog, "btnOK")->click();
            return dialog.result();
        };
        main.Action("miPrintPreview")->trigger();
        QCOMPARE(previewPage, QSize(850, 1100));
        main.Action("miPrintSetup")->trigger();
        main.Action("miPrintPreview")->trigger();
        QCOMPARE(previewPage, QSize(827, 1169));
        // "Office" is this test's printer, not the machine's: the job fails.
        main.Action("miPrint")->trigger();
        QCOMPARE(rig.Host.Person.Texts(), QStringList {"error: Print error"});
        rig.Host.Person.Messages.clear();

        if (!PdfTools::Installed())
            QSKIP(PdfTools::Missing);
        const QString pdf = rig.Path("site report.pdf");
        rig.Host.Files << pdf << rig.Path("no/such/folder/r.pdf") << "";
        main.Action("miExportPdf")->trigger();
        QCOMPARE(PdfTools::Pages(pdf), 3);
        QVERIFY(rig.Host.Person.Messages.empty());

        main.Action("miExportPdf")->trigger();
        QCOMPARE(rig.Host.Person.Texts(),
                 QStringList {"error: File write error  File Name = " + rig.Path("no/such/folder/r.pdf")});
        main.Action("miExportPdf")->trigger();  // cancelled: nothing more happens
        QCOMPARE(rig.Host.Person.Messages.size(), std::size_t(1));
        QCOMPARE(QDir(rig.Dir.path()).entryList({"*.pdf"}), QStringList {"site report.pdf"});
    }
};

QTEST_MAIN(TestPrint)
#include "tst_Print.moc"
