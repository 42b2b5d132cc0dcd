#include "ui/link/D_Changes.h"

#include "ui/base/U_DialogKit.h"
#include "ui/base/U_Host.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

struct TLook {
    const char* Title;
    const char* Text;  // %1: the number of rows
    const char* Left;
    const char* Right;
    const char* Accept;      // objectName:text of the accepting button
    const char* Reject;      // nullptr: one button only
    bool RejectIsDefault;
    bool Copyable;           // a Copy button puts the rows on the clipboard
};

const TLook Looks[] = {
    {"Download", "The repeater is not the one this document was made for.\nWrite the document into it all the same?",
     "Repeater", "Document", "btnYes:&Yes", "btnNo:&No", true, false},
    {"Download", "The download changes these %1 fields:", "Repeater", "Document", "btnWrite:&Write", "btnCancel:Cancel",
     false, false},
    {"Download", "The repeater does not hold what was written in these %1 fields:", "Read back", "Written",
     "btnOK:OK", nullptr, false, false},
    {"Compare", "The archived image and the open document differ in these %1 fields:", "Archived", "Document",
     "btnClose:Close", nullptr, false, true},
    {"Compare", "The open document and %2 differ in these %1 fields:", "Open document", "Other file",
     "btnClose:Close", nullptr, false, true},
};

QPushButton* Button(QDialog& dialog, const char* nameAndText)
{
    const QString text = QString::fromLatin1(nameAndText);
    auto* button = new QPushButton(text.section(':', 1), &dialog);
    button->setObjectName(text.section(':', 0, 0));
    return button;
}

} // namespace

TfrmChanges::TfrmChanges(TKind kind, const std::vector<TFieldChange>& rows, QWidget* parent,
                         const QString& otherName)
    : QDialog(parent)
{
    Build(kind, int(rows.size()), otherName);
    for (const TFieldChange& row : rows)
        AddRow(row.Name, row.Unit, row.Document, false);
}

TfrmChanges::TfrmChanges(const std::vector<TIdentityRow>& rows, QWidget* parent) : QDialog(parent)
{
    Build(IdentityQuestion, int(rows.size()));
    for (const TIdentityRow& row : rows)
        AddRow(row.Name, row.Unit, row.Document, row.Differs);
}

void TfrmChanges::Build(TKind kind, int count, const QString& otherName)
{
    const TLook& look = Looks[kind];
    setObjectName("frmChanges");
    setWindowTitle(look.Title);
    auto* layout = new QVBoxLayout(this);
    QString text = QString::fromLatin1(look.Text);
    if (text.contains("%1"))
        text = count == 1 ? text.replace("these %1 fields", "this field") : text.arg(count);
    if (text.contains("%2"))
        text = text.arg(otherName);
    if (count == 0 && kind == ChangeList)
        text = "The download changes no field.";
    if (count == 0 && kind == FileComparison)
        text = QString("The open document and %1 hold the same values.").arg(otherName);
    auto* label = new QLabel(text, this);
    label->setObjectName("lblText");
    layout->addWidget(label);

    FList = new QTreeWidget(this);
    FList->setObjectName("lstFields");
    FList->setRootIsDecorated(false);
    FList->setHeaderLabels({"Field", look.Left, look.Right});
    FList->setSelectionMode(QAbstractItemView::NoSelection);
    FList->setFocusPolicy(Qt::NoFocus);  // the keys belong to the buttons
    FList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    FList->setMinimumSize(kind == IdentityQuestion ? QSize(420, 110) : QSize(520, 260));
    layout->addWidget(FList, 1);

    auto* row = new QHBoxLayout;
    row->addStretch();
    QPushButton* accept = Button(*this, look.Accept);
    connect(accept, &QPushButton::clicked, this, &QDialog::accept);
    row->addWidget(accept);
    QPushButton* focus = accept;
    if (look.Copyable) {
        QPushButton* copy = Button(*this, "btnCopy:&Copy");
        copy->setEnabled(count > 0);
        connect(copy, &QPushButton::clicked, this, [this] { QGuiApplication::clipboard()->setText(ListText()); });
        row->insertWidget(1, copy);
    }
    if (look.Reject) {
        QPushButton* reject = Button(*this, look.Reject);
        connect(reject, &QPushButton::clicked, this, &QDialog::reject);
        row->addWidget(reject);
        if (look.RejectIsDefault)
            focus = reject;
    }
    // Enter presses the focused button: the safe answer where one matters.
    focus->setDefault(true);
    focus->setFocus();
    layout->addLayout(row);
    AddHelpKey(*this);
}

void TfrmChanges::AddRow(const std::string& name, const std::string& left, const std::string& right, bool marked)
{
    auto* item = new QTreeWidgetItem(FList, {QString::fromStdString(name), QString::fromStdString(left),
                                             QString::fromStdString(right)});
    if (marked) {
        QFont font = item->font(0);
        font.setBold(true);
        for (int c = 0; c < 3; ++c) {
            item->setFont(c, font);
            item->setForeground(c, QColor(Qt::red));
        }
    }
}

QString TfrmChanges::ListText() const
{
    QString text;
    for (int i = 0; i < FList->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = FList->topLevelItem(i);
        text += item->text(0) + ": " + item->text(1) + " | " + item->text(2) + "\n";
    }
    return text;
}

bool TWindowQuestions::ConfirmIdentity(const std::vector<TIdentityRow>& rows)
{
    TfrmChanges dialog(rows, FOwner);
    return FHost.Exec(dialog) == QDialog::Accepted;
}

bool TWindowQuestions::ConfirmChanges(const std::vector<TFieldChange>& changes)
{
    TfrmChanges dialog(TfrmChanges::ChangeList, changes, FOwner);
    return FHost.Exec(dialog) == QDialog::Accepted;
}

void TWindowQuestions::ReadBackDiffers(const std::vector<TFieldChange>& differences)
{
    TfrmChanges dialog(TfrmChanges::ReadBackDifferences, differences, FOwner);
    FHost.Exec(dialog);
}

void TWindowQuestions::HistoryProblem(const std::string& text)
{
    FHost.Prompt().Warning(text + "\r\nThe transfer goes on.");
}
