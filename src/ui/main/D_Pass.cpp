#include "ui/main/D_Pass.h"

#include "ui/base/U_DialogKit.h"

#include <QLineEdit>
#include <QVBoxLayout>

TfrmPass::TfrmPass(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName("frmPass");
    setWindowTitle("Password");
    FEdit = new QLineEdit(this);
    FEdit->setObjectName("edtPass");
    FEdit->setEchoMode(QLineEdit::Password);
    connect(FEdit, &QLineEdit::returnPressed, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FEdit);
    AddOkCancelRow(*this, *layout);
    FixDesignedSize(*this, {262, 70});
}

void TfrmPass::done(int result)
{
    Text = FEdit->text();
    QDialog::done(result);
}
