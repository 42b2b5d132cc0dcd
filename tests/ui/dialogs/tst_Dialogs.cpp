// Hardware, Timer, CW ID, Radio Status and Marketing driven with keys: each
// dialog's own conversions and rules, the result in the document and in the
// bytes of the data file saved afterwards.
#include "DialogTestKit.h"

#include "D_CWID.h"
#include "D_Hardware.h"
#include "D_Market.h"
#include "D_RadioStatus.h"
#include "D_Timer.h"

#include <memory>

namespace {

// Image places of the fields these dialogs write.
constexpr int BandByte = 80;     // Band bit 7, Beep 5, Monitor 4, Accessory 1-0
constexpr int StatusByte = 81;   // MicMoni 7, Fan 6, HighTemp 5, TxPowerType 4, Dc 3, HangOn 2, ChStep 0
constexpr int IfBytes = 82;      // IF, Rx reference, Tx reference: 4 BCD digits each
constexpr int TimerBytes = 88;   // BaseTot, BaseGuard, RepeatTot, HangOn, RepeatGuard
constexpr int CwIdFlagByte = 93;
constexpr int DotTimeByte = 123;
constexpr int CwIdTextBytes = 128;
constexpr int MarketByte = 22;
constexpr int SerialBytes = 72;

int Bit(const std::vector<uint8_t>& image, int address, int bit)
{
    return (image.at(address) >> bit) & 1;
}

int Word(const std::vector<uint8_t>& image, int address)
{
    return image.at(address) << 8 | image.at(address + 1);
}

int Bcd4(const std::vector<uint8_t>& image, int address)
{
    const auto digits = [](uint8_t b) { return (b >> 4) * 10 + (b & 15); };
    return digits(image.at(address)) * 100 + digits(image.at(address + 1));
}

std::string Text(const std::vector<uint8_t>& image, int address, int length)
{
    return {image.begin() + address, image.begin() + address + length};
}

template <class TForm>
std::unique_ptr<TParamDialog> Open(TRKmem& doc, TProgramMode mode, TPrompt& prompt)
{
    return std::make_unique<TForm>(doc, mode, prompt);
}

using TOpen = std::unique_ptr<TParamDialog> (*)(TRKmem&, TProgramMode, TPrompt&);

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

    TRKmem Doc;
    TScriptedPrompt Prompt;
    std::unique_ptr<TParamDialog> Dialog;

    template <class TForm>
    bool Show(TProgramMode mode = Manufacture)
    {
        Dialog = Open<TForm>(Doc, mode, Prompt);
        return ShowActive(*Dialog);
    }
    TParamEdit* Field(const char* name) { return Find<TParamEdit>(*Dialog, name); }
    TParamCombo* List(const char* name) { return Find<TParamCombo>(*Dialog, name); }
    // Picks the next or previous item with the arrow keys, as a person does.
    void Pick(const char* name, Qt::Key key = Qt::Key_Down)
    {
        List(name)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(List(name), key);
    }
    void Ok() { ClickOk(*Dialog); }

private slots:
    void init()
    {
        Doc = DefaultDocument();
        Prompt = TScriptedPrompt();
    }
    void cleanup() { Dialog.reset(); }

    void everyDialogOpensAsAReadOnlyViewInNormalModeAndOkChangesNothing()
    {
        struct Case { TOpen Open; const char* Caption; int Width; int Height; const char* FirstHint; };
        const Case cases[] = {
            {Open<TfrmHardware>, "Hardware Parameters", 332, 332, "<SELECT>"},
            {Open<TfrmTimer>, "Timer", 332, 230, "<SELECT>"},
            {Open<TfrmCWID>, "CW ID", 332, 230, "<SELECT>"},
            {Open<TfrmRadioStatus>, "Radio Status", 332, 334, "<SELECT>"},
            {Open<TfrmMarket>, "Marketing Prameters", 332, 139, ""},
        };
        for (const Case& c : cases) {
            for (TProgramMode mode : {Normal, Extended, Manufacture}) {
                const TRKmem before = Doc;
                Dialog = c.Open(Doc, mode, Prompt);
                QCOMPARE(Find<QLabel>(*Dialog, "pnlHint2")->text(), QString(c.FirstHint));
                QVERIFY(ShowActive(*Dialog));
                QCOMPARE(Dialog->windowTitle(), QString(c.Caption));
                QCOMPARE(Dialog->size(), QSize(c.Width, c.Height));
                if (mode == Normal) {
                    for (QLineEdit* edit : Dialog->findChildren<QLineEdit*>())
                        QVERIFY2(!edit->isEnabled(), qPrintable(edit->objectName()));
                    for (QComboBox* combo : Dialog->findChildren<QComboBox*>())
                        QVERIFY2(!combo->isEnabled(), qPrintable(combo->objectName()));
                }
                Ok();
                QCOMPARE(Dialog->result(), int(QDialog::Accepted));
                QVERIFY2(!Dialog->Changed(), c.Caption);
                QCOMPARE(SavedBytes(Doc), SavedBytes(before));
            }
        }
    }

    void hardwareFieldsFollowTheProgramMode()
    {
        const char* const extended[] = {"cmbBand", "cmb1stLocal", "cmb2ndLocal", "cmbChStep", "cmbDuplex"};
        const char* const manufacture[] = {"edtIF", "edtTxRef", "edtRxRef", "cmbTxPower"};
        for (TProgramMode mode : {Extended, Manufacture}) {
            QVERIFY(Show<TfrmHardware>(mode));
            for (const char* name : extended)
                QVERIFY2(Dialog->findChild<QWidget*>(name)->isEnabled(), name);
            for (const char* name : manufacture)
                QCOMPARE(Dialog->findChild<QWidget*>(name)->isEnabled(), mode == Manufacture);
        }
    }

    void hardwareMHzFields()
    {
        struct Case { const char* Field; const char* Typed; const char* Shown; int TRKmem::*Member; int Stored; int Address; };
        const Case cases[] = {
            {"edtIF", "9.999", "10.00 MHz", &TRKmem::IfFreq, 1000, IfBytes},
            {"edtIF", "21,4", "21.40 MHz", &TRKmem::IfFreq, 2140, IfBytes},
            {"edtRxRef", "150", "99.99 MHz", &TRKmem::RxRefFreq, 9999, IfBytes + 2},
            {"edtRxRef", "1.2.3", "0.00 MHz", &TRKmem::RxRefFreq, 0, IfBytes + 2},
            {"edtTxRef", "0.29", "0.29 MHz", &TRKmem::TxRefFreq, 29, IfBytes + 4},
            {"edtTxRef", "12.3456", "12.34 MHz", &TRKmem::TxRefFreq, 1234, IfBytes + 4},  // 5 typed
        };
        for (const Case& c : cases) {
            Doc = DefaultDocument();
            QVERIFY(Show<TfrmHardware>());
            QCOMPARE(Field("edtIF")->text(), QString("21.40 MHz"));
            TypeAndCommit(Field(c.Field), c.Typed);
            QCOMPARE(Field(c.Field)->text(), QString(c.Shown));
            Ok();
            QCOMPARE(Doc.*c.Member, c.Stored);
            QCOMPARE(Bcd4(SavedBytes(Doc), c.Address), c.Stored);
        }
    }

    void hardwareBandQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("ifShown");
        QTest::addColumn<int>("storedBand");
        QTest::addColumn<int>("storedIf");
        QTest::newRow("yes") << int(TAnswer::Yes) << "UHF" << "73.75 MHz" << 1 << 7375;
        QTest::newRow("no") << int(TAnswer::No) << "VHF" << "21.40 MHz" << 0 << 2140;
        QTest::newRow("dismissed") << int(TAnswer::Dismissed) << "VHF" << "21.40 MHz" << 0 << 2140;
    }
    void hardwareBandQuestion()
    {
        QFETCH(int, answer);
        QFETCH(QString, band);
        QFETCH(QString, ifShown);
        QFETCH(int, storedBand);
        QFETCH(int, storedIf);
        const TRKmem before = Doc;
        Prompt.Answers = {TAnswer(answer)};
        QVERIFY(Show<TfrmHardware>(Extended));  // the IF follows although it cannot be typed into
        Pick("cmbBand");
        QCOMPARE(Prompt.Asked, std::vector<std::string> {TfrmHardware::BandQuestion});
        QCOMPARE(List("cmbBand")->currentText(), band);
        QCOMPARE(Field("edtIF")->text(), ifShown);
        QCOMPARE(List("cmbChStep")->currentIndex(), 0);  // nothing else moves
        Ok();
        auto* form = static_cast<TfrmHardware*>(Dialog.get());
        QCOMPARE(form->BandChanged(), storedBand != before.Band);
        QCOMPARE(form->Changed(), storedBand != before.Band);
        QCOMPARE(Doc.Band, storedBand);
        QCOMPARE(Doc.IfFreq, storedIf);
        QVERIFY(Doc.Channels == before.Channels);  // the dialog itself touches no channel
        const auto image = SavedBytes(Doc);
        QCOMPARE(Bit(image, BandByte, 7), storedBand);
        QCOMPARE(Bcd4(image, IfBytes), storedIf);
    }

    void hardwareStepQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("step");
        QTest::newRow("yes") << int(TAnswer::Yes) << 1;
        QTest::newRow("no") << int(TAnswer::No) << 0;
        QTest::newRow("dismissed") << int(TAnswer::Dismissed) << 0;
    }
    void hardwareStepQuestion()
    {
        QFETCH(int, answer);
        QFETCH(int, step);
        Prompt.Answers = {TAnswer(answer)};
        QVERIFY(Show<TfrmHardware>(Extended));
        Pick("cmbChStep");
        QCOMPARE(Prompt.Asked, std::vector<std::string> {TfrmHardware::StepQuestion});
        QCOMPARE(List("cmbChStep")->currentIndex(), step);
        QCOMPARE(Field("edtIF")->text(), QString("21.40 MHz"));
        Ok();
        QCOMPARE(Doc.ChStep, step);
        QCOMPARE(Dialog->Changed(), step == 1);
        QCOMPARE(Bit(SavedBytes(Doc), StatusByte, 0), step);
    }

    void hardwareBandThereAndBackIsNoBandChange()
    {
        Prompt.Answers = {TAnswer::Yes, TAnswer::Yes};
        QVERIFY(Show<TfrmHardware>());
        Pick("cmbBand", Qt::Key_Down);
        Pick("cmbBand", Qt::Key_Up);
        QCOMPARE(Prompt.Asked.size(), size_t(2));
        QCOMPARE(Field("edtIF")->text(), QString("21.40 MHz"));
        Ok();
        QVERIFY(!static_cast<TfrmHardware*>(Dialog.get())->BandChanged());
        QVERIFY(!Dialog->Changed());
    }

    void hardwareCommandAppliesTheBandDefaultsOnlyOnOk_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void hardwareCommandAppliesTheBandDefaultsOnlyOnOk()
    {
        QFETCH(bool, ok);
        const TRKmem before = Doc;
        TRKmem expected = Doc;
        if (ok) {
            expected.Band = 1;
            expected.IfFreq = TMap54::DefaultIfFreq(1);
            TMap54::SetBandDefaults(expected, 1);
        }
        Prompt.Answers = {TAnswer::Yes};
        bool modified = false;
        WhenModal([&](QWidget& dialog) {
            auto* band = Find<TParamCombo>(dialog, "cmbBand");
            band->setFocus(Qt::TabFocusReason);
            QTest::keyClick(band, Qt::Key_Down);
            QTest::mouseClick(Find<QPushButton>(dialog, ok ? "btnOK" : "btnCancel"), Qt::LeftButton);
        });
        QCOMPARE(TfrmHardware::Execute(nullptr, Doc, Extended, Prompt, modified), ok);
        QCOMPARE(modified, ok);
        QVERIFY(!(before.Channels == expected.Channels) || !ok);
        QCOMPARE(SavedBytes(Doc), SavedBytes(expected));
    }

    void txPowerTypeIsOneFieldShownByTwoDialogs()
    {
        Doc.TxPowerType = 0;
        QVERIFY(Show<TfrmRadioStatus>());
        QCOMPARE(List("cmbHighTempTx")->currentText(), QString("Disable"));
        Pick("cmbHighTempTx");
        Ok();
        QVERIFY(Show<TfrmHardware>());
        QCOMPARE(List("cmbTxPower")->currentText(), QString("50 W"));
        Pick("cmbTxPower", Qt::Key_Up);
        Ok();
        QCOMPARE(Doc.TxPowerType, 0);
        QVERIFY(Show<TfrmRadioStatus>());
        QCOMPARE(List("cmbHighTempTx")->currentText(), QString("Disable"));
    }

    void timerConversions()
    {
        struct Case { const char* Field; const char* Typed; const char* Shown; int Stored; int Address; };
        const Case cases[] = {
            {"edtBaseTOT", "2.7", "2.5 Min", 5, TimerBytes},
            {"edtBaseTOT", "2.49", "2.0 Min", 4, TimerBytes},
            {"edtBaseTOT", "75", "60.0 Min", 120, TimerBytes},
            {"edtBGTime", "7", "6 Sec", 3, TimerBytes + 1},
            {"edtBGTime", "400", "360 Sec", 180, TimerBytes + 1},
            {"edtRepeatTOT", "0,5", "0.5 Min", 1, TimerBytes + 2},
            {"edtRepeatTOT", "1.2.3", "0.0 Min", 0, TimerBytes + 2},
            {"edtRHTime", "59.9", "59.5 Sec", 119, TimerBytes + 3},
            {"edtRGTime", "", "0 Sec", 0, TimerBytes + 4},
            {"edtRGTime", "361", "360 Sec", 180, TimerBytes + 4},
        };
        for (const Case& c : cases) {
            Doc = DefaultDocument();
            QVERIFY(Show<TfrmTimer>(Extended));
            TypeAndCommit(Field(c.Field), c.Typed);
            QCOMPARE(Field(c.Field)->text(), QString(c.Shown));
            Ok();
            QCOMPARE(int(SavedBytes(Doc).at(c.Address)), c.Stored);
        }
    }

    void timerLoadsStoredValuesClamped()
    {
        Doc.BaseTot = 200;
        Doc.BaseGuardTime = 3;
        Doc.RepeatTot = 1;
        Doc.RepeatHangOnTime = 4;
        Doc.RepeatGuardTime = 255;
        QVERIFY(Show<TfrmTimer>(Normal));
        const char* const shown[][2] = {{"edtBaseTOT", "60.0 Min"}, {"edtBGTime", "6 Sec"},
                                        {"edtRepeatTOT", "0.5 Min"}, {"edtRHTime", "2.0 Sec"},
                                        {"edtRGTime", "360 Sec"}};
        for (const auto& s : shown)
            QCOMPARE(Field(s[0])->text(), QString(s[1]));
        Ok();  // the clamped values are what OK stores
        QCOMPARE(Doc.BaseTot, 120);
        QCOMPARE(Doc.RepeatGuardTime, 180);
        QVERIFY(Dialog->Changed());
    }

    void cwIdConversions()
    {
        struct Case { const char* Field; const char* Typed; const char* Shown; int TRKmem::*Member; int Stored; int Address; };
        const Case cases[] = {
            {"edtDotTime", "5", "20 msec", &TRKmem::CwIdDotTime, 20, DotTimeByte},
            {"edtDotTime", "255", "255 msec", &TRKmem::CwIdDotTime, 255, DotTimeByte},
            {"edtDotTime", "256", "255 msec", &TRKmem::CwIdDotTime, 255, DotTimeByte},
            {"edtIntTimer", "", "30 sec", &TRKmem::CwIdInterval, 30, DotTimeByte + 1},
            {"edtIntTimer", "1801", "1800 sec", &TRKmem::CwIdInterval, 1800, DotTimeByte + 1},
            {"edtTFreq", "9999", "3000 Hz", &TRKmem::CwIdToneFreq, 3000, DotTimeByte + 3},
            {"edtTFreq", "299", "300 Hz", &TRKmem::CwIdToneFreq, 300, DotTimeByte + 3},
        };
        for (const Case& c : cases) {
            Doc = DefaultDocument();
            QVERIFY(Show<TfrmCWID>(Extended));
            TypeAndCommit(Field(c.Field), c.Typed);
            QCOMPARE(Field(c.Field)->text(), QString(c.Shown));
            Ok();
            QCOMPARE(Doc.*c.Member, c.Stored);
            QVERIFY(Dialog->Changed());
            const auto image = SavedBytes(Doc);
            QCOMPARE(c.Address == DotTimeByte ? int(image.at(c.Address)) : Word(image, c.Address), c.Stored);
        }
    }

    void cwIdLoadsNumbersClamped()
    {
        Doc.CwIdDotTime = 5;
        Doc.CwIdInterval = 0;
        Doc.CwIdToneFreq = 65535;
        QVERIFY(Show<TfrmCWID>(Normal));
        QCOMPARE(Field("edtDotTime")->text(), QString("20 msec"));
        QCOMPARE(Field("edtIntTimer")->text(), QString("30 sec"));
        QCOMPARE(Field("edtTFreq")->text(), QString("3000 Hz"));
    }

    void cwIdTextIsKeptAsTyped()
    {
        QVERIFY(Show<TfrmCWID>(Extended));
        TParamEdit* text = Field("edtCWID");
        QCOMPARE(text->text(), QString("0000000000000000"));
        text->setFocus(Qt::TabFocusReason);
        QTest::keyClick(text, Qt::Key_Return);  // edit mode keeps the text
        QCOMPARE(text->text(), QString("0000000000000000"));
        QTest::keyClick(text, Qt::Key_Return);
        TypeAndCommit(text, " de X1 ~ ");
        QCOMPARE(text->text(), QString(" de X1 ~ "));
        Ok();
        QCOMPARE(Doc.CwIdText, std::string(" de X1 ~ "));
        const auto image = SavedBytes(Doc);
        QCOMPARE(Text(image, CwIdTextBytes, 10), std::string(" de X1 ~ \0", 10));
        QCOMPARE(int(image.at(DotTimeByte)), 50);
    }

    void cwIdOffTurnsOffTheChannelsThatSendIt_data()
    {
        QTest::addColumn<int>("enabled");
        QTest::addColumn<bool>("pickDisable");
        QTest::addColumn<bool>("reset");
        QTest::addColumn<bool>("changed");
        QTest::newRow("turned off") << 1 << true << true << true;
        QTest::newRow("left on") << 1 << false << false << false;
        QTest::newRow("already off") << 0 << false << true << false;  // channels are not compared
    }
    void cwIdOffTurnsOffTheChannelsThatSendIt()
    {
        QFETCH(int, enabled);
        QFETCH(bool, pickDisable);
        QFETCH(bool, reset);
        QFETCH(bool, changed);
        const int selections[] = {2, 1, 0, 2};  // "CW-ID", "ANI/ENI", "off", "CW-ID"
        Doc.CwIdEnable = enabled;
        for (int i = 0; i < ChannelCount; ++i)
            Doc.Channels[i].CwIdAniEni = selections[i % 4];
        QVERIFY(Show<TfrmCWID>(Extended));
        if (pickDisable)
            Pick("cmbCWID", Qt::Key_Up);
        Ok();
        QCOMPARE(Dialog->Changed(), changed);
        const auto image = SavedBytes(Doc);
        QCOMPARE(Bit(image, CwIdFlagByte, 7), pickDisable ? 0 : enabled);
        for (int i = 0; i < ChannelCount; ++i) {
            const int expected = reset && selections[i % 4] == 2 ? 0 : selections[i % 4];
            QCOMPARE(Doc.Channels[i].CwIdAniEni, expected);
            QCOMPARE((image.at(Image54::ChannelBase + Image54::ChannelRecordSize * i + 4) >> 5) & 3, expected);
        }
    }

    void radioStatusOptions()
    {
        struct Case { const char* Combo; int TRKmem::*Member; int Address; int Bit; const char* Second; };
        const Case cases[] = {
            {"cmbBeep", &TRKmem::Beep, BandByte, 5, "Enable"},
            {"cmbMonitor", &TRKmem::Monitor, BandByte, 4, "Enable"},
            {"cmbAccessory", &TRKmem::Accessory, BandByte, 1, "Acc"},  // code 2 = "Acc"
            {"cmbMIC", &TRKmem::MicMoni, StatusByte, 7, "Enable"},
            {"cmbFan", &TRKmem::FanAlert, StatusByte, 6, "Enable"},
            {"cmbHighTemp", &TRKmem::HighTempAlert, StatusByte, 5, "Enable"},
            {"cmbHighTempTx", &TRKmem::TxPowerType, StatusByte, 4, "Enable"},
            {"cmbDC", &TRKmem::DcTxPowerLow, StatusByte, 3, "Enable"},
            {"cmbHangOn", &TRKmem::HangOnAudio, StatusByte, 2, "Quiet"},
        };
        for (const Case& c : cases) {
            Doc = DefaultDocument();
            for (const Case& other : cases)
                Doc.*other.Member = 0;
            QVERIFY(Show<TfrmRadioStatus>(Extended));
            Pick(c.Combo);
            QCOMPARE(List(c.Combo)->currentText(), QString(c.Second));
            Ok();
            QVERIFY(Dialog->Changed());
            for (const Case& other : cases)
                QCOMPARE(Doc.*other.Member, &other == &c ? 1 : 0);
            const auto image = SavedBytes(Doc);
            QCOMPARE(Bit(image, c.Address, c.Bit), 1);
        }
    }

    void radioStatusKeys()
    {
        QVERIFY(Show<TfrmRadioStatus>(Extended));
        QTest::keyClick(Dialog.get(), Qt::Key_P, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(List("cmbHighTempTx")));
        QTest::keyClick(List("cmbHighTempTx"), Qt::Key_Escape);  // no fields to edit: Esc cancels
        QVERIFY(!Dialog->isVisible());
        QCOMPARE(Dialog->result(), int(QDialog::Rejected));
    }

    void marketSerialNumber()
    {
        struct Case { const char* Typed; const char* Shown; };
        const Case cases[] = {{"AB12", "AB12    "}, {"   ", "12345678"}, {" x y ", "x y     "},
                              {"ABCDEFGHIJ", "ABCDEFGH"}};
        for (const Case& c : cases) {
            Doc = DefaultDocument();
            Doc.SerialNo.assign(1, '1');
            QVERIFY(Show<TfrmMarket>());
            QCOMPARE(Field("edtSerial")->text(), QString("1"));  // shown as stored
            TypeAndCommit(Field("edtSerial"), c.Typed);
            QCOMPARE(Field("edtSerial")->text(), QString(c.Shown));
            Ok();
            QVERIFY(Dialog->Changed());
            QCOMPARE(Doc.SerialNo, std::string(c.Shown));
            QCOMPARE(Text(SavedBytes(Doc), SerialBytes, 8), std::string(c.Shown));
        }
    }

    void marketVersion_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("pickOther");
        QTest::addColumn<int>("written");
        QTest::addColumn<bool>("changed");
        QTest::newRow("export") << 0 << "EXP" << false << 0 << false;
        QTest::newRow("USA") << int('U') << "USA" << false << int('U') << false;
        QTest::newRow("other character") << int('X') << "EXP" << false << 0 << true;
        QTest::newRow("to USA") << 0 << "EXP" << true << int('U') << true;
        QTest::newRow("to export") << int('U') << "USA" << true << 0 << true;
    }
    void marketVersion()
    {
        QFETCH(int, stored);
        QFETCH(QString, shown);
        QFETCH(bool, pickOther);
        QFETCH(int, written);
        QFETCH(bool, changed);
        Doc.MarketCode = stored;
        QVERIFY(Show<TfrmMarket>());
        QCOMPARE(List("cmbMarket")->currentText(), shown);
        if (pickOther)
            Pick("cmbMarket", shown == "EXP" ? Qt::Key_Down : Qt::Key_Up);
        Ok();
        QCOMPARE(Doc.MarketCode, written);
        QCOMPARE(Dialog->Changed(), changed);
        QCOMPARE(int(SavedBytes(Doc).at(MarketByte)), written);
    }

    void marketOnlyInManufactureMode()
    {
        for (TProgramMode mode : {Normal, Extended, Manufacture}) {
            QVERIFY(Show<TfrmMarket>(mode));
            QCOMPARE(Field("edtSerial")->isEnabled(), mode == Manufacture);
            QCOMPARE(List("cmbMarket")->isEnabled(), mode == Manufacture);
            QTest::keyClick(Dialog.get(), Qt::Key_S, Qt::AltModifier);
            QCOMPARE(Field("edtSerial")->hasFocus(), mode == Manufacture);
        }
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_Dialogs.moc"
