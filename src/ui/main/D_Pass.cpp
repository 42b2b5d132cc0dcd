#include "ui/main/D_Pass.h"

#include "ui/base/U_DialogKit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QVBoxLayout>

namespace {

// The edit masks with '*', whatever mask character the style would use.
class TStarMask : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

TfrmPass::TfrmPass(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName("frmPass");
    setWindowTitle("Password");
    FEdit = new QLineEdit(this);
    FEdit->setObjectName("edtPass");
    auto* mask = new TStarMask;
    mask->setParent(FEdit);
    FEdit->setStyle(mask);
    FEdit->setEchoMode(QLineEdit::Password);
    connect(FEdit, &QLineEdit::returnPressed, this, &QDialog::accept);
    auto* prompt = new QLabel(Prompt, this);
    prompt->setObjectName("lblPass");
    prompt->setBuddy(FEdit);
    auto* row = new QHBoxLayout;
    row->addWidget(prompt);
    row->addWidget(FEdit, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    AddOkCancelRow(*this, *layout);
    FixDesignedSize(*this, {262, 70});
}

void TfrmPass::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Asked before the main window is shown: the screen is its place.
    CentreOver(*this, nullptr);
}

void TfrmPass::done(int result)
{
    Text = FEdit->text();
    QDialog::done(result);
}
