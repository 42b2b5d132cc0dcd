#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// A serial device as the system reports it.
struct TSerialDevice {
    QString Device;        // "/dev/ttyUSB0"
    QString Description;   // the system's words for it; modems say so here
    QString Manufacturer;
};

// One line of the port list: "COM3", or "COM5   (LDA-30)" for the USB
// programming interface, with the device behind it.
struct TPortEntry {
    int Number = 0;
    QString Text;
    QString Device;
};

// Everything about serial ports that depends on the host. Port numbers map to
// devices by a fixed rule:
//
//   COM1  .. COM32  = /dev/ttyS0   .. /dev/ttyS31
//   COM33 .. COM64  = /dev/ttyUSB0 .. /dev/ttyUSB31
//   COM65 .. COM96  = /dev/ttyACM0 .. /dev/ttyACM31   (the LDA-30 is a CDC-ACM device)
//
// and a per-user folder of links named COM1, COM2, ... overrides the rule for
// any number, so that any device (a pseudo-terminal included) can stand
// behind, say, COM9. Tests build a host of their own: another link folder
// and a fixed list of devices.
class TPortHost {
public:
    TPortHost();  // this machine: QSerialPortInfo and DefaultLinkFolder()
    explicit TPortHost(QString linkFolder);
    virtual ~TPortHost() = default;

    // ~/.config/RK54Win/ports
    static QString DefaultLinkFolder();
    // The host the program runs on.
    static const TPortHost& System();

    // Devices the system offers, in any order.
    virtual QList<TSerialDevice> SystemDevices() const;

    // The device a port name stands for: "COM" + number (any letter case)
    // through the link folder or the rule, anything else taken as a path
    // (a relative one with a slash, "sep/port", from the current folder).
    // Empty for a number that maps to nothing.
    QString DevicePath(const QString& portName) const;

    // The port list as the Configuration dialog shows it: numeric order,
    // modems left out, the USB interface marked.
    QList<TPortEntry> Ports() const;

    static int RuleNumber(const QString& device);   // 0 when the rule has none
    static QString RuleDevice(int number);          // empty when the rule has none
    static int PortNumber(const QString& portName); // "COM12" -> 12, otherwise 0

    QString LinkFolder;
};

// Clears `list` and fills it with the entries' texts.
void EnumerateComPorts(QStringList& list, const TPortHost& host = TPortHost::System());
