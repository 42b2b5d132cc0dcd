// The parameter dialogs driven with keys: what their common pattern does
// (editing, committing, Esc, the arrows, the buttons, the program mode) shown
// on one field of each editing class, each dialog's own conversions and
// rules, and the result in the document, field by field.
#include "support/DialogTestKit.h"
#include "support/ParamDialogs.h"
#include "model/U_Fields.h"

#include <QClipboard>
#include <QToolButton>

namespace {

// A field of the document as the field list names and writes it. How each
// field goes into the image is the codec's to show (its byte-exact tests and
// the decode corpus); what the dialogs must get right is the field and value.
std::string FieldText(const TRKmem& doc, const std::string& name)
{
    for (const TFieldValue& v : FieldValues(doc))
        if (v.Name == name)
            return v.Text;
    return "(no field " + name + ")";
}

// A document as a person may open it: a short serial number (saved with
// zero bytes after it), stored values outside the fields' ranges, a market
// character the list does not hold, CW ID off while channels still send it,
// EIA tones but for one out of range.
TRKmem OddDocument()
{
    TRKmem doc = DefaultDocument();
    doc.SerialNo = "AB12";
    doc.BaseTot = 200;
    doc.RepeatTot = 1;
    doc.RepeatGuardTime = 255;
    doc.CwIdEnable = 0;
    doc.Channels[3].CwIdAniEni = 2;
    doc.Channels[4].CwIdAniEni = 1;
    doc.MarketCode = 'X';
    doc.EniCode = "BEEF";
    doc.FiveToneTable = TfrmToneTbl::StandardSets[TfrmToneTbl::EiaSet];
    doc.FiveToneTable[1] = 9000;
    doc.MarkTime = 0;
    return doc;
}

// Typed into a dialog's field, shown as committed, stored in the document;
// where given, the text while editing, as the field's class filtered the keys.
// A list is picked from with a key instead.
struct TTypedCase {
    int Dialog;
    const char* Field;
    const char* Typed;
    const char* Shown;
    const char* Member;
    const char* Stored;
    const char* Editing = nullptr;
    Qt::Key Pick = Qt::Key_unknown;
};
const TTypedCase TypedCases[] = {
    {Hardware, "edtIF", "1x2,5", "12.50 MHz", "IfFreq", "1250", "12,5"},
    {Timer, "edtBaseTOT", "2.7", "2.5 Min", "BaseTot", "5"},
    {CwId, "edtCWID", " de X1 ~ ", " de X1 ~ ", "CwIdText", " de X1 ~ "},  // blanks at either end kept
    // The serial number is text: blanks trimmed, padded to 8, blank means the default.
    {Market, "edtSerial", "   ", "12345678", "SerialNo", "12345678"},
    {Market, "edtSerial", " x y ", "x y     ", "SerialNo", "x y     "},
    // Mark and space times are open while a signaling is chosen.
    {Signal, "edtSpaceTime", "6011", "600 ms", "SpaceTime", "600"},
    {Ani, "edtCode", "f9g1z", "0F91", "AniCode", "0F91", "F91"},
    {Eni, "edtTxTime", "9999", "255 sec", "EniTxTime", "255", "999"},
    {ToneTbl, "edtTbl1", "5000", "3000 Hz", "FiveToneTable[1]", "3000"},
    // Alignment frequencies are MHz with one decimal, at most 999.9.
    {RxAdjust, "edtFreqLowest", "45,67", "45.7", "RxAdjFreq[0]", "45.7"},
    {TxAdjust, "edtDispHigh", "150", "99", "TxPowerDisplayHigh", "99"},
    {TxPower, "edtCh01", "-2a00", "-128", "TxPowerAdjust[0]", "-128", "-200"},
    // One field shown by two dialogs, each with its own list.
    {RadioStatus, "cmbHighTempTx", "", "", "TxPowerType", "0", nullptr, Qt::Key_Up},
    {Hardware, "cmbTxPower", "", "", "TxPowerType", "0", nullptr, Qt::Key_Up},
    {Market, "cmbMarket", "", "", "MarketCode", "85", nullptr, Qt::Key_Down},  // 'U', from export
};

} // namespace


class TestDialogs : public QObject {
    Q_OBJECT

    TRKmem Doc;
    TScriptedPrompt Prompt;
    std::unique_ptr<TParamDialog> Dialog;
    QPalette SystemPalette;

    bool Show(int dialog, TProgramMode mode = Manufacture)
    {
        Dialog = ParamDialogs[dialog](Doc, mode, Prompt);
        return ShowActive(*Dialog);
    }
    TParamEdit* Field(const char* name) { return Find<TParamEdit>(*Dialog, name); }
    // Tabs into a field, as a person would before typing.
    TParamEdit* Focus(const char* name)
    {
        Field(name)->setFocus(Qt::TabFocusReason);
        return Field(name);
    }
    QString Hint() { return Find<QLabel>(*Dialog, "pnlHint2")->text(); }
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
    void initTestCase()
    {
        SystemPalette = QApplication::palette();
        // A field's states (shown, editing) are told apart by colour only.
        QVERIFY(SystemPalette.color(QPalette::Base) != SystemPalette.color(QPalette::ToolTipBase));
    }
    void cleanup()
    {
        Dialog.reset();
        TParamDialog::HelpContents = nullptr;
    }

    // Fields each mode opens, and OK storing nothing it was not given. Where
    // a mode opens no field of a dialog, the dialog is a read-only view of
    // an odd document and stores none of its oddities either.
    void everyDialogFollowsTheProgramMode_data()
    {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<QStringList>("extended");
        QTest::addColumn<QStringList>("manufacture");
        QTest::newRow("Hardware") << int(Hardware) << QStringList {"cmbBand", "cmbDuplex"}
                                  << QStringList {"edtIF", "cmbTxPower"};
        QTest::newRow("Timer") << int(Timer) << QStringList {"edtBaseTOT", "edtRGTime"} << QStringList {};
        QTest::newRow("CW ID") << int(CwId) << QStringList {"cmbCWID", "edtCWID", "edtTFreq"} << QStringList {};
        QTest::newRow("Radio Status") << int(RadioStatus) << QStringList {"cmbBeep", "cmbHighTempTx"} << QStringList {};
        QTest::newRow("Marketing") << int(Market) << QStringList {} << QStringList {"edtSerial", "cmbMarket"};
        QTest::newRow("Signaling") << int(Signal) << QStringList {"cmbDTMF", "cmb5Tone"} << QStringList {};
        QTest::newRow("ANI") << int(Ani) << QStringList {"cmbAniOn", "edtDelay", "edtCode"} << QStringList {};
        QTest::newRow("ENI") << int(Eni) << QStringList {"edtDelay", "edtRepeatCnt", "edtCode"} << QStringList {};
        QTest::newRow("5-Tone Table") << int(ToneTbl) << QStringList {"edtTbl0", "edtTblF", "cmbSet"} << QStringList {};
        QTest::newRow("Rx Adjustment") << int(RxAdjust) << QStringList {} << QStringList {"edtFreqLowest", "udTuneLow"};
        QTest::newRow("Tx Adjustment") << int(TxAdjust) << QStringList {} << QStringList {"edtFreqHH", "udDispLow"};
        QTest::newRow("Tx Power") << int(TxPower) << QStringList {"edtCh01", "edtCh16", "udCh09"} << QStringList {};
    }
    void everyDialogFollowsTheProgramMode()
    {
        QFETCH(int, dialog);
        QFETCH(QStringList, extended);
        QFETCH(QStringList, manufacture);
        for (TProgramMode mode : {Normal, Extended, Manufacture}) {
            const bool readOnly = mode == Normal || (mode == Extended && extended.isEmpty());
            Doc = readOnly ? OddDocument() : DefaultDocument();
            const TRKmem before = Doc;
            QVERIFY(Show(dialog, mode));
            if (mode == Normal) {
                for (QLineEdit* edit : Dialog->findChildren<QLineEdit*>())
                    QVERIFY2(!edit->isEnabled(), qPrintable(edit->objectName()));
                for (QComboBox* combo : Dialog->findChildren<QComboBox*>())
                    QVERIFY2(!combo->isEnabled(), qPrintable(combo->objectName()));
            }
            for (const QString& name : extended)
                QCOMPARE(Dialog->findChild<QWidget*>(name)->isEnabled(), mode != Normal);
            for (const QString& name : manufacture)
                QCOMPARE(Dialog->findChild<QWidget*>(name)->isEnabled(), mode == Manufacture);
            Ok();
            QCOMPARE(Dialog->result(), int(QDialog::Accepted));
            QVERIFY(!Dialog->Changed());
            QCOMPARE(DocumentDifferences(before, Doc), std::string());
        }
    }

    // Esc brings back the last committed text, on the field the dialog
    // opened on too (its focus came from the window opening, not from a
    // person); with nothing being edited Esc cancels.
    void escRestoresThenCancels()
    {
        const TRKmem before = Doc;
        QVERIFY(Show(Eni, Extended));
        TParamEdit* edit = Field("edtDelay");
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(edit));
        QCOMPARE(Hint(), QString("<ENTER>"));
        QTest::keyClicks(edit, "300");
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClicks(edit, "77");
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(edit->text(), QString("300 ms"));  // with its unit: no longer editing
        QVERIFY(Dialog->isVisible());

        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(!Dialog->isVisible());
        QCOMPARE(Dialog->result(), int(QDialog::Rejected));
        QCOMPARE(DocumentDifferences(before, Doc), std::string());
    }

    // A double click goes into and out of editing; going in shows the bare
    // value, selected.
    void enteringEditModeShowsTheBareValue()
    {
        QVERIFY(Show(Hardware));
        TParamEdit* edit = Focus("edtIF");
        QTest::mouseDClick(edit, Qt::LeftButton);
        QVERIFY(edit->EditMode());
        QCOMPARE(edit->text(), QString("21.4"));
        QCOMPARE(edit->selectedText(), QString("21.4"));
        QTest::keyClicks(edit, "3");  // replaces the selection
        QCOMPARE(edit->text(), QString("3"));
        QTest::mouseDClick(edit, Qt::LeftButton);
        QVERIFY(!edit->EditMode());
        QCOMPARE(edit->text(), QString("3.00 MHz"));
    }

    // The arrows step within the range, by key and by button, the focus
    // staying in the field; while editing they step the typed value.
    void arrowsStepTheValueWithinItsRange()
    {
        Doc.TxPowerAdjust[3] = 126;
        QVERIFY(Show(TxPower, Extended));
        TParamEdit* offset = Focus("edtCh04");
        QTest::keyClick(offset, Qt::Key_Up);
        QTest::keyClick(offset, Qt::Key_Up);
        QCOMPARE(offset->text(), QString("127"));
        QVERIFY(!offset->EditMode());
        auto* down = Find<TUpDown>(*Dialog, "udCh04")->findChild<QToolButton*>("btnDown");
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(down, Qt::LeftButton);
        QCOMPARE(offset->text(), QString("124"));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(offset));
        QTest::keyClicks(offset, "-127");
        QTest::keyClick(offset, Qt::Key_Down);
        QTest::keyClick(offset, Qt::Key_Down);
        QCOMPARE(offset->text(), QString("-128"));
        QVERIFY(offset->EditMode());
        QTest::keyClick(offset, Qt::Key_Up);
        Ok();
        QCOMPARE(Doc.TxPowerAdjust[3], -127);
    }

    // Enter opens and closes a list; with the list closed Esc cancels, and
    // an accelerator reaches the list, but not a field its mode keeps closed.
    // The hint names the focused control's key.
    void listKeys()
    {
        QVERIFY(Show(RadioStatus, Extended));
        QTest::keyClick(Dialog.get(), Qt::Key_P, Qt::AltModifier);
        TParamCombo* combo = List("cmbHighTempTx");
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(combo));
        QCOMPARE(Hint(), QString("<SELECT>"));
        const int index = combo->currentIndex();
        QTest::keyClick(combo, Qt::Key_Return);
        QVERIFY(combo->ListOpen());
        QTest::keyClick(combo, Qt::Key_Return);
        QVERIFY(!combo->ListOpen());
        QCOMPARE(combo->currentIndex(), index);
        QTest::keyClick(combo, Qt::Key_Escape);
        QVERIFY(!Dialog->isVisible());
        QCOMPARE(Dialog->result(), int(QDialog::Rejected));
        QVERIFY(Show(Market, Extended));
        QTest::keyClick(Dialog.get(), Qt::Key_S, Qt::AltModifier);
        QVERIFY(!Field("edtSerial")->hasFocus());
    }

    // Ctrl blocks typing and pasting; F1 while editing opens the help and
    // leaves the text as typed; OK then stores what is shown without the
    // field being left first.
    void ctrlF1AndOkWhileEditing()
    {
        QWidget* owner = nullptr;
        int calls = 0;
        TParamDialog::HelpContents = [&](QWidget* w) { owner = w; ++calls; };
        QApplication::clipboard()->setText("12");
        QVERIFY(Show(Hardware));
        TParamEdit* edit = Focus("edtIF");
        QTest::keyClicks(edit, "9.9");
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(edit->text(), QString("9.9"));
        QTest::keyClicks(edit, "99");  // Ctrl released: typing works again
        QTest::keyClick(edit, Qt::Key_F1);
        QCOMPARE(calls, 1);
        QCOMPARE(owner, static_cast<QWidget*>(Dialog.get()));
        QCOMPARE(edit->text(), QString("9.999"));
        QVERIFY(Dialog->isVisible());
        Find<QPushButton>(*Dialog, "btnOK")->click();  // no focus change on the way
        QCOMPARE(Dialog->result(), int(QDialog::Accepted));
        QCOMPARE(Doc.IfFreq, 1000);
        QVERIFY(Dialog->Changed());
    }

    // The menu command: the document's Modified flag is set only when OK
    // changed a value, and Cancel stores nothing. Enter closes with the button it is on.
    void theCommandSetsModifiedOnlyOnARealChange_data()
    {
        QTest::addColumn<bool>("modifiedBefore");
        QTest::addColumn<QString>("typed");  // into the ENI Tx time; empty: nothing
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("modifiedAfter");
        QTest::addColumn<int>("txTime");
        QTest::newRow("OK keeps a set flag") << true << "" << true << true << 20;
        QTest::newRow("OK, one field changed") << false << "5" << true << true << 5;
        QTest::newRow("Cancel after a change") << false << "5" << false << false << 20;
    }
    void theCommandSetsModifiedOnlyOnARealChange()
    {
        QFETCH(bool, modifiedBefore);
        QFETCH(QString, typed);
        QFETCH(bool, ok);
        QFETCH(bool, modifiedAfter);
        QFETCH(int, txTime);
        Doc.EniTxTime = 20;
        TRKmem expected = Doc;
        expected.EniTxTime = txTime;
        bool modified = modifiedBefore;
        WhenModal([&](QWidget& dialog) {
            if (!typed.isEmpty())
                TypeAndCommit(Find<TParamEdit>(dialog, "edtTxTime"), typed);
            auto* button = Find<QPushButton>(dialog, ok ? "btnOK" : "btnCancel");
            button->setFocus(Qt::TabFocusReason);
            QTest::keyClick(button, Qt::Key_Return);  // presses the focused button only
            if (dialog.isVisible())
                dialog.close();  // Enter went nowhere: fail rather than wait for ever
        });
        QCOMPARE(TfrmEni::Execute(nullptr, Doc, Extended, Prompt, modified), ok);
        QCOMPARE(modified, modifiedAfter);
        QCOMPARE(DocumentDifferences(expected, Doc), std::string());
    }

    // Opened with the right to edit, an untouched text is stored as it was
    // loaded however the field shows it (an edited one: the typed serial rows).
    void untouchedTextIsStoredAsLoaded_data()
    {
        QTest::addColumn<QString>("typed");  // null: only focused and left
        QTest::addColumn<int>("key");        // that ends the typing
        QTest::newRow("focused only") << QString() << 0;
        QTest::newRow("retyped") << "AB12" << int(Qt::Key_Return);
        QTest::newRow("typed, then Esc") << "XY9" << int(Qt::Key_Escape);
    }
    void untouchedTextIsStoredAsLoaded()
    {
        QFETCH(QString, typed);
        QFETCH(int, key);
        Doc.SerialNo = "AB12";
        QVERIFY(Show(Market, Manufacture));
        TParamEdit* edit = Field("edtSerial");
        QVERIFY(edit->hasFocus());  // the first field has it from the start
        if (!typed.isNull()) {
            QTest::keyClicks(edit, typed);
            QTest::keyClick(edit, Qt::Key(key));
        }
        Ok();
        QCOMPARE(Doc.SerialNo, std::string("AB12"));
        QVERIFY(!Dialog->Changed());
    }

    // Typing replaces the shown text, filtered by the field's class, in the
    // editing colour; Enter commits it, never reaches a button, and OK
    // stores it and nothing else; so does OK after a pick in a list.
    void typedValuesAreConvertedAndStored_data()
    {
        QTest::addColumn<int>("row");
        for (const TTypedCase& c : TypedCases)
            QTest::addRow("%s '%s'", c.Field, *c.Typed ? c.Typed : c.Stored) << int(&c - TypedCases);
    }
    void typedValuesAreConvertedAndStored()
    {
        QFETCH(int, row);
        const TTypedCase& c = TypedCases[row];
        Doc.SerialNo.assign(1, '1');
        Doc.DtmfRx = 1;
        const TRKmem before = Doc;
        QVERIFY(Show(c.Dialog, Manufacture));
        if (c.Pick != Qt::Key_unknown) {
            Pick(c.Field, c.Pick);
        } else {
            TParamEdit* edit = Focus(c.Field);
            if (*c.Typed)
                QTest::keyClicks(edit, c.Typed);
            else
                QTest::keyClick(edit, Qt::Key_Backspace);  // empties the field
            QVERIFY(edit->EditMode());
            QCOMPARE(edit->palette().color(QPalette::Base), SystemPalette.color(QPalette::ToolTipBase));
            if (c.Editing)
                QCOMPARE(edit->text(), QString(c.Editing));
            QTest::keyClick(edit, Qt::Key_Return);
            QCOMPARE(edit->text(), QString(c.Shown));
            QVERIFY(!edit->EditMode());
            QCOMPARE(edit->palette().color(QPalette::Base), SystemPalette.color(QPalette::Base));
        }
        QVERIFY(Dialog->isVisible());
        Ok();
        QCOMPARE(FieldText(Doc, c.Member), std::string(c.Stored));
        const std::vector<TFieldDifference> changed = FieldDifferences(before, Doc);
        QCOMPARE(Dialog->Changed(), !changed.empty());
        for (const TFieldDifference& d : changed)  // nothing but the field itself
            QCOMPARE(d.Name, std::string(c.Member));
    }

    // A stored value is shown clamped to its field's range, a list's item as
    // found from the stored value.
    void storedValuesAreShownAsLoaded()
    {
        Doc = OddDocument();
        const std::pair<int, std::vector<std::pair<const char*, const char*>>> dialogs[] = {
            {Timer, {{"edtBaseTOT", "60.0 Min"}, {"edtRGTime", "360 Sec"}}},
            {Market, {{"cmbMarket", "EXP"}}},  // a character the list does not hold
            {ToneTbl, {{"edtTbl0", "625 Hz"}, {"edtTbl1", "3000 Hz"}, {"cmbSet", "USER"}}},  // EIA but for one
        };
        for (const auto& [dialog, shown] : dialogs) {
            QVERIFY(Show(dialog, Normal));
            for (const auto& [name, text] : shown) {
                auto* list = Dialog->findChild<QComboBox*>(name);
                QCOMPARE(list ? list->currentText() : Field(name)->text(), QString(text));
            }
        }
        QVERIFY(Show(Timer, Extended));
        Ok();  // the clamped values are what OK stores where the fields can be edited
        QCOMPARE(Doc.BaseTot, 120);
        QCOMPARE(Doc.RepeatGuardTime, 180);
        QVERIFY(Dialog->Changed());
    }

    // A band or step change is asked first; the IF follows the band
    // although it cannot be typed into; back to the loaded band is no change.
    void hardwareQuestions_data()
    {
        QTest::addColumn<QString>("combo");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("andBack");
        QTest::addColumn<QString>("stored");  // the fields OK changes, as the document differences list them
        QTest::newRow("band, yes") << "cmbBand" << int(TAnswer::Yes) << false << "Band: 0 | 1\nIfFreq: 2140 | 7375\n";
        QTest::newRow("band, dismissed") << "cmbBand" << int(TAnswer::Cancel) << false << "";
        QTest::newRow("band there and back") << "cmbBand" << int(TAnswer::Yes) << true << "";
        QTest::newRow("step, yes") << "cmbChStep" << int(TAnswer::Yes) << false << "ChStep: 0 | 1\n";
    }
    void hardwareQuestions()
    {
        QFETCH(QString, combo);
        QFETCH(int, answer);
        QFETCH(bool, andBack);
        QFETCH(QString, stored);
        const bool band = combo == "cmbBand";
        const bool changed = !stored.isEmpty();
        const TRKmem before = Doc;
        Prompt.Answers = {TAnswer(answer), TAnswer(answer)};
        QVERIFY(Show(Hardware, Extended));
        Pick(combo.toLatin1());
        if (andBack)
            Pick(combo.toLatin1(), Qt::Key_Up);
        const std::string question = band ? TfrmHardware::BandQuestion : TfrmHardware::StepQuestion;
        QCOMPARE(Prompt.Asked(), std::vector<std::string>(andBack ? 2 : 1, question));
        Ok();
        QCOMPARE(static_cast<TfrmHardware*>(Dialog.get())->BandChanged(), band && changed);
        QCOMPARE(Dialog->Changed(), changed);
        // Nothing else moves; the dialog itself touches no channel.
        QCOMPARE(QString::fromStdString(DocumentDifferences(before, Doc)), stored);
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
        QVERIFY(Show(CwId, Extended));
        if (pickDisable)
            Pick("cmbCWID", Qt::Key_Up);
        Ok();
        QCOMPARE(Dialog->Changed(), changed);
        QCOMPARE(Doc.CwIdEnable, pickDisable ? 0 : enabled);
        for (int i = 0; i < ChannelCount; ++i)
            QCOMPARE(Doc.Channels[i].CwIdAniEni, reset && selections[i % 4] == 2 ? 0 : selections[i % 4]);
    }

    // DTMF and 5-tone exclude each other; switching both off on OK turns
    // the channels' ANI/ENI off. Rows: the loaded flags, the picks, the
    // flags stored and whether the channels were reset. Even a read-only
    // view opens the times of the signaling stored; its OK keeps the closed
    // choices as they were, both kinds loaded.
    void signalingExclusionAndChannelReset_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<int>>("loaded");  // DtmfTx, DtmfRx, FiveToneTx, FiveToneRx
        QTest::addColumn<QList<int>>("picks");   // DTMF index, 5-tone index; -1 untouched
        QTest::addColumn<QList<int>>("stored");
        QTest::addColumn<QList<bool>>("enabled"); // mark, space, repeat after the picks
        QTest::addColumn<bool>("reset");
        QTest::newRow("DTMF Tx switches 5-tone off") << int(Extended) << QList {0, 0, 0, 1} << QList {2, -1}
                                                  << QList {1, 0, 0, 0} << QList {true, true, false} << false;
        QTest::newRow("5-tone switches DTMF off") << int(Extended) << QList {1, 1, 0, 0} << QList {-1, 3}
                                               << QList {0, 0, 1, 1} << QList {true, true, true} << false;
        QTest::newRow("both off resets ANI/ENI") << int(Extended) << QList {0, 1, 0, 0} << QList {0, -1}
                                              << QList {0, 0, 0, 0} << QList {false, false, false} << true;
        QTest::newRow("both loaded, DTMF wins") << int(Extended) << QList {0, 1, 1, 0} << QList {-1, -1}
                                             << QList {0, 1, 0, 0} << QList {true, true, true} << false;
        QTest::newRow("read-only, both loaded") << int(Normal) << QList {1, 0, 0, 1} << QList {-1, -1}
                                             << QList {1, 0, 0, 1} << QList {true, true, true} << false;
    }
    void signalingExclusionAndChannelReset()
    {
        QFETCH(int, mode);
        QFETCH(QList<int>, loaded);
        QFETCH(QList<int>, picks);
        QFETCH(QList<int>, stored);
        QFETCH(QList<bool>, enabled);
        QFETCH(bool, reset);
        int TRKmem::*const flags[] = {&TRKmem::DtmfTx, &TRKmem::DtmfRx, &TRKmem::FiveToneTx, &TRKmem::FiveToneRx};
        for (int i = 0; i < 4; ++i)
            Doc.*flags[i] = loaded[i];
        const int selections[] = {1, 2, 0, 1};  // "ANI/ENI", "CW-ID", "off", "ANI/ENI"
        for (int i = 0; i < ChannelCount; ++i)
            Doc.Channels[i].CwIdAniEni = selections[i % 4];
        const TRKmem before = Doc;
        QVERIFY(Show(Signal, TProgramMode(mode)));
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
        for (int i = 0; i < 4; ++i)
            QCOMPARE(Doc.*flags[i], stored[i]);
        for (int i = 0; i < ChannelCount; ++i)
            QCOMPARE(Doc.Channels[i].CwIdAniEni, reset && selections[i % 4] == 1 ? 0 : selections[i % 4]);
        QCOMPARE(Dialog->Changed(), stored != loaded);
        // The repeat code goes back as it was, open or not.
        QCOMPARE(Doc.FiveToneRepeatCode, before.FiveToneRepeatCode);
    }

    // The set follows the sixteen tones; under EIA digits 0 and E keep
    // their low values, under any other set they are lifted to 625 Hz.
    void toneTableSets()
    {
        Doc.FiveToneTable = TfrmToneTbl::StandardSets[1];  // ZVEI2
        QVERIFY(Show(ToneTbl, Extended));
        TypeAndCommit(Field("edtTbl5"), "1540");
        QCOMPARE(List("cmbSet")->currentText(), QString("USER"));
        TypeAndCommit(Field("edtTbl5"), "1530");
        QCOMPARE(List("cmbSet")->currentText(), QString("ZVEI2"));

        List("cmbSet")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(List("cmbSet"), Qt::Key_End);
        QTest::keyClick(List("cmbSet"), Qt::Key_Up);
        QCOMPARE(List("cmbSet")->currentText(), QString("EIA"));
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
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_Dialogs.moc"
