#pragma once
#include <QDialog>
#include <QString>

#include <string>
#include <vector>

class QTableWidget;
class QPushButton;

// The tone/code selection list: all CTCSS tones or all DCS codes at a
// glance, picked with the mouse or the keys. The caller sets the inputs,
// runs the dialog and, on OK, takes `Value`.
class TfrmSelList : public QDialog {
    Q_OBJECT
public:
    enum TListKind { CtcssList = 101, DcsList = 102 };

    explicit TfrmSelList(QWidget* parent = nullptr);

    int ListKind = CtcssList;
    QString Value;        // the current text in, the chosen text out
    bool NoOff = false;   // leave out the leading "off"

    // The entries of a list, in the order they are laid out.
    static std::vector<std::string> Entries(int listKind, bool noOff);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill();
    void Choose();
    // The last row holding entries, then the last column, each move taken
    // only when it lands on an entry.
    void MoveToEnd();
    bool HasEntry(int row, int column) const;

    QTableWidget* FGrid = nullptr;
    QPushButton* FOk = nullptr;
    bool FFilled = false;
};
