#pragma once
#include "ui/main/Main.h"
#include "files/U_FileAccess.h"
#include "files/dc_Ini.h"
#include "ui/base/U_Host.h"
#include "link/U_Ports.h"
#include "support/Documents.h"
#include "support/ScriptedPrompt.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The scripted person of the window tests, its messages as "kind: text".
class TScriptedPerson : public TScriptedPromptOf<TUiPrompt> {
public:
    QStringList Texts() const
    {
        QStringList texts;
        for (const TMessage& m : Messages) {
            const char* kind = m.Kind == 'E' ? "error"
                : m.Kind == 'W'              ? "warning"
                : m.Kind == 'I'              ? "information"
                : m.Kind == 'Q'              ? "ask"
                                             : "caution";
            texts << QString::fromStdString(kind + (": " + m.Text));
        }
        return texts;
    }
};

class TTestHost : public THost {
public:
    explicit TTestHost(const QString& folder) : Folder(folder) {}

    QString ProgramFolder() const override { return Folder; }
    bool PortableFolder() const override { return true; }
    QDate Today() const override { return Date; }
    TLockKeys LockKeys() const override { return Locks; }

    QString OpenFileName(QWidget*, const QString& folder, const QString&) override
    {
        ChooserFolders << folder;
        return TakeFile();
    }
    QString SaveFileName(QWidget*, const QString& folder, const QString&, const QString&) override
    {
        ChooserFolders << folder;
        return TakeFile();
    }
    // Without a script a dialog is cancelled, never shown to nobody.
    int Exec(QDialog& dialog) override
    {
        ++DialogsShown;
        if (!OnDialog)
            return QDialog::Rejected;
        dialog.show();
        return OnDialog(dialog);
    }
    TUiPrompt& Prompt() override { return RealBoxes ? THost::Prompt() : Person; }
    void SetOwner(QWidget*) override {}
    const TPortHost& PortHost() const override { return Ports ? *Ports : THost::PortHost(); }
    TLinkTiming LinkTiming() const override { return Timing; }
    // The machine's printers as the test declares them: none unless given.
    QStringList PrinterNames() const override { return Printers; }
    QString DefaultPrinterName() const override { return DefaultPrinter; }
    QPageSize PrinterPaper(const QString& printer) const override
    {
        return QPageSize(Papers.value(printer, QPageSize::A4));
    }
    QRect AvailableScreenArea(const QPoint&) const override { return Screen; }

    QString Folder;
    QDate Date {2014, 6, 1};
    TLockKeys Locks;
    QStringList Files;           // answers of the file choosers, in order; "" = cancel
    QStringList ChooserFolders;  // the folder each chooser opened in
    std::function<int(QDialog&)> OnDialog;
    int DialogsShown = 0;
    TScriptedPerson Person;
    bool RealBoxes = false;  // the program's own message boxes instead of Person
    const TPortHost* Ports = nullptr;
    TLinkTiming Timing {400, 0};  // short, and no repeater restarts
    QStringList Printers;
    QString DefaultPrinter;
    QMap<QString, QPageSize::PageSizeId> Papers;
    QRect Screen {0, 0, 1920, 1080};

private:
    QString TakeFile() { return Files.isEmpty() ? QString() : Files.takeFirst(); }
};

inline QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the data file as File > Save does; an empty name when it failed.
inline QString WriteDocument(const QString& path, TRKmem doc)
{
    TMap54 image;
    TScriptedPrompt prompt;
    return WriteDataFile(path.toStdString(), doc, image, prompt) ? path : QString();
}

inline TRKmem ReadDocument(const QString& path)
{
    TRKmem doc;
    TMap54 image;
    TScriptedPrompt prompt;
    ReadDataFile(path.toStdString(), doc, image, prompt);
    return doc;
}

// One line of the settings file, a number or a text (bytes as they are).
struct TSetting {
    TSetting(const char* key, int value) : Key(key), Value(std::to_string(value)) {}
    TSetting(const char* key, std::string value) : Key(key), Value(std::move(value)) {}
    TSetting(const char* key, const QString& value) : Key(key), Value(value.toStdString()) {}
    std::string Key, Value;
};

// A program folder of its own, the scripted host on it and the main window
// each test starts there; the window goes before the host it uses.
struct TMainRig {
    QTemporaryDir Dir;
    TTestHost Host {Dir.path()};
    std::unique_ptr<TPortHost> Ports;
    std::unique_ptr<TfrmMain> Main;

    QString Path(const QString& name) const { return Dir.filePath(name); }
    // The settings file as it stands (as the window left it at its close).
    TIniData Settings() const
    {
        TIniData ini(Path("RK54Win.ini").toStdString());
        ini.Load();
        return ini;
    }
    // Settings the next start finds, beside those already stored.
    bool Store(const std::vector<TSetting>& settings) const
    {
        TIniData ini = Settings();
        for (const TSetting& s : settings)
            ini.SetValue(s.Key, s.Value);
        return ini.Save();
    }
    TfrmMain& Start(const QStringList& args = {})
    {
        Main.reset();
        Main = std::make_unique<TfrmMain>(Host, args);
        Main->show();
        return *Main;
    }
    // Manufacture mode, its password typed as a person types it.
    TfrmMain& StartManufacture()
    {
        Host.OnDialog = [](QDialog& dialog) {
            QTest::keyClicks(dialog.findChild<QLineEdit*>("edtPass"), "orvanealign");
            QTest::keyClick(dialog.findChild<QLineEdit*>("edtPass"), Qt::Key_Return);
            return dialog.result();
        };
        return Start({"-M"});
    }
    // A ports folder where a simulator links COM<n>; the settings pick `port`.
    void UsePorts(int port)
    {
        QDir(Dir.path()).mkdir("ports");
        Ports = std::make_unique<TPortHost>(Path("ports"));
        Host.Ports = Ports.get();
        Store({{"COM_PORT", port}});
    }
};
