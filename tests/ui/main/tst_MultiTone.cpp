// The multi-tone dialog driven with keys and clicks: loading a channel's 16
// slots, the pair rule, the accelerators, OK and Cancel.
#include "ui/main/D_MultiTone.h"
#include "support/WindowTestKit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLayout>
#include <QPushButton>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

// Slot 0: decoder 100.0 Hz, encoder DCS 754; slot 5: decoder DCS 023 only;
// slot 7 active with no tone on either side; slot 15 inactive although it
// holds codes.
TChannel SampleChannel()
{
    TChannel c;
    c.Used = 1;
    c.MultiTone = 1;
    c.ToneEntryUsed[0] = 1;
    c.DecoderCode[0] = 13;
    c.EncoderIsDcs[0] = 1;
    c.EncoderCode[0] = 103;
    c.ToneEntryUsed[5] = 1;
    c.DecoderIsDcs[5] = 1;
    c.ToneEntryUsed[7] = 1;
    c.DecoderCode[15] = 7;
    c.EncoderIsDcs[15] = 1;
    c.EncoderCode[15] = 9;
    return c;
}

} // namespace

class TestMultiTone : public QObject {
    Q_OBJECT

    TChannel Channel;
    std::unique_ptr<TfrmMultiTone> Form;

    QComboBox* List(const QString& name) const { return Form->findChild<QComboBox*>(name); }
    QString Shown(const QString& name) const { return List(name)->currentText(); }

private slots:
    void init()
    {
        Channel = SampleChannel();
        Form = std::make_unique<TfrmMultiTone>(Channel);
        QVERIFY(ShowActive(*Form));
    }
    void cleanup() { Form.reset(); }

    // Each caption stands level with its row and left of it
    // at a much larger font than designed (the dialog's own font is
    // inspected with the other windows' captions).
    void captionsStandBesideTheirRows()
    {
        QFont font = Form->font();
        font.setPixelSize(22);
        Form->setFont(font);
        Form->setFixedSize(Form->layout()->totalSizeHint());
        QApplication::processEvents();
        const auto box = [this](const QString& name) {
            QWidget* w = Form->findChild<QWidget*>(name);
            return QRect(w->mapTo(Form.get(), QPoint(0, 0)), w->size());
        };
        for (int row = 1; row <= TfrmMultiTone::RowCount; ++row) {
            const QRect caption = box(QString("lblTone%1").arg(row));
            const QRect list = box(QString("cbxDCss%1").arg(row));  // the row's first list, beside the caption
            QVERIFY2(qAbs(caption.center().y() - list.center().y()) <= 1, qPrintable(QString::number(row)));
            QVERIFY(caption.right() < list.left());
        }
    }

    // The channel's slots shown, the pair rule on both sides, a row set all
    // "off", then OK.
    void showsAndWritesAllSlots()
    {
        const char* const shown[][2] = {
            {"cbxDCss1", "100.0"}, {"cbxDDcs1", "off"}, {"cbxECss1", "off"}, {"cbxEDcs1", "754"}, {"cbxDDcs6", "023"},
            {"cbxDCss16", "off"}, {"cbxEDcs16", "off"},  // an inactive slot's codes are not shown
        };
        for (const auto& s : shown)
            QCOMPARE(Shown(s[0]), QString(s[1]));
        // Alt+1..Alt+0 go to the decoder tones of the first ten slots.
        Form->findChild<QPushButton*>("btnCancel")->setFocus();
        QTest::keyClick(Form.get(), Qt::Key_0, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), List("cbxDCss10"));

        const auto pick = [this](const char* list, Qt::Key key) {
            List(list)->setFocus();
            QTest::keyClick(List(list), key);
        };
        pick("cbxDDcs1", Qt::Key_End);   // 754 replaces 100.0
        QCOMPARE(Shown("cbxDCss1"), QString("off"));
        pick("cbxECss1", Qt::Key_Down);
        pick("cbxECss1", Qt::Key_Down);  // 69.3 replaces the encoder's 754
        QCOMPARE(Shown("cbxEDcs1"), QString("off"));
        pick("cbxDDcs6", Qt::Key_Home);  // slot 5 all off
        QCheckBox* multi = Form->findChild<QCheckBox*>("cbxMultiTone");
        multi->setFocus();
        QTest::keyClick(multi, Qt::Key_Space);
        QTest::mouseClick(Form->findChild<QPushButton*>("btnOK"), Qt::LeftButton);

        QCOMPARE(Form->result(), int(QDialog::Accepted));
        QCOMPARE(Channel.MultiTone, 0);
        // Per slot: in use, decoder DCS, decoder code, encoder DCS, encoder code.
        const auto slot = [this](int k) {
            return std::vector<int> {Channel.ToneEntryUsed[k], Channel.DecoderIsDcs[k], Channel.DecoderCode[k],
                                     Channel.EncoderIsDcs[k], Channel.EncoderCode[k]};
        };
        QCOMPARE(slot(0), (std::vector<int> {1, 1, 103, 0, 2}));
        QCOMPARE(slot(5), (std::vector<int> {0, 0, 0, 0, 0}));    // a row left "off" is inactive
        // Rows nobody changed keep their slots as stored.
        QCOMPARE(slot(7), (std::vector<int> {1, 0, 0, 0, 0}));
        QCOMPARE(slot(15), (std::vector<int> {0, 0, 7, 1, 9}));
    }

    // Rows: a list changed and changed back before OK, or a change left by
    // Esc or Enter on Cancel (Cancel clicked: the grid's multi-tone test).
    void closingWithoutAChangeKeepsTheChannel_data()
    {
        QTest::addColumn<QString>("close");
        QTest::newRow("OK, a list there and back") << "OK";
        QTest::newRow("Escape") << "Esc";
        QTest::newRow("Enter on Cancel") << "Enter";
    }
    void closingWithoutAChangeKeepsTheChannel()
    {
        QFETCH(QString, close);
        const TChannel before = Channel;
        QComboBox* list = List("cbxDCss8");
        list->setFocus();
        QTest::keyClick(list, Qt::Key_End);
        if (close == "OK") {
            QTest::keyClick(list, Qt::Key_Home);
            QTest::mouseClick(Form->findChild<QPushButton*>("btnOK"), Qt::LeftButton);
        } else {
            QTest::keyClick(Form->findChild<QCheckBox*>("cbxMultiTone"), Qt::Key_Space);
            auto* cancel = Form->findChild<QPushButton*>("btnCancel");
            cancel->setFocus();
            QTest::keyClick(cancel, close == "Esc" ? Qt::Key_Escape : Qt::Key_Return);
        }
        QCOMPARE(Form->result(), int(close == "OK" ? QDialog::Accepted : QDialog::Rejected));
        QVERIFY(!Form->isVisible());
        QVERIFY(Channel == before);
    }
};

QTEST_MAIN(TestMultiTone)
#include "tst_MultiTone.moc"
