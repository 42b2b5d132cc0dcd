#include "ui/dialogs/D_SelectList.h"

#include "model/U_Values.h"
#include "ui/base/U_DialogKit.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

struct TListLayout {
    const char* Caption;
    int Width;
    int Height;
    int Columns;
    int Rows;
    int ColumnWidth;
    bool ColumnByColumn;  // entry i at column i / Rows, else at row i / Columns
};

constexpr TListLayout CtcssLayout {"Tone Select", 245, 215, 5, 10, 45, true};
constexpr TListLayout DcsLayout {"Code Select", 320, 265, 9, 13, 33, false};
constexpr int RowHeight = 15;

const TListLayout& LayoutOf(int listKind)
{
    return listKind == TfrmSelList::DcsList ? DcsLayout : CtcssLayout;
}

} // namespace

TfrmSelList::TfrmSelList(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    QFont font("Arial");
    font.setPixelSize(11);
    setFont(font);

    FGrid = new QTableWidget(this);
    FGrid->setObjectName("grdList");
    FGrid->horizontalHeader()->hide();
    FGrid->verticalHeader()->hide();
    FGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FGrid->setShowGrid(false);
    FGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    FGrid->setTabKeyNavigation(false);
    FGrid->verticalHeader()->setMinimumSectionSize(1);
    FGrid->verticalHeader()->setDefaultSectionSize(RowHeight);
    FGrid->installEventFilter(this);
    connect(FGrid, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        if (HasEntry(row, column))
            Choose();
    });

    FOk = new QPushButton("OK", this);
    FOk->setObjectName("btnOK");
    FOk->setDefault(true);
    connect(FOk, &QPushButton::clicked, this, &TfrmSelList::Choose);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("btnCancel");
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(FOk);
    buttons->addWidget(cancel);
    buttons->addStretch();
    // The list fills the designed width but for these margins.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(FGrid, 0, Qt::AlignHCenter);
    layout->addStretch();
    layout->addLayout(buttons);
}

std::vector<std::string> TfrmSelList::Entries(int listKind, bool noOff)
{
    std::vector<std::string> entries;
    if (listKind == DcsList) {
        entries = DcsListWithOff();
    } else {
        entries = CtcssListNoOff();
        entries.insert(entries.begin(), CtcssText(0));
    }
    if (noOff)
        entries.erase(entries.begin());
    return entries;
}

void TfrmSelList::showEvent(QShowEvent* event)
{
    if (!FFilled) {
        FFilled = true;
        Fill();
        if (const QScreen* screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}

void TfrmSelList::Fill()
{
    const TListLayout& look = LayoutOf(ListKind);
    setWindowTitle(look.Caption);
    FGrid->clear();
    FGrid->setColumnCount(look.Columns);
    FGrid->setRowCount(look.Rows);
    for (int column = 0; column < look.Columns; ++column)
        FGrid->setColumnWidth(column, look.ColumnWidth);
    FGrid->setFixedSize(look.Columns * look.ColumnWidth + 2 * FGrid->frameWidth(),
                        look.Rows * RowHeight + 2 * FGrid->frameWidth());
    FixDesignedSize(*this, {look.Width, look.Height});
    // Cells without an entry can be neither clicked nor reached by a key.
    for (int row = 0; row < look.Rows; ++row) {
        for (int column = 0; column < look.Columns; ++column) {
            auto* cell = new QTableWidgetItem;
            cell->setFlags(Qt::NoItemFlags);
            FGrid->setItem(row, column, cell);
        }
    }
    const std::vector<std::string> entries = Entries(ListKind, NoOff);
    int selectedRow = 0;
    int selectedColumn = 0;
    for (int i = 0; i < int(entries.size()); ++i) {
        const int row = look.ColumnByColumn ? i % look.Rows : i / look.Columns;
        const int column = look.ColumnByColumn ? i / look.Rows : i % look.Columns;
        QTableWidgetItem* cell = FGrid->item(row, column);
        cell->setText(QString::fromStdString(entries[i]));
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        if (cell->text() == Value) {
            selectedRow = row;
            selectedColumn = column;
        }
    }
    FGrid->setCurrentCell(selectedRow, selectedColumn);
    FGrid->setFocus();
}

bool TfrmSelList::HasEntry(int row, int column) const
{
    const QTableWidgetItem* cell = FGrid->item(row, column);
    return cell && !cell->text().isEmpty();
}

void TfrmSelList::MoveToEnd()
{
    int row = FGrid->currentRow();
    int column = FGrid->currentColumn();
    int lastRow = FGrid->rowCount() - 1;
    while (lastRow > 0 && !HasEntry(lastRow, 0))
        --lastRow;
    if (HasEntry(lastRow, column))
        row = lastRow;
    if (HasEntry(row, FGrid->columnCount() - 1))
        column = FGrid->columnCount() - 1;
    FGrid->setCurrentCell(row, column);
}

bool TfrmSelList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != FGrid || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Home:
    case Qt::Key_PageUp:
        FGrid->setCurrentCell(0, 0);
        return true;
    case Qt::Key_End:
    case Qt::Key_PageDown:
        MoveToEnd();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        FOk->click();
        return true;
    case Qt::Key_Escape:
        reject();
        return true;
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void TfrmSelList::Choose()
{
    const QTableWidgetItem* cell = FGrid->currentItem();
    if (!cell || cell->text().isEmpty())
        return;
    Value = cell->text().section(':', 0, 0).trimmed();
    accept();
}
