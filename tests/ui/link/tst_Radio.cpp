// Upload and download from the main window against the simulated repeater
// on a pseudo-terminal, the transfer window's own rules and the port dialog.
#include "ui/link/D_Changes.h"
#include "ui/link/D_Config.h"
#include "ui/link/D_History.h"
#include "ui/link/D_Radio.h"
#include "ui/main/Main.h"
#include "support/TestHost.h"
#include "ui/main/U_ChGrid.h"
#include "link/U_Checks.h"
#include "link/U_Clone.h"
#include "files/U_History.h"
#include "files/dc_Ini.h"
#include "sim/dc_RepeaterSim.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

constexpr int SimPort = 9;
constexpr int NoFault = -1, NoRepeater = -2;

TRKmem RepeaterDocument()
{
    TRKmem doc = DefaultDocument();
    doc.SerialNo = "70707070";
    doc.MarketCode = 'U';
    for (int i = 0; i < 4; ++i) {
        TChannel& c = doc.Channels[i];
        c.Used = 1;
        c.RxFreq.SetFromFloat(151.25 + i);
        c.TxFreq.SetFromFloat(156.25 + i);
        c.Bandwidth = 1;
    }
    doc.AlphaTagNumber[0] = 1;
    doc.AlphaTagText[0] = "SITE A";
    return doc;
}

// Watches for the transfer window and records what its bar shows.
class TRadioWatch : public QObject {
public:
    std::vector<int> Positions;
    int Shown = 0;
    bool CancelVisible = false;
    std::function<void(TfrmRadio&)> OnShow;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* radio = qobject_cast<TfrmRadio*>(watched);
        if (radio && event->type() == QEvent::Show) {
            ++Shown;
            CancelVisible = radio->findChild<QPushButton*>("btnCancel")->isVisibleTo(radio);
            auto* bar = radio->findChild<QProgressBar*>("progText");
            connect(bar, &QProgressBar::valueChanged, this, [this](int value) {
                if (Positions.empty() || Positions.back() != value)
                    Positions.push_back(value);
            });
            if (OnShow)
                OnShow(*radio);
        }
        return false;
    }
};

} // namespace

class TestRadio : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TMainRig> Rig;
    TTestHost* Host = nullptr;
    std::unique_ptr<TRepeaterSim> Sim;
    TRadioWatch Watch;

    void StartSim(const TRKmem& memory, std::set<TSimFault> faults = {})
    {
        TSimOptions options;
        options.Faults = std::move(faults);
        options.LinkPath = (Rig->Ports->LinkFolder + QString("/COM%1").arg(SimPort)).toStdString();
        Sim = std::make_unique<TRepeaterSim>(ImageOf(memory), options);
        std::string error;
        QVERIFY2(Sim->Open(error), error.c_str());
        Sim->Start();
    }
    // The plain exchange unless `safe`: most tests here are about the wire.
    TfrmMain* StartMain(const QStringList& args = {}, bool safe = false)
    {
        Rig->Store({{"SAFE_DOWNLOAD", safe ? 1 : 0}});
        return &Rig->Start(args);
    }
    // Answers the dialogs in order, one step each: "Enter", "Esc", "close
    // box" or the name of a button to click; records each dialog as its
    // object name and its buttons, the default one starred.
    QStringList Dialogs;
    void Script(const QStringList& steps)
    {
        Dialogs.clear();
        Host->OnDialog = [this, steps, n = 0](QDialog& dialog) mutable {
            QStringList buttons;
            for (const QPushButton* b : dialog.findChildren<QPushButton*>())
                buttons << b->objectName() + (b->isDefault() ? "*" : "");
            Dialogs << dialog.objectName() + " " + buttons.join(',');
            const QString step = steps.value(n++);
            if (step == "Enter" || step == "Esc")
                QTest::keyClick(&dialog, step == "Enter" ? Qt::Key_Return : Qt::Key_Escape);
            else if (step == "close box")
                dialog.close();
            else if (!step.isEmpty())
                QTest::mouseClick(dialog.findChild<QPushButton*>(step), Qt::LeftButton);
            return dialog.result();
        };
    }
    QStringList Messages() const { return Host->Person.Texts(); }

private slots:
    void init()
    {
        Rig = std::make_unique<TMainRig>();
        Rig->UsePorts(SimPort);
        Host = &Rig->Host;
        Watch.Positions.clear();
        Watch.Shown = 0;
        Watch.OnShow = nullptr;
        qApp->installEventFilter(&Watch);
    }
    void cleanup()
    {
        qApp->removeEventFilter(&Watch);
        Sim.reset();
        Rig.reset();
    }

    // Upload as the repeater answers or fails (one fault stands for all: the
    // message of each is the engine's test). Only a completed one replaces
    // the document, and Cancel ends the wait without a word.
    void upload_data()
    {
        QTest::addColumn<int>("fault");    // a TSimFault, NoFault or NoRepeater behind the port
        QTest::addColumn<bool>("cancel");  // Cancel clicked as the transfer window shows
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("completed") << NoFault << false << QStringList {"information: Upload is completed"};
        QTest::newRow("checksum") << int(TSimFault::BadChecksum) << false << QStringList {"error: Checksum error"};
        QTest::newRow("cancelled while waiting") << int(TSimFault::NoAnswer) << true << QStringList();
        QTest::newRow("no repeater") << NoRepeater << false << QStringList {"error: Problem on COM port"};
    }
    void upload()
    {
        QFETCH(int, fault);
        QFETCH(bool, cancel);
        QFETCH(QStringList, messages);
        if (fault != NoRepeater)
            StartSim(RepeaterDocument(), fault >= 0 ? std::set {TSimFault(fault)} : std::set<TSimFault> {});
        TfrmMain* main = StartMain();
        const std::string serial = main->Document().SerialNo;
        const QString file = main->CurrentFileName();
        if (cancel)
            Watch.OnShow = [](TfrmRadio& radio) {
                auto* button = radio.findChild<QPushButton*>("btnCancel");
                QTimer::singleShot(0, &radio, [button] { QTest::mouseClick(button, Qt::LeftButton); });
            };
        main->Action("miUpload")->trigger();

        QCOMPARE(Messages(), messages);
        QCOMPARE(Watch.Shown, fault == NoRepeater ? 0 : 1);
        QVERIFY(main->isVisible() && main->isEnabled());
        QVERIFY(!main->RadioWindow());
        if (fault != NoFault) {
            QCOMPARE(main->Document().SerialNo, serial);
            QCOMPARE(main->CurrentFileName(), file);
            QVERIFY(!main->Modified());
            return;
        }
        QVERIFY(Watch.Positions.size() > 3);
        QVERIFY(Watch.CancelVisible);
        // The steps of the bar are the engine's (its own tests); the window
        // shows them in order up to the full bar.
        QCOMPARE(Watch.Positions.back(), 33);
        QVERIFY(std::is_sorted(Watch.Positions.begin(), Watch.Positions.end()));

        // The engine replaced document and image (its own tests); the
        // window shows the repeater's channels as a new, unsaved document.
        QVERIFY(main->WorkChannels().Equals(main->Document().Channels));
        QCOMPARE(main->Grid()->CellText(TChGrid::RowOf(3), 2), QString("154.25000"));
        QVERIFY(main->Modified());
        QCOMPARE(main->CurrentFileName(), QString("<none>"));

        // The upload is kept in the history as done: Compare against a new
        // document there, then Open, which takes it back as an unsaved one.
        Host->Person.Answers = {TAnswer::No};
        main->FileNew();
        QVERIFY(main->Document().SerialNo != "70707070");
        QStringList compared;
        Host->OnDialog = [&](QDialog& dialog) {
            if (dialog.objectName() == "frmChanges") {  // Compare, from inside the history window
                auto* list = dialog.findChild<QTreeWidget*>("lstFields");
                for (int k = 0; k < list->topLevelItemCount(); ++k)
                    compared << list->topLevelItem(k)->text(0);
                QTest::keyClick(&dialog, Qt::Key_Escape);
                return dialog.result();
            }
            auto* list = dialog.findChild<QTreeWidget*>("lstHistory");
            const QTreeWidgetItem* entry = list->topLevelItemCount() == 1 ? list->topLevelItem(0) : nullptr;
            if (!entry || entry->text(4) != "upload" || entry->text(6) != "done")
                return int(QDialog::Rejected);
            QTest::mouseClick(dialog.findChild<QPushButton*>("btnCompare"), Qt::LeftButton);
            QTest::mouseClick(dialog.findChild<QPushButton*>("btnOpen"), Qt::LeftButton);
            return dialog.result();
        };
        main->ShowHistory();
        QVERIFY(compared.contains("SerialNo"));
        QCOMPARE(main->Document().SerialNo, std::string("70707070"));
        QCOMPARE(main->CurrentFileName(), QString(TfrmMain::NoFile));  // the archive is never saved over
        QVERIFY(main->Modified());
    }

    // A click that reaches a command while a transfer waits on the repeater
    // starts nothing: no second exchange, no question, no chooser, no
    // dialog, no close. Every command is tried in turn inside one upload,
    // each checked before the next.
    void commandsDuringATransferStartNothing()
    {
        StartSim(RepeaterDocument());
        const QString other = WriteDocument(Rig->Path("other.R54"), DefaultDocument());
        QVERIFY(Rig->Store({{"FILE1", other}}));
        TfrmMain* main = StartMain();
        main->Grid()->SetCellText(TChGrid::RowOf(3), 22, "Lo");
        Host->Person.Answers = {TAnswer::No};  // the upload's own question
        Host->Files = {other, other};
        QStringList tried;
        Watch.OnShow = [&](TfrmRadio&) {
            QTimer::singleShot(0, main, [&] {
                for (const char* command : {"miUpload", "miDownload", "miNew", "miOpen", "miSave", "miFile1",
                                            "miConfigure", "miHardware", "close"}) {
                    QVERIFY2(main->RadioWindow() && main->LinkBusy(), command);  // still inside the transfer
                    if (command == std::string("close"))
                        main->close();
                    else
                        main->Action(command)->trigger();
                    tried << command;
                    QVERIFY2(Watch.Shown == 1 && Host->Person.Messages.size() == 1 && Host->ChooserFolders.isEmpty()
                                 && Host->DialogsShown == 0 && main->isVisible(),
                             command);
                }
            });
        };
        main->Action("miUpload")->trigger();
        Watch.OnShow = nullptr;

        QCOMPARE(tried.size(), 9);
        QCOMPARE(Messages(), (QStringList {"ask: Do you want to save the file?", "information: Upload is completed"}));
        QCOMPARE(Sim->Transfers(), 1);
        QVERIFY(!main->LinkBusy());
    }

    // The safe download writes only when the person says so, and a read-back
    // that differs is shown and kept (what differs and what is archived is
    // the engine's own tests).
    void safeDownloadAsksAndWritesOnlyWhenTold_data()
    {
        QTest::addColumn<QString>("unit");  // the repeater: "same", "other" or "same, stores badly"
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("dialogs");
        QTest::addColumn<bool>("written");
        const QString identity = "frmChanges btnYes,btnNo*";
        const QString changes = "frmChanges btnWrite*,btnCancel";
        QTest::newRow("same unit, Enter writes") << "same" << QStringList {"Enter"} << QStringList {changes} << true;
        QTest::newRow("same unit, Esc on the list") << "same" << QStringList {"Esc"} << QStringList {changes} << false;
        QTest::newRow("other unit, Esc") << "other" << QStringList {"Esc"} << QStringList {identity} << false;
        QTest::newRow("other unit, close box")
            << "other" << QStringList {"close box"} << QStringList {identity} << false;
        QTest::newRow("other unit, Yes, close box on the list")
            << "other" << QStringList {"btnYes", "close box"} << QStringList {identity, changes} << false;
        QTest::newRow("read back differs") << "same, stores badly" << QStringList {"Enter", "Enter"}
                                           << QStringList {changes, "frmChanges btnOK*"} << true;
    }
    void safeDownloadAsksAndWritesOnlyWhenTold()
    {
        QFETCH(QString, unit);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, dialogs);
        QFETCH(bool, written);
        const TRKmem memory = RepeaterDocument();
        const bool corrupt = unit == "same, stores badly";
        StartSim(memory, corrupt ? std::set {TSimFault::CorruptStore} : std::set<TSimFault> {});
        TRKmem doc = memory;
        doc.Channels[5].Used = 1;
        doc.Channels[5].RxFreq.SetFromFloat(162.55);
        doc.SerialNo = unit == "other" ? "12121212" : memory.SerialNo;
        const QString path = WriteDocument(Rig->Path("site.R54"), doc);
        Host->Date = QDate(2010, 6, 1);  // before the narrow-band rule
        TfrmMain* main = StartMain({path}, true);
        Script(steps);
        main->RadioDownload();

        QCOMPARE(Dialogs, dialogs);
        // Whether the person's answer let it write (read, write, read back).
        QCOMPARE(Sim->Transfers(), written ? 3 : 1);
        const bool verified = written && !corrupt;
        QCOMPARE(Messages(), verified ? QStringList {"information: Download is completed\r\nVerified"} : QStringList());
    }

    // File > Configure: another port (the repeater's cable now answers as
    // COM12), the plain download, another history folder and a link trace;
    // what is chosen is used at once and kept in the settings file. The
    // download takes the grid's edits along and, in normal mode, writes the
    // channel area alone.
    void configureThenDownloadFromTheMenus()
    {
        StartSim(RepeaterDocument());
        Host->Date = QDate(2010, 6, 1);  // before the narrow-band rule
        TfrmMain* main = StartMain({}, true);
        QFile::rename(Rig->Ports->LinkFolder + "/COM9", Rig->Ports->LinkFolder + "/COM12");
        const QString folder = Rig->Path("elsewhere");
        const QString trace = Rig->Path("trace.txt");
        Host->OnDialog = [&](QDialog& dialog) {
            dialog.findChild<QCheckBox*>("chkSafe")->setChecked(false);
            dialog.findChild<QLineEdit*>("edtHistory")->setText(folder);
            dialog.findChild<QCheckBox*>("chkTrace")->setChecked(true);
            dialog.findChild<QLineEdit*>("edtTrace")->setText(trace);
            auto* combo = dialog.findChild<QComboBox*>("cmbCom");
            combo->setCurrentIndex(combo->findText("COM12"));
            QTest::mouseClick(dialog.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
            return dialog.result();
        };
        main->Action("miConfigure")->trigger();
        QCOMPARE(main->ComPort(), 12);
        QCOMPARE(main->findChild<QLabel*>("lblCOMPort")->text(), QString("COM12"));
        QVERIFY(Messages().isEmpty());
        QVERIFY(main->SaveEnabled());
        QVERIFY(!main->SafeDownload());
        QCOMPARE(main->HistoryFolder(), folder);

        Host->OnDialog = nullptr;
        main->WorkChannels()[5].Used = 1;
        main->Grid()->SetCellText(TChGrid::RowOf(5), 2, "162.55000");
        main->Grid()->SetCellText(TChGrid::RowOf(5), 22, "Lo");
        Host->Person.Answers = {TAnswer::No};  // do not save first
        main->Action("miDownload")->trigger();
        QCOMPARE(Messages(),
                 (QStringList {"ask: Do you want to save the file?", "information: Download is completed"}));
        QVERIFY(!Watch.CancelVisible);
        QCOMPARE(Sim->Transfers(), 1);  // the plain download: no read before, none after
        QCOMPARE(main->Document().Channels[5].TxPower, 1);
        QCOMPARE(main->Document().Channels[5].RxFreq.ToFloat(), 162.55);
        TMap::TImage expected = ImageOf(RepeaterDocument()).Content();
        std::copy(main->Codec().Data() + 208, main->Codec().Data() + 976, expected.begin() + 208);
        QVERIFY(Sim->Memory() == expected);
        QCOMPARE(THistory(folder.toStdString()).Entries().size(), size_t(1));
        QVERIFY(ReadAll(trace).contains(" sent 02\n"));  // what a trace holds is test_Rk54Link's

        Host->Person.Answers = {TAnswer::No};  // the edits are not saved
        QVERIFY(main->close());
        const QString ini = QString::fromUtf8(ReadAll(Rig->Path("RK54Win.ini")));
        QVERIFY(ini.contains("HISTORY_DIR=" + folder));
    }

    void narrowBandRule_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("converted");
        QTest::addColumn<bool>("downloaded");
        QTest::newRow("before 2011") << QDate(2010, 12, 31) << int(TAnswer::Yes) << false << false << true;
        QTest::newRow("phase 1 yes") << QDate(2011, 1, 1) << int(TAnswer::Yes) << true << true << true;
        QTest::newRow("phase 1 no") << QDate(2012, 12, 31) << int(TAnswer::No) << true << false << true;
        QTest::newRow("phase 2 no") << QDate(2020, 1, 1) << int(TAnswer::No) << true << true << false;
        QTest::newRow("phase 2 dismissed") << QDate(2020, 1, 1) << int(TAnswer::Cancel) << true << false << false;
    }
    void narrowBandRule()
    {
        QFETCH(QDate, today);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(bool, converted);
        QFETCH(bool, downloaded);
        StartSim(DefaultDocument());
        // US market, wide channels at 151..157 MHz.
        const QString path = WriteDocument(Rig->Path("us.R54"), RepeaterDocument());
        Host->Date = today;
        TfrmMain* main = StartMain({path});
        Host->Person.Answers = {TAnswer(answer)};
        main->RadioDownload();

        const auto& messages = Host->Person.Messages;
        QCOMPARE(!messages.empty() && messages[0].Kind == 'C', asked);
        QCOMPARE(main->Document().Channels[2].Bandwidth, converted ? 0 : 1);
        QCOMPARE(main->Grid()->CellText(TChGrid::RowOf(2), 5), converted ? QString("N") : QString("W"));
        QCOMPARE(main->Modified(), converted);
        QCOMPARE(Sim->Transfers(), downloaded ? 1 : 0);
        QCOMPARE(messages.back().Text == CloneMessages::DownloadDone, downloaded);
    }

    void transferWindowCloseRules()
    {
        QWidget owner;
        owner.show();
        TScriptedPerson prompt;
        TfrmRadio radio(&owner, prompt);
        radio.TransferBegins(TLinkView::DownloadDirection);
        QVERIFY(!owner.isEnabled());
        // The first request only raises the cancel flag.
        QVERIFY(!radio.close());
        QVERIFY(radio.Cancelled());
        QVERIFY(radio.close());
        radio.TransferEnds();
        QVERIFY(owner.isEnabled());

        radio.TransferBegins(TLinkView::UploadDirection);
        QVERIFY(!radio.Cancelled());
        radio.SetProgress(40);
        QCOMPARE(radio.Progress(), 33);
        radio.TransferEnds();
    }

    // The ports of the machine by the numbering rule, plus a linked device:
    // what the dialog offers and preselects, and what OK keeps.
    void configurationDialog_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("pick");  // empty: OK on what is preselected
        QTest::addColumn<QString>("preselected");
        QTest::addColumn<int>("result");  // either way the port cannot be opened, and the person is told
        QTest::newRow("not there: COM1, nothing behind it") << 4 << "" << "COM1" << 1;
        QTest::newRow("kept although it cannot be opened") << 1 << "COM65   (LDA-30)" << "COM1" << 65;
    }
    void configurationDialog()
    {
        QFETCH(int, port);
        QFETCH(QString, pick);
        QFETCH(QString, preselected);
        QFETCH(int, result);
        class TFixedPorts : public TPortHost {
        public:
            using TPortHost::TPortHost;
            QList<TSerialDevice> SystemDevices() const override
            {
                return {{"/dev/ttyS9", "16550A", ""}, {"/dev/ttyS1", "16550A", ""},
                        {"/dev/ttyS0", "16550A", ""}, {"/dev/ttyACM0", "LDA-30", ""}};
            }
        };
        TFixedPorts ports(Rig->Path("ports"));
        // COM1 stands for something that is no serial device at all.
        QFile plain(Rig->Path("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QVERIFY(QFile::link(plain.fileName(), Rig->Path("ports/COM1")));
        TfrmConfig dialog(port, ports, Host->Person);
        auto* combo = dialog.findChild<QComboBox*>("cmbCom");
        QCOMPARE(combo->currentText(), preselected);
        if (!pick.isEmpty())
            combo->setCurrentIndex(combo->findText(pick));
        dialog.show();
        QTest::mouseClick(dialog.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
        QCOMPARE(dialog.ComPort(), result);
        QCOMPARE(Messages(), QStringList {"error: Problem on COM port"});
    }
};

QTEST_MAIN(TestRadio)
#include "tst_Radio.moc"
