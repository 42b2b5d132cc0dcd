#include "ui/main/U_ChGrid.h"

#include "ui/base/U_Help.h"
#include "ui/base/U_QtText.h"
#include "model/U_ChannelTable.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace {

// Header cells are drawn like the fixed cells of a classic grid, channel
// cells on the window colour with grey text for switched-off channels.
class TCellDelegate : public QStyledItemDelegate {
public:
    explicit TCellDelegate(TChGrid* grid) : QStyledItemDelegate(grid), FGrid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const int row = index.row();
        const int column = index.column();
        const bool header = TChGrid::IsHeaderCell(row, column);
        const bool selected = !header && (option.state & QStyle::State_Selected);
        const QPalette& pal = option.palette;
        painter->save();
        painter->fillRect(option.rect, selected ? pal.highlight()
                                               : header ? pal.button() : pal.base());
        painter->setPen(selected ? pal.highlightedText().color() : FGrid->TextColor(row, column));
        painter->setFont(option.font);
        const QRect textRect = option.rect.adjusted(3, 2, -2, 2);
        painter->drawText(textRect, int(FGrid->TextAlignment(header ? -1 : column)) | Qt::TextSingleLine,
                          index.data().toString());
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(QPen(pal.text().color(), 1, Qt::DotLine));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }

private:
    TChGrid* FGrid;
};

} // namespace

const std::array<TChGrid::TItemDef, TChGrid::ItemCount> TChGrid::ItemTable = {{
    {"Rx Freq.", 1, {2, -1, -1}, nullptr},
    {"Decoders", 2, {3, 4, -1}, "Decoders"},
    {"W/N", 1, {5, -1, -1}, nullptr},
    {"Clk Sft", 1, {6, -1, -1}, nullptr},
    {"NSQ", 2, {7, 8, -1}, "NSQ"},
    {"Court Blip", 1, {9, -1, -1}, nullptr},
    {"Rev Bst", 1, {10, -1, -1}, nullptr},
    {"DCS Typ", 1, {11, -1, -1}, nullptr},
    {"DDec Type", 1, {12, -1, -1}, nullptr},
    {"Multi Tone", 1, {13, -1, -1}, nullptr},
    {"CWID ANI/ENI", 1, {14, -1, -1}, nullptr},
    {"Action Mode", 1, {15, -1, -1}, nullptr},
    {"Tx Freq.", 1, {16, -1, -1}, nullptr},
    {"Encoders", 2, {17, 18, -1}, "Encoders"},
    {"Base TOT", 1, {19, -1, -1}, nullptr},
    {"Base Guard", 1, {20, -1, -1}, nullptr},
    {"LOUT", 1, {21, -1, -1}, nullptr},
    {"Tx Pwr", 1, {22, -1, -1}, nullptr},
    {"TOT Mute", 1, {23, -1, -1}, nullptr},
    {"Rpt Use", 1, {24, -1, -1}, nullptr},
    {"TOT Beep", 1, {25, -1, -1}, nullptr},
    {"RPT HT", 1, {26, -1, -1}, nullptr},
    {"RPT GT", 1, {27, -1, -1}, nullptr},
}};

TChGrid::TChGrid(QWidget* parent) : QTableWidget(RowCount, ColCount, parent)
{
    setObjectName("grdCh");
    FVisible.fill(1);

    QFont gridFont("Arial");
    gridFont.setPixelSize(12);
    setFont(gridFont);
    setItemDelegate(new TCellDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A rectangle of cells can be selected for block copy; one cell stays current.
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);

    horizontalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    QHeaderView* fixedColumn = verticalHeader();
    fixedColumn->setSectionResizeMode(QHeaderView::Fixed);
    fixedColumn->setMinimumSectionSize(1);
    fixedColumn->setDefaultSectionSize(17);
    fixedColumn->setFixedWidth(GridColumns[0].Width);
    fixedColumn->setDefaultAlignment(Qt::AlignCenter);
    fixedColumn->setFont(gridFont);

    QStringList numbers {QString(), QString()};
    for (int row = 0; row < RowCount; ++row) {
        for (int column = 0; column < ColCount; ++column) {
            auto* cell = new QTableWidgetItem;
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(row, column, cell);
        }
    }
    // The fixed column: written once, shown by the frozen vertical header.
    for (int channel = 0; channel < ChannelCount; ++channel) {
        numbers << QString::number(channel + 1);
        SetCellText(RowOf(channel), 0, numbers.last());
    }
    setVerticalHeaderLabels(numbers);
    setColumnHidden(0, true);

    for (int column = 0; column < ColCount; ++column) {
        const TColumnDef& def = GridColumns[column];
        SetCellText(0, column, def.Header0 ? def.Header0 : "");
        SetCellText(1, column, def.Header1 ? def.Header1 : "");
        if (column > 0)
            setColumnWidth(column, def.Width);
    }
    for (int item = 1; item <= ItemCount; ++item) {
        const char* caption = ItemTable[item - 1].Panel;
        if (!caption)
            continue;
        auto* panel = new QLabel(caption, viewport());
        panel->setObjectName(QString("pnl") + caption);
        panel->setAlignment(Qt::AlignCenter);
        panel->setAutoFillBackground(true);
        panel->setBackgroundRole(QPalette::Button);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Raised);
        panel->setFont(gridFont);
        FPanels[item - 1] = panel;
    }
    setCurrentCell(RowOf(0), 1);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { PlaceGroupPanels(); });
}

void TChGrid::SetSource(TChannels* channels, const TRKmem* document)
{
    FChannels = channels;
    FDocument = document;
}

QString TChGrid::CellText(int row, int column) const
{
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void TChGrid::SetCellText(int row, int column, const QString& text)
{
    QTableWidgetItem* cell = item(row, column);
    if (!cell)
        return;
    cell->setText(text);
    // A screen reader says where a cell is and what it holds: "Rx Freq,
    // channel 3, 146.52000".
    if (!IsHeaderCell(row, column))
        cell->setData(Qt::AccessibleTextRole, QString("%1, channel %2, %3")
                                                  .arg(Qs(TableCaption(column)))
                                                  .arg(row - HeaderRows + 1)
                                                  .arg(text.trimmed()));
}

TRowTexts TChGrid::RowTexts(int row) const
{
    TRowTexts texts;
    for (int column = 0; column < ColCount; ++column)
        texts[column] = CellText(row, column).toStdString();
    return texts;
}

void TChGrid::SetRowTexts(int row, const TRowTexts& texts)
{
    for (int column = 1; column < ColCount; ++column) {
        const QString text = QString::fromStdString(texts[column]);
        if (CellText(row, column) != text)
            SetCellText(row, column, text);
    }
}

void TChGrid::Fill()
{
    if (!FChannels || !FDocument)
        return;
    for (int i = 0; i < ChannelCount; ++i)
        SetRowTexts(RowOf(i), FillRow((*FChannels)[i], i, FDocument->ChStep));
    viewport()->update();
}

void TChGrid::Store()
{
    if (!FChannels)
        return;
    for (int i = 0; i < ChannelCount; ++i)
        StoreRow(RowTexts(RowOf(i)), (*FChannels)[i]);
}

bool TChGrid::CommitEditor() { return true; }

bool TChGrid::ItemVisible(int item) const { return FVisible.at(item - 1) != 0; }

void TChGrid::SetItemVisible(int item, bool visible) { FVisible.at(item - 1) = visible ? 1 : 0; }

QLabel* TChGrid::GroupPanel(int item) const { return FPanels.at(item - 1); }

void TChGrid::LayoutColumns()
{
    for (int item = 1; item <= ItemCount; ++item) {
        const TItemDef& def = ItemTable[item - 1];
        for (int k = 0; k < def.ColumnCount; ++k) {
            const int column = def.Columns[k];
            setColumnHidden(column, !ItemVisible(item));
            if (ItemVisible(item))
                setColumnWidth(column, GridColumns[column].Width);
        }
    }
    PlaceGroupPanels();
}

void TChGrid::PlaceGroupPanels()
{
    const int right = viewport()->width();
    const int top = rowViewportPosition(0);
    for (int item = 1; item <= ItemCount; ++item) {
        QLabel* panel = FPanels[item - 1];
        if (!panel)
            continue;
        const TItemDef& def = ItemTable[item - 1];
        int width = 0;
        for (int k = 0; k < def.ColumnCount; ++k)
            width += columnWidth(def.Columns[k]);
        const int x = columnViewportPosition(def.Columns[0]);
        const bool fits = ItemVisible(item) && x >= 0 && x + width <= right && top >= 0;
        if (fits)
            panel->setGeometry(x, top + 1, width - 1, rowHeight(0) - 2);
        panel->setVisible(fits);
    }
}

void TChGrid::scrollContentsBy(int dx, int dy)
{
    QTableWidget::scrollContentsBy(dx, dy);
    PlaceGroupPanels();
}

void TChGrid::resizeEvent(QResizeEvent* event)
{
    QTableWidget::resizeEvent(event);
    PlaceGroupPanels();
}

void TChGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        OpenHelp(THelpAction::DefaultTopic);
        return;
    }
    // Left and Right step over hidden items and stop at the first channel
    // property column and at the last column.
    if ((event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)
        && event->modifiers() == Qt::NoModifier) {
        const int step = event->key() == Qt::Key_Left ? -1 : 1;
        for (int column = currentColumn() + step; column >= 1 && column < ColCount; column += step) {
            if (!isColumnHidden(column)) {
                setCurrentCell(currentRow(), column);
                break;
            }
        }
        return;
    }
    QTableWidget::keyPressEvent(event);
}

QColor TChGrid::TextColor(int row, int column) const
{
    // Black and silver on a light theme, as the grid has always looked; the
    // theme's own text colours where the window colour is dark.
    if (IsHeaderCell(row, column) || !FChannels)
        return palette().color(QPalette::ButtonText);
    if (ChannelUsed((*FChannels)[row - HeaderRows]))
        return palette().color(QPalette::Text);
    const QColor base = palette().color(QPalette::Base);
    if (base.lightness() >= 128)
        return QColor(0xC0, 0xC0, 0xC0);
    // On a dark window colour: dimmed, but not so far that it cannot be read.
    const QColor text = palette().color(QPalette::Text);
    const auto mix = [](int a, int b) { return (a * 3 + b * 2) / 5; };
    return QColor(mix(text.red(), base.red()), mix(text.green(), base.green()), mix(text.blue(), base.blue()));
}

Qt::Alignment TChGrid::TextAlignment(int column) const
{
    if (column == 2 || column == 3 || column == FirstTxColumn || column == 17)
        return Qt::AlignRight | Qt::AlignVCenter;
    return Qt::AlignCenter;
}
