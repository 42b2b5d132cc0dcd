// The main window's start-up, documents, recent files, close query and
// settings, with the person and the file choosers scripted.
#include "ui/main/D_About.h"
#include "ui/main/D_MultiTone.h"
#include "support/TestHost.h"
#include "ui/main/U_ChGrid.h"
#include "ui/base/U_Help.h"
#include "files/dc_Ini.h"
#include "ui/base/U_QtText.h"

#include <QAction>
#include <QComboBox>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const QString Suffix = " - RK54Win for HPD-4400 Series";

} // namespace

class TestMain : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TMainRig> Rig;
    TTestHost* Host = nullptr;

    QString Path(const QString& name) const { return Rig->Path(name); }
    TfrmMain* Start(const QStringList& args = {}) { return &Rig->Start(args); }

    // Runs a menu command whose dialog is modal; `person` works the dialog.
    void RunDialog(const char* action, std::function<void(QDialog&)> person)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                seen = true;
                person(*dialog);
            }
        });
        Rig->Main->Action(action)->trigger();
        QVERIFY2(seen, action);
    }

    // A click that comes from the window system, as a person's does, so
    // that a window a modal dialog blocks does not get it.
    static void ClickAsPerson(QWidget* widget)
    {
        QWidget* window = widget->window();
        const QPoint point = widget->mapTo(window, widget->rect().center());
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, point);
    }
private slots:
    void init()
    {
        Rig = std::make_unique<TMainRig>();
        Host = &Rig->Host;
    }
    void cleanup() { Rig.reset(); }

    void startupModes_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("typed");   // password typed, "<cancel>" for Cancel
        QTest::addColumn<int>("mode");

        QTest::newRow("none") << QStringList() << QString() << int(Normal);
        QTest::newRow("/d lower") << QStringList {"/d"} << QString() << int(Extended);
        QTest::newRow("-M right") << QStringList {"-M"} << "orvanealign" << int(Manufacture);
        QTest::newRow("-M wrong") << QStringList {"-M"} << "orvanealig" << int(Normal);
        QTest::newRow("-M cancelled") << QStringList {"-M"} << "<cancel>" << int(Normal);
    }
    void startupModes()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, typed);
        QFETCH(int, mode);

        QString shown;  // what the password edit displayed
        Host->OnDialog = [&](QDialog& dialog) {
            auto* edit = dialog.findChild<QLineEdit*>("edtPass");
            if (!edit)
                return int(QDialog::Rejected);
            if (typed == "<cancel>") {
                QTest::keyClicks(edit, "orvanealign");
                QTest::mouseClick(dialog.findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
            } else {
                QTest::keyClicks(edit, typed);
                shown = edit->displayText();
                QTest::keyClick(edit, Qt::Key_Return);
            }
            return dialog.result();
        };
        TfrmMain* main = Start(args);
        QCOMPARE(int(main->ProgramMode()), mode);
        QCOMPARE(Host->DialogsShown, args.contains("-M") ? 1 : 0);  // asked for the password
        if (!typed.isEmpty() && typed != "<cancel>")
            QCOMPARE(shown, QString(typed.size(), '*'));
        const QString title = mode == Manufacture ? "<none>" + Suffix + "(Manufacture mode)"
                                                  : "<none>" + Suffix;
        QCOMPARE(main->windowTitle(), title);
        QCOMPARE(main->findChild<QMenu*>("miAlignment")->menuAction()->isVisible(), mode == Manufacture);
        for (const char* adjustment : {"miRxAdjust", "miTxAdjust", "miTxPower"})
            QVERIFY2(main->Action(adjustment)->isVisible() == (mode != Normal), adjustment);
        // Help Topics shows the mode's own set.
        main->Action("miHelpTopics")->trigger();
        THelpWindow* help = THelpWindow::Instance();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->CurrentPage(), QString("welcome.html"));
        QVERIFY(help->Browser()->source().toString().contains(mode == Normal ? "/normal/" : "/service/"));
        help->close();
    }

    // Every command that replaces the document or talks to the repeater asks
    // the save question first (its answers are tested without the window);
    // the real box backs out on Esc and on its close box, not as No: the edit
    // stays, nothing else is asked or told and the settings stay as they were.
    void realQuestionBoxBacksOutOnEscAndCloseBox_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("escape");  // the close box otherwise
        QTest::newRow("close, Esc") << "close" << true;
        QTest::newRow("Upload, close box") << "miUpload" << false;
        QTest::newRow("Download, Esc") << "miDownload" << true;
    }
    void realQuestionBoxBacksOutOnEscAndCloseBox()
    {
        QFETCH(QString, command);
        QFETCH(bool, escape);
        const QString other = WriteDocument(Path("other.R54"), DefaultDocument());
        QVERIFY(Rig->Store({{"FILE1", other}, {"COM_PORT", 9}}));  // no device behind it: a transfer would fail loudly
        const QByteArray settings = ReadAll(Path("RK54Win.ini"));
        Host->RealBoxes = true;
        Host->Files = {other};
        TfrmMain* main = Start();
        main->Grid()->SetCellText(TChGrid::RowOf(3), 22, "Lo");
        QStringList shown;  // every box that came up, each backed out of
        QTimer boxes;
        connect(&boxes, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown << box->text();
                if (escape)
                    QTest::keyClick(box, Qt::Key_Escape);
                else
                    box->close();
            }
        });
        boxes.start(10);
        if (command == "close")
            QVERIFY(!main->close());
        else
            main->Action(command)->trigger();
        boxes.stop();
        QCOMPARE(shown, QStringList {"Do you want to save the file?"});
        QVERIFY(Host->ChooserFolders.isEmpty());
        QCOMPARE(main->Grid()->CellText(TChGrid::RowOf(3), 22), QString("Lo"));
        QVERIFY(main->Modified());
        QCOMPARE(main->windowTitle(), "<none>" + Suffix);
        QVERIFY(main->isVisible());
        QCOMPARE(ReadAll(Path("RK54Win.ini")), settings);
    }

    // The recent-file menu follows the document's list; its rules are tested
    // without the window.
    void recentFileMenuFollowsTheList()
    {
        const QString a = WriteDocument(Path("a.R54"), DefaultDocument());
        const QString b = WriteDocument(Path("b.R54"), DefaultDocument());
        const QString old = WriteDocument(Path("old.RPT"), DefaultDocument());
        TfrmMain* main = Start();
        Host->Files = {a, b};
        main->FileOpen();
        main->FileOpen();
        QCOMPARE(main->windowTitle(), b + Suffix);
        QCOMPARE(main->Action("miFile2")->text(), "&2 " + QDir::toNativeSeparators(a));

        QFile::remove(a);
        main->Action("miFile2")->trigger();
        QCOMPARE(Host->Person.Texts().last(), QString("warning: File Not Found"));
        QVERIFY(!main->Action("miFile2")->isVisible());

        // An older file may only be saved under a new name.
        Host->Files = {old};
        main->FileOpen();
        QVERIFY(!main->Action("miSave")->isEnabled());
    }

    void settingsAreWrittenAtCloseAndReadAtStart()
    {
        const QString a = WriteDocument(Path("a.R54"), DefaultDocument());
        {
            TfrmMain* main = Start();
            main->move(40, 30);
            main->resize(900, 600);
            main->ToggleItem(5);
            main->ToggleItem(23);
            Host->Files = {a};
            main->FileOpen();
            QVERIFY(main->close());
        }
        TIniData ini = Rig->Settings();
        std::vector<int> numbers;
        for (const char* key : {"COM_PORT", "FRMW", "FRMH", "FRMMAX", "ITEM5", "ITEM4", "ITEM23"})
            numbers.push_back(ini.GetInt(key, -9));
        QCOMPARE(numbers, (std::vector<int> {1, 900, 600, -9, 0, 1, 0}));  // FRMMAX never written
        QCOMPARE(QString::fromStdString(ini.GetStr("CURFOLD", "")), Rig->Dir.path() + "/");
        QCOMPARE(QString::fromStdString(ini.GetStr("FILE1", "")), a);

        ini.SetValue("COM_PORT", 7);
        QVERIFY(ini.Save());
        TfrmMain* main = Start();
        QCOMPARE(main->ComPort(), 7);
        QCOMPARE(main->RecentFiles(), QStringList {a});
        QVERIFY(!main->Grid()->ItemVisible(5) && main->Grid()->isColumnHidden(7) && main->Grid()->isColumnHidden(8));
        QCOMPARE(main->size(), QSize(900, 600));

        // Maximised as stored: the placement under it stays as it was stored.
        QVERIFY(Rig->Store({{"FRMW", -1}, {"FRMMAX", 1}}));
        main = Start();
        main->ShowAsStored();
        QVERIFY(main->isMaximized());
        QVERIFY(main->close());
        QCOMPARE(Rig->Settings().GetInt("FRMW", -9), -1);
        QCOMPARE(Rig->Settings().GetInt("FRMMAX", -9), 1);
    }

    void settingsThatCannotBeWrittenDoNotStopTheClose()
    {
        QVERIFY(QDir(Rig->Dir.path()).mkdir("RK54Win.ini"));
        TfrmMain* main = Start();
        QCOMPARE(main->findChild<QLabel*>("pnlHint")->text(),
                 QString("RK54Win.ini cannot be read: default settings in use"));
        QVERIFY(main->close());
        QVERIFY(QFileInfo(Path("RK54Win.ini")).isDir());
    }

    // A stored placement is fitted onto the screen (a task bar above it)
    // before the window shows.
    void storedPlacementIsFittedOntoTheScreen_data()
    {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QRect>("fitted");  // an empty size: the design size
        QTest::newRow("off to the right and below") << QRect(5000, 4000, 900, 600) << QRect(380, 424, 900, 600);
        QTest::newRow("huge") << QRect(10, 30, 100000, 100000) << QRect(0, 24, 1280, 1000);
        QTest::newRow("smaller than the design") << QRect(20, 30, 100, 100) << QRect(20, 30, 0, 0);
    }
    void storedPlacementIsFittedOntoTheScreen()
    {
        QFETCH(QRect, stored);
        QFETCH(QRect, fitted);
        QVERIFY(Rig->Store({{"FRMX", stored.x()}, {"FRMY", stored.y()}, {"FRMW", stored.width()},
                            {"FRMH", stored.height()}}));
        Host->Screen = QRect(0, 24, 1280, 1000);
        TfrmMain* main = Start();
        if (fitted.size().isEmpty())
            fitted.setSize(main->minimumSize());
        QCOMPARE(QRect(main->pos(), main->size()), fitted);
    }

    // Folder and recent files whose names are not UTF-8 go back to the
    // settings file as the very bytes that came from it.
    void settingsKeepNamesThatAreNotUtf8()
    {
        const std::string folder = PathBytes(Rig->Dir.path()) + "/caf\xe9/";
        const std::string recent = PathBytes(Rig->Dir.path()) + "/\xff\xfe.R54";
        QVERIFY(Rig->Store({{"CURFOLD", folder}, {"FILE1", recent}}));
        TRKmem doc = DefaultDocument();
        TMap54 image;
        QVERIFY(WriteDataFile(recent, doc, image, Host->Person));
        TfrmMain* main = Start();
        QCOMPARE(main->RecentFiles(), QStringList {PathText(recent)});
        main->OpenRecent(0);
        QCOMPARE(PathBytes(main->CurrentFileName()), recent);  // named only once it was read
        QVERIFY(Host->Person.Messages.empty());
        QVERIFY(main->close());
        const TIniData ini = Rig->Settings();
        QCOMPARE(ini.GetStr("CURFOLD", ""), folder);
        QCOMPARE(ini.GetStr("FILE1", ""), recent);
    }

    void aboutVersionText()
    {
        const char* const cases[][2] = {{"1.2.0.0", "1.02"}, {"2.10.0.0", "2.10"}, {"", ""}, {"4", ""}};
        for (const auto& c : cases)
            QCOMPARE(TfrmAbout::VersionText(c[0]), QString(c[1]));
    }

    // Help asked for from a modal dialog takes clicks on its buttons while
    // the dialog stays open, and stays open after it. It is already open from
    // the main window: the harder case.
    void helpIsUsableWhileADialogIsOpen()
    {
        TChannel channel;
        TfrmMultiTone dialog(channel, Start());
        OpenHelp(THelpAction::Index);
        THelpWindow* help = THelpWindow::Instance();
        bool worked = false;
        // F1 in the dialog, then the help's Index and Back buttons.
        QTimer::singleShot(0, [&] {
            const auto close = qScopeGuard([&] { dialog.reject(); });  // also when a check fails
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QTest::keyClick(&dialog, Qt::Key_F1);
            QCOMPARE(help->CurrentPage(), QString("contents.html"));
            ClickAsPerson(help->findChild<QPushButton*>("btnIndex"));
            QCOMPARE(help->CurrentPage(), QString("index.html"));
            ClickAsPerson(help->findChild<QPushButton*>("btnBack"));
            QCOMPARE(help->CurrentPage(), QString("contents.html"));
            worked = dialog.isVisible();
        });
        dialog.exec();
        QVERIFY(worked);
        QVERIFY(help->isVisible());
        ClickAsPerson(help->findChild<QPushButton*>("btnIndex"));
        QCOMPARE(help->CurrentPage(), QString("index.html"));
        help->close();
    }
    // A message box stands centred over the window it speaks for (here a
    // dialog open over the main window, the harder case).
    void messageBoxStandsCentredOverItsWindow()
    {
        QDialog dialog(Start());
        dialog.setGeometry(380, 300, 300, 200);
        TQtPrompt prompt(Rig->Main.get());
        QRect box;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(0, [&] {
                if (auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    box = shown->frameGeometry();
                    shown->buttons().first()->click();
                }
            });
            prompt.Information("Timeout");
            dialog.accept();
        });
        dialog.exec();
        QVERIFY(box.isValid());
        QVERIFY((box.center() - dialog.frameGeometry().center()).manhattanLength() <= 2);
    }

    void everyHelpLinkLeadsToAPage()
    {
        int pages = 0;
        QDirIterator it(":/help", {"*.html"}, QDir::Files, QDirIterator::Subdirectories);
        const QRegularExpression href("href=\"([^\"#]*)(#[^\"]*)?\"");
        while (it.hasNext()) {
            const QString page = it.next();
            ++pages;
            const QString html = QString::fromUtf8(ReadAll(page));
            QVERIFY2(html.contains("<title>"), qPrintable(page));
            for (auto match = href.globalMatch(html); match.hasNext();) {
                const QString target = match.next().captured(1);
                if (target.isEmpty())
                    continue;
                const QString path = QDir::cleanPath(QFileInfo(page).path() + "/" + target);
                QVERIFY2(QFile::exists(path), qPrintable(page + " -> " + target));
            }
        }
        QVERIFY(pages >= 14);
    }

    // What a menu or tool button sends when the pointer rests on it is the
    // hint, and F1 then belongs to that button; F10 opens the menus; F2
    // takes the grid into WorkChannels, not yet into the document.
    void keysAndHintsOfTheWindow()
    {
        TfrmMain* main = Start();
        QStatusTipEvent tip(main->Action("miUpload")->statusTip());
        QApplication::sendEvent(main, &tip);
        QCOMPARE(main->findChild<QLabel*>("pnlHint")->text(), main->Action("miUpload")->statusTip());
        main->activateWindow();
        QTest::keyClick(main->Grid(), Qt::Key_F1);
        QVERIFY(THelpWindow::Instance() && THelpWindow::Instance()->isVisible());
        QCOMPARE(THelpWindow::Instance()->CurrentPage(), QString("welcome.html"));
        THelpWindow::Instance()->close();

        QTest::keyClick(main->Grid(), Qt::Key_F10);
        QCOMPARE(main->menuBar()->activeAction(), main->findChild<QMenu*>("mnuFile")->menuAction());
        QTest::keyClick(main->findChild<QMenu*>("mnuFile"), Qt::Key_Escape);
        main->Grid()->SetCellText(TChGrid::RowOf(0), 22, "Lo");
        QTest::keyClick(main->Grid(), Qt::Key_F2);
        QCOMPARE(main->WorkChannels()[0].TxPower, 1);
        QCOMPARE(main->Document().Channels[0].TxPower, 0);
        QVERIFY(!main->Modified());
    }

    // A band change made in the Hardware dialog reaches the document and
    // the grid: every channel takes the new band's defaults. (Cancel leaving
    // them is dialogOkIsOneUndoStep's Hardware row.)
    void hardwareBandChangeReachesTheGrid()
    {
        TfrmMain* main = Start({"-D"});
        Host->Person.Answers = {TAnswer::Yes};  // "Changing the band ..."
        RunDialog("miHardware", [&](QDialog& dialog) {
            auto* band = dialog.findChild<QComboBox*>("cmbBand");
            band->setFocus();
            QTest::keyClick(band, Qt::Key_Down);
            QTest::mouseClick(dialog.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
        });
        TRKmem expected = DefaultDocument();
        expected.Band = 1;
        expected.IfFreq = TMap54::DefaultIfFreq(1);
        TMap54::SetBandDefaults(expected, 1);
        QCOMPARE(main->Document().Band, expected.Band);
        QVERIFY(main->Document().Channels.Equals(expected.Channels));
        QVERIFY(main->WorkChannels().Equals(expected.Channels));
        QCOMPARE(main->Grid()->CellText(TChGrid::RowOf(0), 2), QString("450.00000"));
        QVERIFY(main->Modified());
    }

    // Every dialog command of the Common and Signalling menus opens its
    // dialog; Cancel after a change leaves the document as it was, OK is one
    // step of Edit > Undo/Redo over the whole document, channels a dialog
    // changed included. Rows: the command and the list a person steps down
    // or (with ANI/ENI on) up.
    void dialogOkIsOneUndoStep_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("aniEniOn");  // DTMF on and channel 1 sending ANI/ENI
        QTest::newRow("Hardware") << "miHardware" << "cmbDuplex" << false;
        QTest::newRow("Signaling off resets ANI/ENI") << "miSignal" << "cmbDTMF" << true;
    }
    void dialogOkIsOneUndoStep()
    {
        QFETCH(QString, action);
        QFETCH(QString, control);
        QFETCH(bool, aniEniOn);
        TfrmMain* main = &Rig->StartManufacture();
        if (aniEniOn) {
            main->Document().DtmfRx = 1;
            main->Document().Channels[0].CwIdAniEni = 1;
            main->ReloadChannels();
        }
        // The file name is saved too: always the same one.
        const auto saved = [&] { return ReadAll(WriteDocument(Path("saved.R54"), main->Document())); };
        const QByteArray before = saved();
        const auto change = [&](const char* button) {
            RunDialog(action.toLatin1(), [&](QDialog& dialog) {
                QApplication::setActiveWindow(&dialog);
                auto* widget = dialog.findChild<QWidget*>(control);
                widget->setFocus(Qt::TabFocusReason);
                QTest::keyClick(widget, aniEniOn ? Qt::Key_Up : Qt::Key_Down);
                QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
            });
        };
        change("btnCancel");
        QVERIFY(!main->Modified());
        QCOMPARE(saved(), before);
        QVERIFY(!main->Action("miUndo")->isEnabled());
        change("btnOK");
        QVERIFY(main->Modified());
        const QByteArray after = saved();
        QVERIFY(after != before);
        QCOMPARE(main->WorkChannels()[0].CwIdAniEni, 0);
        main->SetModified(false);
        main->Action("miUndo")->trigger();
        QCOMPARE(saved(), before);
        QCOMPARE(main->WorkChannels()[0].CwIdAniEni, aniEniOn ? 1 : 0);
        QVERIFY(main->Modified());
        QVERIFY(!main->Action("miUndo")->isEnabled());
        main->Action("miRedo")->trigger();
        QCOMPARE(saved(), after);
        QCOMPARE(main->WorkChannels()[0].CwIdAniEni, 0);
    }
};

QTEST_MAIN(TestMain)
#include "tst_Main.moc"
