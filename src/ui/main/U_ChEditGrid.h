#pragma once
#include "ui/main/U_ChGrid.h"
#include "model/U_ChannelRules.h"

#include <QSpinBox>

#include <functional>

class QDialog;
class QLineEdit;

// The squelch-level editor: up to three digits, whatever their value while
// typing; the value is limited to 0..255 when it is committed.
class TLevelSpin : public QSpinBox {
    Q_OBJECT
public:
    explicit TLevelSpin(QWidget* parent = nullptr);
    QLineEdit* Edit() const { return lineEdit(); }

protected:
    QValidator::State validate(QString& text, int& pos) const override;
    int valueFromText(const QString& text) const override;
};

// The channel grid with its editing: the gestures, the two in-place editors
// floating over their cell, the clipboard and undo. Every gesture ends with
// the cell rules, the grid stored into the working channels and, when they
// changed, one undo step.
class TChEditGrid : public TChGrid {
    Q_OBJECT
public:
    explicit TChEditGrid(QWidget* parent = nullptr);

    // Runs a modal dialog for the grid (the main window's host runs it, so
    // tests can act on it); returns its result.
    std::function<int(QDialog&)> ExecDialog;

    bool CommitEditor() override;
    bool EditorOpen() const { return FFreqEditorOpen || FLevelEditorOpen; }

    // One cell as its text; a rectangle of cells as tab-separated lines.
    void Copy();
    // One text into the current cell; a block of them from the current cell
    // to the right and down, over the visible columns, all or nothing.
    void Paste();
    // Channels replaced as one gesture (an import): one undo step.
    void TakeChannels(const TChannels& channels);

    // Forgets the undo history: the document was replaced as a whole.
    void ResetHistory();
    // Around a change made outside the grid (a dialog): before it, a
    // history that no longer matches the document starts anew; after it,
    // the change is one step.
    void BeginGesture();
    void EndChange();
    bool CanUndo() const { return FHistory.CanUndo(); }
    bool CanRedo() const { return FHistory.CanRedo(); }
    void Undo();
    void Redo();

signals:
    // A paste changed a cell: the document counts as modified at once.
    void Pasted();
    // A block paste was refused: why, for the status bar.
    void PasteRefused(const QString& why);
    void HistoryChanged();
    // Undo or Redo: the document and its channels are to become `state`.
    void Restored(const TRKmem& state);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TChannel* ChannelAt(int row) const;
    // The document as the grid has it: its channels are the working ones.
    TRKmem State() const;
    void Step(bool (TDocHistory::*step)(TRKmem&));
    void PasteBlock(const std::vector<std::vector<std::string>>& block);
    // The end of every gesture that changed `column` of `row`.
    void CellChanged(int row, int column);
    void Changed();

    // Double-click or Space: the column's own way of changing its value.
    void StepCell(int row, int column);
    void ToggleUsed(int row);
    void ToggleInhibit(int row);
    void PickTone(int row, int column);
    void EditMultiTone(int row);
    int RunDialog(QDialog& dialog);

    bool CanOpenEditor(int row, int column) const;
    // Opens (or shows again) the editor of the cell; `typed` replaces the
    // text, else all of it is selected.
    void OpenEditor(int row, int column, const QString& typed = {});
    void PlaceEditor();
    QWidget* OpenEditorWidget() const;
    void CloseEditor();
    void CancelEditor();
    bool EditorKey(QKeyEvent* event);

    QLineEdit* FFreqEditor = nullptr;   // edtDmy
    TLevelSpin* FLevelEditor = nullptr; // SpinDmy
    bool FFreqEditorOpen = false;
    bool FLevelEditorOpen = false;
    int FEditRow = -1;
    int FEditColumn = -1;
    QString FSavedText;                 // the cell's text when the editor opened
    TDocHistory FHistory;
};
