#include "ui/main/U_ChEditGrid.h"
#include "ui/base/U_QtText.h"

#include "ui/main/D_MultiTone.h"
#include "model/U_ChannelTable.h"
#include "ui/dialogs/D_SelectList.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace {


int EditKind(int column) { return GridColumns.at(column).EditKind; }

} // namespace

TLevelSpin::TLevelSpin(QWidget* parent) : QSpinBox(parent)
{
    setRange(0, MaxLevel);
    setFrame(false);
}

// Any three digits may stand while typing; a value above the limit becomes
// the limit when it is read.
QValidator::State TLevelSpin::validate(QString& text, int&) const
{
    if (text.isEmpty())
        return QValidator::Intermediate;
    if (text.size() > 3)
        return QValidator::Invalid;
    for (const QChar c : text)
        if (!c.isDigit() || c.unicode() > '9')
            return QValidator::Invalid;
    return QValidator::Acceptable;
}

int TLevelSpin::valueFromText(const QString& text) const
{
    return LevelValue(S(text));
}

TChEditGrid::TChEditGrid(QWidget* parent) : TChGrid(parent)
{
    FFreqEditor = new QLineEdit(viewport());
    FFreqEditor->setObjectName("edtDmy");
    FFreqEditor->setFrame(false);
    FFreqEditor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Text reaches the editor only through the typing filter and Paste.
    FFreqEditor->setContextMenuPolicy(Qt::NoContextMenu);
    FFreqEditor->setAcceptDrops(false);
    FFreqEditor->hide();
    FFreqEditor->installEventFilter(this);

    FLevelEditor = new TLevelSpin(viewport());
    FLevelEditor->setObjectName("SpinDmy");
    FLevelEditor->setContextMenuPolicy(Qt::NoContextMenu);
    FLevelEditor->hide();
    FLevelEditor->installEventFilter(this);

    // Selecting another cell commits the open editor first.
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (EditorOpen() && (row != FEditRow || column != FEditColumn))
            CommitEditor();
    });

    auto* copy = new QAction("&Copy", this);
    copy->setObjectName("pmiCopy");
    connect(copy, &QAction::triggered, this, &TChEditGrid::Copy);
    auto* paste = new QAction("&Paste", this);
    paste->setObjectName("pmiPaste");
    connect(paste, &QAction::triggered, this, &TChEditGrid::Paste);
    addActions({copy, paste});
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

TChannel* TChEditGrid::ChannelAt(int row) const
{
    if (!Channels() || !Doc() || row < HeaderRows || row >= RowCount)
        return nullptr;
    return &(*Channels())[row - HeaderRows];
}

TRKmem TChEditGrid::State() const
{
    TRKmem state = *Doc();
    state.Channels = *Channels();
    // The name follows saving, not editing: a save is no step of its own
    // and does not end the history.
    state.DataFileName.clear();
    return state;
}

void TChEditGrid::BeginGesture()
{
    if (Channels() && Doc() && !EditorOpen() && !FHistory.At(State()))
        ResetHistory();
}

void TChEditGrid::EndChange()
{
    if (Channels() && Doc() && FHistory.Record(State()))
        emit HistoryChanged();
}

void TChEditGrid::CellChanged(int row, int column)
{
    TRowTexts texts = RowTexts(row);
    ApplyCellRules(texts, *ChannelAt(row), column, *Doc());
    SetRowTexts(row, texts);
    Changed();
}

void TChEditGrid::Changed()
{
    Store();
    EndChange();
    viewport()->update();
}

void TChEditGrid::StepCell(int row, int column)
{
    BeginGesture();
    TChannel* channel = ChannelAt(row);
    if (!channel || !CellEditable(*channel, column))
        return;
    const TColumnDef& def = GridColumns[column];
    switch (def.EditKind) {
    case ekList: {
        const std::string now = S(CellText(row, column));
        const std::string next = column == gcCwIdAniEni ? NextCwIdAniEniText(now, *Doc())
                                                        : NextListText(def.List, now);
        if (next == now)
            return;
        SetCellText(row, column, Qs(next));
        CellChanged(row, column);
        break;
    }
    case ekDialog:
        if (def.Param == dlMultiTone)
            EditMultiTone(row);
        else
            PickTone(row, column);
        break;
    case ekLevel:
    case ekFreq:
        if (CanOpenEditor(row, column))
            OpenEditor(row, column);
        break;
    default:
        break;
    }
}

void TChEditGrid::ToggleUsed(int row)
{
    TChannel* channel = ChannelAt(row);
    // Channel 1 is always in use.
    if (!channel || row == RowOf(0))
        return;
    CommitEditor();
    BeginGesture();
    channel->Used = channel->Used != 0 ? 0 : 1;
    Changed();
}

void TChEditGrid::ToggleInhibit(int row)
{
    TChannel* channel = ChannelAt(row);
    if (!channel || channel->Used == 0)
        return;
    BeginGesture();
    TRowTexts texts = RowTexts(row);
    ToggleTxInhibit(texts, *channel, Doc()->ChStep);
    SetRowTexts(row, texts);
    Changed();
}

int TChEditGrid::RunDialog(QDialog& dialog)
{
    return ExecDialog ? ExecDialog(dialog) : dialog.exec();
}

void TChEditGrid::PickTone(int row, int column)
{
    TfrmSelList list(this);
    list.ListKind = GridColumns[column].Param;
    list.Value = CellText(row, column);
    list.NoOff = false;
    if (RunDialog(list) != QDialog::Accepted || list.Value == CellText(row, column))
        return;
    SetCellText(row, column, list.Value);
    CellChanged(row, column);
}

void TChEditGrid::EditMultiTone(int row)
{
    // The dialog works on the channel itself, so it must hold what the
    // row shows.
    Store();
    TChannel& channel = *ChannelAt(row);
    TfrmMultiTone dialog(channel, this);
    if (RunDialog(dialog) != QDialog::Accepted)
        return;
    const TRowTexts filled = FillRow(channel, row - HeaderRows, Doc()->ChStep);
    TRowTexts texts = RowTexts(row);
    const int columns[] = {gcMultiTone, gcDecCtcss, gcDecDcs, gcEncCtcss, gcEncDcs};
    for (int column : columns)
        if (column < FirstTxColumn || channel.TxInhibit == 0)
            texts[column] = filled[column];
    SetRowTexts(row, texts);
    Changed();
}

bool TChEditGrid::CanOpenEditor(int row, int column) const
{
    const TChannel* channel = ChannelAt(row);
    if (!channel || !CellEditable(*channel, column))
        return false;
    const int kind = EditKind(column);
    if (kind == ekLevel)
        return CellText(row, gcNsqMode) != "Prpgm";
    return kind == ekFreq;
}

QWidget* TChEditGrid::OpenEditorWidget() const
{
    if (FFreqEditorOpen)
        return FFreqEditor;
    if (FLevelEditorOpen)
        return FLevelEditor;
    return nullptr;
}

void TChEditGrid::OpenEditor(int row, int column, const QString& typed)
{
    if (EditorOpen() && (row != FEditRow || column != FEditColumn))
        CommitEditor();
    BeginGesture();
    const bool level = EditKind(column) == ekLevel;
    QLineEdit* edit = level ? FLevelEditor->Edit() : FFreqEditor;
    if (!EditorOpen()) {
        FEditRow = row;
        FEditColumn = column;
        FSavedText = CellText(row, column);
        if (level) {
            FLevelEditorOpen = true;
            const QString text = FSavedText.trimmed();
            const int start = text.isEmpty() || text == "---" ? ChannelAt(row)->NsqLevel
                                                              : LevelValue(S(text));
            FLevelEditor->setValue(start);
        } else {
            FFreqEditorOpen = true;
            FFreqEditor->setMaxLength(GridColumns[column].Param);
            FFreqEditor->setText(Qs(EditorStartText(S(FSavedText))));
        }
        if (!typed.isEmpty())
            edit->setText(typed);
    } else if (!typed.isEmpty()) {
        const int maxLength = level ? 3 : FFreqEditor->maxLength();
        if (edit->text().size() < maxLength) {
            edit->end(false);
            edit->insert(typed);
        }
    }
    scrollTo(model()->index(row, column));
    PlaceEditor();
    QWidget* editor = OpenEditorWidget();
    editor->show();
    editor->setFocus();
    if (typed.isEmpty())
        edit->selectAll();
    else
        edit->end(false);
}

void TChEditGrid::PlaceEditor()
{
    QWidget* editor = OpenEditorWidget();
    if (!editor)
        return;
    const QRect cell = visualRect(model()->index(FEditRow, FEditColumn));
    // Over its cell while the row is in view, hidden while it is not.
    const bool inView = cell.isValid() && viewport()->rect().contains(cell.center());
    editor->setGeometry(cell.adjusted(0, 0, 1, 1));
    editor->setVisible(inView);
}

void TChEditGrid::CloseEditor()
{
    QWidget* editor = OpenEditorWidget();
    const bool hadFocus = editor && editor->hasFocus();
    FFreqEditorOpen = false;
    FLevelEditorOpen = false;
    if (editor)
        editor->hide();
    if (hadFocus)
        setFocus();
}

bool TChEditGrid::CommitEditor()
{
    if (!EditorOpen())
        return true;
    const int row = FEditRow;
    const int column = FEditColumn;
    TChannel* channel = ChannelAt(row);
    QString text;
    if (FLevelEditorOpen) {
        const std::string digits = NormaliseLevel(S(FLevelEditor->Edit()->text()));
        const int value = digits.empty() ? FLevelEditor->value() : LevelValue(digits);
        channel->NsqLevel = value;
        text = Qs(LevelText(value));
    } else {
        text = Qs(NormaliseFrequency(S(FFreqEditor->text()), column, *Doc()));
    }
    CloseEditor();
    SetCellText(row, column, text);
    CellChanged(row, column);
    return true;
}

// Escape leaves the cell as it was: nothing was taken from the editor.
void TChEditGrid::CancelEditor()
{
    const int row = FEditRow;
    const int column = FEditColumn;
    CloseEditor();
    SetCellText(row, column, FSavedText);
    setFocus();
}

bool TChEditGrid::EditorKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        CommitEditor();
        setFocus();
        return true;
    case Qt::Key_Escape:
        CancelEditor();
        return true;
    default:
        break;
    }
    if (event->matches(QKeySequence::Paste)) {
        Paste();
        return true;
    }
    const QString typed = event->text();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (plain && typed.size() == 1 && typed[0].isPrint()) {
        const char16_t c = typed[0].unicode();
        const int kind = FLevelEditorOpen ? ekLevel : ekFreq;
        return c >= 128 || !EditorAccepts(kind, char(c));  // taken away when refused
    }
    return false;
}

bool TChEditGrid::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == FFreqEditor || watched == FLevelEditor) && event->type() == QEvent::KeyPress)
        return EditorKey(static_cast<QKeyEvent*>(event));
    return TChGrid::eventFilter(watched, event);
}

void TChEditGrid::keyPressEvent(QKeyEvent* event)
{
    const int row = currentRow();
    const int column = currentColumn();
    const TChannel* channel = ChannelAt(row);
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const QString typed = event->text();
    if (mods == Qt::NoModifier || mods == Qt::ShiftModifier) {
        switch (event->key()) {
        case Qt::Key_Space:
            if (column == gcTxFreq)
                ToggleInhibit(row);
            else
                StepCell(row, column);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (CanOpenEditor(row, column))
                OpenEditor(row, column);
            return;
        default:
            break;
        }
        if (typed.size() == 1 && typed[0].isPrint()) {
            // Characters never search the grid; the editor columns take theirs.
            const char16_t c = typed[0].unicode();
            if (channel && c < 128 && CanOpenEditor(row, column) && EditorAccepts(EditKind(column), char(c)))
                OpenEditor(row, column, typed);
            return;
        }
    }
    TChGrid::keyPressEvent(event);
}

void TChEditGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid() || event->button() != Qt::LeftButton) {
        TChGrid::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    if (index.column() == gcCh)
        ToggleUsed(index.row());
    else
        StepCell(index.row(), index.column());
}

void TChEditGrid::scrollContentsBy(int dx, int dy)
{
    TChGrid::scrollContentsBy(dx, dy);
    PlaceEditor();
}

void TChEditGrid::resizeEvent(QResizeEvent* event)
{
    TChGrid::resizeEvent(event);
    PlaceEditor();
}

void TChEditGrid::Copy()
{
    if (FFreqEditorOpen)
        FFreqEditor->copy();
    else if (FLevelEditorOpen)
        FLevelEditor->Edit()->copy();
    else if (selectedRanges().size() == 1 && selectedRanges().first().rowCount() *
                                                   selectedRanges().first().columnCount() > 1) {
        // The body cells of the rectangle, over the columns a person sees.
        const QTableWidgetSelectionRange range = selectedRanges().first();
        std::vector<std::vector<std::string>> block;
        for (int row = std::max(range.topRow(), int(HeaderRows)); row <= range.bottomRow(); ++row) {
            std::vector<std::string> line;
            for (int column = std::max(range.leftColumn(), 1); column <= range.rightColumn(); ++column)
                if (!isColumnHidden(column))
                    line.push_back(S(CellText(row, column).trimmed()));
            block.push_back(line);
        }
        QGuiApplication::clipboard()->setText(Qs(BlockText(block)));
    } else
        QGuiApplication::clipboard()->setText(CellText(currentRow(), currentColumn()));
}

void TChEditGrid::PasteBlock(const std::vector<std::vector<std::string>>& block)
{
    std::vector<TCellText> cells;
    for (size_t r = 0; r < block.size(); ++r) {
        const int row = currentRow() + int(r);
        int column = currentColumn();
        for (const std::string& text : block[r]) {
            while (column < ColCount && isColumnHidden(column))
                ++column;
            if (row >= RowCount || column >= ColCount) {
                emit PasteRefused("The block does not fit the grid from the current cell.");
                return;
            }
            cells.push_back({row - HeaderRows, column, text});
            ++column;
        }
    }
    BeginGesture();
    TChannels channels = *Channels();
    const auto problems = ApplyCellTexts(channels, *Doc(), cells, false);
    if (!problems.empty()) {
        const TCellProblem& p = problems.front();
        emit PasteRefused(QString("Nothing pasted: channel %1, %2, \"%3\": %4")
                              .arg(p.Channel + 1)
                              .arg(Qs(TableCaption(p.Column)), Qs(p.Text), Qs(p.Why)));
        return;
    }
    if (channels == *Channels())
        return;
    *Channels() = channels;
    Fill();
    emit Pasted();
    Changed();
}

void TChEditGrid::TakeChannels(const TChannels& channels)
{
    BeginGesture();
    *Channels() = channels;
    Fill();
    Changed();
}

void TChEditGrid::Paste()
{
    const QString clip = QGuiApplication::clipboard()->text();
    if (clip.isEmpty())
        return;
    if (EditorOpen()) {
        const bool level = FLevelEditorOpen;
        QLineEdit* edit = level ? FLevelEditor->Edit() : FFreqEditor;
        scrollTo(model()->index(FEditRow, FEditColumn));
        PlaceEditor();
        OpenEditorWidget()->show();
        const int maxLength = level ? 3 : FFreqEditor->maxLength();
        edit->insert(Qs(PastedEditorText(level ? ekLevel : ekFreq, S(clip), maxLength, int(edit->text().size()),
                                         int(edit->selectedText().size()))));
        return;
    }
    const auto block = ParseBlockText(S(clip));
    if (block.size() > 1 || (block.size() == 1 && block.front().size() > 1)) {
        PasteBlock(block);
        return;
    }
    const int row = currentRow();
    const int column = currentColumn();
    const TChannel* channel = ChannelAt(row);
    if (!channel || !CellEditable(*channel, column))
        return;
    BeginGesture();
    // While the mode is "Prpgm" the level has no cell to take a value.
    if (column == gcNsqLevel && CellText(row, gcNsqMode) == "Prpgm")
        return;
    // A cell copied from a spreadsheet comes with a line end.
    const QString single = clip.endsWith("\r\n") ? clip.chopped(2) : clip.endsWith('\n') ? clip.chopped(1) : clip;
    const auto text = PastedCellText(column, S(single), S(CellText(row, column)), *Doc());
    if (!text)
        return;
    SetCellText(row, column, Qs(*text));
    emit Pasted();
    CellChanged(row, column);
}

void TChEditGrid::ResetHistory()
{
    if (Channels() && Doc())
        FHistory.Reset(State());
    emit HistoryChanged();
}

void TChEditGrid::Step(bool (TDocHistory::*step)(TRKmem&))
{
    CommitEditor();
    BeginGesture();
    if (Channels() && Doc()) {
        TRKmem state = State();
        if ((FHistory.*step)(state))
            emit Restored(state);
    }
    emit HistoryChanged();
}

void TChEditGrid::Undo()
{
    Step(&TDocHistory::Undo);
}

void TChEditGrid::Redo()
{
    Step(&TDocHistory::Redo);
}
