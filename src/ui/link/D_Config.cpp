#include "ui/link/D_Config.h"

#include "link/U_Clone.h"
#include "ui/base/U_DialogKit.h"
#include "ui/base/U_Host.h"
#include "link/U_Ports.h"
#include "link/dc_RsDrv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
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

    // Beyond the port: how a download guards the unit, where the history
    // lives, and whether the line is traced.
    FSafe = new QCheckBox("&Safe download: read the radio first, verify after writing", this);
    FSafe->setObjectName("chkSafe");
    FSafe->setChecked(true);
    auto* lblHistory = new QLabel("&History folder", this);
    FHistory = new QLineEdit(this);
    FHistory->setObjectName("edtHistory");
    FHistory->setMinimumWidth(260);
    lblHistory->setBuddy(FHistory);
    FTrace = new QCheckBox("&Trace the link to", this);
    FTrace->setObjectName("chkTrace");
    FTraceFile = new QLineEdit(this);
    FTraceFile->setObjectName("edtTrace");
    FTraceFile->setEnabled(false);
    connect(FTrace, &QCheckBox::toggled, this, [this](bool on) {
        FTraceFile->setEnabled(on);
        if (on && FTraceFile->text().trimmed().isEmpty())
            FTraceFile->setText(FDefaultTrace);
    });
    auto* grid = new QGridLayout;
    grid->addWidget(FSafe, 0, 0, 1, 2);
    grid->addWidget(lblHistory, 1, 0);
    grid->addWidget(FHistory, 1, 1);
    grid->addWidget(FTrace, 2, 0);
    grid->addWidget(FTraceFile, 2, 1);
    layout->addLayout(grid);
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

void TfrmConfig::SetLinkSettings(const TLinkSettings& settings, const QString& defaultHistory, const QString& defaultTrace)
{
    FSafe->setChecked(settings.SafeDownload);
    FHistory->setPlaceholderText(defaultHistory);
    FHistory->setText(settings.HistoryFolder);
    FDefaultTrace = defaultTrace;
    FTraceFile->setText(settings.TraceFile);
    FTrace->setChecked(!settings.TraceFile.isEmpty());
}

TLinkSettings TfrmConfig::LinkSettings() const
{
    TLinkSettings settings;
    settings.SafeDownload = FSafe->isChecked();
    settings.HistoryFolder = FHistory->text().trimmed();
    settings.TraceFile = FTrace->isChecked() ? FTraceFile->text().trimmed() : QString();
    return settings;
}
