#include "ui/main/Main.h"
#include "ui/base/U_QtText.h"

#include "ui/main/D_About.h"
#include "ui/link/D_Changes.h"
#include "ui/dialogs/D_AlphaTag.h"
#include "ui/dialogs/D_Ani.h"
#include "ui/dialogs/D_CWID.h"
#include "ui/dialogs/D_Eni.h"
#include "ui/dialogs/D_Hardware.h"
#include "ui/dialogs/D_Market.h"
#include "ui/dialogs/D_RadioStatus.h"
#include "ui/dialogs/D_RxAdjust.h"
#include "ui/dialogs/D_Signal.h"
#include "ui/dialogs/D_Timer.h"
#include "ui/dialogs/D_ToneTbl.h"
#include "ui/dialogs/D_TxAdjust.h"
#include "ui/dialogs/D_TxPower.h"
#include "ui/main/D_Pass.h"
#include "ui/main/D_Visible.h"
#include "ui/main/U_ChEditGrid.h"
#include "ui/main/U_ToolIcons.h"
#include "files/U_FileAccess.h"
#include "ui/base/U_Help.h"
#include "ui/base/U_Host.h"
#include "ui/link/D_Alignment.h"
#include "ui/link/D_Changes.h"
#include "ui/link/D_Config.h"
#include "ui/link/D_History.h"
#include "ui/main/D_FData.h"
#include "ui/link/D_Radio.h"
#include "link/U_Checks.h"
#include "link/U_Clone.h"
#include "link/U_LinkTrace.h"
#include "link/U_SafeDownload.h"
#include "files/U_History.h"
#include "link/U_Ports.h"
#include "model/U_ChannelTable.h"
#include "print/U_PrintCommands.h"
#include "model/U_Values.h"
#include "files/dc_Ini.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTime>
#include <QTimer>

#include <fstream>
#include <iterator>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const char* const TitleSuffix = " - RK54Win for HPD-4400 Series";
const char* const IdleHint = "F1 for Help   F10 for Menus";
const char* const UnreadableSettingsHint = "RK54Win.ini cannot be read: default settings in use";
const char* const Blank = " ";


const QString CsvFilter = "CSV Files (*.csv *.CSV *.txt)";

QString WithSeparator(const QString& folder)
{
    return folder.endsWith('/') ? folder : folder + '/';
}

QString FolderOf(const QString& path) { return WithSeparator(QFileInfo(path).absolutePath()); }

// The window's file dialogs, opened over the window.
class TWindowChooser : public TFileChooser {
public:
    TWindowChooser(THost& host, QWidget* owner) : FHost(host), FOwner(owner) {}
    std::string OpenName(const std::string& folder, const std::string& filter) override
    {
        return PathBytes(FHost.OpenFileName(FOwner, PathText(folder), Qs(filter)));
    }
    std::string SaveName(const std::string& folder, const std::string& filter,
                         const std::string& defaultSuffix) override
    {
        return PathBytes(FHost.SaveFileName(FOwner, PathText(folder), Qs(filter), Qs(defaultSuffix)));
    }

private:
    THost& FHost;
    QWidget* FOwner;
};

QLabel* SunkenPanel(const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(80);
    return label;
}

} // namespace

TfrmMain::TfrmMain(THost& host, const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent), FHost(host)
{
    setObjectName("frmMain");
    FHost.SetOwner(this);
    FProgramFolder = FHost.ProgramFolder();
    FChooser = std::make_unique<TWindowChooser>(FHost, this);
    FDoc = std::make_unique<TOpenDocument>(PathBytes(FProgramFolder), FHost.Prompt(), *FChooser);
    ParseCommandLine(arguments);
    if (FProgramMode == Manufacture)
        AskPassword();

    FPrint = std::make_unique<TPrintCommands>(this, FHost);
    CreateActions();
    CreateMenus();
    ApplyModeToMenus();
    FFccPhase = FccPhaseOf(S(FHost.Today().toString("yyyyMMdd")));
    SetHelpSet(FProgramMode == Normal ? THelpSet::Normal : THelpSet::Service);
    CreateToolBar();
    CreatePanels();
    CreateStatusBar();
    ShowHint(QString());

    FClock = new QTimer(this);
    FClock->setInterval(1000);
    connect(FClock, &QTimer::timeout, this, &TfrmMain::ClockTick);
    ClockTick();
    qApp->installEventFilter(this);

    ReadSettings();
    FDoc->OpenStartupFile(PathBytes(FStartupFile));
    Refresh();
    FGrid->LayoutColumns();
}

TfrmMain::~TfrmMain()
{
    qApp->removeEventFilter(this);
}

void TfrmMain::ParseCommandLine(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return;
    const QString first = arguments.first().toUpper();
    if (first == "-D" || first == "/D")
        FProgramMode = Extended;
    else if (first == "-M" || first == "/M")
        FProgramMode = Manufacture;
    else if (first.contains(TOpenDocument::FileType))
        FStartupFile = arguments.first();
}

void TfrmMain::AskPassword()
{
    TfrmPass pass(this);
    const bool ok = FHost.Exec(pass) == QDialog::Accepted;
    if (!ok || !IsManufacturePassword(S(pass.Text)))
        FProgramMode = Normal;
}

QAction* TfrmMain::NewAction(const QString& name, const QString& text, const QString& hint)
{
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setStatusTip(hint);
    return action;
}

QAction* TfrmMain::Action(const QString& name) const
{
    return findChild<QAction*>(name);
}

void TfrmMain::CreateActions()
{
    struct TDef {
        const char* Name;
        const char* Text;
        const char* Hint;
        QKeySequence Key;
        void (TfrmMain::*Slot)();
    };
    const TDef defs[] = {
        {"miNew", "&New", "Create a new document", QKeySequence("Ctrl+N"), &TfrmMain::FileNew},
        {"miOpen", "&Open", "Open an existing document", QKeySequence("Ctrl+O"), &TfrmMain::FileOpen},
        {"miSave", "&Save", "Save the active document", QKeySequence("Ctrl+S"), &TfrmMain::FileSave},
        {"miSaveAs", "Save &As", "Save the active document with a new name", {}, &TfrmMain::FileSaveAs},
        {"miExportChannels", "Expor&t Channels...", "Write the 16 channels to a CSV file", {},
         &TfrmMain::ExportChannels},
        {"miImportChannels", "I&mport Channels...", "Take the channels from a CSV file", {},
         &TfrmMain::ImportChannels},
        {"miCompare", "Compare &With...", "List the fields in which another data file differs", {},
         &TfrmMain::CompareWith},
        {"miPrint", "&Print", "Print the active document", QKeySequence("Ctrl+P"), &TfrmMain::FilePrint},
        {"miPrintPreview", "Print Pre&view", "Display full pages", {}, &TfrmMain::FilePrintPreview},
        {"miPrintSetup", "P&rint Setup", "Change the printer and printing options", {}, &TfrmMain::FilePrintSetup},
        {"miExportPdf", "&Export Report as PDF\u2026", "Save the report of the active document as a PDF file", {},
         &TfrmMain::FileExportPdf},
        {"miConfigure", "&Configure", "Configure RK54", {}, &TfrmMain::Configure},
        {"miExit", "E&xit", "Quit the application; prompts to save documents", {}, nullptr},
        {"miUndo", "&Undo", "Undo the last action", QKeySequence("Ctrl+Z"), nullptr},
        {"miRedo", "&Redo", "Redo the previously undone action", QKeySequence("Ctrl+Y"), nullptr},
        {"miCopy", "&Copy", "Copy the selection and put it on the Clipboard", QKeySequence("Ctrl+C"), nullptr},
        {"miPaste", "&Paste", "Insert Clipboard contents", QKeySequence("Ctrl+V"), nullptr},
        {"miToolbar", "&Toolbar", "Show or hide the toolbar", {}, nullptr},
        {"miStatusBar", "&Status Bar", "Show or hide the status bar", {}, nullptr},
        {"miVisible", "&Visible", Blank, {}, &TfrmMain::ShowVisible},
        {"miHardware", "&Hardware", Blank, {}, nullptr},
        {"miRadioStatus", "&Radio status", Blank, {}, nullptr},
        {"miTimer", "&Timer", Blank, {}, nullptr},
        {"miCWID", "&CW ID", Blank, {}, nullptr},
        {"miMarketing", "&Marketing", Blank, {}, nullptr},
        {"miRxAdjust", "Rx &Adjustment", Blank, {}, nullptr},
        {"miTxAdjust", "T&x Adjustment", Blank, {}, nullptr},
        {"miAlignLowest", "Lowest", Blank, {}, nullptr},
        {"miAlignLow", "Low", Blank, {}, nullptr},
        {"miAlignHigh", "High", Blank, {}, nullptr},
        {"miAlignHighest", "Highest", Blank, {}, nullptr},
        {"miTxPower", "Tx &Power Adjust", Blank, {}, nullptr},
        {"miAlphaTag", "Alpha Ta&g", Blank, {}, nullptr},
        {"miSignal", "&Signalling Type", Blank, {}, nullptr},
        {"miAni", "&ANI Setting", Blank, {}, nullptr},
        {"miEni", "&ENI Setting", Blank, {}, nullptr},
        {"miToneTbl", "5&Tone Table", Blank, {}, nullptr},
        {"miUpload", "&Upload", "Read data from radio", {}, &TfrmMain::RadioUpload},
        {"miDownload", "&Download", "Program radio with data", {}, &TfrmMain::RadioDownload},
        {"miHistory", "&History...", "Images read from and written to the radios", {}, &TfrmMain::ShowHistory},
        {"miHelpTopics", "&Help Topics", "List Help topics", {}, nullptr},
        {"miGetStarted", "&Get Started", "Overview features and options on RK54", {}, nullptr},
        {"miCommonProblems", "Common Problems", "Most common problems in programming HPD-4400 Series radio", {}, nullptr},
        {"miAbout", "&About RK54...", "Information on RK54", {}, &TfrmMain::ShowAbout},
    };
    for (const TDef& def : defs) {
        QAction* action = NewAction(def.Name, def.Text, def.Hint);
        if (!def.Key.isEmpty())
            action->setShortcut(def.Key);
        if (def.Slot)
            connect(action, &QAction::triggered, this, def.Slot);
        else
            action->setEnabled(false);  // wired by the windows that own these commands
    }
    // Every menu command commits the grid first; Copy, Paste and the two
    // view toggles do not touch the document.
    Action("miExit")->setEnabled(true);
    connect(Action("miExit"), &QAction::triggered, this, &QWidget::close);
    for (const char* name : {"miToolbar", "miStatusBar"}) {
        QAction* action = Action(name);
        action->setEnabled(true);
        action->setCheckable(true);
        action->setChecked(true);
    }
    for (const char* name : {"miHelpTopics", "miGetStarted", "miCommonProblems"})
        Action(name)->setEnabled(true);

    // The parameter dialogs. Each edits the document directly; what it
    // changed in the channels (the band's frequencies, the CW ID and ANI/ENI
    // flags) comes back into the grid by reloading WorkChannels afterwards.
    using TExecute = bool (*)(QWidget*, TRKmem&, TProgramMode, TPrompt&, bool&);
    const std::pair<const char*, TExecute> commonDialogs[] = {
        {"miHardware", &TfrmHardware::Execute},
        {"miRadioStatus", &TfrmRadioStatus::Execute},
        {"miTimer", &TfrmTimer::Execute},
        {"miCWID", &TfrmCWID::Execute},
        {"miMarketing", &TfrmMarket::Execute},
        {"miRxAdjust", &TfrmRxAdjust::Execute},
        {"miTxAdjust", &TfrmTxAdjust::Execute},
        {"miTxPower", &TfrmTxPower::Execute},
        {"miAlphaTag", &TfrmAlphaTag::Execute},
        {"miSignal", &TfrmSignal::Execute},
        {"miAni", &TfrmAni::Execute},
        {"miEni", &TfrmEni::Execute},
        {"miToneTbl", &TfrmToneTbl::Execute},
    };
    for (const auto& [name, execute] : commonDialogs) {
        Action(name)->setEnabled(true);
        connect(Action(name), &QAction::triggered, this, [this, execute = execute] {
            if (LinkBusy())
                return;
            Commit();
            FGrid->BeginGesture();
            bool modified = FDoc->Modified();
            execute(this, Document(), FProgramMode, FHost.Prompt(), modified);
            FDoc->SetModified(modified);
            FDoc->ReloadWork();
            Refresh();
            FGrid->EndChange();  // OK is one step of Edit > Undo, like a grid gesture
        });
    }
    // Common > Alignment: the live alignment of one point, Manufacture mode only.
    const char* const alignPoints[AlignPointCount] = {"miAlignLowest", "miAlignLow", "miAlignHigh",
                                                      "miAlignHighest"};
    for (int point = 0; point < AlignPointCount; ++point) {
        Action(alignPoints[point])->setEnabled(true);
        connect(Action(alignPoints[point]), &QAction::triggered, this, [this, point] {
            if (LinkBusy())
                return;
            Commit();
            bool modified = FDoc->Modified();
            {
                const TLinkGate::THold hold(FLinkGate);
                OpenAlignment(point, PortDevice(), Document(), Codec(), FHost, this, modified);
            }
            FDoc->SetModified(modified);
            Refresh();
        });
    }
    TParamDialog::HelpContents = [](QWidget*) { OpenHelp(THelpAction::Contents); };
    const auto helpCommand = [this](const char* name, THelpAction help) {
        connect(Action(name), &QAction::triggered, this, [this, help] {
            Commit();
            OpenHelp(help);
        });
    };
    helpCommand("miHelpTopics", THelpAction::DefaultTopic);
    helpCommand("miGetStarted", THelpAction::Contents);
    helpCommand("miCommonProblems", THelpAction::Index);
    Action("miCommonProblems")->setVisible(false);

    for (int k = 0; k < RecentCount; ++k) {
        QAction* action = NewAction(QString("miFile%1").arg(k + 1), QString("&%1:File").arg(k + 1),
                                    "Open this document");
        connect(action, &QAction::triggered, this, [this, k] { OpenRecent(k); });
        FRecentActions[k] = action;
    }
    FRecentFileAction = NewAction("miRecentFile", "Recent File", Blank);
    FRecentFileAction->setEnabled(false);
    for (int item = 1; item <= TChGrid::ItemCount; ++item) {
        QAction* action = NewAction(QString("miItem%1").arg(item), TChGrid::ItemTable[item - 1].Name, Blank);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, item] { ToggleItem(item); });
        FItemActions[item - 1] = action;
    }
}

void TfrmMain::CreateMenus()
{
    const auto menu = [this](const char* name, const QString& title) {
        QMenu* m = menuBar()->addMenu(title);
        m->setObjectName(name);
        m->menuAction()->setStatusTip(Blank);
        return m;
    };
    const auto add = [this](QMenu* m, std::initializer_list<const char*> names) {
        for (const char* name : names) {
            if (name)
                m->addAction(Action(name));
            else
                m->addSeparator();
        }
    };
    FFileMenu = menu("mnuFile", "&File");
    add(FFileMenu, {"miNew", "miOpen", "miSave", "miSaveAs", nullptr, "miImportChannels", "miExportChannels",
                    "miCompare", nullptr, "miPrint", "miPrintPreview", "miPrintSetup", "miExportPdf", nullptr, "miConfigure",
                    nullptr});
    FFileMenu->addAction(FRecentFileAction);
    for (QAction* action : FRecentActions)
        FFileMenu->addAction(action);
    add(FFileMenu, {nullptr, "miExit"});

    add(menu("mnuEdit", "&Edit"), {"miUndo", "miRedo", nullptr, "miCopy", "miPaste"});

    QMenu* view = menu("mnuView", "&View");
    add(view, {"miToolbar", "miStatusBar"});
    QMenu* items = view->addMenu("&Items");
    items->setObjectName("mnuItems");
    items->menuAction()->setStatusTip(Blank);
    add(items, {"miVisible", nullptr});
    for (QAction* action : FItemActions)
        items->addAction(action);

    QMenu* common = menu("mnuCommon", "&Common");
    add(common, {"miHardware", "miRadioStatus", "miTimer", "miCWID", "miMarketing", "miRxAdjust",
                 "miTxAdjust"});
    QMenu* alignment = common->addMenu("A&lignment");
    alignment->setObjectName("miAlignment");
    alignment->menuAction()->setStatusTip(Blank);
    add(alignment, {"miAlignLowest", "miAlignLow", "miAlignHigh", "miAlignHighest"});
    add(common, {"miTxPower", "miAlphaTag"});

    add(menu("mnuSignalling", "&Signalling"), {"miSignal", "miAni", "miEni", "miToneTbl"});
    add(menu("mnuRadio", "&Radio"), {"miUpload", "miDownload", nullptr, "miHistory"});
    add(menu("mnuHelp", "&Help"), {"miHelpTopics", "miGetStarted", "miCommonProblems", nullptr, "miAbout"});

    // The menu bar's own separators carry a blank hint as well.
    for (QAction* action : findChildren<QAction*>())
        if (action->isSeparator())
            action->setStatusTip(Blank);
}

void TfrmMain::ApplyModeToMenus()
{
    findChild<QMenu*>("miAlignment")->menuAction()->setVisible(FProgramMode == Manufacture);
    for (const char* name : {"miRxAdjust", "miTxAdjust", "miTxPower"})
        Action(name)->setVisible(FProgramMode != Normal);
}

void TfrmMain::CreateToolBar()
{
    FToolBar = addToolBar("Toolbar");
    FToolBar->setObjectName("ToolBar1");
    FToolBar->setFloatable(true);
    FToolBar->setMovable(true);
    FToolBar->setIconSize(QSize(16, 16));
    struct TDef {
        const char* Tool;
        const char* Menu;
        const char* Picture;
    };
    const TDef defs[] = {
        {"toolNew", "miNew", "New"}, {"toolOpen", "miOpen", "Open"}, {nullptr, nullptr, nullptr},
        {"toolSave", "miSave", "Save"}, {nullptr, nullptr, nullptr},
        {"toolCopy", "miCopy", "Copy"}, {"toolPaste", "miPaste", "Paste"}, {nullptr, nullptr, nullptr},
        {"toolPrint", "miPrint", "Print"}, {nullptr, nullptr, nullptr},
        {"toolUpload", "miUpload", "Upload"}, {"toolDownload", "miDownload", "Download"},
        {nullptr, nullptr, nullptr}, {"toolHelp", "miHelpTopics", "Help"},
    };
    for (const TDef& def : defs) {
        if (!def.Tool) {
            FToolBar->addSeparator();
            continue;
        }
        QAction* action = Action(def.Menu);
        action->setIcon(ToolIcon(def.Picture));
        FToolBar->addAction(action);
        if (QWidget* button = FToolBar->widgetForAction(action))
            button->setObjectName(def.Tool);
    }
    connect(Action("miToolbar"), &QAction::toggled, FToolBar, &QToolBar::setVisible);
    // Hiding the bar any other way (its floating window closed) unchecks the entry.
    connect(FToolBar, &QToolBar::visibilityChanged, this, [this](bool visible) {
        if (!isMinimized() && isVisible())
            Action("miToolbar")->setChecked(visible);
    });
}

void TfrmMain::CreatePanels()
{
    auto* central = new QWidget(this);
    auto* pnlSysType = new QWidget(central);
    pnlSysType->setObjectName("pnlSysType");
    auto* sys = new QHBoxLayout(pnlSysType);
    sys->setContentsMargins(4, 2, 4, 2);
    const auto subPanel = [&](std::initializer_list<std::pair<const char*, QLabel**>> rows) {
        auto* box = new QWidget(pnlSysType);
        auto* grid = new QGridLayout(box);
        grid->setContentsMargins(2, 2, 2, 2);
        int r = 0;
        for (const auto& [caption, target] : rows) {
            grid->addWidget(new QLabel(caption, box), r, 0);
            *target = SunkenPanel(QString("lbl") + QString(caption).remove(' '), box);
            grid->addWidget(*target, r, 1);
            ++r;
        }
        grid->setColumnStretch(1, 1);
        sys->addWidget(box, 1);  // three equal thirds
    };
    subPanel({{"Serial No", &FInfo.SerialNo}, {"Band", &FInfo.Band}});
    subPanel({{"Product Type", &FInfo.ProductType}, {"FW Version", &FInfo.FwVersion}});
    subPanel({{"COM Port", &FInfo.ComPort}, {"Printer", &FInfo.Printer}});
    FInfo.ProductType->setText("HP-XXXX");

    FGrid = new TChEditGrid(central);
    FGrid->SetSource(&WorkChannels(), nullptr);
    ConnectEditCommands();
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pnlSysType);
    layout->addWidget(FGrid, 1);
    setCentralWidget(central);
}

void TfrmMain::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar1");
    bar->setSizeGripEnabled(false);
    FIdleHint = IdleHint;
    FHintPanel = new QLabel(bar);
    FHintPanel->setObjectName("pnlHint");
    bar->addWidget(FHintPanel, 1);
    const char* lockNames[] = {"pnlCaps", "pnlNum", "pnlScrl"};
    const int lockWidths[] = {30, 30, 35};
    for (int k = 0; k < 3; ++k) {
        QLabel* panel = SunkenPanel(lockNames[k], bar);
        panel->setMinimumWidth(lockWidths[k]);
        panel->setAlignment(Qt::AlignCenter);
        bar->addPermanentWidget(panel);
        FLockPanels[k] = panel;
    }
    FClockPanel = SunkenPanel("pnlClock", bar);
    FClockPanel->setMinimumWidth(60);
    bar->addPermanentWidget(FClockPanel);
    connect(Action("miStatusBar"), &QAction::toggled, bar, &QStatusBar::setVisible);
}

void TfrmMain::ShowHint(const QString& hint)
{
    FHintPanel->setText(hint.isEmpty() ? FIdleHint : hint);
    FHintTool.clear();
    if (!hint.isEmpty()) {
        for (const char* name : {"miNew", "miOpen", "miSave", "miCopy", "miPaste", "miPrint",
                                 "miUpload", "miDownload", "miHelpTopics"}) {
            if (Action(name)->statusTip() == hint) {
                FHintTool = QString(name).replace("mi", "tool");
                break;
            }
        }
    }
    RefreshLockPanels();
}

void TfrmMain::RefreshLockPanels()
{
    const TLockKeys keys = FHost.LockKeys();
    FLockPanels[0]->setText(keys.Caps ? "CAP" : "");
    FLockPanels[1]->setText(keys.Num ? "NUM" : "");
    FLockPanels[2]->setText(keys.Scroll ? "SCRL" : "");
}

void TfrmMain::ClockTick()
{
    FClock->stop();
    FClockPanel->setText(QTime::currentTime().toString("HH:mm"));
    RefreshLockPanels();
    FClock->start();
}

bool TfrmMain::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool ours = widget && (widget->window() == this || qobject_cast<QMenu*>(widget));
    if (!ours)
        return QMainWindow::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    switch (key->key()) {
    case Qt::Key_F1:
        if (mods == Qt::NoModifier && !FHintTool.isEmpty()) {
            OpenHelp(THelpAction::DefaultTopic);
            return true;
        }
        break;
    case Qt::Key_F2:
        if (mods == Qt::NoModifier) {
            FGrid->CommitEditor();
            FGrid->Store();
            return true;
        }
        break;
    case Qt::Key_F9:
        if (mods == Qt::ShiftModifier) {
            ShowFileData();
            return true;
        }
        break;
    case Qt::Key_F10:
        if (mods == Qt::NoModifier && !qobject_cast<QMenu*>(widget)) {
            menuBar()->setActiveAction(FFileMenu->menuAction());
            return true;
        }
        break;
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
        QTimer::singleShot(0, this, [this] { RefreshLockPanels(); });
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

QString TfrmMain::DefaultFileName() const { return PathText(FDoc->DefaultFileName()); }

QString TfrmMain::SettingsFileName() const { return PathText(FDoc->SettingsFileName()); }

QString TfrmMain::CurFold() const { return PathText(FDoc->CurFold()); }

QString TfrmMain::CurrentFileName() const { return PathText(FDoc->CurrentFileName()); }

QStringList TfrmMain::RecentFiles() const
{
    QStringList files;
    for (const std::string& file : FDoc->RecentFiles())
        files << PathText(file);
    return files;
}

void TfrmMain::ReadSettings()
{
    FSettings = std::make_unique<TIniData>(FDoc->SettingsFileName());
    FSettings->Load();
    // The file is there but could not be read: it is left as it is (see
    // TIniData::Save) and the person is told why the settings are the defaults.
    FIdleHint = FSettings->Unreadable() ? UnreadableSettingsHint : IdleHint;
    ShowHint(QString());
    const int x = FSettings->GetInt("FRMX", -1);
    const int y = FSettings->GetInt("FRMY", -1);
    const int w = FSettings->GetInt("FRMW", -1);
    const int h = FSettings->GetInt("FRMH", -1);
    // The design size, with room for the menu bar above the client area.
    const QSize design(827, 486 + menuBar()->sizeHint().height());
    setMinimumSize(design);
    QRect placement(pos(), design);
    if (y > -1)
        placement.moveTop(y);
    if (x > -1)
        placement.moveLeft(x);
    if (w > -1)
        placement.setWidth(w);
    if (h > -1)
        placement.setHeight(h);
    // A placement from a screen that is gone, or a size no screen has, would
    // leave the window out of reach or huge: it is fitted onto the screen,
    // and the fitted placement is what is written back at close.
    const QRect fitted = FitOnScreen(placement, FHost.AvailableScreenArea(placement.center()), design);
    resize(fitted.size());
    if (x > -1 || y > -1 || fitted.topLeft() != placement.topLeft())
        move(fitted.topLeft());
    FStartMaximised = FSettings->GetInt("FRMMAX", -1) == 1;
    FComPort = FSettings->GetInt("COM_PORT", 1);
    FSafeDownload = FSettings->GetInt(HistorySettings::SafeDownloadKey, 1) != 0;
    FHistoryFolder = PathText(FSettings->GetStr(HistorySettings::FolderKey, ""));
    FTraceFile = PathText(FSettings->GetStr(HistorySettings::TraceKey, ""));

    FDoc->ReadSettings(*FSettings);
    RebuildRecentMenu();
    for (int item = 1; item <= TChGrid::ItemCount; ++item) {
        const bool visible = FSettings->GetInt("ITEM" + std::to_string(item), 1) != 0;
        FGrid->SetItemVisible(item, visible);
        FItemActions[item - 1]->setChecked(visible);
    }
}

void TfrmMain::WriteSettings()
{
    TIniData& ini = *FSettings;
    ini.SetValue("COM_PORT", FComPort);
    FDoc->WriteFolder(ini);
    if (windowState() == Qt::WindowNoState) {
        ini.SetValue("FRMX", pos().x());
        ini.SetValue("FRMY", pos().y());
        ini.SetValue("FRMW", width());
        ini.SetValue("FRMH", height());
    }
    for (int item = 1; item <= TChGrid::ItemCount; ++item)
        ini.SetValue("ITEM" + std::to_string(item), FGrid->ItemVisible(item) ? 1 : 0);
    FDoc->WriteRecentFiles(ini);
    ini.SetValue("COM_PORT", FComPort);
    ini.SetValue(HistorySettings::SafeDownloadKey, FSafeDownload ? 1 : 0);
    // Folders and files nobody chose stay out of the file.
    for (const auto& [key, value] : {std::pair {HistorySettings::FolderKey, FHistoryFolder},
                                     std::pair {HistorySettings::TraceKey, FTraceFile}})
        if (!value.isEmpty() || !ini.GetStr(key, "").empty())
            ini.SetValue(key, PathBytes(value));
    // A settings file that cannot be written must not keep the program open.
    ini.Save();
}

void TfrmMain::ShowAsStored()
{
    if (FStartMaximised)
        showMaximized();
    else
        show();
}

void TfrmMain::Refresh()
{
    QString title = CurrentFileName() + TitleSuffix;
    if (FProgramMode == Manufacture)
        title += "(Manufacture mode)";
    setWindowTitle(title);
    Action("miSave")->setEnabled(FDoc->SaveEnabled());
    RefreshPanels();
    FGrid->SetSource(&WorkChannels(), &Document());
    FGrid->Fill();
}

void TfrmMain::RefreshPanels()
{
    const TRKmem& doc = Document();
    FInfo.SerialNo->setText(Qs(doc.SerialNo));
    FInfo.ProductType->setText(Qs(doc.ProductType));
    FInfo.FwVersion->setText(Qs(doc.FwVersion));
    FInfo.Band->setText(Qs(DisplayText(dvBand, doc.Band)));
    FInfo.ComPort->setText(QString::asprintf("%s%d", "COM", FComPort));
    FInfo.Printer->setText(FPrint->Printer().Name());
}

void TfrmMain::Commit()
{
    FGrid->CommitEditor();
    FGrid->Store();
    FDoc->CommitWork();
}

void TfrmMain::ReloadChannels()
{
    FDoc->ReloadWork();
    Refresh();
    FGrid->ResetHistory();
}

// Copy and Paste work on the grid's cells and leave the document to the next
// command's commit; a paste marks it modified at once. Undo and Redo step
// through the whole document: grid gestures and dialogs alike.
void TfrmMain::ConnectEditCommands()
{
    FGrid->ExecDialog = [this](QDialog& dialog) { return FHost.Exec(dialog); };
    connect(FGrid, &TChEditGrid::Pasted, this, [this] { FDoc->SetModified(true); });
    connect(FGrid, &TChEditGrid::PasteRefused, this, [this](const QString& why) {
        statusBar()->showMessage(why, 10000);
    });
    const auto gridCommand = [this](const char* name, void (TChEditGrid::*command)()) {
        Action(name)->setEnabled(true);
        connect(Action(name), &QAction::triggered, this, [this, command] {
            if (FGrid->hasFocus() || FGrid->EditorOpen())
                (FGrid->*command)();
        });
    };
    gridCommand("miCopy", &TChEditGrid::Copy);
    gridCommand("miPaste", &TChEditGrid::Paste);
    connect(Action("miUndo"), &QAction::triggered, FGrid, &TChEditGrid::Undo);
    connect(Action("miRedo"), &QAction::triggered, FGrid, &TChEditGrid::Redo);
    connect(FGrid, &TChEditGrid::Restored, this, [this](const TRKmem& state) {
        const std::string name = Document().DataFileName;
        Document() = state;
        Document().DataFileName = name;
        FDoc->ReloadWork();
        FDoc->SetModified(true);
        Refresh();
    });
    const auto historyChanged = [this] {
        Action("miUndo")->setEnabled(FGrid->CanUndo());
        Action("miRedo")->setEnabled(FGrid->CanRedo());
    };
    connect(FGrid, &TChEditGrid::HistoryChanged, this, historyChanged);
    historyChanged();
}

// The channels travel to and from spreadsheets as CSV; an import is one
// grid gesture, so Undo takes it back whole.
void TfrmMain::ExportChannels()
{
    Commit();
    const QString path = FHost.SaveFileName(this, CurFold(), CsvFilter, "csv");
    if (path.isEmpty())
        return;
    if (!WriteFileAtomically(PathBytes(path), WriteChannelsCsv(Document())))
        FHost.Prompt().Error(FileMessages::WriteError(PathBytes(path)));
}

void TfrmMain::ImportChannels()
{
    if (LinkBusy())
        return;
    Commit();
    const QString path = FHost.OpenFileName(this, CurFold(), CsvFilter);
    if (path.isEmpty())
        return;
    std::ifstream in(PathBytes(path), std::ios::binary);
    if (!in) {
        FHost.Prompt().Error(FileMessages::ReadError(PathBytes(path)));
        return;
    }
    TRKmem scratch = Document();
    const TCsvImport result =
        ReadChannelsCsv({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}, scratch);
    if (!result.Applied) {
        std::string text = "The channels cannot be imported; nothing was changed.";
        for (size_t i = 0; i < result.Errors.size() && i < 10; ++i)
            text += "\r\n" + result.Errors[i];
        if (result.Errors.size() > 10)
            text += "\r\n(" + std::to_string(result.Errors.size() - 10) + " more)";
        FHost.Prompt().Error(text);
        return;
    }
    FGrid->TakeChannels(scratch.Channels);
    Commit();
    if (!result.UnknownColumns.empty()) {
        std::string text = "These columns are not the grid's and were ignored:";
        for (const std::string& column : result.UnknownColumns)
            text += "\r\n" + column;
        FHost.Prompt().Information(text);
    }
}

// Another data file beside the open document, as rk54 diff compares them;
// the open document is not touched.
void TfrmMain::CompareWith()
{
    Commit();
    const QString path = FHost.OpenFileName(this, CurFold(), Qs(TOpenDocument::OpenFilter()));
    if (path.isEmpty())
        return;
    TRKmem other;
    TMap54 image;
    if (!ReadDataFile(PathBytes(path), other, image, FHost.Prompt()))
        return;
    TfrmChanges dialog(TfrmChanges::FileComparison, FieldChanges(Document(), other), this,
                       QFileInfo(path).fileName());
    FHost.Exec(dialog);
}

bool TfrmMain::AskToSave() { return FDoc->AskToSave(); }

void TfrmMain::BeginFileCommand()
{
    Commit();
    FDoc->BeginFileCommand();
    Action("miSave")->setEnabled(true);
}

void TfrmMain::ShowFileCommand(bool replaced)
{
    RebuildRecentMenu();
    if (replaced)
        ReloadChannels();
    else
        Refresh();
}

void TfrmMain::FileNew()
{
    if (LinkBusy())
        return;
    BeginFileCommand();
    ShowFileCommand(FDoc->New());
}

void TfrmMain::FileOpen()
{
    if (LinkBusy())
        return;
    BeginFileCommand();
    ShowFileCommand(FDoc->Open());
}

void TfrmMain::FileSave()
{
    if (LinkBusy())
        return;
    BeginFileCommand();
    FDoc->SaveCommand();
    Refresh();
}

void TfrmMain::FileSaveAs()
{
    if (LinkBusy())
        return;
    BeginFileCommand();
    FDoc->SaveAs();
    Refresh();
}

void TfrmMain::OpenRecent(int index)
{
    if (LinkBusy())
        return;
    Commit();
    ShowFileCommand(FDoc->OpenRecent(index));
}

void TfrmMain::RebuildRecentMenu()
{
    const QStringList recent = RecentFiles();
    FRecentFileAction->setVisible(recent.isEmpty());
    const QString current = WithSeparator(QDir::currentPath());
    for (int k = 0; k < RecentCount; ++k) {
        QAction* action = FRecentActions[k];
        if (k >= recent.size()) {
            action->setText(QString());
            action->setVisible(false);
            continue;
        }
        const QString& path = recent[k];
        const QString shown = FolderOf(path) == current ? QFileInfo(path).fileName()
                                                        : QDir::toNativeSeparators(path);
        action->setText(QString("&%1 %2").arg(k + 1).arg(shown));
        action->setVisible(true);
    }
}

// The printing commands; the report is made afresh for each, from the
// document as the grid leaves it.
void TfrmMain::FilePrint()
{
    BeginFileCommand();
    FPrint->Print(TPrintCommands::Report(Document(), CurrentFileName(), FHost.Today()));
    RefreshPanels();
}

void TfrmMain::FilePrintPreview()
{
    BeginFileCommand();
    FPrint->Preview(TPrintCommands::Report(Document(), CurrentFileName(), FHost.Today()));
    RefreshPanels();
}

void TfrmMain::FilePrintSetup()
{
    BeginFileCommand();
    FPrint->Setup();
    RefreshPanels();
}

void TfrmMain::FileExportPdf()
{
    BeginFileCommand();
    FPrint->ExportPdf(TPrintCommands::Report(Document(), CurrentFileName(), FHost.Today()), CurFold());
}

void TfrmMain::Configure()
{
    if (LinkBusy())
        return;
    BeginFileCommand();
    TfrmConfig dialog(FComPort, FHost.PortHost(), FHost.Prompt(), this);
    dialog.SetLinkSettings({FSafeDownload, FHistoryFolder, FTraceFile}, QDir(FProgramFolder).filePath("History"),
                           QDir(FProgramFolder).filePath("link-trace.txt"));
    if (FHost.Exec(dialog) == QDialog::Accepted) {
        FComPort = dialog.ComPort();
        const TLinkSettings link = dialog.LinkSettings();
        FSafeDownload = link.SafeDownload;
        FHistoryFolder = link.HistoryFolder;
        FTraceFile = link.TraceFile;
    }
    RefreshPanels();
}

namespace {
// The narrow-band question is a caution with its own caption.
class TCautionPrompt : public TPrompt {
public:
    explicit TCautionPrompt(TUiPrompt& prompt) : FPrompt(prompt) {}
    void Error(const std::string& text) override { FPrompt.Error(text); }
    void Information(const std::string& text) override { FPrompt.Information(text); }
    TAnswer Ask(const std::string& text) override
    {
        return FPrompt.Caution(NarrowBandMessages::Caption, text);
    }

private:
    TUiPrompt& FPrompt;
};
} // namespace

QString TfrmMain::PortDevice() const
{
    // The engines open what the host says stands behind the number.
    const QString portName = QString::asprintf("%s%d", "COM", FComPort);
    const QString device = FHost.PortHost().DevicePath(portName);
    return device.isEmpty() ? portName : device;
}

TTransferResult TfrmMain::RunTransfer(bool upload)
{
    // Messages of the transfer belong to the transfer window: the main
    // window is disabled while it runs.
    TfrmRadio radio(this, FHost.Prompt(), FHost.LinkTiming());
    FHost.SetOwner(&radio);
    const QString port = PortDevice();
    TLinkTrace trace;
    if (!FTraceFile.isEmpty()) {
        if (trace.Open(FTraceFile))
            radio.SetTrace(&trace);
        else
            FHost.Prompt().Warning(trace.ErrorText.toStdString());
    }
    THistory history(PathBytes(HistoryFolder()));
    TWindowQuestions questions(FHost, &radio);
    // Every image read from or written to a unit goes to the history; one
    // that cannot be kept is told and the work goes on.
    const auto keep = [&](const char* action, const std::string& outcome) {
        std::string error;
        if (!RecordInHistory(history, Codec(), Document(), action, FProgramMode, outcome, error))
            questions.HistoryProblem(error);
    };
    TTransferResult result;
    const TLinkGate::THold hold(FLinkGate);
    FRadio = &radio;
    if (upload) {
        result = Upload(port, Document(), Codec(), radio);
        if (result.Succeeded())
            keep(HistoryActions::Upload, "done");
    } else if (FSafeDownload) {
        result = ::SafeDownload(port, Document(), Codec(), FProgramMode, radio, questions, &history).Transfer;
    } else {
        result = Download(port, Document(), Codec(), FProgramMode, radio);
        if (!result.PortFailed)
            keep(HistoryActions::Download, OutcomeText(result, TLinkView::DownloadDirection));
    }
    FRadio = nullptr;
    FHost.SetOwner(this);
    setEnabled(true);
    activateWindow();
    return result;
}

void TfrmMain::RadioUpload()
{
    if (LinkBusy())
        return;
    BeginFileCommand();
    if (!AskToSave())
        return;
    // A cancel after the image was decoded still leaves the new document in
    // place; the window must show it and treat it as unsaved.
    if (RunTransfer(true).Replaced) {
        FDoc->Received();
        FGrid->ResetHistory();
    }
    Refresh();
}

void TfrmMain::RadioDownload()
{
    if (LinkBusy())
        return;
    BeginFileCommand();
    if (!AskToSave())
        return;
    TCautionPrompt caution(FHost.Prompt());
    const TDownloadStart start = PrepareDownload(Document(), FFccPhase, caution);
    if (start.Converted) {
        FDoc->SetModified(true);
        FDoc->ReloadWork();
    }
    if (start.Download)
        RunTransfer(false);
    Refresh();
}

QString TfrmMain::HistoryFolder() const
{
    return FHistoryFolder.isEmpty() ? QDir(FProgramFolder).filePath("History") : FHistoryFolder;
}

void TfrmMain::ShowHistory()
{
    if (LinkBusy())
        return;
    BeginFileCommand();
    const THistory history(PathBytes(HistoryFolder()));
    TfrmHistory dialog(history, Document(), FHost, this);
    if (FHost.Exec(dialog) != QDialog::Accepted || dialog.ChosenImage().isEmpty() || !AskToSave())
        return;
    // The archived image comes in untitled, like an upload: a later Save
    // must never write over the archive.
    if (ReadDataFile(PathBytes(dialog.ChosenImage()), Document(), Codec(), FHost.Prompt())) {
        FDoc->Received();
        FGrid->ResetHistory();
    }
    Refresh();
}

void TfrmMain::ShowVisible()
{
    Commit();
    TfrmVisible dialog(*FGrid, this);
    if (FHost.Exec(dialog) != QDialog::Accepted)
        return;
    for (int item = 1; item <= TChGrid::ItemCount; ++item)
        FItemActions[item - 1]->setChecked(FGrid->ItemVisible(item));
    FGrid->LayoutColumns();
}

void TfrmMain::ToggleItem(int item)
{
    Commit();
    const bool visible = !FGrid->ItemVisible(item);
    FGrid->SetItemVisible(item, visible);
    FItemActions[item - 1]->setChecked(visible);
    FGrid->LayoutColumns();
}

void TfrmMain::ShowAbout()
{
    Commit();
    TfrmAbout dialog(FProgramFolder, FHost.PortableFolder(), this);
    FHost.Exec(dialog);
}

void TfrmMain::ShowFileData()
{
    // The viewer shows the image of the document as the grid has it now.
    Commit();
    TfrmFData dialog(Document(), Codec(), this);
    FHost.Exec(dialog);
}

bool TfrmMain::CloseQuery()
{
    Commit();
    return AskToSave();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    // The engine of a running transfer still uses the document, the image
    // and this window; the transfer window's own rules end it first.
    if (LinkBusy() || !CloseQuery()) {
        event->ignore();
        return;
    }
    WriteSettings();
    if (THelpWindow* help = THelpWindow::Instance())
        help->close();
    event->accept();
}
