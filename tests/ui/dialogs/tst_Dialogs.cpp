// The parameter dialogs driven with keys: each dialog's own conversions and
// rules, the result in the document and in the bytes of the data file saved
// afterwards.
#include "support/DialogTestKit.h"
#include "ui/base/U_Contrast.h"

#include "ui/dialogs/D_Ani.h"
#include "ui/dialogs/D_CWID.h"
#include "ui/dialogs/D_Eni.h"
#include "ui/dialogs/D_Hardware.h"
#include "ui/dialogs/D_Market.h"
#include "ui/dialogs/D_RadioStatus.h"
#include "ui/dialogs/D_RxAdjust.h"
#include "ui/dialogs/D_Signal.h"
#include "ui/dialogs/D_Timer.h"
#include "ui/dialogs/D_ToneTbl.h"
#include "ui/dialogs/D_TxAdjust.h"
#include "ui/dialogs/D_TxPower.h"

#include <QToolButton>

#include <QStyle>

#include <cmath>
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
constexpr int SignalingByte = 93;  // DtmfTx 6, FiveToneTx 5, DtmfRx 2, FiveToneRx 1
constexpr int TxPowerAdjustBytes = 96;
constexpr int FiveToneBytes = 144;
constexpr int MarkTimeBytes = 176;
constexpr int AniBytes = 180;      // AniDelay, EniDelay, EniTxTime, RxTime, DeadTime, RepeatCount
constexpr int AniCodeBytes = 188;
constexpr int EniCodeBytes = 196;
constexpr int RxFreqLowestBytes = 8;
constexpr int RxTuningLowestByte = 19;
constexpr int TxDisplayHighByte = 20;
constexpr int TxHighHighestByte = 32;

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

int Bcd2(const std::vector<uint8_t>& image, int address)
{
    return (image.at(address) >> 4) * 10 + (image.at(address) & 15);
}

int SignedByte(const std::vector<uint8_t>& image, int address)
{
    return static_cast<int8_t>(image.at(address));
}

// Four hex-digit bytes as the number they spell.
int HexDigits(const std::vector<uint8_t>& image, int address)
{
    int value = 0;
    for (int i = 0; i < 4; ++i)
        value = value * 16 + image.at(address + i);
    return value;
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
    QPalette SystemPalette;

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
    void initTestCase() { SystemPalette = QApplication::palette(); }
    void cleanup()
    {
        Dialog.reset();
        QApplication::setPalette(SystemPalette);
    }

    void everyDialogFollowsTheProgramModeAndOkChangesNothing()
    {
        // Fields each mode opens; in Normal mode every dialog is a read-only view.
        struct Case { TOpen Open; const char* Caption; QSize Size; const char* FirstHint;
                      std::vector<const char*> Extended; std::vector<const char*> Manufacture; };
        const Case cases[] = {
            {Open<TfrmHardware>, "Hardware Parameters", {332, 332}, "<SELECT>",
             {"cmbBand", "cmb1stLocal", "cmb2ndLocal", "cmbChStep", "cmbDuplex"},
             {"edtIF", "edtTxRef", "edtRxRef", "cmbTxPower"}},
            {Open<TfrmTimer>, "Timer", {332, 230}, "<SELECT>", {"edtBaseTOT", "edtRGTime"}, {}},
            {Open<TfrmCWID>, "CW ID", {332, 230}, "<SELECT>", {"cmbCWID", "edtCWID", "edtTFreq"}, {}},
            {Open<TfrmRadioStatus>, "Radio Status", {332, 334}, "<SELECT>", {"cmbBeep", "cmbHighTempTx"}, {}},
            {Open<TfrmMarket>, "Marketing Prameters", {332, 139}, "", {}, {"edtSerial", "cmbMarket"}},
            {Open<TfrmSignal>, "Signaling Type", {332, 230}, "<SELECT>", {"cmbDTMF", "cmb5Tone"}, {}},
            {Open<TfrmAni>, "ANI Parameters", {335, 199}, "<SELECT>", {"cmbAniOn", "edtDelay", "cmbHeader", "edtCode"}, {}},
            {Open<TfrmEni>, "ENI Parameters", {332, 297}, "<SELECT>", {"edtDelay", "edtRepeatCnt", "edtCode"}, {}},
            {Open<TfrmToneTbl>, "5-Tone Table", {332, 331}, "<SELECT>", {"edtTbl0", "edtTblF", "cmbSet"}, {}},
            {Open<TfrmRxAdjust>, "Rx Adjustment", {332, 287}, "<SELECT>", {},
             {"edtFreqLowest", "edtTuneHighest", "edtSqlLow", "edtNsqLevel", "edtSqlHyster", "edtSqlNarrow", "udTuneLow"}},
            {Open<TfrmTxAdjust>, "Tx Adjustment", {332, 391}, "<SELECT>", {},
             {"edtFreqHH", "edtHighLL", "edtDcsNHH", "edtDispHigh", "edtDispLow", "udDispLow"}},
            {Open<TfrmTxPower>, "Tx Power Adjust", {335, 289}, "<SELECT>", {"edtCh01", "edtCh16", "udCh09"}, {}},
        };
        for (const Case& c : cases) {
            for (TProgramMode mode : {Normal, Extended, Manufacture}) {
                const TRKmem before = Doc;
                Dialog = c.Open(Doc, mode, Prompt);
                QCOMPARE(Find<QLabel>(*Dialog, "pnlHint2")->text(), QString(c.FirstHint));
                QVERIFY(ShowActive(*Dialog));
                QCOMPARE(Dialog->windowTitle(), QString(c.Caption));
                QCOMPARE(Dialog->size(), c.Size);
                if (mode == Normal) {
                    for (QLineEdit* edit : Dialog->findChildren<QLineEdit*>())
                        QVERIFY2(!edit->isEnabled(), qPrintable(edit->objectName()));
                    for (QComboBox* combo : Dialog->findChildren<QComboBox*>())
                        QVERIFY2(!combo->isEnabled(), qPrintable(combo->objectName()));
                }
                for (const char* name : c.Extended)
                    QCOMPARE(Dialog->findChild<QWidget*>(name)->isEnabled(), mode != Normal);
                for (const char* name : c.Manufacture)
                    QCOMPARE(Dialog->findChild<QWidget*>(name)->isEnabled(), mode == Manufacture);
                Ok();
                QCOMPARE(Dialog->result(), int(QDialog::Accepted));
                QVERIFY2(!Dialog->Changed(), c.Caption);
                QCOMPARE(SavedBytes(Doc), SavedBytes(before));
            }
        }
        // An accelerator does not reach a field its mode keeps closed.
        for (TProgramMode mode : {Extended, Manufacture}) {
            QVERIFY(Show<TfrmMarket>(mode));
            QTest::keyClick(Dialog.get(), Qt::Key_S, Qt::AltModifier);
            QCOMPARE(Field("edtSerial")->hasFocus(), mode == Manufacture);
        }
    }

    // A document as a person may open it: a short serial number (saved with
    // zero bytes after it), stored values outside the fields' ranges, a
    // market character the list does not hold, CW ID and signaling off while
    // channels still send them, a short ANI code. A read-only view shows all
    // this and stores none of it; so does a view whose only open fields are
    // the signaling times, for the closed choices (both kinds loaded).
    void readOnlyOkKeepsTheSavedBytes_data()
    {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("bothKinds");
        const char* const names[] = {"Hardware", "Timer", "CW ID", "Radio Status", "Marketing", "Signaling",
                                     "ANI", "ENI", "5-Tone Table", "Rx Adjustment", "Tx Adjustment", "Tx Power"};
        for (int dialog = 0; dialog < 12; ++dialog)
            QTest::newRow(qPrintable(QString(names[dialog]) + ", Normal")) << dialog << int(Normal) << false;
        QTest::newRow("Marketing, Extended") << 4 << int(Extended) << false;
        QTest::newRow("Rx Adjustment, Extended") << 9 << int(Extended) << false;
        QTest::newRow("Tx Adjustment, Extended") << 10 << int(Extended) << false;
        QTest::newRow("Signaling, Normal, both kinds") << 5 << int(Normal) << true;
    }
    void readOnlyOkKeepsTheSavedBytes()
    {
        QFETCH(int, dialog);
        QFETCH(int, mode);
        QFETCH(bool, bothKinds);
        const TOpen open[] = {Open<TfrmHardware>, Open<TfrmTimer>, Open<TfrmCWID>, Open<TfrmRadioStatus>,
                              Open<TfrmMarket>, Open<TfrmSignal>, Open<TfrmAni>, Open<TfrmEni>,
                              Open<TfrmToneTbl>, Open<TfrmRxAdjust>, Open<TfrmTxAdjust>, Open<TfrmTxPower>};
        Doc.SerialNo = "AB12";
        Doc.BaseTot = 200;
        Doc.RepeatGuardTime = 255;
        Doc.CwIdDotTime = 5;
        Doc.CwIdToneFreq = 65535;
        Doc.CwIdEnable = 0;
        Doc.Channels[3].CwIdAniEni = 2;
        Doc.Channels[4].CwIdAniEni = 1;
        Doc.MarketCode = 'X';
        Doc.AniCode = "1A";
        Doc.EniRepeatCount = 0;
        Doc.TxPowerAdjust[2] = 120;
        Doc.RxTuning[0] = 255;
        if (bothKinds) {
            Doc.DtmfTx = 1;
            Doc.FiveToneRx = 1;
        } else {
            Doc.MarkTime = 0;
        }
        const auto before = SavedBytes(Doc);
        QCOMPARE(Text(before, SerialBytes, 8), std::string("AB12\0\0\0\0", 8));
        Dialog = open[dialog](Doc, TProgramMode(mode), Prompt);
        bool modified = false;
        WhenModal([](QWidget& shown) { ClickOk(shown); });
        QVERIFY(Dialog->RunModal(modified));
        QVERIFY(!modified);
        QCOMPARE(SavedBytes(Doc), before);
    }

    // A read-only view on button face: its text must stay readable (WCAG
    // contrast of at least 4.5) whatever the theme, and follow a theme that
    // changes while the dialog is open.
    void disabledFieldsAreReadable_data()
    {
        QTest::addColumn<QPalette>("theme");
        QTest::addColumn<bool>("changedWhileOpen");
        const QPalette light = QApplication::style()->standardPalette();
        QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x35, 0x35, 0x35));
        dark.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
        dark.setColor(QPalette::Text, Qt::white);
        dark.setColor(QPalette::WindowText, Qt::white);
        dark.setColor(QPalette::ButtonText, Qt::white);
        dark.setColor(QPalette::ToolTipBase, QColor(0x55, 0x55, 0x3a));
        dark.setColor(QPalette::ToolTipText, Qt::white);
        for (auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
            dark.setColor(QPalette::Disabled, role, QColor(0x6e, 0x6e, 0x6e));
        QTest::newRow("light") << light << false;
        QTest::newRow("dark") << dark << false;
        QTest::newRow("dark, switched while open") << dark << true;
    }
    void disabledFieldsAreReadable()
    {
        QFETCH(QPalette, theme);
        QFETCH(bool, changedWhileOpen);
        if (!changedWhileOpen)
            QApplication::setPalette(theme);
        QVERIFY(Show<TfrmHardware>(Normal));
        if (changedWhileOpen) {
            QApplication::setPalette(theme);
            QApplication::processEvents();
        }
        const QColor face = theme.color(QPalette::Active, QPalette::Button);
        int checked = 0;
        for (QWidget* field : Dialog->findChildren<QWidget*>()) {
            if (!qobject_cast<TParamEdit*>(field) && !qobject_cast<TParamCombo*>(field))
                continue;
            QVERIFY(!field->isEnabled());
            const QPalette shown = field->palette();
            QCOMPARE(shown.color(QPalette::Disabled, QPalette::Base), face);
            const auto role = qobject_cast<TParamCombo*>(field) ? QPalette::ButtonText : QPalette::Text;
            const double ratio = Contrast(shown.color(QPalette::Disabled, role), face);
            QVERIFY2(ratio >= 4.5, qPrintable(field->objectName() + QString(" %1").arg(ratio)));
            ++checked;
        }
        QCOMPARE(checked, 9);
    }

    // Opened with the right to edit, an untouched text is stored as it was
    // loaded however the field shows it; one that was edited is stored as shown.
    void untouchedTextIsStoredAsLoaded_data()
    {
        QTest::addColumn<QString>("typed");  // null: only focused and left
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("focused only") << QString() << QByteArray("AB12\0\0\0\0", 8);
        QTest::newRow("retyped") << "AB12" << QByteArray("AB12    ");
        QTest::newRow("changed") << "AB123" << QByteArray("AB123   ");
    }
    void untouchedTextIsStoredAsLoaded()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, stored);
        Doc.SerialNo = "AB12";
        QVERIFY(Show<TfrmMarket>(Manufacture));
        QVERIFY(Field("edtSerial")->hasFocus());  // the first field has it from the start
        if (!typed.isNull())
            TypeAndCommit(Field("edtSerial"), typed);
        Ok();
        QCOMPARE(Text(SavedBytes(Doc), SerialBytes, 8), stored.toStdString());
        QCOMPARE(Dialog->Changed(), !typed.isNull());
    }

    // Typed into each dialog's fields, shown as committed, stored in the image.
    void typedValuesAreConvertedAndStored()
    {
        using TRead = int (*)(const std::vector<uint8_t>&, int);
        const TRead byte = [](const std::vector<uint8_t>& image, int address) { return int(image.at(address)); };
        struct Case { TOpen Open; const char* Field; const char* Typed; const char* Shown; int Address; TRead Read; int Stored; };
        const Case cases[] = {
            {Open<TfrmHardware>, "edtIF", "9.999", "10.00 MHz", IfBytes, Bcd4, 1000},
            {Open<TfrmHardware>, "edtIF", "21,4", "21.40 MHz", IfBytes, Bcd4, 2140},
            {Open<TfrmHardware>, "edtRxRef", "150", "99.99 MHz", IfBytes + 2, Bcd4, 9999},
            {Open<TfrmHardware>, "edtRxRef", "1.2.3", "0.00 MHz", IfBytes + 2, Bcd4, 0},
            {Open<TfrmHardware>, "edtTxRef", "0.29", "0.29 MHz", IfBytes + 4, Bcd4, 29},
            {Open<TfrmHardware>, "edtTxRef", "12.3456", "12.34 MHz", IfBytes + 4, Bcd4, 1234},  // 5 typed
            {Open<TfrmTimer>, "edtBaseTOT", "2.7", "2.5 Min", TimerBytes, byte, 5},
            {Open<TfrmTimer>, "edtBaseTOT", "2.49", "2.0 Min", TimerBytes, byte, 4},
            {Open<TfrmTimer>, "edtBaseTOT", "75", "60.0 Min", TimerBytes, byte, 120},
            {Open<TfrmTimer>, "edtBGTime", "7", "6 Sec", TimerBytes + 1, byte, 3},
            {Open<TfrmTimer>, "edtBGTime", "400", "360 Sec", TimerBytes + 1, byte, 180},
            {Open<TfrmTimer>, "edtRepeatTOT", "0,5", "0.5 Min", TimerBytes + 2, byte, 1},
            {Open<TfrmTimer>, "edtRepeatTOT", "1.2.3", "0.0 Min", TimerBytes + 2, byte, 0},
            {Open<TfrmTimer>, "edtRHTime", "59.9", "59.5 Sec", TimerBytes + 3, byte, 119},
            {Open<TfrmTimer>, "edtRGTime", "", "0 Sec", TimerBytes + 4, byte, 0},
            {Open<TfrmTimer>, "edtRGTime", "361", "360 Sec", TimerBytes + 4, byte, 180},
            {Open<TfrmCWID>, "edtDotTime", "5", "20 msec", DotTimeByte, byte, 20},
            {Open<TfrmCWID>, "edtDotTime", "256", "255 msec", DotTimeByte, byte, 255},
            {Open<TfrmCWID>, "edtIntTimer", "", "30 sec", DotTimeByte + 1, Word, 30},
            {Open<TfrmCWID>, "edtIntTimer", "1801", "1800 sec", DotTimeByte + 1, Word, 1800},
            {Open<TfrmCWID>, "edtTFreq", "9999", "3000 Hz", DotTimeByte + 3, Word, 3000},
            {Open<TfrmCWID>, "edtTFreq", "299", "300 Hz", DotTimeByte + 3, Word, 300},
            // The serial number is text: blanks trimmed, padded to 8, blank means the default.
            {Open<TfrmMarket>, "edtSerial", "AB12", "AB12    ", SerialBytes, nullptr, 0},
            {Open<TfrmMarket>, "edtSerial", "   ", "12345678", SerialBytes, nullptr, 0},
            {Open<TfrmMarket>, "edtSerial", " x y ", "x y     ", SerialBytes, nullptr, 0},
            {Open<TfrmMarket>, "edtSerial", "ABCDEFGHIJ", "ABCDEFGH", SerialBytes, nullptr, 0},
            // Mark and space times are open while a signaling is chosen.
            {Open<TfrmSignal>, "edtMarkTime", "0", "1 ms", MarkTimeBytes, Word, 1},
            {Open<TfrmSignal>, "edtSpaceTime", "6011", "600 ms", MarkTimeBytes + 2, Word, 600},
            {Open<TfrmSignal>, "edtSpaceTime", "", "1 ms", MarkTimeBytes + 2, Word, 1},
            // Delays are rounded down to their 5 and 50 ms units.
            {Open<TfrmAni>, "edtDelay", "3", "20 ms", AniBytes, byte, 4},
            {Open<TfrmAni>, "edtDelay", "1300", "1275 ms", AniBytes, byte, 255},
            {Open<TfrmAni>, "edtDelay", "1274", "1270 ms", AniBytes, byte, 254},
            {Open<TfrmAni>, "edtDelay", "33", "30 ms", AniBytes, byte, 6},
            {Open<TfrmAni>, "edtDelay", "", "20 ms", AniBytes, byte, 4},
            {Open<TfrmAni>, "edtCode", "ab", "00AB", AniCodeBytes, HexDigits, 0xAB},
            {Open<TfrmAni>, "edtCode", "f9g1z", "0F91", AniCodeBytes, HexDigits, 0xF91},
            {Open<TfrmEni>, "edtDelay", "12749", "12700 ms", AniBytes + 1, byte, 254},
            {Open<TfrmEni>, "edtDelay", "99", "50 ms", AniBytes + 1, byte, 1},
            {Open<TfrmEni>, "edtTxTime", "256", "255 sec", AniBytes + 2, byte, 255},
            {Open<TfrmEni>, "edtRxTime", "0", "1 sec", AniBytes + 3, byte, 1},
            {Open<TfrmEni>, "edtDeadTime", "", "20 sec", AniBytes + 4, byte, 20},
            {Open<TfrmEni>, "edtRepeatCnt", "0", "1", AniBytes + 5, byte, 1},
            {Open<TfrmEni>, "edtRepeatCnt", "", "20", AniBytes + 5, byte, 20},
            {Open<TfrmEni>, "edtCode", "12", "0012", EniCodeBytes, HexDigits, 0x12},
            {Open<TfrmToneTbl>, "edtTbl1", "5000", "3000 Hz", FiveToneBytes + 2, Word, 3000},
            {Open<TfrmToneTbl>, "edtTblE", "459", "625 Hz", FiveToneBytes + 28, Word, 625},
            {Open<TfrmToneTbl>, "edtTbl0", "", "625 Hz", FiveToneBytes, Word, 625},
            {Open<TfrmToneTbl>, "edtTblF", "1234", "1234 Hz", FiveToneBytes + 30, Word, 1234},
            // Alignment frequencies are BCD in 100 kHz units, the Lowest point last.
            {Open<TfrmRxAdjust>, "edtFreqLowest", "1234", "999.9", RxFreqLowestBytes, Bcd4, 9999},
            {Open<TfrmRxAdjust>, "edtFreqLowest", "45,67", "45.7", RxFreqLowestBytes, Bcd4, 457},
            {Open<TfrmRxAdjust>, "edtFreqLowest", "1.2.3", "0.0", RxFreqLowestBytes, Bcd4, 0},
            {Open<TfrmRxAdjust>, "edtTuneLowest", "300", "255", RxTuningLowestByte, byte, 255},
            {Open<TfrmRxAdjust>, "edtTuneLowest", "", "0", RxTuningLowestByte, byte, 0},
            {Open<TfrmTxAdjust>, "edtHighHH", "77", "77", TxHighHighestByte, byte, 77},
            {Open<TfrmTxAdjust>, "edtDispHigh", "150", "99", TxDisplayHighByte, Bcd2, 99},
            {Open<TfrmTxPower>, "edtCh01", "-200", "-128", TxPowerAdjustBytes, SignedByte, -128},
            {Open<TfrmTxPower>, "edtCh16", "+5", "5", TxPowerAdjustBytes + 15, SignedByte, 5},
            {Open<TfrmTxPower>, "edtCh02", "-", "0", TxPowerAdjustBytes + 1, SignedByte, 0},
            {Open<TfrmTxPower>, "edtCh03", "1-2", "0", TxPowerAdjustBytes + 2, SignedByte, 0},
        };
        for (const Case& c : cases) {
            Doc = DefaultDocument();
            Doc.SerialNo.assign(1, '1');
            Doc.DtmfRx = 1;
            const auto before = SavedBytes(Doc);
            Dialog = c.Open(Doc, Manufacture, Prompt);
            QVERIFY(ShowActive(*Dialog));
            if (!c.Read)
                QCOMPARE(Field(c.Field)->text(), QString("1"));  // shown as stored
            TypeAndCommit(Field(c.Field), c.Typed);
            QCOMPARE(Field(c.Field)->text(), QString(c.Shown));
            Ok();
            const auto image = SavedBytes(Doc);
            if (c.Read)
                QCOMPARE(c.Read(image, c.Address), c.Stored);
            else
                QCOMPARE(Text(image, c.Address, 8), std::string(c.Shown));
            QCOMPARE(Dialog->Changed(), image != before);
        }
    }

    void storedValuesAreShownClamped()
    {
        Doc.BaseTot = 200;
        Doc.BaseGuardTime = 3;
        Doc.RepeatTot = 1;
        Doc.RepeatHangOnTime = 4;
        Doc.RepeatGuardTime = 255;
        Doc.CwIdDotTime = 5;
        Doc.CwIdInterval = 0;
        Doc.CwIdToneFreq = 65535;
        const std::pair<TOpen, std::vector<std::pair<const char*, const char*>>> dialogs[] = {
            {Open<TfrmTimer>, {{"edtBaseTOT", "60.0 Min"}, {"edtBGTime", "6 Sec"}, {"edtRepeatTOT", "0.5 Min"},
                               {"edtRHTime", "2.0 Sec"}, {"edtRGTime", "360 Sec"}}},
            {Open<TfrmCWID>, {{"edtDotTime", "20 msec"}, {"edtIntTimer", "30 sec"}, {"edtTFreq", "3000 Hz"}}},
        };
        for (const auto& [open, shown] : dialogs) {
            Dialog = open(Doc, Normal, Prompt);
            QVERIFY(ShowActive(*Dialog));
            for (const auto& [field, text] : shown)
                QCOMPARE(Field(field)->text(), QString(text));
        }
        QVERIFY(Show<TfrmTimer>(Extended));
        Ok();  // the clamped values are what OK stores where the fields can be edited
        QCOMPARE(Doc.BaseTot, 120);
        QCOMPARE(Doc.RepeatGuardTime, 180);
        QVERIFY(Dialog->Changed());
    }

    void hardwareQuestions_data()
    {
        QTest::addColumn<QString>("combo");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("ifShown");
        QTest::newRow("band, yes") << "cmbBand" << int(TAnswer::Yes) << 1 << "73.75 MHz";
        QTest::newRow("band, no") << "cmbBand" << int(TAnswer::No) << 0 << "21.40 MHz";
        QTest::newRow("band, dismissed") << "cmbBand" << int(TAnswer::Cancel) << 0 << "21.40 MHz";
        QTest::newRow("step, yes") << "cmbChStep" << int(TAnswer::Yes) << 1 << "21.40 MHz";
        QTest::newRow("step, no") << "cmbChStep" << int(TAnswer::No) << 0 << "21.40 MHz";
        QTest::newRow("step, dismissed") << "cmbChStep" << int(TAnswer::Cancel) << 0 << "21.40 MHz";
    }
    void hardwareQuestions()
    {
        QFETCH(QString, combo);
        QFETCH(int, answer);
        QFETCH(int, index);
        QFETCH(QString, ifShown);
        const bool band = combo == "cmbBand";
        TRKmem expected = Doc;
        if (index == 1 && band) {
            expected.Band = 1;
            expected.IfFreq = 7375;
        } else if (index == 1) {
            expected.ChStep = 1;
        }
        Prompt.Answers = {TAnswer(answer)};
        QVERIFY(Show<TfrmHardware>(Extended));  // the IF follows although it cannot be typed into
        Pick(combo.toLatin1());
        QCOMPARE(Prompt.Asked(), std::vector<std::string> {band ? TfrmHardware::BandQuestion : TfrmHardware::StepQuestion});
        QCOMPARE(List(combo.toLatin1())->currentIndex(), index);
        QCOMPARE(Field("edtIF")->text(), ifShown);
        QCOMPARE(List(band ? "cmbChStep" : "cmbBand")->currentIndex(), 0);  // nothing else moves
        Ok();
        QCOMPARE(static_cast<TfrmHardware*>(Dialog.get())->BandChanged(), band && index == 1);
        QCOMPARE(Dialog->Changed(), index == 1);
        QCOMPARE(SavedBytes(Doc), SavedBytes(expected));  // the dialog itself touches no channel
        const auto image = SavedBytes(Doc);
        QCOMPARE(Bit(image, BandByte, 7), expected.Band);
        QCOMPARE(Bit(image, StatusByte, 0), expected.ChStep);
        QCOMPARE(Bcd4(image, IfBytes), expected.IfFreq);
    }

    void hardwareBandThereAndBackIsNoBandChange()
    {
        Prompt.Answers = {TAnswer::Yes, TAnswer::Yes};
        QVERIFY(Show<TfrmHardware>());
        Pick("cmbBand", Qt::Key_Down);
        Pick("cmbBand", Qt::Key_Up);
        QCOMPARE(Prompt.Asked().size(), size_t(2));
        QCOMPARE(Field("edtIF")->text(), QString("21.40 MHz"));
        Ok();
        QVERIFY(!static_cast<TfrmHardware*>(Dialog.get())->BandChanged());
        QVERIFY(!Dialog->Changed());
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

    void marketVersion_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("pickOther");
        QTest::addColumn<int>("written");  // Modified when it differs from what was stored
        QTest::newRow("export") << 0 << "EXP" << false << 0;
        QTest::newRow("USA") << int('U') << "USA" << false << int('U');
        QTest::newRow("other character") << int('X') << "EXP" << false << 0;
        QTest::newRow("to USA") << 0 << "EXP" << true << int('U');
        QTest::newRow("to export") << int('U') << "USA" << true << 0;
    }
    void marketVersion()
    {
        QFETCH(int, stored);
        QFETCH(QString, shown);
        QFETCH(bool, pickOther);
        QFETCH(int, written);
        Doc.MarketCode = stored;
        QVERIFY(Show<TfrmMarket>());
        QCOMPARE(List("cmbMarket")->currentText(), shown);
        if (pickOther)
            Pick("cmbMarket", shown == "EXP" ? Qt::Key_Down : Qt::Key_Up);
        Ok();
        QCOMPARE(Doc.MarketCode, written);
        QCOMPARE(Dialog->Changed(), written != stored);
        QCOMPARE(int(SavedBytes(Doc).at(MarketByte)), written);
    }

    // DTMF and 5-tone exclude each other; switching both off on OK turns
    // the channels' ANI/ENI off. Rows: the loaded flags, the picks, the
    // flags stored and whether the channels were reset.
    void signalingExclusionAndChannelReset_data()
    {
        QTest::addColumn<QList<int>>("loaded");  // DtmfTx, DtmfRx, FiveToneTx, FiveToneRx
        QTest::addColumn<QList<int>>("picks");   // DTMF index, 5-tone index; -1 untouched
        QTest::addColumn<QList<int>>("stored");
        QTest::addColumn<QList<bool>>("enabled"); // mark, space, repeat after the picks
        QTest::addColumn<bool>("reset");
        QTest::newRow("DTMF Tx switches 5-tone off") << QList {0, 0, 0, 1} << QList {2, -1} << QList {1, 0, 0, 0}
                                                  << QList {true, true, false} << false;
        QTest::newRow("5-tone switches DTMF off") << QList {1, 1, 0, 0} << QList {-1, 3} << QList {0, 0, 1, 1}
                                               << QList {true, true, true} << false;
        QTest::newRow("both off resets ANI/ENI") << QList {0, 1, 0, 0} << QList {0, -1} << QList {0, 0, 0, 0}
                                              << QList {false, false, false} << true;
        QTest::newRow("both loaded, DTMF wins") << QList {0, 1, 1, 0} << QList {-1, -1} << QList {0, 1, 0, 0}
                                             << QList {true, true, true} << false;
        QTest::newRow("already off") << QList {0, 0, 0, 0} << QList {-1, -1} << QList {0, 0, 0, 0}
                                  << QList {false, false, false} << true;
    }
    void signalingExclusionAndChannelReset()
    {
        QFETCH(QList<int>, loaded);
        QFETCH(QList<int>, picks);
        QFETCH(QList<int>, stored);
        QFETCH(QList<bool>, enabled);
        QFETCH(bool, reset);
        int TRKmem::*const flags[] = {&TRKmem::DtmfTx, &TRKmem::DtmfRx, &TRKmem::FiveToneTx, &TRKmem::FiveToneRx};
        const int flagBits[] = {6, 2, 5, 1};
        for (int i = 0; i < 4; ++i)
            Doc.*flags[i] = loaded[i];
        const int selections[] = {1, 2, 0, 1};  // "ANI/ENI", "CW-ID", "off", "ANI/ENI"
        for (int i = 0; i < ChannelCount; ++i)
            Doc.Channels[i].CwIdAniEni = selections[i % 4];
        const TRKmem before = Doc;
        QVERIFY(Show<TfrmSignal>(Extended));
        const char* const combos[] = {"cmbDTMF", "cmb5Tone"};
        for (int i = 0; i < 2; ++i) {
            if (picks[i] < 0)
                continue;
            List(combos[i])->setFocus(Qt::TabFocusReason);
            QTest::keyClick(List(combos[i]), Qt::Key_Home);
            for (int k = 0; k < picks[i]; ++k)
                QTest::keyClick(List(combos[i]), Qt::Key_Down);
        }
        QCOMPARE(Field("edtMarkTime")->isEnabled(), enabled[0]);
        QCOMPARE(Field("edtSpaceTime")->isEnabled(), enabled[1]);
        QCOMPARE(List("cmb5ToneRepeat")->isEnabled(), enabled[2]);
        Ok();
        const auto image = SavedBytes(Doc);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(Bit(image, SignalingByte, flagBits[i]), stored[i]);
        for (int i = 0; i < ChannelCount; ++i) {
            const int expected = reset && selections[i % 4] == 1 ? 0 : selections[i % 4];
            QCOMPARE((image.at(Image54::ChannelBase + Image54::ChannelRecordSize * i + 4) >> 5) & 3, expected);
        }
        QCOMPARE(Dialog->Changed(), stored != loaded);
        // The repeat code goes back as it was, open or not.
        QCOMPARE(int(image.at(AniBytes + 6)), before.FiveToneRepeatCode);
    }

    void signalingTimesFollowTheStoredChoiceInEveryMode()
    {
        Doc.FiveToneRx = 1;
        QVERIFY(Show<TfrmSignal>(Normal));
        QVERIFY(!List("cmbDTMF")->isEnabled());
        QVERIFY(!List("cmb5Tone")->isEnabled());
        QVERIFY(Field("edtMarkTime")->isEnabled());
        QVERIFY(List("cmb5ToneRepeat")->isEnabled());
        QTest::keyClick(Dialog.get(), Qt::Key_M, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Field("edtMarkTime")));
    }

    // The set follows the sixteen tones; under EIA digits 0 and E keep
    // their low values, under any other set they are lifted to 625 Hz.
    void toneTableSets()
    {
        Doc.FiveToneTable = TfrmToneTbl::StandardSets[1];
        QVERIFY(Show<TfrmToneTbl>(Extended));
        QCOMPARE(List("cmbSet")->currentText(), QString("ZVEI2"));
        TypeAndCommit(Field("edtTbl5"), "1540");
        QCOMPARE(List("cmbSet")->currentText(), QString("USER"));
        TypeAndCommit(Field("edtTbl5"), "1530");
        QCOMPARE(List("cmbSet")->currentText(), QString("ZVEI2"));

        List("cmbSet")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(List("cmbSet"), Qt::Key_End);
        QTest::keyClick(List("cmbSet"), Qt::Key_Up);
        QCOMPARE(List("cmbSet")->currentText(), QString("EIA"));
        QCOMPARE(Field("edtTbl0")->text(), QString("600 Hz"));
        QCOMPARE(Field("edtTblE")->text(), QString("459 Hz"));
        TypeAndCommit(Field("edtTbl0"), "600");  // kept while EIA is shown
        QCOMPARE(Field("edtTbl0")->text(), QString("600 Hz"));
        TypeAndCommit(Field("edtTbl0"), "610");
        QCOMPARE(Field("edtTbl0")->text(), QString("625 Hz"));
        QCOMPARE(List("cmbSet")->currentText(), QString("USER"));
        Field("edtTblE")->setFocus(Qt::TabFocusReason);
        Field("edtTblF")->setFocus(Qt::TabFocusReason);  // leaving digit E commits it, now lifted
        QCOMPARE(Field("edtTblE")->text(), QString("625 Hz"));

        QTest::keyClick(List("cmbSet"), Qt::Key_Up);  // back to EIA: its row again
        QCOMPARE(List("cmbSet")->currentText(), QString("EIA"));
        Ok();
        QCOMPARE(Doc.FiveToneTable, TfrmToneTbl::StandardSets[TfrmToneTbl::EiaSet]);
        const auto image = SavedBytes(Doc);
        QCOMPARE(Word(image, FiveToneBytes), 600);
        QCOMPARE(Word(image, FiveToneBytes + 28), 459);

        QVERIFY(Show<TfrmToneTbl>(Extended));  // loaded: the set is found from the stored tones
        QCOMPARE(List("cmbSet")->currentText(), QString("EIA"));
        QCOMPARE(Field("edtTblE")->text(), QString("459 Hz"));
        QTest::keyClick(List("cmbSet"), Qt::Key_Down);
        QCOMPARE(List("cmbSet")->currentText(), QString("USER"));
        QCOMPARE(Field("edtTbl0")->text(), QString("1060 Hz"));  // the USER row
    }

    void toneTableShowsStoredTonesClamped()
    {
        Doc.FiveToneTable = TfrmToneTbl::StandardSets[TfrmToneTbl::EiaSet];
        Doc.FiveToneTable[1] = 9000;
        QVERIFY(Show<TfrmToneTbl>(Normal));
        QCOMPARE(List("cmbSet")->currentText(), QString("USER"));
        QCOMPARE(Field("edtTbl0")->text(), QString("625 Hz"));
        QCOMPARE(Field("edtTbl1")->text(), QString("3000 Hz"));
    }

    void codesAreShownAsStoredUntilCommitted()
    {
        Doc.AniCode = "1A";
        Doc.EniCode = "BEEF";
        QVERIFY(Show<TfrmAni>(Extended));
        QCOMPARE(Field("edtCode")->text(), QString("1A"));
        Field("edtCode")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(Field("edtCode"), Qt::Key_Return);  // editing keeps the text
        QCOMPARE(Field("edtCode")->text(), QString("1A"));
        QTest::keyClick(Field("edtCode"), Qt::Key_Return);
        QCOMPARE(Field("edtCode")->text(), QString("001A"));
        QVERIFY(Show<TfrmEni>(Extended));
        QCOMPARE(Field("edtDelay")->text(), QString("1200 ms"));  // stored 24
        QCOMPARE(Field("edtCode")->text(), QString("BEEF"));
    }

    // The arrows step within the range; a read-only grid cannot be stepped.
    void alignmentArrows()
    {
        Doc.RxTuning[0] = 254;
        Doc.TxPowerAdjust[0] = 126;
        QVERIFY(Show<TfrmRxAdjust>(Manufacture));
        auto* up = Find<TUpDown>(*Dialog, "udTuneLowest")->findChild<QToolButton*>("btnUp");
        QTest::mouseClick(up, Qt::LeftButton);
        QTest::mouseClick(up, Qt::LeftButton);
        QCOMPARE(Field("edtTuneLowest")->text(), QString("255"));
        QVERIFY(Show<TfrmTxPower>(Extended));
        Field("edtCh01")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(Field("edtCh01"), Qt::Key_Up);
        QTest::keyClick(Field("edtCh01"), Qt::Key_Up);
        QCOMPARE(Field("edtCh01")->text(), QString("127"));
        Ok();
        QCOMPARE(int8_t(SavedBytes(Doc).at(TxPowerAdjustBytes)), int8_t(127));

        QVERIFY(Show<TfrmRxAdjust>(Extended));
        up = Find<TUpDown>(*Dialog, "udTuneLowest")->findChild<QToolButton*>("btnUp");
        QTest::mouseClick(up, Qt::LeftButton);
        QCOMPARE(Field("edtTuneLowest")->text(), QString("254"));
    }

    void alignmentValuesAreShownAsStored()
    {
        Doc.RxTuning[2] = 300;  // no stored byte holds it, but a document can
        Doc.RxAdjFreq[1].SetFromFloat(145.25);  // shown with one decimal
        QVERIFY(Show<TfrmRxAdjust>(Manufacture));
        QCOMPARE(Field("edtTuneHigh")->text(), QString("300"));
        QCOMPARE(Field("edtFreqLow")->text(), QString("145.3"));
        Field("edtFreqLow")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(Field("edtFreqLow"), Qt::Key_Return);
        QCOMPARE(Field("edtFreqLow")->text(), QString("145.3"));  // the value shown, bare
        QTest::keyClick(Dialog.get(), Qt::Key_O, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Field("edtSqlNarrow")));
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_Dialogs.moc"
