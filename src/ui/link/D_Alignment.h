#pragma once
#include "ui/dialogs/D_ParamDialog.h"
#include "link/U_LinkView.h"
#include "link/U_RadioAlig.h"
#include "codec/dc_Map54.h"

#include <QString>

#include <memory>

class QAbstractButton;
class THost;
class QLineEdit;
class TCRsDrv;

// The alignment window: the tuning values of one alignment point, edited
// with the dialog pattern and sent to the repeater live whenever a receiver
// or transmitter toggle is switched on. It owns the alignment link from its
// opening to its closing and is the link's view (messages go to `prompt`).
class TfrmAlignment : public TParamDialog, public TLinkView {
    Q_OBJECT
public:
    // The modal result when the link could not be started.
    static constexpr int Abort = 3;

    TfrmAlignment(int point, TRKmem& doc, TMap54& image, TPrompt& prompt,
                  TLinkTiming timing = {}, QWidget* parent = nullptr);
    ~TfrmAlignment() override;

    // Opens the link on `port` and, when the repeater went into alignment
    // mode, runs the window; else Abort and the window never shows.
    int ShowModal(const QString& port);
    // The first half of that: opens the port and puts the repeater into
    // alignment mode. False when it failed (the person has been told).
    bool OpenLink(const QString& port);

    int Point() const { return FPoint; }
    // An exchange with the repeater runs: nothing may close the window.
    bool Busy() const { return FBusy; }

    // The link's view.
    void Error(const std::string& text) override { Prompt.Error(text); }
    void Information(const std::string& text) override { Prompt.Information(text); }
    int SilenceMs() const override { return FTiming.SilenceMs; }
    int RestartPauseMs() const override { return FTiming.RestartPauseMs; }

    // Every way of closing ends here; it runs the link's closing sequence.
    void done(int result) override;

protected:
    void Loaded() override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TPair {
        QAbstractButton* On;
        QAbstractButton* Off;
        int OnKind;
    };

    void ApplyRules();
    void SetField(const char* name, bool enabled);
    void Toggled(const TPair& pair, QAbstractButton* clicked);
    bool Send(int kind);
    void RequestStatus();
    void PickTone(QLineEdit* field);
    TAlignSettings Settings() const;
    // Runs an exchange with the window disabled and closing refused.
    template <class TExchange>
    auto Exchange(TExchange exchange);

    const int FPoint;
    TMap54& FImage;
    const TMap54 FSavedImage;
    const TLinkTiming FTiming;
    std::unique_ptr<TCRsDrv> FDriver;
    bool FBusy = false;
    bool FClosing = false;
    std::vector<TPair> FPairs;
    QLineEdit* FStatus[3] {};
};

// Common > Alignment > Lowest .. Highest: runs the window for `point` with
// `mainWindow` disabled and the host's message boxes owned by the window.
// True when it closed with OK; `modified` is set when OK changed a value of
// the document.
bool OpenAlignment(int point, const QString& port, TRKmem& doc, TMap54& image, THost& host,
                   QWidget* mainWindow, bool& modified);
