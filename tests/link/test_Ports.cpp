// Port numbering and the port list, on a host the test builds itself.
#include "link/U_Ports.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class TFakeHost : public TPortHost {
public:
    TFakeHost(const QString& folder, QList<TSerialDevice> devices) : TPortHost(folder), Devices(std::move(devices)) {}
    QList<TSerialDevice> SystemDevices() const override { return Devices; }
    QList<TSerialDevice> Devices;
};

} // namespace

TEST(Ports, NumbersMapToDevicesByTheRuleAndTheLinkFolder)
{
    QTemporaryDir links;
    ASSERT_TRUE(QFile::link("/dev/null", links.filePath("COM9")));
    ASSERT_TRUE(QFile::link("/nonexistent/device", links.filePath("COM4")));
    const TFakeHost host(links.path(), {});
    const struct {
        QString Port;
        QString Device;
    } cases[] = {
        {"COM32", "/dev/ttyS31"},    {"com33", "/dev/ttyUSB0"},    {"COM64", "/dev/ttyUSB31"},
        {"COM65", "/dev/ttyACM0"},   {"COM96", "/dev/ttyACM31"},   {"COM97", ""},
        {"COM9", links.filePath("COM9")}, {"/dev/pts/7", "/dev/pts/7"}, {"COM4", links.filePath("COM4")},
        // A relative path is a path whether or not it starts with "./".
        {"sep/port", QDir::current().filePath("sep/port")}, {"./sep/port", QDir::current().filePath("sep/port")},
        {"ttyUSB3", "ttyUSB3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(host.DevicePath(c.Port), c.Device) << c.Port.toStdString();
    // ttyACM6 (71), ttyS9 (10) and ttyAMA0 (none) are in the list below.
    EXPECT_EQ(TPortHost::RuleNumber("/dev/ttyS32"), 0);
    EXPECT_EQ(TPortHost::RuleNumber("/dev/ttyS01"), 0);
}

TEST(Ports, TheListIsNumericWithTheInterfaceMarkedAndModemsLeftOut)
{
    QTemporaryDir links;
    QFile target(links.filePath("device"));
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(target.fileName(), links.filePath("COM2")));      // takes COM2 over
    ASSERT_TRUE(QFile::link(target.fileName(), links.filePath("COM150")));    // beyond the rule
    ASSERT_TRUE(QFile::link("/nonexistent/device", links.filePath("COM3")));  // dangling: gone
    const TFakeHost host(links.path(), {
        {"/dev/ttyS9", "", ""},
        {"/dev/ttyS1", "16550A", ""},
        {"/dev/ttyS0", "", ""},
        {"/dev/ttyS2", "", ""},
        {"/dev/ttyACM6", "LDA-30 programming interface", ""},
        {"/dev/ttyACM0", "USB Modem", ""},
        {"/dev/ttyUSB3", "", "Generic MODEM maker"},
        {"/dev/ttyAMA0", "", ""},
    });
    QStringList list = {"stale"};
    EnumerateComPorts(list, host);
    EXPECT_EQ(list, (QStringList{"COM1", "COM2", "COM10", "COM71   (LDA-30)", "COM150"}));
    const QList<TPortEntry> entries = host.Ports();
    ASSERT_EQ(entries.size(), 5);
    EXPECT_EQ(entries[1].Device, links.filePath("COM2"));

    EnumerateComPorts(list, TFakeHost("/nonexistent/folder", {}));
    EXPECT_TRUE(list.isEmpty());
}
