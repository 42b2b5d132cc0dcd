#pragma once
#include <QDialog>

class QComboBox;
class TPortHost;
class TUiPrompt;

// Chooses the COM port of the programming cable, and tries it once on OK.
class TfrmConfig : public QDialog {
    Q_OBJECT
public:
    TfrmConfig(int comPort, const TPortHost& host, TUiPrompt& prompt, QWidget* parent = nullptr);
    int ComPort() const { return FComPort; }
    void accept() override;

private:
    void FillPorts();

    int FComPort;
    const TPortHost& FHost;
    TUiPrompt& FPrompt;
    QComboBox* FCombo;
};
