// The multi-tone dialog driven with keys and clicks: loading a channel's 16
// slots, the pair rule, the accelerators, Enter in a list, OK and Cancel.
#include "D_MultiTone.h"
#include "D_ParamFields.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

// Slot 0: decoder 100.0 Hz, encoder DCS 754; slot 5: decoder DCS 023 only;
// slot 15 inactive although it holds codes.
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
    c.DecoderCode[5] = 0;
    c.DecoderCode[15] = 7;
    c.EncoderIsDcs[15] = 1;
    c.EncoderCode[15] = 9;
    return c;
}

} // namespace

class TestMultiTone : public QObject {
    Q_OBJECT

private:
    TChannel Channel;
    std::unique_ptr<TfrmMultiTone> Form;

    QComboBox* List(const QString& name) const { return Form->findChild<QComboBox*>(name); }
    QString Shown(const QString& name) const { return List(name)->currentText(); }

private slots:
    void init()
    {
        Channel = SampleChannel();
        Form = std::make_unique<TfrmMultiTone>(Channel);
        Form->show();
        QApplication::setActiveWindow(Form.get());
        QVERIFY(QTest::qWaitForWindowActive(Form.get()));
    }
    void cleanup() { Form.reset(); }

    void showsTheChannel()
    {
        QCOMPARE(Form->windowTitle(), QString("Multi Tone"));
        QCOMPARE(Form->size(), QSize(478, 513));
        QCOMPARE(List("cbxDCss1")->count(), 48);
        QCOMPARE(List("cbxEDcs16")->count(), 105);
        QVERIFY(Form->findChild<QCheckBox*>("cbxMultiTone")->isChecked());
        QCOMPARE(Shown("cbxDCss1"), QString("100.0"));
        QCOMPARE(Shown("cbxDDcs1"), QString("off"));
        QCOMPARE(Shown("cbxECss1"), QString("off"));
        QCOMPARE(Shown("cbxEDcs1"), QString("754"));
        QCOMPARE(Shown("cbxDDcs6"), QString("023"));
        QCOMPARE(Shown("cbxDCss6"), QString("off"));
        QCOMPARE(Shown("cbxECss6"), QString("off"));
        QCOMPARE(Shown("cbxDCss16"), QString("off"));  // inactive slot
        QCOMPARE(Shown("cbxEDcs16"), QString("off"));
        QCOMPARE(Form->findChild<QLabel*>("pnlHint2")->text(), QString("<SELECT>"));
    }

    void acceleratorsFocusTheDecoderTones_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("list");
        QTest::newRow("Alt+1") << int(Qt::Key_1) << "cbxDCss1";
        QTest::newRow("Alt+5") << int(Qt::Key_5) << "cbxDCss5";
        QTest::newRow("Alt+9") << int(Qt::Key_9) << "cbxDCss9";
        QTest::newRow("Alt+0") << int(Qt::Key_0) << "cbxDCss10";
    }
    void acceleratorsFocusTheDecoderTones()
    {
        QFETCH(int, key);
        QFETCH(QString, list);
        Form->findChild<QPushButton*>("btnCancel")->setFocus();
        QTest::keyClick(Form.get(), Qt::Key(key), Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), List(list));
    }

    void pairRuleOnBothSides()
    {
        QComboBox* dcs = List("cbxDDcs1");
        dcs->setFocus();
        QTest::keyClick(dcs, Qt::Key_Down);  // off -> 023
        QCOMPARE(Shown("cbxDDcs1"), QString("023"));
        QCOMPARE(Shown("cbxDCss1"), QString("off"));

        QComboBox* css = List("cbxECss1");
        css->setFocus();
        QTest::keyClick(css, Qt::Key_End);
        QCOMPARE(Shown("cbxECss1"), QString("254.1"));
        QCOMPARE(Shown("cbxEDcs1"), QString("off"));
        // Back to "off" leaves the other list as it is.
        QTest::keyClick(css, Qt::Key_Home);
        QCOMPARE(Shown("cbxECss1"), QString("off"));
        QCOMPARE(Shown("cbxEDcs1"), QString("off"));
        QCOMPARE(Shown("cbxDDcs1"), QString("023"));  // the decoder side untouched
    }

    void enterOpensAndClosesTheList()
    {
        auto* list = static_cast<TParamCombo*>(List("cbxDCss3"));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_VERIFY(list->ListOpen());
        list->hidePopup();  // the open list has the keyboard; close it as Enter there would
        QTRY_VERIFY(!list->ListOpen());
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_VERIFY(list->ListOpen());
        list->hidePopup();
        QVERIFY(Form->isVisible());
        QCOMPARE(Form->result(), 0);
    }

    void okWritesAllSlots()
    {
        QComboBox* dcs = List("cbxDDcs1");
        dcs->setFocus();
        QTest::keyClick(dcs, Qt::Key_End);          // 754 replaces 100.0
        QComboBox* enc = List("cbxEDcs1");
        enc->setFocus();
        QTest::keyClick(enc, Qt::Key_Home);         // the encoder of slot 0 off
        QComboBox* row6 = List("cbxDDcs6");
        row6->setFocus();
        QTest::keyClick(row6, Qt::Key_Home);        // slot 5 all off
        QComboBox* row12 = List("cbxECss12");
        row12->setFocus();
        QTest::keyClick(row12, Qt::Key_Down);
        QTest::keyClick(row12, Qt::Key_Down);       // 69.3
        QCheckBox* multi = Form->findChild<QCheckBox*>("cbxMultiTone");
        multi->setFocus();
        QTest::keyClick(multi, Qt::Key_Space);
        QTest::mouseClick(Form->findChild<QPushButton*>("btnOK"), Qt::LeftButton);

        QCOMPARE(Form->result(), int(QDialog::Accepted));
        QCOMPARE(Channel.MultiTone, 0);
        QCOMPARE(Channel.ToneEntryUsed[0], 1);
        QCOMPARE(Channel.DecoderIsDcs[0], 1);
        QCOMPARE(Channel.DecoderCode[0], 103);
        QCOMPARE(Channel.EncoderIsDcs[0], 0);
        QCOMPARE(Channel.EncoderCode[0], 0);
        QCOMPARE(Channel.ToneEntryUsed[5], 0);     // a row left "off" is inactive
        QCOMPARE(Channel.DecoderIsDcs[5], 0);
        QCOMPARE(Channel.ToneEntryUsed[11], 1);
        QCOMPARE(Channel.EncoderIsDcs[11], 0);
        QCOMPARE(Channel.EncoderCode[11], 2);
        QCOMPARE(Channel.DecoderCode[11], 0);
        // The inactive slot's leftover codes are cleared.
        QCOMPARE(Channel.DecoderCode[15], 0);
        QCOMPARE(Channel.EncoderIsDcs[15], 0);
        QCOMPARE(Channel.EncoderCode[15], 0);
        for (int k : {1, 2, 3, 4, 6, 7, 8, 9, 10, 12, 13, 14, 15})
            QCOMPARE(Channel.ToneEntryUsed[k], 0);
    }

    void cancelAndEscapeLeaveTheChannel_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancel") << false;
        QTest::newRow("Escape") << true;
    }
    void cancelAndEscapeLeaveTheChannel()
    {
        QFETCH(bool, escape);
        const TChannel before = Channel;
        QComboBox* dcs = List("cbxEDcs9");
        dcs->setFocus();
        QTest::keyClick(dcs, Qt::Key_End);
        QTest::keyClick(Form->findChild<QCheckBox*>("cbxMultiTone"), Qt::Key_Space);
        if (escape)
            QTest::keyClick(dcs, Qt::Key_Escape);
        else
            QTest::mouseClick(Form->findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
        QCOMPARE(Form->result(), int(QDialog::Rejected));
        QVERIFY(!Form->isVisible());
        QVERIFY(Channel.Equals(before));
    }

    void enterOnAButtonPressesOnlyThatButton()
    {
        auto* cancel = Form->findChild<QPushButton*>("btnCancel");
        cancel->setFocus();
        QTest::keyClick(cancel, Qt::Key_Return);
        QCOMPARE(Form->result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestMultiTone)
#include "tst_MultiTone.moc"
