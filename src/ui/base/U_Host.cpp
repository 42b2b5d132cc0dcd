#include "ui/base/U_Host.h"
#include "ui/base/U_QtText.h"
#include "ui/base/U_DialogKit.h"
#ifdef RK54_HAVE_X11
#include "ui/base/U_HostX11.h"
#endif

#include "link/U_LinkView.h"
#include "link/U_Ports.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLockFile>
#include <QMessageBox>
#include <QPointer>
#include <QPrinterInfo>
#include <QScreen>
#include <QStandardPaths>

#include <algorithm>
#include <filesystem>

#include <unistd.h>

namespace {

const char* const Caption = "RK54Win";


// A message box stands centred over the window it speaks for (the dialog
// that is open, else the active window, else its owner) and is wide enough
// for its caption. Qt would place it by its size before it knows its text.
class TMessageBox : public QMessageBox {
public:
    TMessageBox(Icon icon, const QString& caption, const QString& text, StandardButtons buttons, QWidget* owner)
        : QMessageBox(icon, caption, text, buttons, owner), FOver(QApplication::activeModalWidget())
    {
        if (!FOver)
            FOver = QApplication::activeWindow();
        if (!FOver)
            FOver = owner;
        // The box sizes itself to its layout whenever the layout changes;
        // a spanning spacer is the width it may not go below.
        const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
        const int wide = std::max(title.horizontalAdvance(caption) + CaptionButtons, MinimumWidth);
        if (auto* grid = qobject_cast<QGridLayout*>(layout()))
            grid->addItem(new QSpacerItem(wide, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0,
                          1, grid->columnCount());
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);  // fits the box to its text
        CentreOver(*this, FOver);
    }
    // The box is of fixed size; it changes only when it fits itself to its
    // text again, and then stays centred.
    void resizeEvent(QResizeEvent* event) override
    {
        QMessageBox::resizeEvent(event);
        CentreOver(*this, FOver);
    }

private:
    // Room the title bar keeps for the system menu and the close box.
    static constexpr int CaptionButtons = 120;
    // A one-word message ("Timeout") still reads as a box, not a button.
    static constexpr int MinimumWidth = 240;
    QPointer<QWidget> FOver;
};

// A Yes/No box on its own would take Esc and its close box for No (the one
// button with the No role); here both back out of the question instead.
class TQuestionBox : public TMessageBox {
public:
    TQuestionBox(QMessageBox::Icon icon, const QString& caption, const QString& text, QWidget* owner)
        : TMessageBox(icon, caption, text, QMessageBox::Yes | QMessageBox::No, owner)
    {
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->matches(QKeySequence::Cancel)) {
            QDialog::reject();
            return;
        }
        TMessageBox::keyPressEvent(event);
    }
    // NOLINTNEXTLINE(bugprone-parent-virtual-call): the close box must close, as Esc does
    void closeEvent(QCloseEvent* event) override { QDialog::closeEvent(event); }
};

void Tell(QWidget* owner, QMessageBox::Icon icon, const QString& text)
{
    TMessageBox box(icon, Caption, text, QMessageBox::Ok, owner);
    box.exec();
}

TAnswer AskYesNo(QWidget* owner, QMessageBox::Icon icon, const QString& caption, const QString& text)
{
    TQuestionBox box(icon, caption, text, owner);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == box.button(QMessageBox::Yes))
        return TAnswer::Yes;
    if (clicked == box.button(QMessageBox::No))
        return TAnswer::No;
    return TAnswer::Cancel;
}

QString ExecutableFolder()
{
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? QCoreApplication::applicationDirPath() : PathText(exe.parent_path().native());
}

bool Exists(const QString& path)
{
    std::error_code error;
    return std::filesystem::exists(PathBytes(path), error);
}

bool FolderWritable(const QString& folder)
{
    std::error_code error;
    return std::filesystem::is_directory(PathBytes(folder), error) && ::access(PathBytes(folder).c_str(), W_OK) == 0;
}

} // namespace

void TQtPrompt::Error(const std::string& text)
{
    Tell(FOwner, QMessageBox::Critical, Qs(text));
}

void TQtPrompt::Information(const std::string& text)
{
    Tell(FOwner, QMessageBox::Information, Qs(text));
}

void TQtPrompt::Warning(const std::string& text)
{
    Tell(FOwner, QMessageBox::Warning, Qs(text));
}

TAnswer TQtPrompt::Ask(const std::string& text)
{
    return AskYesNo(FOwner, QMessageBox::Question, Caption, Qs(text));
}

TAnswer TQtPrompt::Caution(const std::string& caption, const std::string& text)
{
    return AskYesNo(FOwner, QMessageBox::Warning, Qs(caption), Qs(text));
}

THost::THost() = default;
THost::~THost() = default;

QString THost::ProgramFolder() const
{
    if (PortableFolder())
        return QDir::cleanPath(ExecutableFolder());
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return QDir::cleanPath(folder);
}

bool THost::PortableFolder() const
{
    // An installed copy (bin/ beside share/applications/ holding our
    // launcher) keeps its files per user even when root could write to
    // /usr/bin; only a copy run from where it was built or unpacked is
    // portable.
    const QString exe = ExecutableFolder();
    const bool installed = QFileInfo(exe).fileName() == "bin" &&
                           Exists(exe + "/../share/applications/rk54win.desktop");
    return !installed && FolderWritable(exe);
}

QDate THost::Today() const { return QDate::currentDate(); }

TLockKeys THost::LockKeys() const
{
#ifdef RK54_HAVE_X11
    // What the window system says the keyboard state is: right on a
    // virtual display or a remote desktop, where no LED belongs to it.
    if (const auto keys = WindowSystemLockKeys())
        return *keys;
#endif
    // Otherwise the kernel's keyboard LEDs, wherever a local keyboard is
    // attached.
    const auto led = [](const char* name) {
        const QDir leds("/sys/class/leds");
        for (const QString& entry : leds.entryList({QString("*::") + name}, QDir::Dirs | QDir::System)) {
            QFile file(leds.filePath(entry + "/brightness"));
            if (file.open(QIODevice::ReadOnly) && file.readAll().trimmed().toInt() > 0)
                return true;
        }
        return false;
    };
    return {led("capslock"), led("numlock"), led("scrolllock")};
}

QString THost::OpenFileName(QWidget* owner, const QString& folder, const QString& filter)
{
    const QString chosen = QFileDialog::getOpenFileName(owner, QString(), folder, filter);
    return PathText(ChosenFileName(PathBytes(chosen)));
}

QString THost::SaveFileName(QWidget* owner, const QString& folder, const QString& filter,
                            const QString& defaultSuffix)
{
    QFileDialog dialog(owner, QString(), folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return PathText(ChosenFileName(PathBytes(dialog.selectedFiles().first())));
}

int THost::Exec(QDialog& dialog) { return dialog.exec(); }

TUiPrompt& THost::Prompt() { return FPrompt; }

const TPortHost& THost::PortHost() const { return TPortHost::System(); }

TLinkTiming THost::LinkTiming() const { return {}; }

QStringList THost::PrinterNames() const { return QPrinterInfo::availablePrinterNames(); }

QString THost::DefaultPrinterName() const { return QPrinterInfo::defaultPrinterName(); }

QPageSize THost::PrinterPaper(const QString& printer) const
{
    return QPrinterInfo::printerInfo(printer).defaultPageSize();
}

QRect THost::AvailableScreenArea(const QPoint& at) const
{
    const QScreen* screen = QGuiApplication::screenAt(at);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QRect FitOnScreen(const QRect& window, const QRect& area, const QSize& minimum)
{
    if (area.isEmpty())
        return window;
    const int width = std::max(std::min(window.width(), area.width()), minimum.width());
    const int height = std::max(std::min(window.height(), area.height()), minimum.height());
    const int x = std::max(std::min(window.x(), area.right() + 1 - width), area.left());
    const int y = std::max(std::min(window.y(), area.bottom() + 1 - height), area.top());
    return {x, y, width, height};
}

void THost::SetOwner(QWidget* owner) { FPrompt.SetOwner(owner); }

TSingleInstance::TSingleInstance(const QString& folder)
{
    QString dir = folder;
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    FFileName = QDir(dir).filePath("RK54Win.lock");
    FLock = std::make_unique<QLockFile>(FFileName);
    // The lock lives as long as the process; a crashed owner's lock is taken
    // over by the stale-lock check of QLockFile, never by age.
    FLock->setStaleLockTime(0);
}

TSingleInstance::~TSingleInstance() = default;

bool TSingleInstance::Acquire() { return FLock->tryLock(0); }

QString TSingleInstance::FileName() const { return FFileName; }
