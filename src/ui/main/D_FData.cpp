#include "ui/main/D_FData.h"

#include "files/U_HexDump.h"
#include "ui/base/U_DialogKit.h"
#include "codec/dc_Map54.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

TfrmFData::TfrmFData(const TRKmem& doc, TMap54& image, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      FDoc(doc), FImage(image)
{
    setObjectName("frmFData");
    setWindowTitle("File Data");

    // The grid is a viewer: labels in the headers, no in-place editing.
    FGrid = new QTableWidget(DumpRows, DumpColumns, this);
    FGrid->setObjectName("grdData");
    FGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    FGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    FGrid->horizontalHeader()->setDefaultSectionSize(26);
    FGrid->horizontalHeader()->setMinimumSectionSize(1);
    FGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    FGrid->verticalHeader()->setDefaultSectionSize(16);
    FGrid->verticalHeader()->setMinimumSectionSize(1);
    FGrid->verticalHeader()->setFixedWidth(69);
    QStringList columns;
    for (int column = 0; column < DumpColumns; ++column)
        columns << QString::fromStdString(DumpColumnLabel(column));
    QStringList rows;
    for (int row = 1; row <= DumpRows; ++row)
        rows << QString::fromStdString(DumpRowLabel(row));
    FGrid->setHorizontalHeaderLabels(columns);
    FGrid->setVerticalHeaderLabels(rows);
    FGrid->installEventFilter(this);

    auto* btnOK = new QPushButton("OK", this);
    btnOK->setObjectName("btnOK");
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FGrid, 1);
    layout->addLayout(buttons);
    auto* focusGrid = new QShortcut(QKeySequence("Alt+T"), this);
    connect(focusGrid, &QShortcut::activated, this, [this] {
        if (FGrid->isEnabled() && FGrid->isVisible())
            FGrid->setFocus();
    });
    FixDesignedSize(*this, {537, 343});
}

void TfrmFData::FillCells()
{
    for (int row = 1; row <= DumpRows; ++row) {
        for (int column = 1; column <= DumpColumns; ++column) {
            auto* cell = new QTableWidgetItem(QString::fromStdString(DumpCellAt(FImage, row, column)));
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            FGrid->setItem(row - 1, column - 1, cell);
        }
    }
}

void TfrmFData::showEvent(QShowEvent* event)
{
    FImage.Encode(FDoc);
    FillCells();
    QDialog::showEvent(event);
}

bool TfrmFData::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FGrid && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::ShiftModifier)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}
