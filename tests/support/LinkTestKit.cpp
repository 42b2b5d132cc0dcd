#include "support/LinkTestKit.h"
#include "link/dc_RsDrv.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

std::vector<int> TTestView::ProgressSteps() const
{
    std::vector<int> steps;
    for (int p : Progress)
        if (steps.empty() || steps.back() != p)
            steps.push_back(p);
    return steps;
}

void ExpectSameDocument(const TRKmem& a, const TRKmem& b)
{
    EXPECT_EQ(ImageOf(a).Content(), ImageOf(b).Content());
    EXPECT_EQ(DocumentDifferences(a, b), "");
}

TMap54 AsUploaded(const TMap& memory)
{
    TMap54 image;
    image.Clear();
    std::copy_n(memory.Data(), CloneSize, image.Data());
    image[Image54::EndMarker] = Image54::Marker;
    return image;
}

TSimRig::TSimRig(const TMap& memory, TSimOptions options)
    : Sim(std::make_unique<TRepeaterSim>(memory, std::move(options)))
{
    std::string error;
    if (!Sim->Open(error))
        ADD_FAILURE() << error;
    Sim->Start();
}

TSimRig::~TSimRig()
{
    Sim->Stop();
}

TSimOptions WithFault(TSimFault fault)
{
    TSimOptions options;
    options.Faults.insert(fault);
    return options;
}

TTransferRig::TTransferRig(TSimOptions options, const TMap& memory) : Sim(memory, std::move(options)) {}

TTransferResult TTransferRig::Run(bool upload, TProgramMode mode)
{
    return upload ? Upload(Sim.Port(), Doc, Image, View) : Download(Sim.Port(), Doc, Image, mode, View);
}

TBytes Commands(const TUnits& units)
{
    TBytes commands;
    for (const TBytes& unit : units)
        commands.push_back(unit.at(0));
    return commands;
}

int CountOf(const TUnits& units, uint8_t command)
{
    return int(std::count_if(units.begin(), units.end(), [&](const TBytes& u) { return u.at(0) == command; }));
}

TBytes Bytes(const QByteArray& a)
{
    return TBytes(a.begin(), a.end());
}

TBytes Joined(std::initializer_list<TBytes> parts)
{
    TBytes all;
    for (const TBytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

TBytes WithSum(TBytes frame)
{
    frame.push_back(uint8_t(std::accumulate(frame.begin(), frame.end(), 0u)));
    return frame;
}

TUnits AlignCommands(const TUnits& units)
{
    TUnits frames;
    std::copy_if(units.begin(), units.end(), std::back_inserter(frames),
                 [](const TBytes& u) { return u.size() > 1 && u.front() == 0xB1; });
    return frames;
}

TUnits Tail(const TUnits& units, size_t count)
{
    return TUnits(units.end() - std::ptrdiff_t(std::min(count, units.size())), units.end());
}

const TUnits ClosingSequence = {{0x27}, {0x03}, {0x06}, {0x28}};

bool PortIsFree(const QString& port)
{
    TCRsDrv probe;
    const bool free = probe.Open(port) == RsOk;
    probe.Close();
    return free;
}

bool WaitUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    return true;
}

namespace {

void MakeRaw(int fd)
{
    termios t {};
    ::tcgetattr(fd, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(fd, TCSANOW, &t);
}

} // namespace

TRawLine::TRawLine()
{
    Fd = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (Fd < 0 || ::grantpt(Fd) != 0 || ::unlockpt(Fd) != 0) {
        ADD_FAILURE() << "no pseudo-terminal";
        return;
    }
    Path = ::ptsname(Fd);
    Hold = ::open(Path.c_str(), O_RDWR | O_NOCTTY);
    MakeRaw(Hold);
}

TRawLine::TRawLine(const std::string& device) : Path(device)
{
    Fd = ::open(device.c_str(), O_RDWR | O_NOCTTY);
    if (Fd < 0)
        ADD_FAILURE() << "cannot open " << device;
    MakeRaw(Fd);
}

TRawLine::~TRawLine()
{
    ::close(Fd);
    if (Hold >= 0)
        ::close(Hold);
}

void TRawLine::Send(const TBytes& bytes)
{
    ASSERT_EQ(::write(Fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
}

TBytes TRawLine::Take(size_t count)
{
    TBytes got;
    uint8_t b;
    while (got.size() < count && ::read(Fd, &b, 1) == 1)
        got.push_back(b);
    return got;
}

TBytes TRawLine::TakeUntilQuiet(int quietMs)
{
    TBytes got;
    pollfd p {Fd, POLLIN, 0};
    uint8_t buffer[512];
    while (::poll(&p, 1, quietMs) > 0 && (p.revents & POLLIN)) {
        const ssize_t n = ::read(Fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

TBytes TRawLine::Ask(const TBytes& bytes)
{
    Send(bytes);
    const TBytes got = TakeUntilQuiet();
    const size_t echo = std::min(bytes.size(), got.size());
    EXPECT_EQ(TBytes(got.begin(), got.begin() + echo), bytes) << "echo";
    return TBytes(got.begin() + echo, got.end());
}
