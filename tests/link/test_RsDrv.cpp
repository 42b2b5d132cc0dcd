// The driver and the timed receive over a bare pseudo-terminal whose far end
// the test plays itself.
#include "support/LinkTestKit.h"
#include "link/dc_RsDrv.h"
#include "link/U_Ports.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TCRsDrv> OpenOn(const TRawLine& pty)
{
    auto driver = std::make_unique<TCRsDrv>();
    driver->SetBaudRate(9600);
    EXPECT_EQ(driver->Open(pty.Port()), RsOk) << driver->ErrorText.toStdString();
    return driver;
}

} // namespace

TEST(RsDrv, OpenFailuresSayPortOpenError)
{
    TRawLine pty;
    TCRsDrv first;
    ASSERT_EQ(first.Open(pty.Port()), RsOk);
    QTemporaryDir links;
    ASSERT_TRUE(QFile::link(pty.Port(), links.filePath("COM7")));
    const TPortHost host(links.path());
    // In use by its own name and by a link: Transfer.ASecondTransferOnTheBusyDeviceIsRefused.
    const QString ports[] = {"/nonexistent/tty", "COM0", "COM7"};  // COM7: in use, by the number standing for it
    for (const QString& port : ports) {
        TCRsDrv driver(host);
        EXPECT_EQ(driver.Open(port), RsFailed) << port.toStdString();
        EXPECT_EQ(driver.ErrorText, "Port Open Error");
        EXPECT_EQ(driver.PortName, port);
    }
    first.Close();
}

TEST(RsDrv, WritesArriveWholeAndAClosedPortRefuses)
{
    TRawLine pty;
    auto driver = OpenOn(pty);
    EXPECT_EQ(driver->Write(nullptr, 0), RsOk);
    TBytes big(5000);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = uint8_t(i * 7);
    EXPECT_EQ(driver->Write(big.data(), int(big.size())), RsOk);  // three pieces
    EXPECT_EQ(pty.Take(big.size()), big);

    driver->Close();
    EXPECT_EQ(driver->Write(big.data(), 1), RsFailed);
    EXPECT_EQ(driver->ErrorText, "Invalid Handle Error");
    EXPECT_EQ(driver->InQueueCount(), -1);
    int received = 0;
    EXPECT_EQ(driver->Read(1, big.data(), received), RsFailed);
}

// Bytes beyond the count, arriving with the last piece, wait for the next
// receive: an answer that follows its echo closely is not lost. A read that
// waited for its count would never let the view breathe. (Pieces and the
// silence time-out are in every exchange of the transfer tests.)
TEST(ReceiveBytes, KeepsWhatComesAfterTheCountForTheNextReceive)
{
    TRawLine pty;
    auto driver = OpenOn(pty);
    TTestView view;
    uint8_t dest[3] = {};
    int breaths = 0;
    pty.Send({1});
    view.OnBreathe = [&] {
        if (++breaths == 20)
            pty.Send({2, 3, 4, 5});
    };
    EXPECT_EQ(ReceiveBytes(*driver, dest, 2, view), ReceiveOk);
    EXPECT_EQ(TBytes(dest, dest + 2), (TBytes{1, 2}));
    view.OnBreathe = nullptr;
    EXPECT_EQ(ReceiveBytes(*driver, dest, 3, view), ReceiveOk);
    EXPECT_EQ(TBytes(dest, dest + 3), (TBytes{3, 4, 5}));
}

TEST(ReceiveBytes, CancelReturnsAtOnceAndTouchesNothing)
{
    TRawLine pty;
    auto driver = OpenOn(pty);
    TTestView view;
    view.Cancel = true;
    pty.Send({1, 2, 3});
    ASSERT_TRUE(WaitUntil([&] { return driver->InQueueCount() == 3; }));
    uint8_t dest[3] = {7, 7, 7};
    EXPECT_EQ(ReceiveBytes(*driver, dest, 3, view), ReceiveOk);
    EXPECT_EQ(TBytes(dest, dest + 3), (TBytes{7, 7, 7}));
    EXPECT_EQ(view.Breaths, 0);
    // The alignment's waits do not listen to the flag.
    EXPECT_EQ(ReceiveBytes(*driver, dest, 3, view, false), ReceiveOk);
    EXPECT_EQ(TBytes(dest, dest + 3), (TBytes{1, 2, 3}));
    // What a purge drops is never read.
    pty.Send({4});
    ASSERT_TRUE(WaitUntil([&] { return driver->InQueueCount() == 1; }));
    driver->PurgeRx();
    EXPECT_EQ(driver->InQueueCount(), 0);
}
