// The dialog pattern's behaviour, once, on a representative field of each
// editing class. The probe dialog is declared the way every dialog is: a
// table of fields on the pattern.
#include "support/DialogTestKit.h"

#include <QClipboard>
#include <QToolButton>

#include <map>
#include <memory>

namespace {

const TFieldConv DecimalField {.Class = TEditClass::Decimal, .MaxLength = 5, .Reading = TReading::Decimal,
                               .Suffix = " MHz", .Min = 0, .Max = 99.99, .Decimals = 2, .Factor = 0.01};
const TFieldConv DigitsField {.Class = TEditClass::Digits, .MaxLength = 3, .Reading = TReading::Unsigned,
                              .Suffix = " sec", .Min = 1, .Max = 255, .Fallback = 20};
const TFieldConv SignedField {.Class = TEditClass::Signed, .MaxLength = 4, .Reading = TReading::Signed,
                              .Min = -128, .Max = 127, .UpDown = true};
const TFieldConv LevelField {.Class = TEditClass::Digits, .MaxLength = 3, .Reading = TReading::Unsigned,
                             .Min = 0, .Max = 255, .UpDown = true};
const TFieldConv HexField {.Class = TEditClass::Hex, .MaxLength = 4, .Reading = TReading::Hex};
const TFieldConv PrintableField {.Class = TEditClass::Printable, .MaxLength = 16, .Reading = TReading::Text};
const TFieldConv TagField {.Class = TEditClass::Tag, .MaxLength = 8, .Reading = TReading::Text};

std::vector<TFieldDef> ProbeFields()
{
    return {
        EditField("edtDecimal", "&Decimal", InExtended, Bind(&TRKmem::IfFreq), DecimalField),
        EditField("edtDigits", "D&igits", InExtended, Bind(&TRKmem::EniTxTime), DigitsField),
        EditField("edtSigned", "&Signed", InExtended, Bind(&TRKmem::TxPowerAdjust, 3), SignedField),
        EditField("edtHex", "&Hex", InExtended, Bind(&TRKmem::AniCode), HexField),
        EditField("edtText", "&Printable", InExtended, Bind(&TRKmem::CwIdText), PrintableField),
        EditField("edtTag", "&Tag", InExtended, Bind(&TRKmem::ProductType), TagField),
        ComboField("cmbBand", "&Band", InExtended, Bind(&TRKmem::Band), RowItems(10)),
        EditField("edtLocked", "&Locked", InManufacture, Bind(&TRKmem::RxRefFreq), DecimalField),
        EditField("edtLevel", "Le&vel", InExtended, Bind(&TRKmem::RxTuning, 1), LevelField),
    };
}

class TfrmProbe : public TParamDialogOf<TfrmProbe> {
public:
    TfrmProbe(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent = nullptr)
        : TParamDialogOf({"Probe", 332, 300}, ProbeFields(), doc, mode, prompt, parent)
    {
    }
};

// Typed into one field: the text before, while editing, after Enter, and
// the document's field after OK.
struct TTyping {
    QString Name, Shown, Typed, Editing, Committed, Stored;
};

QColor Base(QWidget* w)
{
    return w->palette().color(QPalette::Base);
}

QColor System(QPalette::ColorRole role)
{
    return QApplication::palette().color(role);
}

} // namespace

Q_DECLARE_METATYPE(TTyping)

class TestParamPattern : public QObject {
    Q_OBJECT

    TRKmem Doc;
    TScriptedPrompt Prompt;
    std::unique_ptr<TfrmProbe> Dialog;

    TParamEdit* Field(const QString& name) { return Find<TParamEdit>(*Dialog, name.toLatin1()); }
    // The document's fields behind the probe's edits, as text.
    std::map<QString, QString> Stored() const
    {
        const auto text = [](const std::string& s) { return QString::fromStdString(s); };
        return {{"edtDecimal", QString::number(Doc.IfFreq)}, {"edtDigits", QString::number(Doc.EniTxTime)},
                {"edtSigned", QString::number(Doc.TxPowerAdjust[3])}, {"edtHex", text(Doc.AniCode)},
                {"edtText", text(Doc.CwIdText)}, {"edtTag", text(Doc.ProductType)}};
    }

private slots:
    void initTestCase()
    {
        // The three states are told apart by colour only.
        QVERIFY(System(QPalette::Base) != System(QPalette::ToolTipBase));
        QVERIFY(System(QPalette::Base) != System(QPalette::Button));
    }

    void init()
    {
        Doc = DefaultDocument();
        Doc.IfFreq = 2140;
        Doc.EniTxTime = 20;
        Doc.TxPowerAdjust[3] = -5;
        Doc.AniCode = "1A2B";
        Doc.CwIdText = "CQ";
        Doc.ProductType = "HPD-4400";
        Doc.RxTuning[1] = 254;
        Dialog = std::make_unique<TfrmProbe>(Doc, Extended, Prompt);
        QVERIFY(ShowActive(*Dialog));
    }

    void cleanup()
    {
        Dialog.reset();
        TParamDialog::HelpContents = nullptr;
    }

    void typingReplacesThenEnterCommitsAndOkStores_data()
    {
        QTest::addColumn<TTyping>("typing");
        QTest::newRow("decimal") << TTyping {"edtDecimal", "21.40 MHz", "0.29", "0.29", "0.29 MHz", "29"};
        QTest::newRow("decimal comma") << TTyping {"edtDecimal", "21.40 MHz", "1x2,5", "12,5", "12.50 MHz", "1250"};
        QTest::newRow("decimal at most 5") << TTyping {"edtDecimal", "21.40 MHz", "1234567", "12345", "99.99 MHz", "9999"};
        QTest::newRow("digits") << TTyping {"edtDigits", "20 sec", "7a-.", "7", "7 sec", "7"};
        QTest::newRow("digits below range") << TTyping {"edtDigits", "20 sec", "0", "0", "1 sec", "1"};
        QTest::newRow("digits at most 3") << TTyping {"edtDigits", "20 sec", "9999", "999", "255 sec", "255"};
        QTest::newRow("signed clamped") << TTyping {"edtSigned", "-5", "-2a00", "-200", "-128", "-128"};
        QTest::newRow("signed plus") << TTyping {"edtSigned", "-5", "+5", "+5", "5", "5"};
        QTest::newRow("signed lone minus") << TTyping {"edtSigned", "-5", "-", "-", "0", "0"};
        QTest::newRow("hex upper-cased") << TTyping {"edtHex", "1A2B", "ag", "A", "000A", "000A"};
        QTest::newRow("printable") << TTyping {"edtText", "CQ", "de X1 ~", "de X1 ~", "de X1 ~", "de X1 ~"};
        QTest::newRow("tag") << TTyping {"edtTag", "HPD-4400", "ab!c%$", "ABC%", "ABC%", "ABC%"};
    }
    void typingReplacesThenEnterCommitsAndOkStores()
    {
        QFETCH(TTyping, typing);
        const auto& [name, shown, typed, editing, committed, stored] = typing;
        TParamEdit* edit = Field(name);
        edit->setFocus(Qt::TabFocusReason);
        QCOMPARE(edit->text(), shown);
        QVERIFY(!edit->EditMode());
        QVERIFY(edit->isReadOnly());
        QCOMPARE(Base(edit), System(QPalette::Base));

        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), editing);
        QVERIFY(edit->EditMode());
        QCOMPARE(Base(edit), System(QPalette::ToolTipBase));

        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(edit->text(), committed);
        QVERIFY(!edit->EditMode());
        QCOMPARE(edit->SavedText(), committed);
        QCOMPARE(Base(edit), System(QPalette::Base));
        QVERIFY(Dialog->isVisible());  // Enter never reaches a button

        // OK stores this field and leaves every other one as it was.
        const std::map<QString, QString> before = Stored();
        ClickOk(*Dialog);
        QVERIFY(Dialog->Changed());
        std::map<QString, QString> expected = before;
        expected[name] = stored;
        QCOMPARE(Stored(), expected);
    }

    void escRestoresThenCancels()
    {
        TParamEdit* edit = Field("edtDecimal");
        edit->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(edit, "5");
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClicks(edit, "77");
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(edit->text(), QString("5.00 MHz"));  // the last committed text
        QVERIFY(!edit->EditMode());
        QVERIFY(Dialog->isVisible());

        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(!Dialog->isVisible());
        QCOMPARE(Dialog->result(), int(QDialog::Rejected));
        QCOMPARE(Doc.IfFreq, 2140);
    }

    void escRestoresTheFieldTheDialogOpenedOn()
    {
        // The first field has the focus from the window opening, not from
        // a person moving to it.
        TParamEdit* edit = Field("edtDecimal");
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(edit));
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClicks(edit, "77");
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(edit->text(), QString("21.40 MHz"));
        QTest::keyClicks(edit, "5");
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(edit->text(), QString("21.40 MHz"));
        ClickOk(*Dialog);
        QCOMPARE(Doc.IfFreq, 2140);
        QVERIFY(!Dialog->Changed());
    }

    void leavingCommits()
    {
        TParamEdit* edit = Field("edtDecimal");
        edit->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(edit, "150");
        QTest::keyClick(edit, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Field("edtDigits")));
        QCOMPARE(edit->text(), QString("99.99 MHz"));
        QVERIFY(!edit->EditMode());
        QCOMPARE(Base(edit), System(QPalette::Base));
    }

    void enteringEditModeShowsTheBareValue()
    {
        TParamEdit* edit = Field("edtDecimal");
        edit->setFocus(Qt::TabFocusReason);
        QTest::mouseDClick(edit, Qt::LeftButton);
        QVERIFY(edit->EditMode());
        QCOMPARE(edit->text(), QString("21.4"));
        QCOMPARE(edit->selectedText(), QString("21.4"));
        QTest::keyClicks(edit, "3");  // replaces the selection
        QCOMPARE(edit->text(), QString("3"));
        QTest::mouseDClick(edit, Qt::LeftButton);
        QVERIFY(!edit->EditMode());
        QCOMPARE(edit->text(), QString("3.00 MHz"));

        TParamEdit* code = Field("edtHex");
        code->setFocus(Qt::TabFocusReason);
        QTest::keyClick(code, Qt::Key_Return);
        QCOMPARE(code->text(), QString("1A2B"));
        QVERIFY(code->EditMode());
    }

    void ctrlBlocksTyping()
    {
        QApplication::clipboard()->setText("12");
        TParamEdit* edit = Field("edtDigits");
        edit->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(edit, "1");
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_2, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(edit->text(), QString("1"));
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString("1"));
        QTest::keyClicks(edit, "5");  // Ctrl released: typing works again
        QCOMPARE(edit->text(), QString("15"));
    }

    void arrowsStepTheValueWithinItsRange()
    {
        TParamEdit* level = Field("edtLevel");
        level->setFocus(Qt::TabFocusReason);
        QTest::keyClick(level, Qt::Key_Up);
        QCOMPARE(level->text(), QString("255"));
        QTest::keyClick(level, Qt::Key_Up);
        QCOMPARE(level->text(), QString("255"));
        QVERIFY(!level->EditMode());
        auto* down = Find<TUpDown>(*Dialog, "udLevel")->findChild<QToolButton*>("btnDown");
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(down, Qt::LeftButton);
        QCOMPARE(level->text(), QString("252"));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(level));

        // While editing, the typed value is stepped; Esc still goes back to
        // the last committed text.
        TParamEdit* offset = Field("edtSigned");
        offset->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(offset, "-127");
        QTest::keyClick(offset, Qt::Key_Down);
        QTest::keyClick(offset, Qt::Key_Down);
        QCOMPARE(offset->text(), QString("-128"));
        QVERIFY(offset->EditMode());
        QTest::keyClick(offset, Qt::Key_Escape);
        QCOMPARE(offset->text(), QString("-5"));
        QTest::keyClick(offset, Qt::Key_Up);
        QCOMPARE(offset->text(), QString("-4"));

        ClickOk(*Dialog);
        QCOMPARE(Doc.RxTuning[1], 252);
        QCOMPARE(Doc.TxPowerAdjust[3], -4);
        QVERIFY(Dialog->Changed());
    }

    void comboEnterOpensAndClosesTheList()
    {
        auto* combo = Find<TParamCombo>(*Dialog, "cmbBand");
        combo->setFocus(Qt::TabFocusReason);
        QTest::keyClick(combo, Qt::Key_Return);
        QVERIFY(combo->ListOpen());
        QTest::keyClick(combo, Qt::Key_Return);
        QVERIFY(!combo->ListOpen());
        QVERIFY(Dialog->isVisible());
        QCOMPARE(Dialog->result(), 0);
        QCOMPARE(combo->currentIndex(), 0);
        QTest::keyClick(combo, Qt::Key_Escape);  // list closed: Esc cancels
        QVERIFY(!Dialog->isVisible());
    }

    void enterPressesOnlyTheFocusedButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("result");
        QTest::newRow("OK") << "btnOK" << int(QDialog::Accepted);
        QTest::newRow("Cancel") << "btnCancel" << int(QDialog::Rejected);
    }
    void enterPressesOnlyTheFocusedButton()
    {
        QFETCH(QString, button);
        QFETCH(int, result);
        auto* ok = Find<QPushButton>(*Dialog, "btnOK");
        QVERIFY(!ok->isDefault() && !ok->autoDefault());
        auto* focused = Find<QPushButton>(*Dialog, button.toLatin1());
        focused->setFocus(Qt::TabFocusReason);
        QTest::keyClick(focused, Qt::Key_Return);
        QVERIFY(!Dialog->isVisible());
        QCOMPARE(Dialog->result(), result);
        QCOMPARE(Dialog->Changed(), false);
    }

    void programModeEnablesFields_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("open");
        QTest::addColumn<bool>("locked");
        QTest::newRow("normal") << int(Normal) << false << false;
        QTest::newRow("extended") << int(Extended) << true << false;
        QTest::newRow("manufacture") << int(Manufacture) << true << true;
    }
    void programModeEnablesFields()
    {
        QFETCH(int, mode);
        QFETCH(bool, open);
        QFETCH(bool, locked);
        TfrmProbe dialog(Doc, TProgramMode(mode), Prompt);
        QVERIFY(ShowActive(dialog));
        for (const char* name : {"edtDecimal", "edtHex", "edtTag"}) {
            auto* edit = Find<TParamEdit>(dialog, name);
            QCOMPARE(edit->isEnabled(), open);
            QCOMPARE(Base(edit), System(open ? QPalette::Base : QPalette::Button));
        }
        QCOMPARE(Find<TUpDown>(dialog, "udSigned")->isEnabled(), open);  // no stepping a read-only view
        auto* combo = Find<TParamCombo>(dialog, "cmbBand");
        QCOMPARE(combo->isEnabled(), open);
        QCOMPARE(Base(combo), System(open ? QPalette::Base : QPalette::Button));
        auto* lockedEdit = Find<TParamEdit>(dialog, "edtLocked");
        QCOMPARE(lockedEdit->isEnabled(), locked);
        QCOMPARE(lockedEdit->focusPolicy(), locked ? Qt::StrongFocus : Qt::NoFocus);
        // Disabled fields still show their values.
        QCOMPARE(lockedEdit->text(), QString("14.40 MHz"));
    }

    void f1OpensTheHelpContents()
    {
        QWidget* owner = nullptr;
        int calls = 0;
        TParamDialog::HelpContents = [&](QWidget* w) { owner = w; ++calls; };
        TParamEdit* edit = Field("edtDecimal");
        edit->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(edit, "4");
        QTest::keyClick(edit, Qt::Key_F1);
        QCOMPARE(calls, 1);
        QCOMPARE(owner, static_cast<QWidget*>(Dialog.get()));
        QCOMPARE(edit->text(), QString("4"));
        QVERIFY(Dialog->isVisible());
    }

    void hintsNameTheKeyOfTheFocusedControl()
    {
        auto* hint1 = Find<QLabel>(*Dialog, "pnlHint1");
        auto* hint2 = Find<QLabel>(*Dialog, "pnlHint2");
        hint1->setText("stale");
        Find<TParamCombo>(*Dialog, "cmbBand")->setFocus(Qt::TabFocusReason);
        QCOMPARE(hint2->text(), QString("<SELECT>"));
        QCOMPARE(hint1->text(), QString());
        Field("edtHex")->setFocus(Qt::TabFocusReason);
        QCOMPARE(hint2->text(), QString("<ENTER>"));
        Find<QPushButton>(*Dialog, "btnCancel")->setFocus(Qt::TabFocusReason);
        QCOMPARE(hint2->text(), QString());
    }

    void okStoresWhatIsShownEvenWhileEditing()
    {
        TParamEdit* edit = Field("edtDecimal");
        edit->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(edit, "9.999");
        Find<QPushButton>(*Dialog, "btnOK")->click();  // no focus change on the way
        QCOMPARE(Dialog->result(), int(QDialog::Accepted));
        QCOMPARE(Doc.IfFreq, 1000);
        QVERIFY(Dialog->Changed());
    }

    void theCommandSetsModifiedOnlyOnARealChange_data()
    {
        QTest::addColumn<bool>("modifiedBefore");
        QTest::addColumn<QString>("typed");  // into the decimal field; empty: nothing
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("modifiedAfter");
        QTest::addColumn<int>("ifFreq");
        QTest::newRow("OK, nothing changed") << false << "" << true << false << 2140;
        QTest::newRow("OK keeps a set flag") << true << "" << true << true << 2140;
        QTest::newRow("OK, the same value typed") << false << "21.4" << true << false << 2140;
        QTest::newRow("OK, one field changed") << false << "5" << true << true << 500;
        QTest::newRow("Cancel after a change") << false << "5" << false << false << 2140;
    }
    void theCommandSetsModifiedOnlyOnARealChange()
    {
        QFETCH(bool, modifiedBefore);
        QFETCH(QString, typed);
        QFETCH(bool, ok);
        QFETCH(bool, modifiedAfter);
        QFETCH(int, ifFreq);
        Dialog.reset();
        const TRKmem before = Doc;
        bool modified = modifiedBefore;
        WhenModal([&](QWidget& dialog) {
            if (!typed.isEmpty())
                TypeAndCommit(Find<TParamEdit>(dialog, "edtDecimal"), typed);
            QTest::mouseClick(Find<QPushButton>(dialog, ok ? "btnOK" : "btnCancel"), Qt::LeftButton);
        });
        QCOMPARE(TfrmProbe::Execute(nullptr, Doc, Extended, Prompt, modified), ok);
        QCOMPARE(modified, modifiedAfter);
        QCOMPARE(Doc.IfFreq, ifFreq);
        Doc.IfFreq = before.IfFreq;
        QCOMPARE(Doc.CwIdText, before.CwIdText);
        QVERIFY(Doc.Channels == before.Channels);
    }
};

QTEST_MAIN(TestParamPattern)
#include "tst_ParamPattern.moc"
