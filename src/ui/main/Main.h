#pragma once
#include "files/U_OpenDocument.h"
#include "link/U_LinkGate.h"
#include "ui/main/U_ChEditGrid.h"
#include "model/U_Modes.h"
#include "codec/dc_Map54.h"
#include "model/dc_RKmem.h"

#include <QMainWindow>
#include <QStringList>

#include <array>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QTimer;
class QToolBar;
class THost;
class TIniData;
class TPrintCommands;
class TfrmRadio;
struct TTransferResult;

// The program's one main window. It owns the open document, its clone
// image, the settings and the working copy of the channels that the grid
// edits, and it is where every command enters.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* NoFile = TOpenDocument::NoFile;
    static constexpr int RecentCount = TOpenDocument::RecentCount;

    // `arguments` are the command-line arguments without the program name.
    TfrmMain(THost& host, const QStringList& arguments, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Shows the window as the settings left it (normal or maximised).
    void ShowAsStored();

    // Program-wide state, read and set by the commands and the dialogs.
    TOpenDocument& OpenDocument() { return *FDoc; }
    TRKmem& Document() { return FDoc->Document(); }
    TMap54& Codec() { return FDoc->Codec(); }
    TChannels& WorkChannels() { return FDoc->WorkChannels(); }
    TProgramMode ProgramMode() const { return FProgramMode; }
    int FccPhase() const { return FFccPhase; }
    int ComPort() const { return FComPort; }
    QString CurFold() const;
    QString CurrentFileName() const;
    QStringList RecentFiles() const;
    bool Modified() const { return FDoc->Modified(); }
    void SetModified(bool modified) { FDoc->SetModified(modified); }
    bool SaveEnabled() const { return FDoc->SaveEnabled(); }
    THost& Host() { return FHost; }
    TChEditGrid* Grid() const { return FGrid; }

    QString ProgramFolder() const { return FProgramFolder; }
    QString DefaultFileName() const;
    QString SettingsFileName() const;
    QString StartupFileName() const { return FStartupFile; }

    // The menu entry or tool button with this object name.
    QAction* Action(const QString& name) const;

    void Refresh();
    // Commits the grid into WorkChannels and the document (sets Modified
    // when they differ).
    void Commit();
    // Copies the document's channels into WorkChannels and refreshes.
    void ReloadChannels();
    // False when the command that asked must stop.
    bool AskToSave();

    // The service history folder: as File > Configure names it, else
    // "History" beside the settings file.
    QString HistoryFolder() const;
    bool SafeDownload() const { return FSafeDownload; }

    // Held while the port is in use; commands that open the port, change
    // the document or close the window do nothing while it is busy.
    TLinkGate& LinkGate() { return FLinkGate; }
    bool LinkBusy() const { return FLinkGate.Busy(); }

    // The transfer window while a transfer runs, else null.
    TfrmRadio* RadioWindow() const { return FRadio; }

public slots:
    void FileNew();
    void FileOpen();
    void FileSave();
    void FileSaveAs();
    void ExportChannels();
    void ImportChannels();
    void CompareWith();
    void FilePrint();
    void FilePrintPreview();
    void FilePrintSetup();
    void FileExportPdf();
    void OpenRecent(int index);  // 0..3
    void Configure();
    void RadioUpload();
    void RadioDownload();
    void ShowHistory();
    void ShowVisible();
    void ToggleItem(int item);   // 1..23
    void ShowAbout();
    void ShowFileData();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void BeginFileCommand();
    TTransferResult RunTransfer(bool upload);
    void ParseCommandLine(const QStringList& arguments);
    void AskPassword();
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreatePanels();
    void CreateStatusBar();
    void ApplyModeToMenus();
    void ReadSettings();
    void WriteSettings();
    void OpenStartupFile();
    void RebuildRecentMenu();
    // After a File command: the new document when it was replaced, else the
    // title and Save as the command left them.
    void ShowFileCommand(bool replaced);
    void RefreshPanels();
    void RefreshLockPanels();
    void ClockTick();
    void ShowHint(const QString& hint);
    bool CloseQuery();
    QAction* NewAction(const QString& name, const QString& text, const QString& hint);
    void ConnectEditCommands();

    THost& FHost;
    TLinkGate FLinkGate;
    std::unique_ptr<TFileChooser> FChooser;
    std::unique_ptr<TOpenDocument> FDoc;
    std::unique_ptr<TIniData> FSettings;
    std::unique_ptr<TPrintCommands> FPrint;
    TProgramMode FProgramMode = Normal;
    int FFccPhase = 0;
    int FComPort = 1;
    bool FStartMaximised = false;
    QString FProgramFolder;
    QString FStartupFile;
    QString FHintTool;
    bool FSafeDownload = true;
    QString FHistoryFolder;  // empty: the default
    QString FTraceFile;      // empty: no link trace
    TfrmRadio* FRadio = nullptr;  // tool button whose hint was shown last (enables F1)

    TChEditGrid* FGrid = nullptr;
    QToolBar* FToolBar = nullptr;
    QMenu* FFileMenu = nullptr;
    QAction* FRecentFileAction = nullptr;
    std::array<QAction*, RecentCount> FRecentActions {};
    std::array<QAction*, 23> FItemActions {};
    QLabel* FHintPanel = nullptr;
    QString FIdleHint;  // what the hint panel shows when there is no hint
    std::array<QLabel*, 3> FLockPanels {};
    QLabel* FClockPanel = nullptr;
    QTimer* FClock = nullptr;
    struct TInfoPanels {
        QLabel* SerialNo;
        QLabel* Band;
        QLabel* ProductType;
        QLabel* FwVersion;
        QLabel* ComPort;
        QLabel* Printer;
    } FInfo {};
};
