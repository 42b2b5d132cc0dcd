// The alignment window driven with keys and clicks against the simulated
// repeater on a pseudo-terminal: the frames it sends, its enable rules and
// accelerators, clamping, OK and Cancel, the closing sequence, and its menu
// commands in the main window.
#include "ui/link/D_Alignment.h"
#include "ui/main/Main.h"
#include "support/DialogTestKit.h"
#include "support/LinkTestKit.h"
#include "support/TestHost.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

#include <memory>

namespace {

constexpr int SimPort = 9;
constexpr int NoFault = -1, NoLink = -2;
const char* const Problem = "Problem detected with connection to\r\nInterface Box. Transfer aborted.";

// Every value of every point differs, so a frame shows which bytes it took:
// point p has Rx 150.5+p MHz, threshold 10+p, Rx tuning 20+p, Tx 160.7+p MHz,
// power high 30+p and low 40+p, deviations 50+p .. 100+p.
TRKmem AlignmentDocument()
{
    TRKmem doc = DefaultDocument();
    doc.SqlNarrowOffset = 7;
    doc.SqlHysteresis = 9;
    for (int p = 0; p < AlignPointCount; ++p) {
        doc.RxAdjFreq[p].SetFromFloat(150.5 + p);
        doc.TxAdjFreq[p].SetFromFloat(160.7 + p);
        doc.SqlThreshold[p] = 10 + p;
        doc.RxTuning[p] = 20 + p;
        doc.TxPowerHigh[p] = 30 + p;
        doc.TxPowerLow[p] = 40 + p;
        doc.MaxDevWide[p] = 50 + p;
        doc.MaxDevNarrow[p] = 60 + p;
        doc.CtcssDevWide[p] = 70 + p;
        doc.CtcssDevNarrow[p] = 80 + p;
        doc.DcsDevWide[p] = 90 + p;
        doc.DcsDevNarrow[p] = 100 + p;
    }
    return doc;
}

// A simulated repeater behind COM9 of a ports folder.
std::unique_ptr<TSimRig> SimLink(const QString& portsFolder, int fault)
{
    TSimOptions options = fault == NoFault ? TSimOptions {} : WithFault(TSimFault(fault));
    options.LinkPath = QString("%1/COM%2").arg(portsFolder).arg(SimPort).toStdString();
    return std::make_unique<TSimRig>(ImageOf(AlignmentDocument()), options);
}

} // namespace

Q_DECLARE_METATYPE(TUnits)

class TestAlignment : public QObject {
    Q_OBJECT

private:
    QTemporaryDir Dir;
    TScriptedPerson Person;
    TRKmem Doc;
    TMap54 Image;
    std::unique_ptr<TSimRig> Link;
    std::unique_ptr<TfrmAlignment> Window;

    // The window for `point`, shown and active, with its link open unless
    // `fault` is NoLink (for what happens inside the window only).
    // Tests that do not look at the closing sequence leave the window to
    // cleanup(), which destroys it without one: the sequence ends in a
    // 2-second pause, and it is shown kept where it is tested.
    TfrmAlignment& Open(int point, int fault = NoFault)
    {
        Window = std::make_unique<TfrmAlignment>(point, Doc, Image, Person, TLinkTiming {400, 0});
        if (fault != NoLink) {
            Link = SimLink(Dir.filePath("ports"), fault);
            if (!Window->OpenLink(Link->Port()))
                qFatal("the alignment link did not open");
        }
        ShowActive(*Window);
        return *Window;
    }
    QAbstractButton* Button(const char* name) const { return Window->findChild<QAbstractButton*>(name); }
    // Picks mode, power type, bandwidth and encoder by their list positions.
    void Choose(const QList<int>& choices) const
    {
        const char* const combos[] = {"cmbMode", "cmbTPType", "cmbWN", "cmbEnc"};
        for (int k = 0; k < 4; ++k) {
            auto* box = Window->findChild<QComboBox*>(combos[k]);
            box->setFocus(Qt::TabFocusReason);
            for (int i = 0; i < choices[k]; ++i)
                QTest::keyClick(box, Qt::Key_Down);
        }
    }
    // Opens the tone or code list with a key and picks with `keys`.
    void PickFromList(const char* field, const QList<int>& keys) const
    {
        auto* edit = Window->findChild<QLineEdit*>(field);
        edit->setFocus(Qt::TabFocusReason);
        WhenModal([keys](QWidget& list) {
            for (int key : keys + QList<int> {Qt::Key_Return})
                QTest::keyClick(list.findChild<QTableWidget*>("grdList"), Qt::Key(key));
        });
        QTest::keyClick(edit, Qt::Key_Space);
    }
    TParamEdit* Edit(const QString& name) const { return Window->findChild<TParamEdit*>(name); }
    void Click(const char* name) const { QTest::mouseClick(Button(name), Qt::LeftButton); }

private slots:
    void init()
    {
        QDir(Dir.path()).mkpath("ports");
        Person.Messages.clear();
        Doc = AlignmentDocument();
        Image = ImageOf(Doc);
    }
    void cleanup()
    {
        Window.reset();
        Link.reset();
    }

    void togglesSendTheirFrames_data()
    {
        QTest::addColumn<int>("point");
        QTest::addColumn<QList<int>>("choices");  // mode, power type, bandwidth, encoder
        QTest::addColumn<QList<int>>("listKeys");  // picking the tone or code
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<TUnits>("frames");
        QTest::addColumn<QString>("checked");      // the boxes checked at the end, sorted

        const QList<int> base = {0, 0, 0, 0};
        const QList<int> none;
        const int right = Qt::Key_Right, down = Qt::Key_Down;
        QTest::newRow("RX on clicked again is RX off") << 0 << base << none << QStringList {"chbRxOn", "chbRxOn"}
            << TUnits {WithSum({0xB1, 0x00, 0x0A, 'R', 'B', 0x15, 0x05, 10, 7, 9, 20, 'W'}),
                       WithSum({0xB1, 0x00, 0x02, 'r'})}
            << "chbRxOff chbTrxOff chbTxOff";
        QTest::newRow("RX off clicked while off is RX on") << 1 << base << none << QStringList {"chbRxOff"}
            << TUnits {WithSum({0xB1, 0x00, 0x0A, 'R', 'B', 0x15, 0x15, 11, 7, 9, 21, 'W'})}
            << "chbRxOn chbTrxOff chbTxOff";
        // 100.0 is the 13th tone: from 67.0 one column right, two rows down.
        QTest::newRow("TX on, high, low power, narrow, CTCSS 100.0")
            << 2 << QList<int> {0, 1, 1, 1} << QList<int> {right, down, down} << QStringList {"chbTxOn"}
            << TUnits {WithSum({0xB1, 0x00, 0x0A, 'T', 'B', 0x16, 0x27, 42, 62, 13, 82, 'N'})}
            << "chbRxOff chbTrxOff chbTxOn";
        // 754 is the last code: End reaches the first cell of the last row.
        QTest::newRow("TRX on and off, highest, repeater, DCS 754")
            << 3 << QList<int> {1, 0, 0, 2} << QList<int> {Qt::Key_End, right, right, right, right}
            << QStringList {"chbTrxOn", "chbTrxOff"}
            << TUnits {WithSum({0xB1, 0x00, 0x10, 'T', 'R', 0x16, 0x37, 33, 53, 231, 93,
                                0x15, 0x35, 13, 7, 9, 23, 'W'}),
                       WithSum({0xB1, 0x00, 0x02, 't'})}
            << "chbRxOff chbTrxOff chbTxOff";
    }
    void togglesSendTheirFrames()
    {
        QFETCH(int, point);
        QFETCH(QList<int>, choices);
        QFETCH(QList<int>, listKeys);
        QFETCH(QStringList, clicks);
        QFETCH(TUnits, frames);
        QFETCH(QString, checked);
        TfrmAlignment& window = Open(point);
        Choose(choices);
        if (!listKeys.isEmpty())
            PickFromList(choices[3] == 1 ? "edtCTCSS" : "edtDCS", listKeys);
        for (const QString& name : clicks)
            Click(qPrintable(name));

        QCOMPARE(AlignCommands((*Link)->Received()), frames);
        QStringList nowChecked;
        for (QAbstractButton* button : window.findChildren<QAbstractButton*>())
            if (button->isCheckable() && button->isChecked())
                nowChecked << button->objectName();
        nowChecked.sort();
        QCOMPARE(nowChecked.join(' '), checked);
        QVERIFY(Person.Messages.empty());
        QCOMPARE(DocumentDifferences(AlignmentDocument(), Doc), std::string());
    }

    void enableRulesAndAccelerators_data()
    {
        QTest::addColumn<QList<int>>("choices");  // mode, power type, bandwidth, encoder
        QTest::addColumn<QString>("enabled");
        QTest::addColumn<int>("letter");
        QTest::addColumn<QString>("focus");       // after Alt + letter

        QTest::newRow("repeater, low, narrow, CTCSS") << QList<int> {1, 1, 1, 1}
            << "chbTrxOn edtTPLLow edtMDNarr edtCTCSS edtCDNarr" << int(Qt::Key_N) << "edtCDNarr";
        QTest::newRow("wide DCS") << QList<int> {0, 0, 0, 2}
            << "chbRxOn chbTxOn edtTPLHigh edtMDWide edtDCS edtDDWide" << int(Qt::Key_W) << "edtDDWide";
    }
    void enableRulesAndAccelerators()
    {
        QFETCH(QList<int>, choices);
        QFETCH(QString, enabled);
        QFETCH(int, letter);
        QFETCH(QString, focus);
        TfrmAlignment& window = Open(0, NoLink);
        Choose(choices);
        QStringList nowEnabled;
        for (const char* name : {"chbTrxOn", "chbRxOn", "chbTxOn", "edtTPLHigh", "edtTPLLow", "edtMDWide",
                                 "edtMDNarr", "edtCTCSS", "edtDCS", "edtCDWide", "edtCDNarr", "edtDDWide",
                                 "edtDDNarr"})
            if (window.findChild<QWidget*>(name)->isEnabled())
                nowEnabled << name;
        QCOMPARE(nowEnabled.join(' '), enabled);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key(letter), Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    }

    void okStoresClampedValues_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<double>("stored");
        QTest::addColumn<bool>("modified");

        QTest::newRow("the value it had") << "edtSTLvl" << "12" << "12" << 12.0 << false;
        QTest::newRow("1000 MHz") << "edtRxFreq" << "1000" << "999.9" << 999.9 << true;
    }
    void okStoresClampedValues()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(double, stored);
        QFETCH(bool, modified);
        TfrmAlignment& window = Open(2, NoLink);
        TypeAndCommit(Edit(field), typed);
        QCOMPARE(window.findChild<QLineEdit*>(field)->text(), shown);
        Click("btnOK");
        QCOMPARE(window.Changed(), modified);
        for (const TAlignField& f : AlignFields())
            if (field == f.Control)
                QCOMPARE(f.Get(Doc, 2), stored);
    }

    // Every way out but OK undoes what the sent commands stored, in the
    // document and in the image. Cancel is shown with the link (its closing
    // sequence, the same as OK's, is shown after OK below); Esc and the close
    // box on a window without a link, its document changed behind it, to
    // show they end the same way.
    void cancelRestoresTheDocumentAndTheImage_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Cancel") << 0;
        QTest::newRow("Esc") << 1;
        QTest::newRow("close box") << 2;
    }
    void cancelRestoresTheDocumentAndTheImage()
    {
        QFETCH(int, how);
        const TMap::TImage before = Image.Content();
        TfrmAlignment& window = Open(1, how == 0 ? NoFault : NoLink);
        TypeAndCommit(Edit("edtTxFreq"), "170");
        TypeAndCommit(Edit("edtTPLHigh"), "99");
        if (how == 0) {
            Click("chbTxOn");  // stores the values into the document and the image
        } else {
            Doc.TxPowerHigh[1] = 99;
            Image.Encode(Doc);
        }
        QCOMPARE(Doc.TxPowerHigh[1], 99);
        QVERIFY(Image.Content() != before);
        if (how == 0)
            Click("btnCancel");
        else if (how == 1)
            QTest::keyClick(window.focusWidget(), Qt::Key_Escape);
        else
            window.close();
        QVERIFY(window.isHidden());
        QCOMPARE(window.result(), int(QDialog::Rejected));
        QCOMPARE(DocumentDifferences(AlignmentDocument(), Doc), std::string());
        QVERIFY(Image.Content() == before);
    }

    // The values the repeater sends, or "---" where its reply was bad (the
    // link's answer to a bad reply is test_Align's).
    void statusShowsTheLiveValues_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("values");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("good reply") << NoFault << "1a 2b 3c" << QStringList {"information: Upload is completed"};
        QTest::newRow("bad checksum") << int(TSimFault::BadChecksum) << "--- --- ---"
                                      << QStringList {QString("error: ") + Problem};
    }
    void statusShowsTheLiveValues()
    {
        QFETCH(int, fault);
        QFETCH(QString, values);
        QFETCH(QStringList, messages);
        TfrmAlignment& window = Open(3, fault);
        Click("btnStat");
        QStringList shown;
        for (const char* name : {"edtVR", "edtNSQ", "edtRSSI"})
            shown << window.findChild<QLineEdit*>(name)->text();
        QCOMPARE(shown.join(' '), values);
        QCOMPARE(Person.Texts(), messages);
    }

    // Nothing closes the window while it talks to the repeater: not the
    // close box during a command nor during the closing sequence itself.
    // The command that fails leaves its pair as the repeater has it and the
    // window open (a refused command fails the same way without a message:
    // the link's answer to each fault is test_Rk54Link's).
    void noClosingWhileAnExchangeRuns()
    {
        TfrmAlignment& window = Open(0, int(TSimFault::AlignSilence));
        int refused = 0;
        QTimer::singleShot(30, &window, [&] {
            window.close();
            refused += window.isVisible() && window.Busy();
        });
        Click("chbRxOn");
        QCOMPARE(refused, 1);
        QVERIFY(!Button("chbRxOn")->isChecked() && Button("chbRxOff")->isChecked());
        QCOMPARE(Person.Texts(), QStringList {QString("error: ") + Problem});
        QVERIFY(window.isVisible() && window.isEnabled());
        QCOMPARE(AlignCommands((*Link)->Received()).size(), size_t(1));
        QTimer::singleShot(30, &window, [&] {
            window.close();
            Click("btnCancel");
            refused += window.isVisible() && window.Busy();
        });
        Click("btnOK");
        QCOMPARE(refused, 2);
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(Tail((*Link)->Received(), 4), ClosingSequence);
    }

    // From the menu of the main window in manufacture mode.
    void theMenuOpensTheWindowForItsPoint_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("frequency");  // the point's Rx frequency shown; empty: no window
        QTest::newRow("opened") << NoFault << QStringList {} << "153.5";
        QTest::newRow("start refused") << int(TSimFault::WrongHandshake)
                                       << QStringList {QString("error: ") + Problem} << "";
    }
    void theMenuOpensTheWindowForItsPoint()
    {
        QFETCH(int, fault);
        QFETCH(QStringList, messages);
        QFETCH(QString, frequency);
        TMainRig rig;
        rig.UsePorts(SimPort);
        TfrmMain& main = rig.StartManufacture();
        main.Document() = AlignmentDocument();
        const std::unique_ptr<TSimRig> link = SimLink(rig.Path("ports"), fault);
        QString shownFrequency;
        bool mainEnabled = true;
        WhenModal([&](QWidget& window) {
            shownFrequency = window.findChild<QLineEdit*>("edtRxFreq")->text();
            mainEnabled = main.isEnabled();
            QTest::mouseClick(window.findChild<QAbstractButton*>("btnCancel"), Qt::LeftButton);
        });
        main.Action("miAlignHighest")->trigger();
        QCOMPARE(shownFrequency, frequency);
        QCOMPARE(mainEnabled, frequency.isEmpty());  // disabled while the window runs
        QCOMPARE(rig.Host.Person.Texts(), messages);
        QVERIFY(main.isEnabled());
        QVERIFY(!main.Modified());
        QVERIFY(PortIsFree(link->Port()));
    }
};

QTEST_MAIN(TestAlignment)
#include "tst_Alignment.moc"
