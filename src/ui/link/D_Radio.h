#pragma once
#include "link/U_LinkView.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QProgressBar;
class QPushButton;
class TUiPrompt;

// The transfer window: progress of an upload or a download and the way to
// cancel it. The engine drives it through TLinkView; it lives for one
// transfer.
class TfrmRadio : public QDialog, public TLinkView {
    Q_OBJECT
public:
    // `mainWindow` is disabled while the transfer runs. Messages go to
    // `prompt`.
    TfrmRadio(QWidget* mainWindow, TUiPrompt& prompt, TLinkTiming timing = {});

    void TransferBegins(TDirection direction) override;
    void TransferEnds() override;
    void SetProgress(int position) override;
    bool Cancelled() const override { return FCancelled; }
    TLinkTrace* Trace() override { return FTrace; }
    void SetTrace(TLinkTrace* trace) { FTrace = trace; }
    int SilenceMs() const override { return FTiming.SilenceMs; }
    int RestartPauseMs() const override { return FTiming.RestartPauseMs; }
    void Breathe() override;

    void Error(const std::string& text) override;
    void Information(const std::string& text) override;

    TDirection Direction() const { return FDirection; }
    int Progress() const;
    // The close box and the system menu: the first request only cancels.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool CloseRequested();

    QPointer<QWidget> FMainWindow;
    TUiPrompt& FPrompt;
    TLinkTiming FTiming;
    TDirection FDirection = UploadDirection;
    bool FCancelled = false;
    bool FEnded = false;
    QLabel* FMsg[3] {};
    QProgressBar* FProgress;
    QPushButton* FCancel;
    TLinkTrace* FTrace = nullptr;
};
