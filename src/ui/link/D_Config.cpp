#include "ui/link/D_Config.h"

#include "link/U_Clone.h"
#include "ui/base/U_DialogKit.h"
#include "ui/base/U_Host.h"
#include "link/U_Ports.h"
#include "link/dc_RsDrv.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
// "COM5   (LDA-30)" names the port COM5.
QString PortNameOf(const QString& entry) { return entry.section(' ', 0, 0); }
}

TfrmConfig::TfrmConfig(int comPort, const TPortHost& host, TUiPrompt& prompt, QWidget* parent)
    : QDialog(parent), FComPort(comPort), FHost(host), FPrompt(prompt)
{
    setObjectName("frmConfig");
    setWindowTitle("Configuration");
    auto* lblSelect = new QLabel("Select COM Port", this);
    auto* lblCom = new QLabel("&COM Port", this);
    lblCom->setFrameShape(QFrame::Panel);
    lblCom->setFrameShadow(QFrame::Raised);
    FCombo = new QComboBox(this);
    FCombo->setObjectName("cmbCom");
    FCombo->setMinimumWidth(160);
    lblCom->setBuddy(FCombo);

    auto* row = new QHBoxLayout;
    row->addWidget(lblCom);
    row->addWidget(FCombo, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSelect);
    layout->addLayout(row);
    AddOkCancelRow(*this, *layout);
    AddHelpKey(*this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    FillPorts();
}

void TfrmConfig::FillPorts()
{
    QStringList ports;
    EnumerateComPorts(ports, FHost);
    FCombo->clear();
    FCombo->addItems(ports);
    // The whole port name must match: port 1 does not pick COM10.
    const QString wanted = QString::asprintf("%s%d", "COM", FComPort);
    int selected = ports.isEmpty() ? -1 : 0;
    for (int k = 0; k < ports.size(); ++k) {
        if (PortNameOf(ports[k]).compare(wanted, Qt::CaseInsensitive) == 0) {
            selected = k;
            break;
        }
    }
    FCombo->setCurrentIndex(selected);
}

void TfrmConfig::accept()
{
    if (FCombo->currentIndex() < 0) {
        FPrompt.Error(CloneMessages::PortProblem);
        QDialog::accept();
        return;
    }
    const int number = TPortHost::PortNumber(PortNameOf(FCombo->currentText()));
    if (number > 0)
        FComPort = number;
    TCRsDrv driver(FHost);
    if (driver.Open(QString::asprintf("%s%d", "COM", FComPort)) != RsOk)
        FPrompt.Error(CloneMessages::PortProblem);
    driver.Close();
    QDialog::accept();
}
