// The alpha tag grid driven with keys: a number and a text always go
// together, duplicates are refused, and OK packs and orders the table.
#include "support/DialogTestKit.h"

#include "ui/dialogs/D_AlphaTag.h"

#include <QLineEdit>
#include <QTableWidget>

#include <memory>

namespace {

struct TEntry {
    int Number;
    std::string Text;
};

// One gesture: select a cell unless the editor is open, type ('\r' is
// Enter), end with a key (0: none).
struct TGesture {
    int Row, Column;
    QString Keys;
    Qt::Key End;
};

struct TCase {
    std::vector<TEntry> Loaded;       // the first rows; the rest are empty
    std::vector<TGesture> Gestures;
    std::vector<TEntry> Stored;       // the first rows after OK; the rest empty
    std::vector<std::string> Told;    // messages, in order
};

} // namespace

Q_DECLARE_METATYPE(TCase)

class TestAlphaTag : public QObject {
    Q_OBJECT

    TRKmem Doc;
    TScriptedPrompt Prompt;
    std::unique_ptr<TfrmAlphaTag> Dialog;

    QTableWidget* Grid() { return Find<QTableWidget>(*Dialog, "grdA"); }
    QLineEdit* Editor() { return Find<QLineEdit>(*Dialog, "edtDmy"); }
    // Keys go where the focus is, as a person's do: the first one typed
    // into the grid opens the editor, which takes the rest.
    static void Type(const QString& keys)
    {
        for (const QChar c : keys)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    bool Show(TProgramMode mode = Extended)
    {
        Dialog = std::make_unique<TfrmAlphaTag>(Doc, mode, Prompt);
        return ShowActive(*Dialog);
    }

private slots:
    void init()
    {
        Doc = DefaultDocument();
        Prompt = TScriptedPrompt();
    }
    void cleanup() { Dialog.reset(); }

    void editing_data()
    {
        QTest::addColumn<TCase>("c");
        QTest::newRow("a text takes the smallest free number")
            << TCase {{{1, "A       "}, {-1, ""}, {2, "B       "}}, {{1, 1, "c", Qt::Key_Return}},
                      {{1, "A       "}, {2, "B       "}, {3, "C       "}}, {TfrmAlphaTag::SortNotice}};
        QTest::newRow("a number takes eight blanks")
            << TCase {{}, {{0, 0, "7", Qt::Key_Return}}, {{7, "        "}}, {}};
        QTest::newRow("clearing the number removes the text")
            << TCase {{{3, "X       "}}, {{0, 0, "\r\b", Qt::Key_Return}}, {}, {}};
        QTest::newRow("a text starting with % is none")
            << TCase {{{5, "OLD     "}}, {{0, 1, "%AB", Qt::Key_Return}}, {{5, ""}}, {}};
        QTest::newRow("lower case is upper case, ! and # cannot be typed")
            << TCase {{}, {{0, 1, "ab!#c", Qt::Key_Return}}, {{1, "ABC     "}}, {}};
        QTest::newRow("a letter opens no number editor")
            << TCase {{{2, "B       "}}, {{0, 0, "x", Qt::Key(0)}}, {{2, "B       "}}, {}};
        QTest::newRow("another row's number is refused, Esc takes it back")
            << TCase {{{1, "A       "}, {2, "B       "}}, {{1, 0, "1", Qt::Key_Return}, {1, 0, "", Qt::Key_Escape}},
                      {{1, "A       "}, {2, "B       "}}, {TfrmAlphaTag::DuplicateMessage}};
        QTest::newRow("a row may commit its own number again")
            << TCase {{{1, "A       "}}, {{0, 0, "\r", Qt::Key_Return}, {0, 0, "1", Qt::Key_Return}}, {{1, "A       "}}, {}};
        QTest::newRow("Esc puts the opening text back")
            << TCase {{{4, "D       "}}, {{0, 1, "ZZ", Qt::Key_Escape}}, {{4, "D       "}}, {}};
        QTest::newRow("moving away commits")
            << TCase {{}, {{0, 1, "go", Qt::Key_Down}}, {{1, "GO      "}}, {}};
        QTest::newRow("gap and order are sorted on OK")
            << TCase {{{5, "E       "}, {-1, ""}, {2, "B       "}}, {}, {{2, "B       "}, {5, "E       "}},
                      {TfrmAlphaTag::SortNotice}};
        QTest::newRow("a text without number is dropped on sorting")
            << TCase {{{-1, "LOST    "}, {3, "C       "}}, {}, {{3, "C       "}}, {TfrmAlphaTag::SortNotice}};
        QTest::newRow("a packed table closes silently")
            << TCase {{{1, "A       "}, {9, "I       "}}, {}, {{1, "A       "}, {9, "I       "}}, {}};
    }
    void editing()
    {
        QFETCH(TCase, c);
        for (size_t i = 0; i < c.Loaded.size(); ++i) {
            Doc.AlphaTagNumber[i] = c.Loaded[i].Number;
            Doc.AlphaTagText[i] = c.Loaded[i].Text;
        }
        const TRKmem before = Doc;
        QVERIFY(Show(Normal));  // the tags are edited in every mode
        for (const TGesture& g : c.Gestures) {
            if (!Dialog->EditorOpen()) {
                Grid()->setCurrentCell(g.Row, g.Column);
                Grid()->setFocus(Qt::TabFocusReason);
            }
            Type(g.Keys);
            if (g.End)
                QTest::keyClick(QApplication::focusWidget(), g.End);
        }
        QVERIFY(!Dialog->EditorOpen());
        ClickOk(*Dialog);
        QCOMPARE(Dialog->result(), int(QDialog::Accepted));
        QCOMPARE(Prompt.Told(), c.Told);
        for (int i = 0; i < AlphaTagCount; ++i) {
            const TEntry expected = size_t(i) < c.Stored.size() ? c.Stored[i] : TEntry {-1, ""};
            QCOMPARE(Doc.AlphaTagNumber[i], expected.Number);
            QCOMPARE(Doc.AlphaTagText[i], expected.Text);
        }
        QCOMPARE(Dialog->Changed(), Doc.AlphaTagNumber != before.AlphaTagNumber
                                        || Doc.AlphaTagText != before.AlphaTagText);
    }

    void rowsShowNumbersWithFourDigits()
    {
        Doc.AlphaTagNumber[0] = 12;
        Doc.AlphaTagText[0] = "HOME    ";
        QVERIFY(Show());
        QCOMPARE(Grid()->item(0, 0)->text(), QString("0012"));
        QCOMPARE(Grid()->item(0, 1)->text(), QString("HOME    "));
        QCOMPARE(Grid()->item(1, 0)->text(), QString("----"));
        QCOMPARE(Grid()->item(1, 1)->text(), QString("--------"));
    }

    // A refused number keeps the editor and the selection; neither OK nor
    // a click elsewhere gets past it; Cancel does and changes nothing.
    void aRefusedNumberHoldsTheEditor()
    {
        Doc.AlphaTagNumber[0] = 1;
        Doc.AlphaTagNumber[1] = 2;
        const TRKmem before = Doc;
        QVERIFY(Show());
        Grid()->setCurrentCell(1, 0);
        Grid()->setFocus(Qt::TabFocusReason);
        Type("1");
        QTest::keyClick(Editor(), Qt::Key_Return);
        QVERIFY(Dialog->EditorOpen());
        QCOMPARE(Editor()->selectedText(), QString("1"));
        Grid()->setCurrentCell(5, 1);  // a move elsewhere is refused
        QCOMPARE(Grid()->currentRow(), 1);
        ClickOk(*Dialog);
        QVERIFY(Dialog->isVisible());
        QCOMPARE(Prompt.Told().size(), size_t(3));
        QTest::mouseClick(Find<QPushButton>(*Dialog, "btnCancel"), Qt::LeftButton);
        QCOMPARE(Dialog->result(), int(QDialog::Rejected));
        QCOMPARE(DocumentDifferences(before, Doc), std::string());
    }

    void escWithTheEditorClosedCancels()
    {
        QVERIFY(Show());
        Grid()->setFocus(Qt::TabFocusReason);
        Type("q");
        QTest::keyClick(Editor(), Qt::Key_Escape);
        QVERIFY(Dialog->isVisible());
        QTest::keyClick(Grid(), Qt::Key_Escape);
        QCOMPARE(Dialog->result(), int(QDialog::Rejected));
        QVERIFY(!Dialog->Changed());
    }
};

QTEST_MAIN(TestAlphaTag)
#include "tst_AlphaTag.moc"
