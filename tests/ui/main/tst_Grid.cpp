// The channel grid's texts, columns and colours, the item dialog and the
// raw data viewer, driven through the main window.
#include "D_FData.h"
#include "Main.h"
#include "TestHost.h"
#include "U_ChGrid.h"
#include "U_FileAccess.h"
#include "U_HexDump.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <memory>

namespace {

void SetFreq(TDecimal& target, double mhz) { target.SetFromFloat(mhz); }

// A document whose channels show every kind of cell.
TRKmem SampleDocument()
{
    TRKmem doc;
    TMap54::SetDefaults(doc);
    TChannel& c0 = doc.Channels[0];
    c0.Used = 1;
    SetFreq(c0.RxFreq, 146.52);
    SetFreq(c0.TxFreq, 146.52);
    c0.ToneEntryUsed[0] = 1;
    c0.DecoderCode[0] = 13;  // 100.0
    c0.NsqMode = 1;
    c0.NsqLevel = 42;
    c0.Bandwidth = 1;
    c0.CwIdAniEni = 2;
    c0.TxPower = 1;

    TChannel& c1 = doc.Channels[1];
    c1.Used = 1;
    SetFreq(c1.RxFreq, 150.00625);  // stored to the kHz, shown on the raster
    SetFreq(c1.TxFreq, 155.5);
    c1.ToneEntryUsed[0] = 1;
    c1.DecoderIsDcs[0] = 1;
    c1.DecoderCode[0] = 0;  // 023
    c1.EncoderIsDcs[0] = 1;
    c1.EncoderCode[0] = 103;
    c1.NsqMode = 0;
    c1.Bandwidth = 0;
    c1.NsqLevel = 99;

    TChannel& c2 = doc.Channels[2];
    c2.Used = 0;
    c2.TxInhibit = -1;
    return doc;
}

} // namespace

class TestGrid : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> Dir;
    std::unique_ptr<TTestHost> Host;
    std::unique_ptr<TfrmMain> Main;
    TChGrid* Grid = nullptr;

    QString Cell(int channel, int column) const { return Grid->CellText(TChGrid::RowOf(channel), column); }

private slots:
    void init()
    {
        Dir = std::make_unique<QTemporaryDir>();
        Host = std::make_unique<TTestHost>(Dir->path());
        TRKmem doc = SampleDocument();
        TMap54 image;
        TScriptedPrompt prompt;
        const QString path = Dir->filePath("sample.R54");
        QVERIFY(WriteDataFile(path.toStdString(), doc, image, prompt));
        Main = std::make_unique<TfrmMain>(*Host, QStringList {path});
        Grid = Main->Grid();
        Main->show();
    }
    void cleanup()
    {
        Host->Person.Answers = {TAnswer::No};
        Main.reset();
        Host.reset();
        Dir.reset();
    }

    void fillShowsTheChannels_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::newRow("Ch %2d") << 0 << 1 << " 1";
        QTest::newRow("Ch 16") << 15 << 1 << "16";
        QTest::newRow("Rx freq") << 0 << 2 << "146.52000";
        QTest::newRow("Rx on the raster") << 1 << 2 << "150.00625";
        QTest::newRow("CTCSS decoder") << 0 << 3 << "100.0";
        QTest::newRow("no DCS with CTCSS") << 0 << 4 << "off";
        QTest::newRow("DCS code 0") << 1 << 4 << "023";
        QTest::newRow("no CTCSS with DCS") << 1 << 3 << "off";
        QTest::newRow("W") << 0 << 5 << "W";
        QTest::newRow("N") << 1 << 5 << "N";
        QTest::newRow("User mode") << 0 << 7 << "User";
        QTest::newRow("level shown") << 0 << 8 << "42";
        QTest::newRow("Prpgm hides level") << 1 << 8 << "---";
        QTest::newRow("CW-ID") << 0 << 14 << "CW-ID";
        QTest::newRow("Tx freq") << 1 << 16 << "155.50000";
        QTest::newRow("DCS encoder") << 1 << 18 << "754";
        QTest::newRow("Tx power Lo") << 0 << 22 << "Lo";
        QTest::newRow("Tx Inh") << 2 << 16 << "Tx Inh";
        QTest::newRow("inhibited encoder") << 2 << 17 << "---";
        QTest::newRow("inhibited last column") << 2 << 27 << "---";
        QTest::newRow("value outside its list") << 2 << 15 << "";
        QTest::newRow("fixed column") << 4 << 0 << "5";
    }
    void fillShowsTheChannels()
    {
        QFETCH(int, channel);
        QFETCH(int, column);
        QFETCH(QString, text);
        // A value no list text stands for (it cannot come from an image).
        Main->WorkChannels()[2].ActionMode = 7;
        Grid->Fill();
        QCOMPARE(Cell(channel, column), text);
    }

    void headersAndGroupPanels()
    {
        QCOMPARE(Grid->objectName(), QString("grdCh"));
        QCOMPARE(Grid->columnCount(), 28);
        QCOMPARE(Grid->rowCount(), 18);
        QCOMPARE(Grid->CellText(0, 6), QString("Clk"));
        QCOMPARE(Grid->CellText(1, 6), QString("Sft"));
        QCOMPARE(Grid->CellText(1, 16), QString("Tx Freq"));
        QCOMPARE(Grid->CellText(0, 14), QString("CWID"));
        QCOMPARE(Grid->columnWidth(2), 100);
        QCOMPARE(Grid->columnWidth(12), 44);
        QCOMPARE(Grid->GroupPanel(2)->text(), QString("Decoders"));
        QVERIFY(Grid->GroupPanel(2)->isVisible());
        QVERIFY(Grid->GroupPanel(5)->isVisible());
        // Encoders sit right of the window's edge until the grid scrolls.
        QVERIFY(!Grid->GroupPanel(14)->isVisible());
        Grid->scrollToItem(Grid->item(TChGrid::RowOf(0), 27));
        QVERIFY(Grid->GroupPanel(14)->isVisible());
        QVERIFY(!Grid->GroupPanel(2)->isVisible());
        const QRect panel = Grid->GroupPanel(14)->geometry();
        QCOMPARE(panel.left(), Grid->columnViewportPosition(17));
        QCOMPARE(panel.width(), Grid->columnWidth(17) + Grid->columnWidth(18) - 1);
    }

    void unusedChannelsAreGrey()
    {
        QCOMPARE(Grid->TextColor(TChGrid::RowOf(0), 2), QColor(Qt::black));
        QCOMPARE(Grid->TextColor(TChGrid::RowOf(2), 2), QColor(0xC0, 0xC0, 0xC0));
        QCOMPARE(Grid->TextColor(1, 2), QColor(Qt::black));
        QVERIFY(Grid->TextAlignment(2) & Qt::AlignRight);
        QVERIFY(Grid->TextAlignment(17) & Qt::AlignRight);
        QVERIFY(Grid->TextAlignment(5) & Qt::AlignHCenter);
    }

    void storeGivesBackWhatFillShowed()
    {
        const TChannels before = Main->WorkChannels();
        Grid->Store();
        QVERIFY(Main->WorkChannels().Equals(before));
        Main->Commit();
        QVERIFY(!Main->Modified());
        // A cell changed by hand reaches the document.
        Grid->SetCellText(TChGrid::RowOf(1), 3, "67.0");
        Grid->SetCellText(TChGrid::RowOf(1), 4, "off");
        Grid->SetCellText(TChGrid::RowOf(0), 2, "146.5249");
        Main->Commit();
        QVERIFY(Main->Modified());
        const TChannel& c1 = Main->Document().Channels[1];
        QCOMPARE(c1.DecoderIsDcs[0], 0);
        QCOMPARE(c1.DecoderCode[0], 1);
        QCOMPARE(c1.ToneEntryUsed[0], 1);
        QCOMPARE(Main->Document().Channels[0].RxFreq.Text(), std::string("146.524"));
        // The inhibited channel keeps its hidden transmit values.
        QCOMPARE(Main->Document().Channels[2].TxInhibit, -1);
    }

    void hiddenItemsAndArrowKeys()
    {
        Grid->setFocus();
        Grid->setCurrentCell(TChGrid::RowOf(0), 6);
        Main->ToggleItem(5);  // NSQ
        QVERIFY(Grid->isColumnHidden(7));
        QVERIFY(Grid->isColumnHidden(8));
        QVERIFY(!Grid->GroupPanel(5)->isVisible());
        QVERIFY(!Main->Action("miItem5")->isChecked());
        QTest::keyClick(Grid, Qt::Key_Right);
        QCOMPARE(Grid->currentColumn(), 9);
        QTest::keyClick(Grid, Qt::Key_Left);
        QCOMPARE(Grid->currentColumn(), 6);

        Grid->setCurrentCell(TChGrid::RowOf(0), 1);
        QTest::keyClick(Grid, Qt::Key_Left);
        QCOMPARE(Grid->currentColumn(), 1);
        Main->ToggleItem(23);
        Grid->setCurrentCell(TChGrid::RowOf(0), 25);
        QTest::keyClick(Grid, Qt::Key_Right);
        QTest::keyClick(Grid, Qt::Key_Right);
        QTest::keyClick(Grid, Qt::Key_Right);
        QCOMPARE(Grid->currentColumn(), 26);

        Main->ToggleItem(5);
        QVERIFY(!Grid->isColumnHidden(7));
        QCOMPARE(Grid->columnWidth(7), 70);
    }

    void visibleDialog_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("hidden");
        QTest::newRow("OK") << "btnOK" << true;
        QTest::newRow("Cancel") << "btnCancel" << false;
    }
    void visibleDialog()
    {
        QFETCH(QString, button);
        QFETCH(bool, hidden);
        bool allChecked = true;
        QString caption;
        Host->OnDialog = [&](QDialog& dialog) {
            for (int k = 1; k <= 23; ++k)
                allChecked = allChecked && dialog.findChild<QCheckBox*>(QString("chbItem%1").arg(k))->isChecked();
            auto* nsq = dialog.findChild<QCheckBox*>("chbItem5");
            caption = nsq->text();
            QTest::keyClick(nsq, Qt::Key_Space);
            QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
            return dialog.result();
        };
        Main->Action("miVisible")->trigger();
        QVERIFY(allChecked);
        QCOMPARE(caption, QString("&NSQ"));
        QCOMPARE(Grid->isColumnHidden(7), hidden);
        QCOMPARE(Grid->isColumnHidden(8), hidden);
        QCOMPARE(Grid->GroupPanel(5)->isVisible(), !hidden);
        QCOMPARE(Main->Action("miItem5")->isChecked(), !hidden);
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
        QString firstRow, lastRow, firstColumn, lastColumn;
        Host->OnDialog = [&](QDialog& dialog) {
            auto* grid = dialog.findChild<QTableWidget*>("grdData");
            for (int row = 0; row < grid->rowCount(); ++row)
                for (int column = 0; column < grid->columnCount(); ++column)
                    cells << (grid->item(row, column) ? grid->item(row, column)->text() : QString("?"));
            firstRow = grid->verticalHeaderItem(0)->text();
            lastRow = grid->verticalHeaderItem(124)->text();
            firstColumn = grid->horizontalHeaderItem(0)->text();
            lastColumn = grid->horizontalHeaderItem(15)->text();
            QTest::mouseClick(dialog.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
            return dialog.result();
        };
        QTest::keyClick(Grid, Qt::Key_F9, Qt::ShiftModifier);
        QCOMPARE(Host->DialogsShown, 1);
        QCOMPARE(cells.size(), 125 * 16);
        QCOMPARE(firstRow, QString("00000h"));
        QCOMPARE(lastRow, QString("007C0h"));
        QCOMPARE(firstColumn, QString("00"));
        QCOMPARE(lastColumn, QString("0F"));
        QCOMPARE(cells[0], QString("5a"));
        QCOMPARE(cells[1985], QString("5a"));
        QCOMPARE(cells[1986], QString());
        QCOMPARE(cells.last(), QString());
        QCOMPARE(cells[207], QString::asprintf("%02x", expected[207]));
        for (int address = 0; address < ImageSize; ++address)
            QCOMPARE(cells[address], QString::asprintf("%02x", expected[address]));
        QVERIFY(std::equal(expected.Data(), expected.Data() + ImageSize, Main->Codec().Data()));
        QVERIFY(Main->Modified());
    }
};

QTEST_MAIN(TestGrid)
#include "tst_Grid.moc"
