#include "ui/main/D_About.h"

#include "ui/base/U_DialogKit.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QStringList>
#include <QVBoxLayout>

#ifndef RK54_VERSION
#define RK54_VERSION ""
#endif

QString TfrmAbout::VersionText(const QString& fileVersion)
{
    const QStringList fields = fileVersion.split('.');
    bool ok = false;
    const int minor = fields.size() >= 2 ? fields[1].toInt(&ok) : 0;
    if (!ok || fields[0].isEmpty())
        return QString();
    return fields[0] + "." + QString::asprintf("%2.2d", minor);
}

TfrmAbout::TfrmAbout(const QString& programFolder, bool portable, QWidget* parent) : QDialog(parent)
{
    setObjectName("frmAbout");
    setWindowTitle("About");

    auto* lvlName = new QLabel("RK54 Ver " + VersionText(RK54_VERSION), this);
    lvlName->setObjectName("lvlName");
    QFont big = lvlName->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    lvlName->setFont(big);

    auto* lblModelNum = new QLabel("HPD-4400", this);
    lblModelNum->setObjectName("lblModelNum");
    lblModelNum->setFont(big);
    auto* lblProgramming = new QLabel("Programming  Software", this);
    auto* model = new QHBoxLayout;
    model->addWidget(lblModelNum);
    model->addWidget(lblProgramming);
    model->addStretch();

    auto* lblText = new QLabel(
        "Programming and alignment software for the HPD-4400 Series\n"
        "16-channel VHF/UHF repeaters.\n\n"
        "Use only with the programming interface cable of the repeater.",
        this);
    const QString where = portable ? "the program's own folder (portable copy)"
                                   : "the per-user data folder";
    auto* lblFolder = new QLabel("Settings file and default data file are kept in " + where + ":\n"
                                     + QDir::toNativeSeparators(programFolder),
                                 this);
    lblFolder->setObjectName("lblFolder");
    lblFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lvlName);
    layout->addLayout(model);
    layout->addSpacing(8);
    layout->addWidget(lblText);
    layout->addWidget(lblFolder);
    AddOkCancelRow(*this, *layout, false);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
