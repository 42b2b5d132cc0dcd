#pragma once
#include "link/U_LinkView.h"
#include "model/U_Prompt.h"

#include <QDate>
#include <QPageSize>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>

class QDialog;
class QLockFile;
class QWidget;
class TPortHost;

// The window's message boxes.
class TUiPrompt : public TPrompt {
public:
    // Yes/No with a caption and the exclamation icon (the narrow-band notice).
    virtual TAnswer Caution(const std::string& caption, const std::string& text) = 0;
};

// Message boxes with the application's name as caption.
class TQtPrompt : public TUiPrompt {
public:
    explicit TQtPrompt(QWidget* owner = nullptr) : FOwner(owner) {}
    void SetOwner(QWidget* owner) { FOwner = owner; }

    void Error(const std::string& text) override;
    void Information(const std::string& text) override;
    void Warning(const std::string& text) override;
    TAnswer Ask(const std::string& text) override;
    TAnswer Caution(const std::string& caption, const std::string& text) override;

private:
    QWidget* FOwner;
};

// Everything the main window needs from the machine it runs on: the
// program folder, today's date, the file choosers, modal dialogs and the
// message boxes. The tests replace it to script a session.
struct TLockKeys {
    bool Caps = false;
    bool Num = false;
    bool Scroll = false;
};

class THost {
public:
    THost();
    virtual ~THost();

    // The executable's folder when it is writable and not an installed copy
    // (a portable copy), else
    // the per-user data folder. Always ends without a separator.
    virtual QString ProgramFolder() const;
    // True when ProgramFolder() is the executable's own folder.
    virtual bool PortableFolder() const;
    virtual QDate Today() const;
    // The keyboard's lock toggles, as far as the system tells them.
    virtual TLockKeys LockKeys() const;

    // Empty text = cancelled.
    virtual QString OpenFileName(QWidget* owner, const QString& folder, const QString& filter);
    virtual QString SaveFileName(QWidget* owner, const QString& folder, const QString& filter,
                                 const QString& defaultSuffix);
    // Shows a modal dialog and returns its result; tests drive the dialog here.
    virtual int Exec(QDialog& dialog);
    virtual TUiPrompt& Prompt();
    // Which device stands behind a COM port number.
    virtual const TPortHost& PortHost() const;
    // How long the transfer and alignment windows wait for the repeater.
    virtual TLinkTiming LinkTiming() const;
    // The screen area windows may use (without task bars and docks) on the
    // screen that shows `at`, or on the main screen when none does.
    virtual QRect AvailableScreenArea(const QPoint& at) const;
    // The main window sets itself as owner of the message boxes.
    virtual void SetOwner(QWidget* owner);
    // The installed printers, the system's default one (empty when none is
    // marked) and the paper a printer is set up with.
    virtual QStringList PrinterNames() const;
    virtual QString DefaultPrinterName() const;
    virtual QPageSize PrinterPaper(const QString& printer) const;

private:
    TQtPrompt FPrompt;
};

// `window` moved and shrunk just enough that all of it lies within `area`.
// A window that cannot be smaller than `minimum` keeps that size and is
// moved to the area's top left edge as far as it sticks out.
QRect FitOnScreen(const QRect& window, const QRect& area, const QSize& minimum);

// One running copy per user: a lock file in the per-user runtime folder.
class TSingleInstance {
public:
    explicit TSingleInstance(const QString& folder = QString());
    ~TSingleInstance();
    // False when another process holds the lock.
    bool Acquire();
    QString FileName() const;

private:
    std::unique_ptr<QLockFile> FLock;
    QString FFileName;
};
