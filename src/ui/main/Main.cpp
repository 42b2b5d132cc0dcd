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
#include "files/U_FileAccess.h"
#include "ui/base/U_Help.h"
#include "ui/base/U_Host.h"
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
#include <QPainter>
#include <QPainterPath>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTime>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const char* const TitleSuffix = " - RK54Win for HPD-4400 Series";
const char* const IdleHint = "F1 for Help   F10 for Menus";
const char* const UnreadableSettingsHint = "RK54Win.ini cannot be read: default settings in use";
const char* const Blank = " ";
const char* const FileType = "R54";
const char* const OldFileType = "RPT";


QString OpenFilter()
{
    return QString("%1 Files (*.%1 *.%2 *.%3 *.%4)")
        .arg(FileType, OldFileType, QString(FileType).toLower(), QString(OldFileType).toLower());
}

const QString CsvFilter = "CSV Files (*.csv *.CSV *.txt)";

QString SaveFilter() { return QString("%1 Files (*.%1 *.%2)").arg(FileType, QString(FileType).toLower()); }

QString WithSeparator(const QString& folder)
{
    return folder.endsWith('/') ? folder : folder + '/';
}

QString FolderOf(const QString& path) { return WithSeparator(QFileInfo(path).absolutePath()); }

// The tool bar's pictures, drawn so that the program needs no image files.
QIcon ToolIcon(const QString& kind)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QPen ink(Qt::black);
    p.setPen(ink);
    const auto page = [&p](int x, int y, int w, int h) {
        p.setBrush(Qt::white);
        p.drawRect(x, y, w, h);
    };
    if (kind == "New") {
        page(3, 1, 9, 13);
    } else if (kind == "Open") {
        p.setBrush(QColor(0xE0, 0xC0, 0x40));
        p.drawRect(1, 4, 13, 9);
        p.drawLine(1, 4, 4, 2);
        p.drawLine(4, 2, 7, 4);
    } else if (kind == "Save") {
        p.setBrush(QColor(0x30, 0x50, 0xA0));
        p.drawRect(1, 1, 13, 13);
        p.setBrush(Qt::white);
        p.drawRect(4, 2, 7, 5);
        p.setBrush(Qt::gray);
        p.drawRect(4, 10, 7, 4);
    } else if (kind == "Copy") {
        page(1, 1, 8, 10);
        page(6, 4, 8, 10);
    } else if (kind == "Paste") {
        p.setBrush(QColor(0xA0, 0x70, 0x30));
        p.drawRect(1, 2, 10, 12);
        page(6, 5, 8, 10);
    } else if (kind == "Print") {
        page(4, 1, 8, 6);
        p.setBrush(Qt::lightGray);
        p.drawRect(1, 7, 14, 6);
        page(4, 11, 8, 4);
    } else if (kind == "Upload" || kind == "Download") {
        p.setBrush(QColor(0x20, 0x80, 0x20));
        QPainterPath arrow;
        if (kind == "Upload") {
            arrow.moveTo(8, 1); arrow.lineTo(14, 8); arrow.lineTo(10, 8); arrow.lineTo(10, 14);
            arrow.lineTo(6, 14); arrow.lineTo(6, 8); arrow.lineTo(2, 8); arrow.closeSubpath();
        } else {
            arrow.moveTo(8, 14); arrow.lineTo(14, 7); arrow.lineTo(10, 7); arrow.lineTo(10, 1);
            arrow.lineTo(6, 1); arrow.lineTo(6, 7); arrow.lineTo(2, 7); arrow.closeSubpath();
        }
        p.drawPath(arrow);
    } else if (kind == "Help") {
        QFont font("Arial");
        font.setPixelSize(14);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(0x20, 0x40, 0xC0));
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, "?");
    }
    return QIcon(pixmap);
}

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

    FDocument = std::make_unique<TRKmem>();
    FCodec = std::make_unique<TMap54>();
    TMap54::SetDefaults(*FDocument);
    OpenStartupFile();
    FWorkChannels.Assign(FDocument->Channels);
    FModified = false;
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
    else if (first.contains(FileType))
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
            Commit();
            FGrid->BeginGesture();
            execute(this, *FDocument, FProgramMode, FHost.Prompt(), FModified);
            FWorkChannels.Assign(FDocument->Channels);
            Refresh();
            FGrid->EndChange();  // OK is one step of Edit > Undo, like a grid gesture
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
    FGrid->SetSource(&FWorkChannels, nullptr);
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

QString TfrmMain::DefaultFileName() const
{
    return QDir(FProgramFolder).filePath(QString("defaultv.") + FileType);
}

QString TfrmMain::SettingsFileName() const { return QDir(FProgramFolder).filePath("RK54Win.ini"); }

bool TfrmMain::IsDefaultFile(const QString& path) const
{
    return QFileInfo(path).absoluteFilePath() == QFileInfo(DefaultFileName()).absoluteFilePath();
}

void TfrmMain::ReadSettings()
{
    FSettings = std::make_unique<TIniData>(PathBytes(SettingsFileName()));
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

    for (int k = 1; k <= RecentCount; ++k) {
        const QString file = PathText(FSettings->GetStr("FILE" + std::to_string(k), ""));
        if (!file.isEmpty())
            FRecentFiles << file;
    }
    RebuildRecentMenu();
    FCurFold = PathText(FSettings->GetStr("CURFOLD", PathBytes(WithSeparator(FProgramFolder))));
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
    ini.SetValue("CURFOLD", PathBytes(FCurFold));
    if (windowState() == Qt::WindowNoState) {
        ini.SetValue("FRMX", pos().x());
        ini.SetValue("FRMY", pos().y());
        ini.SetValue("FRMW", width());
        ini.SetValue("FRMH", height());
    }
    for (int item = 1; item <= TChGrid::ItemCount; ++item)
        ini.SetValue("ITEM" + std::to_string(item), FGrid->ItemVisible(item) ? 1 : 0);
    for (int k = 1; k <= RecentCount; ++k)
        ini.SetValue("FILE" + std::to_string(k), k <= FRecentFiles.size() ? PathBytes(FRecentFiles[k - 1]) : "");
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

void TfrmMain::OpenStartupFile()
{
    const QString path = FStartupFile.isEmpty() ? DefaultFileName() : FStartupFile;
    FCurrentFileName = NoFile;
    std::error_code error;
    if (std::filesystem::exists(PathBytes(path), error)) {
        FSaveEnabled = true;
        if (ReadDataFile(PathBytes(path), *FDocument, *FCodec, FHost.Prompt(), &FSaveEnabled))
            FCurrentFileName = path;
        return;
    }
    if (WriteDataFile(PathBytes(path), *FDocument, *FCodec, FHost.Prompt()))
        std::filesystem::permissions(PathBytes(path), std::filesystem::perms(0444), error);
}

void TfrmMain::Refresh()
{
    QString title = FCurrentFileName + TitleSuffix;
    if (FProgramMode == Manufacture)
        title += "(Manufacture mode)";
    setWindowTitle(title);
    Action("miSave")->setEnabled(FSaveEnabled);
    RefreshPanels();
    FGrid->SetSource(&FWorkChannels, FDocument.get());
    FGrid->Fill();
}

void TfrmMain::RefreshPanels()
{
    const TRKmem& doc = *FDocument;
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
    if (!FWorkChannels.Equals(FDocument->Channels)) {
        FDocument->Channels.Assign(FWorkChannels);
        FModified = true;
    }
}

void TfrmMain::ReloadChannels()
{
    FWorkChannels.Assign(FDocument->Channels);
    Refresh();
    FGrid->ResetHistory();
}

// Copy and Paste work on the grid's cells and leave the document to the next
// command's commit; a paste marks it modified at once. Undo and Redo step
// through the whole document: grid gestures and dialogs alike.
void TfrmMain::ConnectEditCommands()
{
    FGrid->ExecDialog = [this](QDialog& dialog) { return FHost.Exec(dialog); };
    connect(FGrid, &TChEditGrid::Pasted, this, [this] { FModified = true; });
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
        const std::string name = FDocument->DataFileName;
        *FDocument = state;
        FDocument->DataFileName = name;
        FWorkChannels.Assign(state.Channels);
        FModified = true;
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
    const QString path = FHost.SaveFileName(this, FCurFold, CsvFilter, "csv");
    if (path.isEmpty())
        return;
    if (!WriteFileAtomically(PathBytes(path), WriteChannelsCsv(*FDocument)))
        FHost.Prompt().Error(FileMessages::WriteError(PathBytes(path)));
}

void TfrmMain::ImportChannels()
{
    Commit();
    const QString path = FHost.OpenFileName(this, FCurFold, CsvFilter);
    if (path.isEmpty())
        return;
    std::ifstream in(PathBytes(path), std::ios::binary);
    if (!in) {
        FHost.Prompt().Error(FileMessages::ReadError(PathBytes(path)));
        return;
    }
    TRKmem scratch = *FDocument;
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
    const QString path = FHost.OpenFileName(this, FCurFold, OpenFilter());
    if (path.isEmpty())
        return;
    TRKmem other;
    TMap54 image;
    if (!ReadDataFile(PathBytes(path), other, image, FHost.Prompt()))
        return;
    TfrmChanges dialog(TfrmChanges::FileComparison, FieldChanges(*FDocument, other), this,
                       QFileInfo(path).fileName());
    FHost.Exec(dialog);
}

QString TfrmMain::AskSaveName()
{
    const QString path = FHost.SaveFileName(this, FCurFold, SaveFilter(), FileType);
    if (path.isEmpty())
        return QString();
    if (IsDefaultFile(path)) {
        // The default file is the template of every new start; it is never
        // replaced from the program.
        FHost.Prompt().Error(FileMessages::WriteError(PathBytes(path)));
        return QString();
    }
    return path;
}

bool TfrmMain::Save()
{
    FDocument->Channels.Assign(FWorkChannels);
    if (FCurrentFileName == NoFile || IsDefaultFile(FCurrentFileName)) {
        const QString path = AskSaveName();
        if (path.isEmpty())
            return false;
        FCurFold = FolderOf(path);
        FCurrentFileName = path;
    }
    if (!WriteDataFile(PathBytes(FCurrentFileName), *FDocument, *FCodec, FHost.Prompt()))
        return false;
    Refresh();
    return true;
}

bool TfrmMain::AskToSave()
{
    if (!FModified)
        return true;
    switch (FHost.Prompt().Ask("Do you want to save the file?")) {
    case TAnswer::Yes: return Save();
    case TAnswer::No: return true;
    case TAnswer::Dismissed: break;
    }
    return false;
}

void TfrmMain::BeginFileCommand()
{
    Commit();
    FSaveEnabled = true;
    Action("miSave")->setEnabled(true);
}

void TfrmMain::FileNew()
{
    BeginFileCommand();
    if (!AskToSave())
        return;
    FModified = false;
    FCurrentFileName = NoFile;
    auto image = std::make_unique<TMap54>();
    auto doc = std::make_unique<TRKmem>();
    try {
        image->Decode(*doc);
    } catch (const EConvertError&) {
        // The new-image pattern holds no frequencies; the defaults set them.
    }
    TMap54::SetDefaults(*doc);
    FCodec = std::move(image);
    FDocument = std::move(doc);
    ReloadChannels();
}

bool TfrmMain::ReadFile(const QString& path)
{
    return ReadDataFile(PathBytes(path), *FDocument, *FCodec, FHost.Prompt(), &FSaveEnabled);
}

void TfrmMain::AddRecent(const QString& path)
{
    FRecentFiles.removeAll(path);
    FRecentFiles.prepend(path);
    while (FRecentFiles.size() > RecentCount)
        FRecentFiles.removeLast();
    RebuildRecentMenu();
}

void TfrmMain::FileOpen()
{
    BeginFileCommand();
    if (!AskToSave())
        return;
    const QString path = FHost.OpenFileName(this, FCurFold, OpenFilter());
    if (path.isEmpty() || !ReadFile(path)) {
        Refresh();
        return;
    }
    FCurFold = FolderOf(path);
    AddRecent(path);
    FCurrentFileName = path;
    FModified = false;
    ReloadChannels();
}

void TfrmMain::FileSave()
{
    BeginFileCommand();
    if (Save())
        FModified = false;
}

void TfrmMain::FileSaveAs()
{
    BeginFileCommand();
    const QString path = AskSaveName();
    if (path.isEmpty()) {
        Refresh();
        return;
    }
    FCurFold = FolderOf(path);
    FCurrentFileName = path;
    if (Save())
        FModified = false;
}

void TfrmMain::RebuildRecentMenu()
{
    FRecentFileAction->setVisible(FRecentFiles.isEmpty());
    const QString current = WithSeparator(QDir::currentPath());
    for (int k = 0; k < RecentCount; ++k) {
        QAction* action = FRecentActions[k];
        if (k >= FRecentFiles.size()) {
            action->setText(QString());
            action->setVisible(false);
            continue;
        }
        const QString path = FRecentFiles[k];
        const QString shown = FolderOf(path) == current ? QFileInfo(path).fileName()
                                                        : QDir::toNativeSeparators(path);
        action->setText(QString("&%1 %2").arg(k + 1).arg(shown));
        action->setVisible(true);
    }
}

void TfrmMain::OpenRecent(int index)
{
    if (index < 0 || index >= FRecentFiles.size())
        return;
    const QString path = FRecentFiles[index];
    std::error_code error;
    if (!std::filesystem::exists(PathBytes(path), error)) {
        FHost.Prompt().Warning("File Not Found");
        FRecentFiles.removeAt(index);
        RebuildRecentMenu();
        return;
    }
    Commit();
    if (!AskToSave())
        return;
    FSaveEnabled = true;
    if (!ReadFile(path)) {
        Refresh();
        return;
    }
    AddRecent(path);
    FCurrentFileName = path;
    FModified = false;
    ReloadChannels();
}

// The printing commands; the report is made afresh for each, from the
// document as the grid leaves it.
void TfrmMain::FilePrint()
{
    BeginFileCommand();
    FPrint->Print(TPrintCommands::Report(*FDocument, FCurrentFileName, FHost.Today()));
    RefreshPanels();
}

void TfrmMain::FilePrintPreview()
{
    BeginFileCommand();
    FPrint->Preview(TPrintCommands::Report(*FDocument, FCurrentFileName, FHost.Today()));
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
    FPrint->ExportPdf(TPrintCommands::Report(*FDocument, FCurrentFileName, FHost.Today()), FCurFold);
}

void TfrmMain::Configure()
{
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
    bool Confirm(const std::string& text) override
    {
        return FPrompt.Caution(NarrowBandMessages::Caption, text) == TAnswer::Yes;
    }

private:
    TUiPrompt& FPrompt;
};
} // namespace

TTransferResult TfrmMain::RunTransfer(bool upload)
{
    // Messages of the transfer belong to the transfer window: the main
    // window is disabled while it runs.
    TfrmRadio radio(this, FHost.Prompt(), FHost.LinkSilenceMs());
    FHost.SetOwner(&radio);
    // The engines open what the host says stands behind the number.
    const QString portName = QString::asprintf("%s%d", "COM", FComPort);
    const QString device = FHost.PortHost().DevicePath(portName);
    const QString port = device.isEmpty() ? portName : device;
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
        if (!RecordInHistory(history, *FCodec, *FDocument, action, FProgramMode, outcome, error))
            questions.HistoryProblem(error);
    };
    TTransferResult result;
    FRadio = &radio;
    if (upload) {
        result = Upload(port, *FDocument, *FCodec, radio);
        if (result.Succeeded())
            keep(HistoryActions::Upload, "done");
    } else if (FSafeDownload) {
        result = ::SafeDownload(port, *FDocument, *FCodec, FProgramMode, radio, questions, &history).Transfer;
    } else {
        result = Download(port, *FDocument, *FCodec, FProgramMode, radio);
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
    BeginFileCommand();
    if (!AskToSave())
        return;
    // A cancel after the image was decoded still leaves the new document in
    // place; the window must show it and treat it as unsaved.
    if (RunTransfer(true).Replaced) {
        FWorkChannels.Assign(FDocument->Channels);
        FModified = true;
        FCurrentFileName = NoFile;
        FGrid->ResetHistory();
    }
    Refresh();
}

void TfrmMain::RadioDownload()
{
    BeginFileCommand();
    if (!AskToSave())
        return;
    TCautionPrompt caution(FHost.Prompt());
    const int check = NarrowBandCheck(*FDocument, FFccPhase, caution);
    if (check == 1 || check == 2) {
        if (ConvertToNarrowBand(*FDocument))
            FModified = true;
        FWorkChannels.Assign(FDocument->Channels);
    }
    if (check == 0 || check == 1)
        RunTransfer(false);
    Refresh();
}

QString TfrmMain::HistoryFolder() const
{
    return FHistoryFolder.isEmpty() ? QDir(FProgramFolder).filePath("History") : FHistoryFolder;
}

void TfrmMain::ShowHistory()
{
    BeginFileCommand();
    const THistory history(PathBytes(HistoryFolder()));
    TfrmHistory dialog(history, *FDocument, FHost, this);
    if (FHost.Exec(dialog) != QDialog::Accepted || dialog.ChosenImage().isEmpty() || !AskToSave())
        return;
    // The archived image comes in untitled, like an upload: a later Save
    // must never write over the archive.
    if (ReadDataFile(PathBytes(dialog.ChosenImage()), *FDocument, *FCodec, FHost.Prompt())) {
        FWorkChannels.Assign(FDocument->Channels);
        FModified = true;
        FCurrentFileName = NoFile;
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
    TfrmFData dialog(*FDocument, *FCodec, this);
    FHost.Exec(dialog);
}

bool TfrmMain::CloseQuery()
{
    Commit();
    if (!FModified)
        return true;
    switch (FHost.Prompt().Ask("Do you want to save the file?")) {
    case TAnswer::No: return true;
    case TAnswer::Yes: FGrid->CommitEditor(); return Save();
    case TAnswer::Dismissed: break;
    }
    return false;
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    // The engine of a running transfer still uses the document, the image
    // and this window; the transfer window's own rules end it first.
    if (FRadio || !CloseQuery()) {
        event->ignore();
        return;
    }
    WriteSettings();
    if (THelpWindow* help = THelpWindow::Instance())
        help->close();
    event->accept();
}
