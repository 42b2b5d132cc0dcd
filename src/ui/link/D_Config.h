#pragma once
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class TPortHost;
class TUiPrompt;

// The link's own settings beside the port.
struct TLinkSettings {
    bool SafeDownload = true;  // read before writing, read back after
    QString HistoryFolder;     // empty: the default beside the settings file
    QString TraceFile;         // empty: no link trace
};

// Chooses the COM port of the programming cable, and tries it once on OK.
class TfrmConfig : public QDialog {
    Q_OBJECT
public:
    TfrmConfig(int comPort, const TPortHost& host, TUiPrompt& prompt, QWidget* parent = nullptr);
    int ComPort() const { return FComPort; }
    // `defaultTrace` is offered when the trace is switched on without a file.
    void SetLinkSettings(const TLinkSettings& settings, const QString& defaultHistory, const QString& defaultTrace);
    TLinkSettings LinkSettings() const;
    void accept() override;

private:
    void FillPorts();

    int FComPort;
    const TPortHost& FHost;
    TUiPrompt& FPrompt;
    QComboBox* FCombo;
    QCheckBox* FSafe;
    QLineEdit* FHistory;
    QCheckBox* FTrace;
    QLineEdit* FTraceFile;
    QString FDefaultTrace;
};
