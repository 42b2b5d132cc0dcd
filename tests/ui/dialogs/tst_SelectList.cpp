// The tone/code selection list driven with keys and the mouse: the layout of
// both lists, the Home/End/Page keys, cells without an entry, Enter, Esc, double click.
#include "support/DialogTestKit.h"

#include "ui/dialogs/D_SelectList.h"

#include <QTableWidget>

#include <memory>

namespace {

struct TCell {
    int Row;
    int Column;
};

std::unique_ptr<TfrmSelList> Open(int kind, bool noOff, const QString& value)
{
    auto list = std::make_unique<TfrmSelList>();
    list->ListKind = kind;
    list->NoOff = noOff;
    list->Value = value;
    ShowActive(*list);
    return list;
}

QTableWidget* Grid(TfrmSelList& list)
{
    return list.findChild<QTableWidget*>("grdList");
}

QPoint CellCentre(QTableWidget* grid, int row, int column)
{
    return grid->visualRect(grid->model()->index(row, column)).center();
}

// Cells are "row,column=text", the text empty for no entry: the last entry
// and the empty cell after it place every entry between.
struct TLayout {
    int Kind;
    bool NoOff;
    QStringList Cells;
    QString Value;  // the text the list opens on
    TCell Selected;
};

} // namespace

Q_DECLARE_METATYPE(TCell)
Q_DECLARE_METATYPE(TLayout)

class TestSelectList : public QObject {
    Q_OBJECT

private slots:
    // Each list opens with the current value selected, or the first entry
    // where the list does not hold it.
    void layoutOfBothLists_data()
    {
        QTest::addColumn<TLayout>("layout");
        QTest::newRow("CTCSS, column by column") << TLayout {101, false,
            {"0,0=off", "1,0=67.0", "9,0=88.5", "0,1=91.5", "0,4=159.8", "7,4=254.1", "8,4="}, "100.0", {3, 1}};
        QTest::newRow("DCS, row by row") << TLayout {102, false,
            {"0,0=off", "0,1=023", "1,0=051", "11,5=754", "11,6=", "12,0="}, "754", {11, 5}};
        QTest::newRow("DCS without off") << TLayout {102, true,
            {"0,0=023", "0,8=051", "11,4=754", "11,5="}, "999", {0, 0}};
    }
    void layoutOfBothLists()
    {
        QFETCH(TLayout, layout);
        const auto& [kind, noOff, cells, value, selected] = layout;
        auto list = Open(kind, noOff, value);
        QTableWidget* grid = Grid(*list);
        for (const QString& cell : cells) {
            const QStringList place = cell.section('=', 0, 0).split(',');
            QCOMPARE(grid->item(place[0].toInt(), place[1].toInt())->text(), cell.section('=', 1));
        }
        QCOMPARE(grid->currentRow(), selected.Row);
        QCOMPARE(grid->currentColumn(), selected.Column);
    }

    void keysMoveOnlyOntoEntries_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<TCell>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<TCell>("to");
        // DCS with off: 105 entries, the last row holds 6.
        QTest::newRow("DCS End, row move refused") << 102 << TCell {3, 7} << int(Qt::Key_End) << TCell {3, 8};
        QTest::newRow("DCS Page Down") << 102 << TCell {2, 5} << int(Qt::Key_PageDown) << TCell {11, 5};
        QTest::newRow("DCS Home") << 102 << TCell {5, 5} << int(Qt::Key_Home) << TCell {0, 0};
        // The arrows never move onto an empty cell (CTCSS: its last column holds 8).
        QTest::newRow("CTCSS down past the end") << 101 << TCell {7, 4} << int(Qt::Key_Down) << TCell {7, 4};
    }
    void keysMoveOnlyOntoEntries()
    {
        QFETCH(int, kind);
        QFETCH(TCell, from);
        QFETCH(int, key);
        QFETCH(TCell, to);
        auto list = Open(kind, false, "");
        QTableWidget* grid = Grid(*list);
        grid->setCurrentCell(from.Row, from.Column);
        QTest::keyClick(grid, Qt::Key(key));
        QCOMPARE(grid->currentRow(), to.Row);
        QCOMPARE(grid->currentColumn(), to.Column);
        QVERIFY(list->isVisible());  // none of these keys closes the list
    }

    // Enter takes the entry moved to, Esc keeps the value the list opened
    // on; a click or double click on an empty cell is refused, a double
    // click on an entry is OK.
    void closingTheList()
    {
        auto list = Open(102, false, "023");
        QTest::keyClick(Grid(*list), Qt::Key_Down);
        QTest::keyClick(Grid(*list), Qt::Key_Return);
        QCOMPARE(list->result(), int(QDialog::Accepted));
        QCOMPARE(list->Value, QString("053"));  // row 1, column 1: entry 10

        list = Open(101, false, "100.0");
        QTest::keyClick(Grid(*list), Qt::Key_End);
        QTest::keyClick(Grid(*list), Qt::Key_Escape);
        QCOMPARE(list->result(), int(QDialog::Rejected));
        QCOMPARE(list->Value, QString("100.0"));

        list = Open(101, false, "off");
        QTableWidget* grid = Grid(*list);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 9, 4));
        QCOMPARE(grid->currentRow(), 0);
        QCOMPARE(grid->currentColumn(), 0);
        // A person's double click: the first press selects, the second opens.
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 9, 4));
        QVERIFY(list->isVisible());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 7, 3));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 7, 3));
        QCOMPARE(list->result(), int(QDialog::Accepted));
        QCOMPARE(list->Value, QString("233.6"));
    }
};

QTEST_MAIN(TestSelectList)
#include "tst_SelectList.moc"
