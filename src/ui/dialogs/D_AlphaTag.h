#pragma once
#include "ui/dialogs/D_ParamDialog.h"

#include <array>
#include <string>

class QLineEdit;
class QTableWidget;

// "Alpha Tag": the 48 table numbers with their eight-character texts, in
// a grid with an editor over the cell. A number and a text always go
// together; on OK the table is packed and put in order of number.
class TfrmAlphaTag : public TParamDialogOf<TfrmAlphaTag> {
    Q_OBJECT
public:
    TfrmAlphaTag(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent = nullptr);

    static constexpr const char* DuplicateMessage = "This code is already exsists.";
    static constexpr const char* SortNotice = "Alpha Tag will be sorted in order of table number";
    static constexpr int NumberColumn = 0;
    static constexpr int TextColumn = 1;

    bool EditorOpen() const;

protected:
    void Loaded() override;
    bool CanAccept() override;
    void Stored() override;
    bool OwnChanges() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowRow(int row);
    // The character a key types into a column, or none when refused.
    static QChar Typed(int column, const QKeyEvent* event);
    void OpenEditor(const QString& typed = {});
    // Puts what the editor holds into its row; false (editor left open)
    // when the number is another row's. Enter, a move to another cell, a
    // double click and OK commit; Cancel does not.
    bool CommitEditor();
    bool GridKey(QKeyEvent* event);
    bool EditorKey(QKeyEvent* event);
    void CellChanged(int row, int column, int previousRow, int previousColumn);

    QTableWidget* FGrid = nullptr;
    QLineEdit* FEditor = nullptr;
    int FEditRow = -1;
    int FEditColumn = -1;
    QString FOpeningText;
    bool FCommitting = false;
    std::array<int, AlphaTagCount> FNumbers {};
    std::array<std::string, AlphaTagCount> FTexts {};
};
