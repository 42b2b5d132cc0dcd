#include "ui/dialogs/D_AlphaTag.h"

#include "ui/base/U_Contrast.h"
#include "ui/dialogs/U_FieldConv.h"

#include <QApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>

#include <algorithm>

namespace {

constexpr int TagLength = 8;
constexpr int NumberLength = 4;
constexpr int RowHeight = 17;
const QString NoNumber = "----";
const QString NoText = "--------";

// Digits only, else nothing: an entry without a number.
std::string NumberText(const QString& typed)
{
    const std::string text = typed.trimmed().toStdString();
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }) ? text : "";
}

// Through the tag alphabet, refused characters as blanks; "%" is what the
// image writes for no text, so a text starting with it is none.
std::string TagText(const QString& typed)
{
    std::string text;
    for (const QChar c : typed) {
        const char ch = c.unicode() < 128 ? FilterChar(TEditClass::Tag, static_cast<char>(c.unicode())) : 0;
        text += ch && ch != '\b' ? ch : ' ';
    }
    if (!text.empty() && text.front() == '%')
        return {};
    if (!text.empty())
        text.resize(TagLength, ' ');
    return text;
}

} // namespace

TfrmAlphaTag::TfrmAlphaTag(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent)
    : TParamDialogOf({"Alpha Tag", 208, 338, ""}, {}, doc, mode, prompt, parent)
{
    FGrid = new QTableWidget(AlphaTagCount, 2, this);
    FGrid->setObjectName("grdA");
    QFont font("Arial");
    font.setPixelSize(12);
    FGrid->setFont(font);
    FGrid->horizontalHeader()->hide();
    FGrid->verticalHeader()->hide();
    FGrid->verticalHeader()->setMinimumSectionSize(RowHeight);
    FGrid->verticalHeader()->setDefaultSectionSize(RowHeight);
    FGrid->setColumnWidth(NumberColumn, 52);
    FGrid->setColumnWidth(TextColumn, 95);
    FGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    FGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    FGrid->setTabKeyNavigation(false);
    // The theme's text on the grid's colour, the selected cell not
    // highlighted; the grid is greyed (button face) in Normal mode although
    // it edits the same way.
    QPalette palette = FGrid->palette();
    const QPalette& system = QApplication::palette();
    const bool greyed = mode == Normal;
    const QColor base = system.color(greyed ? QPalette::Button : QPalette::Base);
    const QColor text = ReadableOn(base, system.color(greyed ? QPalette::ButtonText : QPalette::Text));
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::Highlight, base);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::HighlightedText, text);
    FGrid->setPalette(palette);
    FGrid->setFixedWidth(52 + 95 + FGrid->verticalScrollBar()->sizeHint().width() + 2 * FGrid->frameWidth());
    FieldLayout()->addWidget(FGrid, 0, 0);

    FEditor = new QLineEdit(FGrid->viewport());
    FEditor->setObjectName("edtDmy");
    FEditor->setFont(font);
    FEditor->setFrame(false);
    FEditor->setContextMenuPolicy(Qt::NoContextMenu);
    FEditor->setAcceptDrops(false);
    FEditor->hide();

    FGrid->installEventFilter(this);
    FGrid->viewport()->installEventFilter(this);
    FEditor->installEventFilter(this);
    connect(FGrid, &QTableWidget::currentCellChanged, this, &TfrmAlphaTag::CellChanged);
}

bool TfrmAlphaTag::EditorOpen() const
{
    return FEditRow >= 0;
}

void TfrmAlphaTag::Loaded()
{
    FNumbers = Doc.AlphaTagNumber;
    FTexts = Doc.AlphaTagText;
    for (int row = 0; row < AlphaTagCount; ++row)
        ShowRow(row);
    FGrid->setCurrentCell(0, NumberColumn);
    FGrid->setFocus(Qt::OtherFocusReason);
}

void TfrmAlphaTag::ShowRow(int row)
{
    const QString number = FNumbers[row] >= 0 ? QString::asprintf("%4.4d", FNumbers[row]) : NoNumber;
    const QString text = FTexts[row].empty() ? NoText : QString::fromStdString(FTexts[row]);
    for (const auto& [column, shown] : {std::pair {NumberColumn, number}, std::pair {TextColumn, text}}) {
        QTableWidgetItem* item = FGrid->item(row, column);
        if (!item) {
            item = new QTableWidgetItem;
            FGrid->setItem(row, column, item);
        }
        item->setText(shown);
    }
}

QChar TfrmAlphaTag::Typed(int column, const QKeyEvent* event)
{
    const QString typed = event->text();
    if (typed.size() != 1 || typed[0].unicode() >= 128 || !typed[0].isPrint())
        return {};
    const char ch = static_cast<char>(typed[0].unicode());
    return QChar(FilterChar(column == NumberColumn ? TEditClass::Digits : TEditClass::Tag, ch));
}

void TfrmAlphaTag::OpenEditor(const QString& typed)
{
    const int row = FGrid->currentRow();
    const int column = FGrid->currentColumn();
    if (row < 0 || column < 0)
        return;
    FEditRow = row;
    FEditColumn = column;
    const QString shown = FGrid->item(row, column)->text();
    FOpeningText = shown == NoNumber || shown == NoText ? QString() : shown;
    FEditor->setMaxLength(column == NumberColumn ? NumberLength : TagLength);
    const QRect cell = FGrid->visualRect(FGrid->model()->index(row, column));
    FEditor->setGeometry(cell.left() + 2, cell.top() + 1, FGrid->columnWidth(column) + 1, RowHeight + 2);
    FGrid->setFocusPolicy(Qt::ClickFocus);  // no tab stop while the editor is out
    FEditor->setText(typed.isEmpty() ? FOpeningText : typed);
    FEditor->show();
    FEditor->setFocus(Qt::OtherFocusReason);
    if (typed.isEmpty())
        FEditor->selectAll();
    else
        FEditor->end(false);
}

bool TfrmAlphaTag::CommitEditor()
{
    if (!EditorOpen())
        return true;
    const int row = FEditRow;
    int number = FNumbers[row];
    std::string text = FTexts[row];
    if (FEditColumn == NumberColumn) {
        const std::string typed = NumberText(FEditor->text());
        if (typed.empty()) {
            number = -1;
            text.clear();  // no number, no entry
        } else {
            number = std::stoi(typed);
            // A row may commit its own number again; another row's is refused.
            for (int other = 0; other < AlphaTagCount; ++other) {
                if (other != row && FNumbers[other] == number) {
                    FCommitting = true;
                    Prompt.Error(DuplicateMessage);
                    FCommitting = false;
                    FEditor->setFocus(Qt::OtherFocusReason);
                    return false;
                }
            }
            if (text.empty())
                text.assign(TagLength, ' ');
        }
    } else {
        text = TagText(FEditor->text());
        if (!text.empty() && number < 0) {
            number = 1;  // the smallest number no row uses
            while (std::find(FNumbers.begin(), FNumbers.end(), number) != FNumbers.end())
                ++number;
        }
    }
    FNumbers[row] = number;
    FTexts[row] = text;
    FEditRow = FEditColumn = -1;
    ShowRow(row);
    FGrid->setFocusPolicy(Qt::StrongFocus);
    FEditor->hide();
    return true;
}

void TfrmAlphaTag::CellChanged(int row, int column, int previousRow, int previousColumn)
{
    if (FCommitting || !EditorOpen() || (row == FEditRow && column == FEditColumn))
        return;
    if (CommitEditor()) {
        FGrid->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The number is refused: the selection stays with the editor.
    FCommitting = true;
    FGrid->setCurrentCell(previousRow, previousColumn);
    FCommitting = false;
    FEditor->setFocus(Qt::OtherFocusReason);
}

bool TfrmAlphaTag::GridKey(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OpenEditor();
        return true;
    }
    const QString text = event->text();
    if (text.size() != 1 || !text[0].isPrint() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;  // moves, Esc and the dialog's keys
    const QChar typed = Typed(FGrid->currentColumn(), event);
    if (!typed.isNull())
        OpenEditor(typed);
    return true;
}

bool TfrmAlphaTag::EditorKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (CommitEditor())
            FGrid->setFocus(Qt::OtherFocusReason);
        else
            FEditor->selectAll();
        return true;
    case Qt::Key_Escape:
        FEditor->setText(FOpeningText);
        CommitEditor();
        FGrid->setFocus(Qt::OtherFocusReason);
        return true;
    default:
        break;
    }
    // Text reaches the editor only through the column's filter.
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (ctrl || event->matches(QKeySequence::Paste))
        return !(event->key() == Qt::Key_Left || event->key() == Qt::Key_Right);
    const QString text = event->text();
    if (text.size() != 1 || !text[0].isPrint())
        return false;  // Backspace, Delete and the caret keys
    const QChar typed = Typed(FEditColumn, event);
    if (!typed.isNull())
        FEditor->insert(typed);
    return true;
}

bool TfrmAlphaTag::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == FEditor)
            return EditorKey(key);
        if (watched == FGrid)
            return GridKey(key);
    }
    if (watched == FGrid->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        if (CommitEditor())
            OpenEditor();
        return true;
    }
    return TParamDialog::eventFilter(watched, event);
}

bool TfrmAlphaTag::CanAccept()
{
    if (!CommitEditor())
        return false;
    // Packed means no empty entry above one in use; ordered means rising.
    bool gap = false;
    bool unordered = false;
    int last = -1;
    bool emptySeen = false;
    for (int row = 0; row < AlphaTagCount; ++row) {
        if (FNumbers[row] < 0) {
            emptySeen = true;
            continue;
        }
        gap = gap || emptySeen;
        unordered = unordered || FNumbers[row] < last;
        last = FNumbers[row];
    }
    if (!gap && !unordered)
        return true;
    Prompt.Information(SortNotice);
    std::vector<int> used;
    for (int row = 0; row < AlphaTagCount; ++row)
        if (FNumbers[row] >= 0)
            used.push_back(row);
    std::stable_sort(used.begin(), used.end(), [this](int a, int b) { return FNumbers[a] < FNumbers[b]; });
    std::array<int, AlphaTagCount> numbers;
    numbers.fill(-1);
    std::array<std::string, AlphaTagCount> texts {};
    for (size_t i = 0; i < used.size(); ++i) {
        numbers[i] = FNumbers[used[i]];
        texts[i] = FTexts[used[i]];
    }
    FNumbers = numbers;
    FTexts = texts;
    return true;
}

void TfrmAlphaTag::Stored()
{
    Doc.AlphaTagNumber = FNumbers;
    Doc.AlphaTagText = FTexts;
}

bool TfrmAlphaTag::OwnChanges() const
{
    return Doc.AlphaTagNumber != Backup.AlphaTagNumber || Doc.AlphaTagText != Backup.AlphaTagText;
}
