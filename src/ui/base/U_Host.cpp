#include "ui/base/U_Host.h"
#include "ui/base/U_QtText.h"

#include "link/U_LinkView.h"
#include "link/U_Ports.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLockFile>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QScreen>
#include <QStandardPaths>

#include <algorithm>
#include <filesystem>

#include <unistd.h>

namespace {

const char* const Caption = "RK54Win";


TAnswer AnswerOf(int button)
{
    if (button == QMessageBox::Yes)
        return TAnswer::Yes;
    if (button == QMessageBox::No)
        return TAnswer::No;
    return TAnswer::Dismissed;
}

TAnswer AskYesNo(QWidget* owner, QMessageBox::Icon icon, const QString& caption, const QString& text)
{
    QMessageBox box(icon, caption, text, QMessageBox::Yes | QMessageBox::No, owner);
    box.exec();
    return box.clickedButton() ? AnswerOf(box.standardButton(box.clickedButton()))
                               : TAnswer::Dismissed;
}

// The folder as the system names it: a name the locale cannot spell still
// leads to the settings file and the default document beside the program.
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
    QMessageBox::critical(FOwner, Caption, Qs(text), QMessageBox::Ok);
}

void TQtPrompt::Information(const std::string& text)
{
    QMessageBox::information(FOwner, Caption, Qs(text), QMessageBox::Ok);
}

void TQtPrompt::Warning(const std::string& text)
{
    QMessageBox::warning(FOwner, Caption, Qs(text), QMessageBox::Ok);
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
    // The window system offers no portable way to read the toggles; the
    // kernel's keyboard LEDs do wherever a local keyboard is attached.
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

int THost::LinkSilenceMs() const { return TLinkView::DefaultSilenceMs; }

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
