// The alpha tag grid driven with keys: a number and a text always go
// together, duplicates are refused, and OK packs and orders the table.
#include "support/DialogTestKit.h"

#include "ui/dialogs/D_AlphaTag.h"

#include <QTableWidget>

#include <memory>

namespace {

struct TEntry {
    int Number;
    std::string Text;
};

// One gesture: select a cell (focusing the grid unless the editor is open),
// type ('\r' is Enter), end with a key (0: none).
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
    bool Cancelled = false;           // the gestures closed the dialog
};

} // namespace

Q_DECLARE_METATYPE(TCase)

class TestAlphaTag : public QObject {
    Q_OBJECT

    TRKmem Doc;
    TScriptedPrompt Prompt;
    std::unique_ptr<TfrmAlphaTag> Dialog;

    QTableWidget* Grid() { return Find<QTableWidget>(*Dialog, "grdA"); }
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
        QTest::newRow("another row's number is refused, Esc takes it back")
            << TCase {{{1, "A       "}, {2, "B       "}}, {{1, 0, "1", Qt::Key_Return}, {1, 0, "", Qt::Key_Escape}},
                      {{1, "A       "}, {2, "B       "}}, {TfrmAlphaTag::DuplicateMessage}};
        QTest::newRow("a row may commit its own number again")
            << TCase {{{1, "A       "}}, {{0, 0, "\r", Qt::Key_Return}, {0, 0, "1", Qt::Key_Return}},
                      {{1, "A       "}}, {}};
        QTest::newRow("moving away commits")
            << TCase {{}, {{0, 1, "go", Qt::Key_Down}}, {{1, "GO      "}}, {}};
        QTest::newRow("a text without number is dropped on sorting")
            << TCase {{{-1, "LOST    "}, {3, "C       "}}, {}, {{3, "C       "}}, {TfrmAlphaTag::SortNotice}};
        QTest::newRow("Esc with the editor closed cancels")
            << TCase {{{2, "B       "}}, {{0, 1, "q", Qt::Key_Escape}, {0, 1, "", Qt::Key_Escape}},
                      {{2, "B       "}}, {}, true};
        // A refused number holds the editor, selected for retyping: a move
        // elsewhere and OK are refused, Cancel gets past it.
        QTest::newRow("a held number holds the dialog")
            << TCase {{{1, "A       "}, {2, "B       "}}, {{1, 0, "1", Qt::Key_Return}, {5, 1, "1", Qt::Key_Return}},
                      {{1, "A       "}, {2, "B       "}}, {4, TfrmAlphaTag::DuplicateMessage}, true};
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
            Grid()->setCurrentCell(g.Row, g.Column);  // refused while a number is held
            if (!Dialog->EditorOpen())
                Grid()->setFocus(Qt::TabFocusReason);
            Type(g.Keys);
            if (g.End)
                QTest::keyClick(QApplication::focusWidget(), g.End);
        }
        if (Dialog->isVisible())
            ClickOk(*Dialog);
        if (Dialog->isVisible())
            QTest::mouseClick(Find<QPushButton>(*Dialog, "btnCancel"), Qt::LeftButton);
        QCOMPARE(Dialog->result(), int(c.Cancelled ? QDialog::Rejected : QDialog::Accepted));
        QCOMPARE(Prompt.Told(), c.Told);
        for (int i = 0; i < AlphaTagCount; ++i) {
            const TEntry expected = size_t(i) < c.Stored.size() ? c.Stored[i] : TEntry {-1, ""};
            QCOMPARE(Doc.AlphaTagNumber[i], expected.Number);
            QCOMPARE(Doc.AlphaTagText[i], expected.Text);
        }
        QCOMPARE(Dialog->Changed(), !DocumentDifferences(before, Doc).empty());
    }

    void rowsShowNumbersWithFourDigits()
    {
        Doc.AlphaTagNumber[0] = 12;
        QVERIFY(Show());
        QCOMPARE(Grid()->item(0, 0)->text(), QString("0012"));
    }
};

QTEST_MAIN(TestAlphaTag)
#include "tst_AlphaTag.moc"
