#include "link/U_Ports.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <QStandardPaths>

#include <algorithm>
#include <map>

namespace {

// The rule's three families of devices, 32 numbers each.
struct TFamily {
    const char* Prefix;
    int FirstNumber;
};
constexpr TFamily Families[] = {{"/dev/ttyS", 1}, {"/dev/ttyUSB", 33}, {"/dev/ttyACM", 65}};
constexpr int FamilySize = 32;

bool IsUsbInterface(const QString& device)
{
    const QString real = QFileInfo(device).canonicalFilePath();
    return QFileInfo(real.isEmpty() ? device : real).fileName().startsWith("ttyACM");
}

} // namespace

TPortHost::TPortHost() : TPortHost(DefaultLinkFolder()) {}

TPortHost::TPortHost(QString linkFolder) : LinkFolder(std::move(linkFolder)) {}

QString TPortHost::DefaultLinkFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/RK54Win/ports";
}

const TPortHost& TPortHost::System()
{
    static const TPortHost host;
    return host;
}

QList<TSerialDevice> TPortHost::SystemDevices() const
{
    QList<TSerialDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices.append({info.systemLocation(), info.description(), info.manufacturer()});
    return devices;
}

int TPortHost::PortNumber(const QString& portName)
{
    static const QRegularExpression com("^COM([0-9]{1,6})$", QRegularExpression::CaseInsensitiveOption);
    const auto match = com.match(portName);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

int TPortHost::RuleNumber(const QString& device)
{
    for (const TFamily& f : Families) {
        const QString prefix = QLatin1String(f.Prefix);
        if (!device.startsWith(prefix))
            continue;
        bool ok = false;
        const int n = device.mid(prefix.size()).toInt(&ok);
        if (ok && n >= 0 && n < FamilySize && device.mid(prefix.size()) == QString::number(n))
            return f.FirstNumber + n;
    }
    return 0;
}

QString TPortHost::RuleDevice(int number)
{
    for (const TFamily& f : Families)
        if (number >= f.FirstNumber && number < f.FirstNumber + FamilySize)
            return QLatin1String(f.Prefix) + QString::number(number - f.FirstNumber);
    return {};
}

QString TPortHost::DevicePath(const QString& portName) const
{
    const int number = PortNumber(portName);
    if (number == 0) {
        // The serial driver would read "sep/port" as a name under /dev; a
        // name with a slash is a path, and a relative one is taken from the
        // current folder as everywhere else on the command line.
        if (portName.contains('/') && QDir::isRelativePath(portName))
            return QDir::cleanPath(QDir::current().absoluteFilePath(portName));
        return portName;
    }
    // A link overrides the rule even when its device is gone: COM3 then
    // fails to open rather than quietly meaning another device.
    const QFileInfo link(LinkFolder + "/COM" + QString::number(number));
    if (!LinkFolder.isEmpty() && (link.exists() || link.isSymLink()))
        return link.filePath();
    return RuleDevice(number);
}

QList<TPortEntry> TPortHost::Ports() const
{
    std::map<int, TPortEntry> byNumber;
    for (const TSerialDevice& d : SystemDevices()) {
        const int number = RuleNumber(d.Device);
        if (number == 0 || d.Description.contains("modem", Qt::CaseInsensitive)
            || d.Manufacturer.contains("modem", Qt::CaseInsensitive))
            continue;
        byNumber[number] = {number, {}, d.Device};
    }
    // A link takes its number over from whatever the rule put there.
    if (!LinkFolder.isEmpty()) {
        const QDir folder(LinkFolder);
        for (const QString& name : folder.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
            const int number = PortNumber(name);
            if (number == 0)
                continue;
            if (!QFileInfo::exists(folder.filePath(name))) {  // a dangling link
                byNumber.erase(number);
                continue;
            }
            byNumber[number] = {number, {}, folder.filePath(name)};
        }
    }
    QList<TPortEntry> entries;
    for (auto& [number, entry] : byNumber) {
        entry.Text = "COM" + QString::number(number);
        if (IsUsbInterface(entry.Device))
            entry.Text += "   (LDA-30)";
        entries.append(entry);
    }
    return entries;
}

void EnumerateComPorts(QStringList& list, const TPortHost& host)
{
    list.clear();
    for (const TPortEntry& entry : host.Ports())
        list.append(entry.Text);
}
