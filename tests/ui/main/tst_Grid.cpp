// The channel grid as a person sees and edits it through the main window:
// texts, columns and colours, keys and mouse on the real grid, the two
// in-place editors, the selection list and the multi-tone dialog, the
// clipboard, undo and redo, the item dialog and the raw data viewer. Edits
// are checked in WorkChannels and, after File > Save, in the saved file.
// The rules themselves on plain row texts are tested without the window.
#include "ui/dialogs/D_SelectList.h"
#include "support/TestHost.h"
#include "ui/base/U_Contrast.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QtTest>

namespace {

void SetFreq(TDecimal& target, double mhz) { target.SetFromFloat(mhz); }

// Channel 1: 146.52 simplex, CTCSS 100.0, NSQ "User" 42, W, Lo, its
// Clk Sft stored "yes" (wrong for 146.52: a rule that runs shows "no").
// Channel 2: DCS 023 / 754, NSQ "Prpgm" 99. Channel 3 switched off. Channel 4
// Tx-inhibited with Tx values kept. The rest 150 MHz simplex. Alignment ranges 136..174 (Rx), 140..170 (Tx).
TRKmem SampleDocument()
{
    TRKmem doc = DefaultDocument();
    doc.ChStep = 0;
    const double rx[] = {136, 145, 165, 174};
    const double tx[] = {140, 150, 160, 170};
    for (int p = 0; p < AlignPointCount; ++p) {
        SetFreq(doc.RxAdjFreq[p], rx[p]);
        SetFreq(doc.TxAdjFreq[p], tx[p]);
    }
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
    c0.DecoderCode[0] = 13;  // 100.0
    c0.NsqMode = 1;
    c0.NsqLevel = 42;
    c0.Bandwidth = 1;
    c0.TxPower = 1;
    c0.TxLockout = 0;
    c0.ClockShift = 1;

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

// One edit of one cell as a person makes it, and what follows: the cells
// after it as "column=text", or "near=" / "above=" for the Tx side's flags
// the grid does not show. An edit that is refused changes nothing.
enum class TBy { Keys, DoubleClicks, Paste };
struct TEdit {
    int Channel, Column;
    TBy By;
    QString Input;  // the keys typed ("\r" Enter), the number of double-clicks or the clipboard's text
    QStringList Cells;
    bool Modified = true;
};

} // namespace

Q_DECLARE_METATYPE(TEdit)

class TestGrid : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TMainRig> Rig;
    TfrmMain* Main = nullptr;
    TChEditGrid* Grid = nullptr;
    QString FilePath;

    QString Cell(int channel, int column) const { return Grid->CellText(TChGrid::RowOf(channel), column); }
    TChannel& Work(int channel) const { return Main->WorkChannels()[channel]; }
    QLineEdit* FreqEditor() const { return Grid->findChild<QLineEdit*>("edtDmy"); }
    QSpinBox* LevelEditor() const { return Grid->findChild<QSpinBox*>("SpinDmy"); }
    static void Clip(const QString& text) { QGuiApplication::clipboard()->setText(text); }
    static QString Clipboard() { return QGuiApplication::clipboard()->text(); }

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
    // What the test's own OK or Cancel does in the dialog a command opens.
    void OnDialog(std::function<void(QDialog&)> act)
    {
        Rig->Host.OnDialog = [act](QDialog& dialog) {
            act(dialog);
            return dialog.result();
        };
    }

    // File > Save writes the open file: it holds the channel as edited, the
    // fields the grid does not show included, and reads back as the grid
    // showed it before the save refilled it.
    void CheckSaved(int channel)
    {
        QStringList shown;
        for (int k = 1; k < GridColumnCount; ++k)
            shown << Cell(channel, k);
        TChannel edited = Work(channel);
        edited.TxInhibit = edited.TxInhibit ? -1 : 0;  // how an image's inhibit bit reads back
        Trigger("miSave");
        QVERIFY(!Main->Modified());
        const TRKmem saved = ReadDocument(FilePath);
        QVERIFY(saved.Channels[channel] == edited);
        QStringList read;
        for (const std::string& text : FillRow(saved.Channels[channel], channel, saved.ChStep))
            read << QString::fromStdString(text);
        QCOMPARE(read.mid(1), shown);
    }

private slots:
    void init()
    {
        Rig = std::make_unique<TMainRig>();
        FilePath = WriteDocument(Rig->Path("sample.R54"), SampleDocument());
        QVERIFY(!FilePath.isEmpty());
        Main = &Rig->Start({FilePath});
        Grid = Main->Grid();
        QApplication::setActiveWindow(Main);
        QVERIFY(QTest::qWaitForWindowActive(Main));
        QCOMPARE(Cell(0, 2), QString("146.52000"));
    }
    void cleanup() { Rig.reset(); }

    // The item dialog hides NSQ on OK only; the arrows then step over the
    // hidden columns and stop at the grid's first and last shown ones.
    void visibleDialogAndArrowKeys()
    {
        for (const QString button : {"btnCancel", "btnOK"}) {
            OnDialog([&](QDialog& dialog) {
                QTest::keyClick(dialog.findChild<QCheckBox*>("chbItem5"), Qt::Key_Space);
                QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
            });
            Trigger("miVisible");
            QCOMPARE(Grid->isColumnHidden(8), button == "btnOK");
            QCOMPARE(Main->Action("miItem5")->isChecked(), button != "btnOK");
        }
        Select(0, 6);
        Key(Qt::Key_Right);
        QCOMPARE(Grid->currentColumn(), 9);
        Key(Qt::Key_Left);
        QCOMPARE(Grid->currentColumn(), 6);
        Select(0, 1);
        Key(Qt::Key_Left);
        QCOMPARE(Grid->currentColumn(), 1);
        Main->ToggleItem(23);
        Select(0, 25);
        for (int k = 0; k < 3; ++k)
            Key(Qt::Key_Right);
        QCOMPARE(Grid->currentColumn(), 26);
        Main->ToggleItem(5);  // the menu's entry turns it the other way
        QVERIFY(!Grid->isColumnHidden(8));
    }

    void rawViewerShowsTheImageOfTheEditedDocument()
    {
        // An edit not yet committed must be in the bytes the viewer shows.
        Grid->SetCellText(TChGrid::RowOf(4), 22, "Lo");
        TRKmem expectedDoc = Main->Document();
        expectedDoc.Channels[4].TxPower = 1;
        TMap54 expected;
        expected.CopyFrom(Main->Codec());
        expected.Encode(expectedDoc);

        QStringList cells;
        Rig->Host.OnDialog = [&](QDialog& dialog) {
            auto* grid = dialog.findChild<QTableWidget*>("grdData");
            for (int row = 0; row < grid->rowCount(); ++row)
                for (int column = 0; column < grid->columnCount(); ++column)
                    cells << (grid->item(row, column) ? grid->item(row, column)->text() : QString("?"));
            QTest::mouseClick(dialog.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
            return dialog.result();
        };
        QTest::keyClick(Grid, Qt::Key_F9, Qt::ShiftModifier);
        QVERIFY(cells.size() >= ImageSize);
        for (int address = 0; address < ImageSize; ++address)
            QCOMPARE(cells[address], QString::asprintf("%02x", expected[address]));
        QVERIFY(std::equal(expected.Data(), expected.Data() + ImageSize, Main->Codec().Data()));
    }

    // The grid's editing rules by column, one edit a row.
    void editsByColumn_data()
    {
        QTest::addColumn<TEdit>("e");
        const TBy keys = TBy::Keys, clicks = TBy::DoubleClicks, paste = TBy::Paste;
        // Typed frequencies: cleaned (snapped and limited: without the window); Tx follows Rx; Clk Sft by rule.
        QTest::newRow("Rx near 148 MHz") << TEdit {0, 2, keys, "148.02\r", {"2=148.02000", "16=148.02000", "6=yes"}};
        QTest::newRow("Rx, refused characters dropped") << TEdit {0, 2, keys, "1a4x6,5-2\r", {"2=146.52000", "6=no"}};
        QTest::newRow("Tx above Rx")
            << TEdit {0, 16, keys, "146,56\r", {"2=146.52000", "16=146.56000", "near=1", "above=1"}};
        // Value lists step by Space or a double-click, wrapping.
        QTest::newRow("LOUT wraps") << TEdit {0, 21, keys, "   ", {"21=off"}, false};
        QTest::newRow("Tx power by double-click") << TEdit {0, 22, clicks, "1", {"22=Hi"}};
        QTest::newRow("channel 1 stays on") << TEdit {0, 1, clicks, "1", {"used=1"}, false};
        QTest::newRow("channel switched off") << TEdit {4, 1, clicks, "1", {"used=0"}};
        QTest::newRow("typing on a switched-off channel") << TEdit {2, 2, keys, "151\r", {"used=0"}, false};
        // The level editor opens on typing in "User" mode only; a mode back
        // to "User" shows the kept level.
        QTest::newRow("level limited") << TEdit {0, 8, keys, "300\r", {"8=255"}};
        QTest::newRow("no level typed while Prpgm") << TEdit {1, 8, keys, "5\r", {"8=---"}, false};
        QTest::newRow("mode to User shows the kept level") << TEdit {1, 7, keys, " ", {"8=99"}};
        // Space inhibits the Tx side and lifts it, keeping its values; so
        // does a new Rx frequency. No editor opens on an inhibited side.
        QTest::newRow("Tx inhibit") << TEdit {0, 16, keys, " ", {"16=Tx Inh", "17=---", "27=---"}};
        QTest::newRow("Tx inhibit lifted") << TEdit {3, 16, keys, " ", {"16=155.50000", "22=Lo"}};
        QTest::newRow("Rx lifts the inhibit") << TEdit {3, 2, keys, "152\r", {"16=152.00000", "22=Lo"}};
        QTest::newRow("no Tx typed while inhibited") << TEdit {3, 16, keys, "152\r", {"16=Tx Inh"}, false};
        // Pasted into a cell: the cell's own rules, then the row's.
        QTest::newRow("paste level while Prpgm") << TEdit {1, 8, paste, "50", {"8=---"}, false};
        QTest::newRow("paste on an inhibited Tx side") << TEdit {3, 22, paste, "Hi", {"22=---"}, false};
        QTest::newRow("paste on an inhibited Rx side") << TEdit {3, 15, paste, "Simplex", {"15=Simplex"}};
        // A block pasted all or nothing, the status bar saying why not.
        QTest::newRow("block onto a switched-off channel") << TEdit {1, 5, paste, "W\nW",
            {"status=Nothing pasted: channel 3, W/N, \"W\": the channel is switched off", "undo=0"}, false};
        QTest::newRow("block past the grid's edge") << TEdit {15, 27, paste, "yes\tyes",
            {"status=The block does not fit the grid from the current cell.", "undo=0"}, false};
    }
    void editsByColumn()
    {
        QFETCH(TEdit, e);
        const TChannels before = Main->WorkChannels();
        Select(e.Channel, e.Column);
        if (e.By == TBy::Paste) {
            Clip(e.Input);
            Key(Qt::Key_V, Qt::ControlModifier);
        } else if (e.By == TBy::DoubleClicks) {
            for (int k = e.Input.toInt(); k > 0; --k)
                DoubleClick(e.Channel, e.Column);
        } else {
            Type(e.Input);
        }
        QVERIFY(!FreqEditor()->isVisible() && !LevelEditor()->isVisible());
        QCOMPARE(Focus(), static_cast<QWidget*>(Grid));
        Main->Commit();  // as any command does
        QCOMPARE(Main->Modified(), e.Modified);
        if (!e.Modified)
            QVERIFY(Main->WorkChannels().Equals(before));
        for (const QString& cell : e.Cells) {
            const QString name = cell.section('=', 0, 0), text = cell.section('=', 1);
            if (name == "near")
                QCOMPARE(QString::number(Work(e.Channel).TxNearRx), text);
            else if (name == "above")
                QCOMPARE(QString::number(Work(e.Channel).TxAboveRx), text);
            else if (name == "used")
                QCOMPARE(QString::number(Work(e.Channel).Used), text);
            else if (name == "status")
                QCOMPARE(Main->statusBar()->currentMessage(), text);
            else if (name == "undo")
                QCOMPARE(QString::number(Main->Action("miUndo")->isEnabled()), text);
            else
                QCOMPARE(Cell(e.Channel, name.toInt()), text);
        }
        CheckSaved(e.Channel);
    }

    void inPlaceEditors()
    {
        Select(0, 2);
        Key(Qt::Key_Return);
        QVERIFY(FreqEditor()->isVisible());
        QCOMPARE(Focus(), FreqEditor());
        QCOMPARE(FreqEditor()->selectedText(), QString("146.52000"));
        Type("160");  // replaces the selected text
        QCOMPARE(FreqEditor()->text(), QString("160"));
        Key(Qt::Key_Escape);
        QVERIFY(!FreqEditor()->isVisible());
        QCOMPARE(Cell(0, 2), QString("146.52000"));
        QCOMPARE(Focus(), static_cast<QWidget*>(Grid));

        // Selecting another cell commits what was typed; so does any command.
        Type("160");
        Click(1, 5);
        QVERIFY(!FreqEditor()->isVisible());
        QCOMPARE(Cell(0, 16), QString("160.00000"));
        Select(0, 16);
        Type("161");
        Trigger("miSave");
        QVERIFY(!FreqEditor()->isVisible());
        QCOMPARE(Cell(0, 16), QString("161.00000"));
        CheckSaved(0);

        // Pasted into an open editor: its own rules (tested without the
        // window), not the cell's.
        Select(0, 2);
        Type("15");
        Clip("6,52 MHz");
        Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(FreqEditor()->text(), QString("156,52 "));
        FreqEditor()->setSelection(0, 3);
        Trigger("miCopy");  // with an editor open, Copy takes its selection
        QCOMPARE(Clipboard(), QString("156"));
        Key(Qt::Key_Return);
        QCOMPARE(Cell(0, 2), QString("156.52000"));
    }

    void toneSelectionList()
    {
        OnDialog([](QDialog& dialog) {
            auto* grid = dialog.findChild<QTableWidget*>("grdList");
            QTest::keyClick(grid, Qt::Key_End);  // row 11, column 0 of the DCS list
            QTest::keyClick(grid, Qt::Key_Return);
        });
        DoubleClick(0, 4);
        QCOMPARE(Cell(0, 4), QString::fromStdString(TfrmSelList::Entries(TfrmSelList::DcsList, false)[99]));
        QCOMPARE(Cell(0, 3), QString("off"));  // the pair rule
        CheckSaved(0);

        OnDialog([](QDialog& dialog) { QTest::keyClick(dialog.findChild<QTableWidget*>("grdList"), Qt::Key_Escape); });
        DoubleClick(1, 4);
        QCOMPARE(Cell(1, 4), QString("023"));
        QCOMPARE(Rig->Host.DialogsShown, 2);
    }

    // Cancel leaves the channel; OK shows the dialog's slot 0 in the grid and
    // keeps the slots the grid does not show.
    void multiToneDialog()
    {
        const TChannel before = Work(0);
        const auto open = [this](const char* button) {
            OnDialog([button](QDialog& dialog) {
                QTest::keyClick(dialog.findChild<QComboBox*>("cbxDCss1"), Qt::Key_End);  // 254.1
                QTest::keyClick(dialog.findChild<QComboBox*>("cbxEDcs1"), Qt::Key_Down); // 023
                QTest::keyClick(dialog.findChild<QComboBox*>("cbxDDcs2"), Qt::Key_Down); // slot 1: 023
                QTest::keyClick(dialog.findChild<QCheckBox*>("cbxMultiTone"), Qt::Key_Space);
                QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
            });
            Select(0, 13);
            Key(Qt::Key_Space);
            return QStringList {Cell(0, 13), Cell(0, 3), Cell(0, 4), Cell(0, 17), Cell(0, 18)};
        };
        QCOMPARE(open("btnCancel"), (QStringList {"no", "100.0", "off", "off", "off"}));
        QVERIFY(Work(0) == before);
        QCOMPARE(open("btnOK"), (QStringList {"yes", "254.1", "off", "off", "023"}));
        QCOMPARE(Rig->Host.DialogsShown, 2);
        QCOMPARE(Work(0).DecoderIsDcs[1], 1);  // a slot the grid does not show
        CheckSaved(0);
    }

    void copyAndPaste()
    {
        // One cell by the grid's own menu.
        Select(0, 5);
        Grid->findChild<QAction*>("pmiCopy")->trigger();
        Select(1, 5);
        Grid->findChild<QAction*>("pmiPaste")->trigger();
        QCOMPARE(Cell(1, 5), QString("W"));
        QVERIFY(Main->Modified());
        CheckSaved(1);

        // A block by Shift and the arrows, by the keys.
        Select(0, 2);
        for (int k = 0; k < 3; ++k)
            Key(Qt::Key_Right, Qt::ShiftModifier);
        Key(Qt::Key_Down, Qt::ShiftModifier);
        Key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(Clipboard(), QString("146.52000\t100.0\toff\tW\n150.00000\toff\t023\tW\n"));

        Select(4, 2);
        Key(Qt::Key_V, Qt::ControlModifier);
        QVERIFY(Main->Modified());
        const QStringList pasted {Cell(4, 2), Cell(4, 3), Cell(4, 5), Cell(5, 2), Cell(5, 4), Cell(5, 5)};
        QCOMPARE(pasted, (QStringList {"146.52000", "100.0", "W", "150.00000", "023", "W"}));
        QCOMPARE(Cell(4, 16), QString("146.52000"));  // the Rx cell's own rule: Tx follows
        CheckSaved(4);
        CheckSaved(5);

        // The whole block is one step back.
        Key(Qt::Key_Z, Qt::ControlModifier);
        const QStringList undone {Cell(4, 2), Cell(4, 3), Cell(4, 5), Cell(5, 4), Cell(4, 16)};
        QCOMPARE(undone, (QStringList {"150.00000", "off", "N", "off", "150.00000"}));
    }

    // The file's own forms are tested without the window; here the commands
    // reach the grid, the person and the undo history.
    void importAndExportChannels()
    {
        TTestHost& host = Rig->Host;
        const QString exported = Rig->Path("site.csv");
        host.Files = {exported};
        Trigger("miExportChannels");
        QVERIFY(ReadAll(exported).contains("\r\n1,146.52000,100.0,off,W,yes,User,42,"));

        // A spreadsheet's edit of channel 5: semicolons, a decimal comma.
        const QString planned = Rig->Path("planned.csv");
        QFile file(planned);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Ch;Rx Freq;W/N;Site\r\n5;151,2;W;hill\r\n");
        file.close();
        host.Files = {planned};
        Trigger("miImportChannels");
        QCOMPARE(host.Person.Texts(),
                 (QStringList {"information: These columns are not the grid's and were ignored:\r\nSite"}));
        QCOMPARE(Cell(4, 2), QString("151.20000"));
        QVERIFY(Main->Modified());
        CheckSaved(4);

        // One Undo takes the import back.
        Grid->setFocus();
        Trigger("miUndo");
        QCOMPARE(Cell(4, 2), QString("150.00000"));

        // A refused file changes nothing and says where.
        const TChannels before = Main->WorkChannels();
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("Ch,Rx Freq,NSQ Lv\n2,151.2,\n1,151.2,high\n");
        file.close();
        host.Person.Messages.clear();
        host.Files = {planned};
        Trigger("miImportChannels");
        QCOMPARE(host.Person.Texts(),
                 (QStringList {"error: The channels cannot be imported; nothing was changed.\r\n"
                               "row 2, column \"NSQ Lv\", \"\": the NSQ mode takes no level\r\n"
                               "row 3, column \"NSQ Lv\", \"high\": not a value of this column"}));
        QVERIFY(Main->Document().Channels.Equals(before));
    }

    void compareWithAnotherFile()
    {
        TRKmem other = ReadDocument(FilePath);
        SetFreq(other.Channels[1].RxFreq, 151.25);
        const QString otherPath = WriteDocument(Rig->Path("other.R54"), other);
        Select(0, 5);
        Key(Qt::Key_Space);  // the open document's own edit counts too: W -> N

        QString shown;
        Rig->Host.Files = {otherPath};
        OnDialog([&](QDialog& dialog) {
            shown = dialog.findChild<QLabel*>("lblText")->text();
            QTest::mouseClick(dialog.findChild<QPushButton*>("btnCopy"), Qt::LeftButton);
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        Trigger("miCompare");
        // The lines' form is rk54 diff's (the corpus pins it).
        QCOMPARE(shown, QString("The open document and other.R54 differ in these 3 fields:"));
        QCOMPARE(Clipboard(), QString("Channel 1 Bandwidth: 0 | 1\nChannel 2 RxFreq: \"150\" | \"151.25\"\n"
                                      "DataFileName: \"sample  \" | \"other   \"\n"));
    }

    void screenReaderNamesAndDarkTheme()
    {
        QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(Grid);
        QVERIFY(grid && grid->tableInterface());
        Select(0, 5);
        Key(Qt::Key_Space);  // W -> N: the name follows the value
        QAccessibleInterface* cell = grid->tableInterface()->cellAt(TChGrid::RowOf(0), 5);
        QCOMPARE(cell->text(QAccessible::Name), QString("W/N, channel 1, N"));

        // A dark theme: the theme's text on the theme's window colour.
        Grid->setPalette(QPalette(QColor(0x35, 0x35, 0x35)));
        const QPalette& dark = Grid->palette();
        QVERIFY(Contrast(Grid->TextColor(TChGrid::RowOf(0), 2), dark.color(QPalette::Base)) >= 4.5);
        QVERIFY(Contrast(Grid->TextColor(1, 2), dark.color(QPalette::Button)) >= 4.5);
        QVERIFY(Contrast(Grid->TextColor(TChGrid::RowOf(2), 2), dark.color(QPalette::Base)) >= 3.0);
    }

    // The open editor moves with its cell and hides while the cell is out
    // of view, keeping what was typed.
    void editorFollowsTheGrid()
    {
        Grid->setMaximumSize(400, 120);  // both scroll bars needed
        QApplication::processEvents();
        Select(0, 2);
        Type("15");
        const QRect over = FreqEditor()->geometry();
        QVERIFY(over.contains(CellCentre(0, 2)));
        for (QScrollBar* bar : {Grid->verticalScrollBar(), Grid->horizontalScrollBar()}) {
            QVERIFY(bar->maximum() > 0);
            bar->setValue(bar->maximum());
            QVERIFY(!FreqEditor()->isVisible());
            bar->setValue(0);
            QVERIFY(FreqEditor()->isVisible());
        }
        QCOMPARE(FreqEditor()->geometry(), over);
        Type("1");
        Key(Qt::Key_Return);
        QCOMPARE(Cell(0, 2), QString("151.00000"));
    }

    void undoAndRedo()
    {
        Select(0, 5);
        Key(Qt::Key_Space);                // W -> N
        Select(0, 2);
        Type("160\r");                     // Rx and, by the rule, Tx
        DoubleClick(5, 1);                 // channel 6 off

        Key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Work(5).Used, 1);
        Trigger("miUndo");                 // one step for the editor and its rule
        QCOMPARE(Cell(0, 2), QString("146.52000"));
        QCOMPARE(Cell(0, 16), QString("146.52000"));
        QCOMPARE(Cell(0, 5), QString("N"));
        Trigger("miUndo");
        QCOMPARE(Cell(0, 5), QString("W"));
        QVERIFY(!Main->Action("miUndo")->isEnabled());

        Key(Qt::Key_Y, Qt::ControlModifier);
        Trigger("miRedo");
        QCOMPARE(Cell(0, 2), QString("160.00000"));
        QCOMPARE(Work(0).TxFreq.Text(), std::string("160"));
        CheckSaved(0);

        // A new edit drops the redo steps; New forgets the history.
        Select(0, 9);
        Key(Qt::Key_Space);
        QVERIFY(!Main->Action("miRedo")->isEnabled());
        Rig->Host.Person.Answers = {TAnswer::No};
        Trigger("miNew");
        QVERIFY(!Main->Action("miUndo")->isEnabled());
        QVERIFY(!Main->Action("miRedo")->isEnabled());
    }
};

QTEST_MAIN(TestGrid)
#include "tst_Grid.moc"
