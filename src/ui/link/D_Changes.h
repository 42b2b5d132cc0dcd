#pragma once
#include "link/U_SafeDownload.h"

#include <QDialog>

#include <vector>

class QPushButton;
class QTreeWidget;
class THost;

// Fields side by side with the question that goes with them: the safe
// download's identity check (Yes / No, No the default), its change list
// (Write / Cancel), the read-back differences (OK) and the history's
// comparison of an archived image with the open document (Close). Esc and
// the close box answer No / Cancel. File > Compare With shows another data
// file beside the open document the same way. A comparison can be copied as
// rk54 diff prints it.
class TfrmChanges : public QDialog {
    Q_OBJECT
public:
    enum TKind { IdentityQuestion, ChangeList, ReadBackDifferences, Comparison, FileComparison };

    // `otherName` names the other side in the text of a FileComparison.
    TfrmChanges(TKind kind, const std::vector<TFieldChange>& rows, QWidget* parent = nullptr,
                const QString& otherName = {});
    // The identity rows; those that differ are marked.
    TfrmChanges(const std::vector<TIdentityRow>& rows, QWidget* parent = nullptr);

    QTreeWidget* List() const { return FList; }
    // The rows as rk54 diff prints them, "Name: left | right" a line.
    QString ListText() const;

private:
    void Build(TKind kind, int count, const QString& otherName = {});
    void AddRow(const std::string& name, const std::string& left, const std::string& right, bool marked);

    QTreeWidget* FList = nullptr;
};

// The safe download's questions in the window: the dialogs above, shown
// through the host (which the tests script); a history that cannot be kept
// is a warning.
class TWindowQuestions : public TSafeQuestions {
public:
    TWindowQuestions(THost& host, QWidget* owner) : FHost(host), FOwner(owner) {}
    bool ConfirmIdentity(const std::vector<TIdentityRow>& rows) override;
    bool ConfirmChanges(const std::vector<TFieldChange>& changes) override;
    void ReadBackDiffers(const std::vector<TFieldChange>& differences) override;
    void HistoryProblem(const std::string& text) override;

private:
    THost& FHost;
    QWidget* FOwner;
};
