// The Common menu's parameter dialogs as the main window runs them: the
// document changes, the grid follows, Modified only on a real change.
#include "Main.h"
#include "TestHost.h"
#include "U_ChGrid.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

class TestCommon : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> Dir;
    std::unique_ptr<TTestHost> Host;
    std::unique_ptr<TfrmMain> Main;

    // Runs a menu command whose dialog is modal; `person` works the dialog.
    void RunDialog(const char* action, std::function<void(QDialog&)> person)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen = true;
            person(*dialog);
        });
        Main->Action(action)->trigger();
        QVERIFY2(seen, action);
    }

    static void Click(QDialog& dialog, const char* button)
    {
        QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
    }

private slots:
    void init()
    {
        Dir = std::make_unique<QTemporaryDir>();
        Host = std::make_unique<TTestHost>(Dir->path());
        Main = std::make_unique<TfrmMain>(*Host, QStringList {"-D"});
        Main->show();
    }
    void cleanup()
    {
        Host->Person.Answers = {TAnswer::No};
        Main.reset();
        Host.reset();
        Dir.reset();
    }

    void hardwareBandChangeReachesTheGrid()
    {
        Host->Person.Answers = {TAnswer::Yes};  // "Changing the band ..."
        RunDialog("miHardware", [](QDialog& dialog) {
            auto* band = dialog.findChild<QComboBox*>("cmbBand");
            band->setFocus();
            QTest::keyClick(band, Qt::Key_Down);
            Click(dialog, "btnOK");
        });
        QCOMPARE(Main->Document().Band, 1);
        QCOMPARE(Main->Document().Channels[0].RxFreq.Text(), std::string("450"));
        QCOMPARE(Main->WorkChannels()[0].RxFreq.Text(), std::string("450"));
        QCOMPARE(Main->Grid()->CellText(TChGrid::RowOf(0), 2), QString("450.00000"));
        QCOMPARE(Main->Grid()->CellText(TChGrid::RowOf(0), 16), QString("455.00000"));
        QVERIFY(Main->Modified());
    }

    void declinedBandChangeChangesNothing()
    {
        Host->Person.Answers = {TAnswer::No};
        RunDialog("miHardware", [](QDialog& dialog) {
            auto* band = dialog.findChild<QComboBox*>("cmbBand");
            band->setFocus();
            QTest::keyClick(band, Qt::Key_Down);
            Click(dialog, "btnOK");
        });
        QCOMPARE(Main->Document().Band, 0);
        QCOMPARE(Main->Grid()->CellText(TChGrid::RowOf(0), 2), QString("161.00000"));
        QVERIFY(!Main->Modified());
    }

    void everyCommonDialogOpensAndCancels()
    {
        for (const char* action : {"miHardware", "miRadioStatus", "miTimer", "miCWID", "miMarketing"}) {
            QVERIFY(Main->Action(action)->isEnabled());
            RunDialog(action, [](QDialog& dialog) { Click(dialog, "btnCancel"); });
            QVERIFY2(!Main->Modified(), action);
        }
    }
};

QTEST_MAIN(TestCommon)
#include "tst_Common.moc"
