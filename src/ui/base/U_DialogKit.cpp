#include "ui/base/U_DialogKit.h"

#include "ui/base/U_Help.h"

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

#include <algorithm>

void AddOkCancelRow(QDialog& dialog, QBoxLayout& layout, bool withCancel)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    auto* btnOK = new QPushButton("OK", &dialog);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    QObject::connect(btnOK, &QPushButton::clicked, &dialog, &QDialog::accept);
    row->addWidget(btnOK);
    if (withCancel) {
        auto* btnCancel = new QPushButton("Cancel", &dialog);
        btnCancel->setObjectName("btnCancel");
        QObject::connect(btnCancel, &QPushButton::clicked, &dialog, &QDialog::reject);
        row->addWidget(btnCancel);
    }
    layout.addLayout(row);
}

void FixDesignedSize(QWidget& widget, const QSize& designed)
{
    widget.setFixedSize(designed.expandedTo(widget.minimumSizeHint()));
}

void AddHelpKey(QDialog& dialog)
{
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), &dialog);
    QObject::connect(key, &QShortcut::activated, &dialog, [] { OpenHelp(THelpAction::Contents); });
}

void CentreOver(QWidget& window, const QWidget* over)
{
    const bool overShown = over && over->isVisible();
    const QScreen* screen = overShown ? over->screen() : window.screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QPoint centre = overShown ? over->frameGeometry().center() : area.center();
    QRect frame = window.frameGeometry();
    frame.moveCenter(centre);
    frame.moveRight(std::min(frame.right(), area.right()));
    frame.moveBottom(std::min(frame.bottom(), area.bottom()));
    frame.moveLeft(std::max(frame.left(), area.left()));
    frame.moveTop(std::max(frame.top(), area.top()));
    window.move(frame.topLeft());
}
