// Editing the channel grid as a person does, through the main window: keys
// and mouse on the real grid, the two in-place editors, the selection list
// and the multi-tone dialog, the clipboard, undo and redo. Each edit is
// checked in WorkChannels and, after File > Save, in the saved bytes.
#include "D_MultiTone.h"
#include "D_SelectList.h"
#include "Main.h"
#include "TestHost.h"
#include "U_ChEditGrid.h"
#include "U_FileAccess.h"
#include "U_Values.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

#include <memory>

namespace {

constexpr int ChannelBase = 208;
constexpr int ChannelSize = 48;

void SetFreq(TDecimal& target, double mhz) { target.SetFromFloat(mhz); }

// Channel 1: 146.52 simplex, CTCSS 100.0, NSQ "User" 42, W, Lo, CW-ID.
// Channel 2: DCS 023 / 754, NSQ "Prpgm". Channel 3 switched off. Channel 4
// Tx-inhibited with Tx values kept. Alignment ranges 136..174 (Rx) and
// 140..170 (Tx).
TRKmem SampleDocument()
{
    TRKmem doc;
    TMap54::SetDefaults(doc);
    doc.ChStep = 0;
    const double rx[] = {136, 145, 165, 174};
    const double tx[] = {140, 150, 160, 170};
    for (int p = 0; p < AlignPointCount; ++p) {
        SetFreq(doc.RxAdjFreq[p], rx[p]);
        SetFreq(doc.TxAdjFreq[p], tx[p]);
    }
    doc.CwIdEnable = 1;
    doc.DtmfTx = doc.DtmfRx = doc.FiveToneTx = doc.FiveToneRx = 0;
    for (TChannel& c : doc.Channels) {
        c.Used = 1;
        c.TxInhibit = 0;
        c.Bandwidth = 0;
        SetFreq(c.RxFreq, 150.0);
        SetFreq(c.TxFreq, 150.0);
    }
    TChannel& c0 = doc.Channels[0];
    SetFreq(c0.RxFreq, 146.52);
    SetFreq(c0.TxFreq, 146.52);
    c0.ToneEntryUsed[0] = 1;
    c0.DecoderIsDcs[0] = 0;
    c0.DecoderCode[0] = 13;  // 100.0
    c0.EncoderIsDcs[0] = 0;
    c0.EncoderCode[0] = 0;
    c0.NsqMode = 1;
    c0.NsqLevel = 42;
    c0.Bandwidth = 1;
    c0.CwIdAniEni = 2;
    c0.TxPower = 1;
    c0.TxLockout = 0;
    c0.MultiTone = 0;

    TChannel& c1 = doc.Channels[1];
    c1.ToneEntryUsed[0] = 1;
    c1.DecoderIsDcs[0] = 1;
    c1.DecoderCode[0] = 0;
    c1.EncoderIsDcs[0] = 1;
    c1.EncoderCode[0] = 103;
    c1.NsqMode = 0;
    c1.NsqLevel = 99;

    doc.Channels[2].Used = 0;

    TChannel& c3 = doc.Channels[3];
    c3.TxInhibit = -1;
    SetFreq(c3.TxFreq, 155.5);
    c3.TxPower = 1;
    return doc;
}

int Bcd(uint8_t b) { return (b >> 4) * 10 + (b & 15); }

// The kHz a cell's "%3.5f" text is stored with: the fraction cut after three digits.
int KhzOf(const QString& mhz)
{
    QString digits = mhz;
    digits.remove('.');
    return digits.left(digits.size() - 2).toInt();
}

} // namespace

class TestGridEdit : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> Dir;
    std::unique_ptr<TTestHost> Host;
    std::unique_ptr<TfrmMain> Main;
    TChEditGrid* Grid = nullptr;
    QString FilePath;

    QString Cell(int channel, int column) const { return Grid->CellText(TChGrid::RowOf(channel), column); }
    TChannel& Work(int channel) const { return Main->WorkChannels()[channel]; }
    QLineEdit* FreqEditor() const { return Grid->findChild<QLineEdit*>("edtDmy"); }
    QSpinBox* LevelEditor() const { return Grid->findChild<QSpinBox*>("SpinDmy"); }

    void Select(int channel, int column)
    {
        Grid->setCurrentCell(TChGrid::RowOf(channel), column);
        Grid->setFocus();
    }
    // Keys go wherever the focus is, as a person's do.
    static QWidget* Focus() { return QApplication::focusWidget(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(Focus(), key, mods); }
    void Type(const QString& text)
    {
        for (const QChar c : text)
            QTest::keyClicks(Focus(), QString(c));
    }
    QPoint CellCentre(int channel, int column) const
    {
        return Grid->visualRect(Grid->model()->index(TChGrid::RowOf(channel), column)).center();
    }
    void Click(int channel, int column)
    {
        QTest::mouseClick(Grid->viewport(), Qt::LeftButton, {}, CellCentre(channel, column));
    }
    void DoubleClick(int channel, int column)
    {
        Click(channel, column);
        QTest::mouseDClick(Grid->viewport(), Qt::LeftButton, {}, CellCentre(channel, column));
    }
    void Trigger(const char* action) { Main->Action(action)->trigger(); }

    // File > Save writes the open file; its channel record comes back.
    QByteArray SavedRecord(int channel)
    {
        Trigger("miSave");
        QFile file(FilePath);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.readAll().mid(ChannelBase + ChannelSize * channel, ChannelSize);
    }
    static int Byte(const QByteArray& record, int offset) { return uint8_t(record.at(offset)); }
    static int Khz(const QByteArray& record, int offset)
    {
        return Bcd(record.at(offset)) * 10000 + Bcd(record.at(offset + 1)) * 100 + Bcd(record.at(offset + 2));
    }

private slots:
    void init()
    {
        Dir = std::make_unique<QTemporaryDir>();
        Host = std::make_unique<TTestHost>(Dir->path());
        TRKmem doc = SampleDocument();
        TMap54 image;
        TScriptedPrompt prompt;
        FilePath = Dir->filePath("sample.R54");
        QVERIFY(WriteDataFile(FilePath.toStdString(), doc, image, prompt));
        Main = std::make_unique<TfrmMain>(*Host, QStringList {FilePath});
        Grid = Main->Grid();
        Main->show();
        QApplication::setActiveWindow(Main.get());
        QVERIFY(QTest::qWaitForWindowActive(Main.get()));
        QCOMPARE(Cell(0, 2), QString("146.52000"));
    }
    void cleanup()
    {
        Host->Person.Answers = {TAnswer::No};
        Main.reset();
        Host.reset();
        Dir.reset();
    }

    void typedFrequencies_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("rx");
        QTest::addColumn<QString>("tx");
        QTest::addColumn<QString>("clockShift");
        QTest::addColumn<int>("txNearRx");
        QTest::addColumn<int>("txAboveRx");
        QTest::newRow("Rx, comma") << 2 << "146,525" << "146.52500" << "146.52500" << "no" << 1 << 0;
        QTest::newRow("Rx, point, snapped") << 2 << "146.5213" << "146.52000" << "146.52000" << "no" << 1 << 0;
        QTest::newRow("Rx, 6.25 kHz raster") << 2 << "150,006" << "150.00625" << "150.00625" << "no" << 1 << 0;
        QTest::newRow("Rx near 148 MHz") << 2 << "148.02" << "148.02000" << "148.02000" << "yes" << 1 << 0;
        QTest::newRow("Rx above Highest") << 2 << "180" << "174.00000" << "174.00000" << "no" << 1 << 0;
        QTest::newRow("Rx below Lowest") << 2 << "99.5" << "136.00000" << "136.00000" << "yes" << 1 << 0;
        QTest::newRow("Rx, refused characters dropped") << 2 << "1a4x6,5-2" << "146.52000" << "146.52000" << "no" << 1 << 0;
        QTest::newRow("Tx above Rx") << 16 << "146,56" << "146.52000" << "146.56000" << "yes" << 1 << 1;
        QTest::newRow("Tx far below") << 16 << "145" << "146.52000" << "145.00000" << "yes" << 0 << 0;
        QTest::newRow("Tx above its Highest") << 16 << "171" << "146.52000" << "170.00000" << "yes" << 0 << 1;
    }
    void typedFrequencies()
    {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, rx);
        QFETCH(QString, tx);
        QFETCH(QString, clockShift);
        QFETCH(int, txNearRx);
        QFETCH(int, txAboveRx);
        // The sample's Clk Sft of channel 1 reads "yes" only after a rule sets it.
        Work(0).ClockShift = 1;
        Grid->Fill();
        Select(0, column);
        Type(typed);
        QVERIFY(FreqEditor()->isVisible());
        QCOMPARE(Focus(), FreqEditor());
        Key(Qt::Key_Return);
        QVERIFY(!FreqEditor()->isVisible());
        QCOMPARE(Focus(), static_cast<QWidget*>(Grid));
        QCOMPARE(Cell(0, 2), rx);
        QCOMPARE(Cell(0, 16), tx);
        QCOMPARE(Cell(0, 6), clockShift);
        const TChannel& c = Work(0);
        QCOMPARE(QString::fromStdString(ChannelFreqText(0, c.RxFreq)), rx);
        QCOMPARE(QString::fromStdString(ChannelFreqText(0, c.TxFreq)), tx);
        QCOMPARE(c.TxNearRx, txNearRx);
        QCOMPARE(c.TxAboveRx, txAboveRx);

        const QByteArray record = SavedRecord(0);
        QCOMPARE(Khz(record, 10), KhzOf(rx));
        QCOMPARE(Khz(record, 13), KhzOf(tx));
        QCOMPARE(Byte(record, 1) >> 5 & 1, clockShift == "yes" ? 1 : 0);
        QCOMPARE(Byte(record, 2) >> 3 & 1, txNearRx);
        QCOMPARE(Byte(record, 2) >> 2 & 1, txAboveRx);
        QVERIFY(!Main->Modified());
    }

    void enterEscapeAndLeavingTheCell()
    {
        Select(0, 2);
        Key(Qt::Key_Return);
        QVERIFY(FreqEditor()->isVisible());
        QCOMPARE(FreqEditor()->text(), QString("146.52000"));
        QCOMPARE(FreqEditor()->selectedText(), QString("146.52000"));
        Type("160");  // replaces the selected text
        QCOMPARE(FreqEditor()->text(), QString("160"));
        Key(Qt::Key_Escape);
        QVERIFY(!FreqEditor()->isVisible());
        QCOMPARE(Cell(0, 2), QString("146.52000"));
        QCOMPARE(Focus(), static_cast<QWidget*>(Grid));
        QCOMPARE(Work(0).RxFreq.Text(), std::string("146.52"));

        // Selecting another cell commits what was typed.
        Type("16");
        Type("0");
        Click(1, 5);
        QVERIFY(!FreqEditor()->isVisible());
        QCOMPARE(Cell(0, 2), QString("160.00000"));
        QCOMPARE(Cell(0, 16), QString("160.00000"));
        QCOMPARE(Work(0).RxFreq.Text(), std::string("160"));

        // So does any command of the main window.
        Select(0, 16);
        Type("161");
        Trigger("miSave");
        QVERIFY(!FreqEditor()->isVisible());
        QCOMPARE(Cell(0, 16), QString("161.00000"));
        QCOMPARE(Work(0).TxFreq.Text(), std::string("161"));
    }

    void levelEditor()
    {
        // "User" mode: typing opens the level editor; 300 is limited to 255.
        Select(0, 8);
        Type("300");
        QVERIFY(LevelEditor()->isVisible());
        Key(Qt::Key_Return);
        QVERIFY(!LevelEditor()->isVisible());
        QCOMPARE(Cell(0, 8), QString("255"));
        QCOMPARE(Work(0).NsqLevel, 255);
        Key(Qt::Key_Return);  // Enter opens it on the value, all selected
        QVERIFY(LevelEditor()->isVisible());
        Type("x7");           // only digits are taken
        Key(Qt::Key_Return);
        QCOMPARE(Cell(0, 8), QString("7"));
        QCOMPARE(Byte(SavedRecord(0), 5), 7);

        // "Prpgm": neither Enter nor typing opens it.
        Select(1, 8);
        Key(Qt::Key_Return);
        Type("5");
        QVERIFY(!LevelEditor()->isVisible());
        QCOMPARE(Cell(1, 8), QString("---"));
        // Mode to "User" shows the kept level, back to "Prpgm" hides it.
        Select(1, 7);
        Key(Qt::Key_Space);
        QCOMPARE(Cell(1, 7), QString("User"));
        QCOMPARE(Cell(1, 8), QString("99"));
        QCOMPARE(Work(1).NsqMode, 1);
        Select(1, 8);
        Type("12");
        Key(Qt::Key_Escape);
        QCOMPARE(Cell(1, 8), QString("99"));
        QCOMPARE(Work(1).NsqLevel, 99);
        DoubleClick(1, 7);
        QCOMPARE(Cell(1, 8), QString("---"));
        const QByteArray record = SavedRecord(1);
        QCOMPARE(Byte(record, 1) >> 4 & 1, 0);
        QCOMPARE(Byte(record, 5), 99);
    }

    void steppingValueLists_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("mouse");
        QTest::addColumn<QStringList>("texts");  // after each step
        QTest::newRow("W/N by Space") << 0 << 5 << false << QStringList {"N", "W"};
        QTest::newRow("W/N by double-click") << 0 << 5 << true << QStringList {"N", "W"};
        QTest::newRow("LOUT wraps") << 0 << 21 << false << QStringList {"BCLO", "BTLO", "off"};
        QTest::newRow("Tx power") << 0 << 22 << true << QStringList {"Hi", "Lo"};
        QTest::newRow("CW ID only") << 0 << 14 << false << QStringList {"off", "CW-ID", "off"};
        QTest::newRow("Ch is not stepped") << 0 << 1 << false << QStringList {" 1"};
        QTest::newRow("switched-off channel") << 2 << 5 << false << QStringList {"N", "N"};
        QTest::newRow("inhibited Tx side") << 3 << 22 << true << QStringList {"---"};
    }
    void steppingValueLists()
    {
        QFETCH(int, channel);
        QFETCH(int, column);
        QFETCH(bool, mouse);
        QFETCH(QStringList, texts);
        const TChannel before = Work(channel);
        for (const QString& text : texts) {
            if (mouse) {
                DoubleClick(channel, column);
            } else {
                Select(channel, column);
                Key(Qt::Key_Space);
            }
            QCOMPARE(Cell(channel, column), text);
            const TColumnDef& def = GridColumns[column];
            if (def.Field && text != "---")
                QCOMPARE(QString::fromStdString(DisplayText(def.List, Work(channel).*def.Field)), text);
        }
        if (channel >= 2)
            QVERIFY(Work(channel).Equals(before));
    }

    void cwIdStepsByTheSignallingSwitches()
    {
        Main->Document().DtmfRx = 1;  // ANI/ENI becomes reachable
        Select(0, 14);
        Key(Qt::Key_Space);
        QCOMPARE(Cell(0, 14), QString("off"));
        Key(Qt::Key_Space);
        QCOMPARE(Cell(0, 14), QString("ANI/ENI"));
        Key(Qt::Key_Space);
        QCOMPARE(Cell(0, 14), QString("CW-ID"));
        Main->Document().CwIdEnable = 0;
        Main->Document().DtmfRx = 0;
        Key(Qt::Key_Space);
        Key(Qt::Key_Space);
        QCOMPARE(Cell(0, 14), QString("off"));  // nothing to step to
        QCOMPARE(Work(0).CwIdAniEni, 0);
        QCOMPARE(Byte(SavedRecord(0), 4) >> 5 & 3, 0);
    }

    void usedFlagToggle()
    {
        DoubleClick(0, 1);
        QCOMPARE(Work(0).Used, 1);  // channel 1 stays on
        DoubleClick(4, 1);
        QCOMPARE(Work(4).Used, 0);
        QCOMPARE(Grid->TextColor(TChGrid::RowOf(4), 5), QColor(0xC0, 0xC0, 0xC0));
        // A switched-off channel ignores every other edit.
        Select(4, 5);
        Key(Qt::Key_Space);
        Select(4, 2);
        Type("151");
        QVERIFY(!FreqEditor()->isVisible());
        QGuiApplication::clipboard()->setText("W");
        Select(4, 5);
        Trigger("miPaste");
        QCOMPARE(Cell(4, 5), QString("N"));
        QCOMPARE(Cell(4, 2), QString("150.00000"));
        QCOMPARE(Byte(SavedRecord(4), 0), 0x80 | 0x05);
        DoubleClick(4, 1);
        QCOMPARE(Work(4).Used, 1);
        QCOMPARE(Grid->TextColor(TChGrid::RowOf(4), 5), QColor(Qt::black));
        QCOMPARE(Byte(SavedRecord(4), 0), 0x05);
    }

    void txInhibitRoundTrip()
    {
        Select(0, 22);
        Key(Qt::Key_Space);  // Lo -> Hi, kept through the inhibit
        Select(0, 16);
        Key(Qt::Key_Space);
        QCOMPARE(Cell(0, 16), QString("Tx Inh"));
        for (int column = 17; column < 28; ++column)
            QCOMPARE(Cell(0, column), QString("---"));
        QVERIFY(Work(0).TxInhibit != 0);
        QCOMPARE(Work(0).TxPower, 0);
        QCOMPARE(Byte(SavedRecord(0), 1) >> 7, 1);
        // Nothing on the Tx side while inhibited; Enter does not open the editor.
        Select(0, 23);
        Key(Qt::Key_Space);
        QCOMPARE(Cell(0, 23), QString("---"));
        Select(0, 16);
        Key(Qt::Key_Return);
        QVERIFY(!FreqEditor()->isVisible());
        Key(Qt::Key_Space);
        QCOMPARE(Work(0).TxInhibit, 0);
        QCOMPARE(Cell(0, 16), QString("146.52000"));
        QCOMPARE(Cell(0, 22), QString("Hi"));
        QCOMPARE(Cell(0, 23), QString("off"));
        const QByteArray record = SavedRecord(0);
        QCOMPARE(Byte(record, 1) >> 7, 0);
        QCOMPARE(Byte(record, 2) & 1, 0);

        // A new Rx frequency lifts the inhibit of channel 4.
        Select(3, 2);
        Type("152");
        Key(Qt::Key_Return);
        QCOMPARE(Work(3).TxInhibit, 0);
        QCOMPARE(Cell(3, 16), QString("152.00000"));
        QCOMPARE(Cell(3, 22), QString("Lo"));
    }

    void toneSelectionList()
    {
        const std::vector<std::string> dcs = TfrmSelList::Entries(TfrmSelList::DcsList, false);
        Host->OnDialog = [](QDialog& dialog) {
            auto* list = qobject_cast<TfrmSelList*>(&dialog);
            if (!list)
                return int(QDialog::Rejected);
            auto* grid = list->findChild<QTableWidget*>("grdList");
            QTest::keyClick(grid, Qt::Key_End);   // row 11, column 0
            QTest::keyClick(grid, Qt::Key_Return);
            return list->result();
        };
        DoubleClick(0, 4);
        QCOMPARE(Host->DialogsShown, 1);
        QCOMPARE(Cell(0, 4), QString::fromStdString(dcs[99]));
        QCOMPARE(Cell(0, 3), QString("off"));  // the pair rule
        QCOMPARE(Work(0).DecoderIsDcs[0], 1);
        QCOMPARE(Work(0).DecoderCode[0], 98);
        QCOMPARE(Byte(SavedRecord(0), 16), 0x80 | 98);

        // The CTCSS list on the encoder, by Space; End lands on row 9.
        Select(1, 17);
        Key(Qt::Key_Space);
        QCOMPARE(Cell(1, 17), QString::fromStdString(TfrmSelList::Entries(TfrmSelList::CtcssList, false)[9]));
        QCOMPARE(Cell(1, 18), QString("off"));
        QCOMPARE(Work(1).EncoderIsDcs[0], 0);
        QCOMPARE(Work(1).EncoderCode[0], 9);

        // Cancel leaves the cell.
        Host->OnDialog = [](QDialog& dialog) {
            QTest::keyClick(dialog.findChild<QTableWidget*>("grdList"), Qt::Key_Escape);
            return dialog.result();
        };
        DoubleClick(1, 4);
        QCOMPARE(Cell(1, 4), QString("023"));
        QCOMPARE(Host->DialogsShown, 3);
    }

    void multiToneDialog_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void multiToneDialog()
    {
        QFETCH(bool, ok);
        const TChannel before = Work(0);
        Host->OnDialog = [ok](QDialog& dialog) {
            if (!qobject_cast<TfrmMultiTone*>(&dialog))
                return int(QDialog::Rejected);
            QTest::keyClick(dialog.findChild<QComboBox*>("cbxDCss1"), Qt::Key_End);  // 254.1
            QTest::keyClick(dialog.findChild<QComboBox*>("cbxEDcs1"), Qt::Key_Down); // 023
            QTest::keyClick(dialog.findChild<QComboBox*>("cbxDDcs2"), Qt::Key_Down); // slot 1: 023
            QTest::keyClick(dialog.findChild<QCheckBox*>("cbxMultiTone"), Qt::Key_Space);
            QTest::mouseClick(dialog.findChild<QPushButton*>(ok ? "btnOK" : "btnCancel"), Qt::LeftButton);
            return dialog.result();
        };
        Select(0, 13);
        Key(Qt::Key_Space);
        QCOMPARE(Host->DialogsShown, 1);
        if (!ok) {
            QVERIFY(Work(0).Equals(before));
            QCOMPARE(Cell(0, 3), QString("100.0"));
            QCOMPARE(Cell(0, 13), QString("no"));
            return;
        }
        QCOMPARE(Cell(0, 13), QString("yes"));
        QCOMPARE(Cell(0, 3), QString("254.1"));
        QCOMPARE(Cell(0, 4), QString("off"));
        QCOMPARE(Cell(0, 17), QString("off"));
        QCOMPARE(Cell(0, 18), QString("023"));
        const TChannel& c = Work(0);
        QCOMPARE(c.MultiTone, 1);
        QCOMPARE(c.DecoderCode[0], 47);
        QCOMPARE(c.EncoderIsDcs[0], 1);
        QCOMPARE(c.EncoderCode[0], 0);
        QCOMPARE(c.ToneEntryUsed[1], 1);
        QCOMPARE(c.DecoderIsDcs[1], 1);
        const QByteArray record = SavedRecord(0);
        QCOMPARE(Byte(record, 3) >> 7, 1);
        QCOMPARE(Byte(record, 6) >> 6, 3);  // entries 0 and 1 in use
        QCOMPARE(Byte(record, 16), 47);
        QCOMPARE(Byte(record, 17), 0x80);
        QCOMPARE(Byte(record, 32), 0x80);
    }

    void copyCells()
    {
        Grid->setCurrentCell(1, 6);  // a header cell
        Grid->setFocus();
        Trigger("miCopy");
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("Sft"));
        Select(1, 18);
        Trigger("miCopy");
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("754"));
        // With an editor open, its selection.
        Select(0, 2);
        Type("146,5");
        FreqEditor()->setSelection(0, 3);
        Trigger("miCopy");
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("146"));
        Key(Qt::Key_Escape);
        QCOMPARE(Cell(0, 2), QString("146.52000"));
    }

    void pasteIntoCells_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QStringList>("cells");  // "column=text" after the paste
        QTest::addColumn<bool>("modified");
        QTest::newRow("W/N") << 1 << 5 << "W" << QStringList {"5=W"} << true;
        QTest::newRow("not in the list") << 1 << 5 << "X" << QStringList {"5=N"} << false;
        QTest::newRow("same text") << 0 << 5 << "W" << QStringList {"5=W"} << false;
        QTest::newRow("CTCSS off leaves DCS") << 0 << 3 << "off" << QStringList {"3=off", "4=off"} << true;
        QTest::newRow("CTCSS tone resets DCS") << 1 << 3 << "67.0" << QStringList {"3=67.0", "4=off"} << true;
        QTest::newRow("DCS code resets CTCSS") << 0 << 4 << "754" << QStringList {"3=off", "4=754"} << true;
        QTest::newRow("DCS code into CTCSS") << 0 << 3 << "754" << QStringList {"3=100.0"} << false;
        QTest::newRow("multi tone takes none") << 0 << 13 << "yes" << QStringList {"13=no"} << false;
        QTest::newRow("Rx above Highest, Tx follows")
            << 0 << 2 << "190" << QStringList {"2=174.00000", "16=174.00000", "6=no"} << true;
        QTest::newRow("Rx with comma") << 0 << 2 << "151,5" << QStringList {"2=151.50000", "16=151.50000"} << true;
        QTest::newRow("Rx without digits") << 0 << 2 << "hello" << QStringList {"2=146.52000"} << false;
        QTest::newRow("Tx limited") << 0 << 16 << "100" << QStringList {"16=140.00000", "2=146.52000"} << true;
        QTest::newRow("level limited") << 0 << 8 << "300" << QStringList {"8=255"} << true;
        QTest::newRow("level not digits") << 0 << 8 << "4x" << QStringList {"8=42"} << false;
        QTest::newRow("level while Prpgm") << 1 << 8 << "50" << QStringList {"8=---"} << false;
        QTest::newRow("switched-off channel") << 2 << 5 << "W" << QStringList {"5=N"} << false;
        QTest::newRow("inhibited Tx side") << 3 << 22 << "Hi" << QStringList {"22=---"} << false;
        QTest::newRow("Ch column") << 0 << 1 << "5" << QStringList {"1= 1"} << false;
    }
    void pasteIntoCells()
    {
        QFETCH(int, channel);
        QFETCH(int, column);
        QFETCH(QString, clip);
        QFETCH(QStringList, cells);
        QFETCH(bool, modified);
        QVERIFY(!Main->Modified());
        QGuiApplication::clipboard()->setText(clip);
        Select(channel, column);
        Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Main->Modified(), modified);
        for (const QString& cell : cells)
            QCOMPARE(Cell(channel, cell.section('=', 0, 0).toInt()), cell.section('=', 1));
        // What the grid shows is what WorkChannels and the file hold.
        TChannel shown = Work(channel);
        const QByteArray record = SavedRecord(channel);
        QVERIFY(Work(channel).Equals(shown));
        TRKmem saved;
        TMap54 image;
        TScriptedPrompt prompt;
        QVERIFY(ReadDataFile(FilePath.toStdString(), saved, image, prompt));
        const TRowTexts texts = FillRow(saved.Channels[channel], channel, saved.ChStep);
        for (int k = 1; k < GridColumnCount; ++k)
            QCOMPARE(QString::fromStdString(texts[k]), Cell(channel, k));
        QCOMPARE(record.size(), ChannelSize);
    }

    void copyAndPasteBetweenCells()
    {
        QAction* popupCopy = Grid->findChild<QAction*>("pmiCopy");
        QAction* popupPaste = Grid->findChild<QAction*>("pmiPaste");
        QVERIFY(Grid->actions().contains(popupCopy) && Grid->actions().contains(popupPaste));
        Select(0, 5);
        popupCopy->trigger();
        Select(1, 5);
        popupPaste->trigger();
        QCOMPARE(Cell(1, 5), QString("W"));
        Select(0, 3);
        Key(Qt::Key_C, Qt::ControlModifier);
        Select(1, 17);
        Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Cell(1, 17), QString("100.0"));
        QCOMPARE(Cell(1, 18), QString("off"));
        Select(0, 2);
        Key(Qt::Key_C, Qt::ControlModifier);
        Select(1, 16);
        Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Cell(1, 16), QString("146.52000"));
        QCOMPARE(Cell(1, 2), QString("150.00000"));
        const TChannel& c = Work(1);
        QCOMPARE(c.Bandwidth, 1);
        QCOMPARE(c.EncoderIsDcs[0], 0);
        QCOMPARE(c.EncoderCode[0], 13);
        QCOMPARE(c.TxNearRx, 0);
        QCOMPARE(c.TxAboveRx, 0);
        QVERIFY(Main->Modified());
        const QByteArray record = SavedRecord(1);
        QCOMPARE(Byte(record, 1) >> 6 & 1, 1);
        QCOMPARE(Byte(record, 32), 13);
        QCOMPARE(Byte(record, 16), 0x80);  // the decoder keeps DCS 023
        QCOMPARE(Khz(record, 13), 146520);
        QCOMPARE(Khz(record, 10), 150000);
        QCOMPARE(Byte(record, 2) >> 2 & 3, 0);
    }

    void pasteIntoAnOpenEditor()
    {
        Select(0, 2);
        Type("14");
        QGuiApplication::clipboard()->setText("6,52 MHz");
        Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(FreqEditor()->text(), QString("146,52 "));  // "MHz" refused
        FreqEditor()->selectAll();
        QGuiApplication::clipboard()->setText("147.1234567890");
        Trigger("miPaste");
        QCOMPARE(FreqEditor()->text(), QString("147.12345"));  // cut to the room left
        Key(Qt::Key_Return);
        QCOMPARE(Cell(0, 2), QString("147.12500"));
        QVERIFY(!Main->Modified());  // the commit, not the paste, changed the cell

        // The level editor takes the digits only, replacing its selection.
        Select(0, 8);
        Type("1");
        QGuiApplication::clipboard()->setText("2x5y9");
        Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(LevelEditor()->text(), QString("125"));
        Key(Qt::Key_Return);
        QCOMPARE(Work(0).NsqLevel, 125);
    }

    void editorFollowsTheGrid()
    {
        // Small enough that both scroll bars are needed.
        Grid->setMaximumSize(400, 120);
        QApplication::processEvents();
        Select(0, 2);
        Type("15");
        const QRect cell = Grid->visualRect(Grid->model()->index(TChGrid::RowOf(0), 2));
        const QRect over = FreqEditor()->geometry();
        QVERIFY(over.contains(cell.center()));
        QScrollBar* rows = Grid->verticalScrollBar();
        QVERIFY(rows->maximum() > 0);
        rows->setValue(rows->maximum());
        QVERIFY(!FreqEditor()->isVisible());  // its row is out of view
        rows->setValue(0);
        QVERIFY(FreqEditor()->isVisible());
        QScrollBar* columns = Grid->horizontalScrollBar();
        columns->setValue(columns->maximum());
        QVERIFY(!FreqEditor()->isVisible());
        columns->setValue(0);
        QVERIFY(FreqEditor()->isVisible());
        QCOMPARE(FreqEditor()->geometry(), over);
        // Enter scrolls an open editor back into view.
        rows->setValue(rows->maximum());
        Select(0, 2);
        Key(Qt::Key_Return);
        QVERIFY(FreqEditor()->isVisible());
        QCOMPARE(FreqEditor()->text(), QString("15"));
        QCOMPARE(FreqEditor()->selectedText(), QString("15"));
        Type("151");
        Key(Qt::Key_Return);
        QCOMPARE(Cell(0, 2), QString("151.00000"));
    }

    void undoAndRedo()
    {
        QVERIFY(!Main->Action("miUndo")->isEnabled());
        Select(0, 5);
        Key(Qt::Key_Space);                // W -> N
        Select(0, 2);
        Type("160");
        Key(Qt::Key_Return);               // Rx and, by the rule, Tx
        QGuiApplication::clipboard()->setText("Hi");
        Select(0, 22);
        Key(Qt::Key_V, Qt::ControlModifier);
        DoubleClick(5, 1);                 // channel 6 off
        QVERIFY(Main->Action("miUndo")->isEnabled());

        Key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Work(5).Used, 1);
        Trigger("miUndo");
        QCOMPARE(Cell(0, 22), QString("Lo"));
        QCOMPARE(Work(0).TxPower, 1);
        Trigger("miUndo");                 // one step for the editor and its rule
        QCOMPARE(Cell(0, 2), QString("146.52000"));
        QCOMPARE(Cell(0, 16), QString("146.52000"));
        QCOMPARE(Work(0).RxFreq.Text(), std::string("146.52"));
        QCOMPARE(Cell(0, 5), QString("N"));
        Trigger("miUndo");
        QCOMPARE(Cell(0, 5), QString("W"));
        QVERIFY(!Main->Action("miUndo")->isEnabled());
        QVERIFY(Main->Action("miRedo")->isEnabled());

        Key(Qt::Key_Y, Qt::ControlModifier);
        Trigger("miRedo");
        QCOMPARE(Cell(0, 2), QString("160.00000"));
        QCOMPARE(Work(0).TxFreq.Text(), std::string("160"));
        const QByteArray record = SavedRecord(0);
        QCOMPARE(Khz(record, 10), 160000);
        QCOMPARE(Byte(record, 1) >> 6 & 1, 0);

        // A new edit drops the redo steps; New forgets the history.
        Select(0, 9);
        Key(Qt::Key_Space);
        QVERIFY(!Main->Action("miRedo")->isEnabled());
        Host->Person.Answers = {TAnswer::No};
        Trigger("miNew");
        QVERIFY(!Main->Action("miUndo")->isEnabled());
        QVERIFY(!Main->Action("miRedo")->isEnabled());
    }
};

QTEST_MAIN(TestGridEdit)
#include "tst_GridEdit.moc"
