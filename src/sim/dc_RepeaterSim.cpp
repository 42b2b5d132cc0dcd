#include "sim/dc_RepeaterSim.h"

#include "codec/dc_Map54.h"
#include "files/U_FileAccess.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr uint8_t STX = 0x02, ETX = 0x03, ACK = 0x06, NAK = 0x15, ETB = 0x17, EndOfTransfer = 0x28;
constexpr uint8_t AlignCommand = 0xB1, AlignStatus = 0xB2, Area6Fill = 0x63;
// The block of area 4 where the block faults strike.
constexpr uint8_t FaultBlock = 4;
// A frame that stops arriving for this long is dropped, so that a program
// that gave up half-way finds the repeater listening again.
constexpr auto FrameGap = std::chrono::milliseconds(500);

struct TFaultName {
    TSimFault Fault;
    const char* Name;
};
constexpr TFaultName FaultNames[] = {
    {TSimFault::NoAnswer, "no-answer"},     {TSimFault::WrongHandshake, "wrong-handshake"},
    {TSimFault::BadChecksum, "bad-checksum"}, {TSimFault::WrongIndex, "wrong-index"},
    {TSimFault::Silence, "silence"},        {TSimFault::NegativeAck, "nak"},
    {TSimFault::DeviceGone, "gone"},        {TSimFault::CorruptStore, "corrupt-store"},
};

// The memory area a block command names, by its high nibble.
const Image54::TCloneArea* AreaOf(uint8_t command)
{
    for (const Image54::TCloneArea& area : Image54::CloneAreas)
        if (area.ReadCommand >> 4 == command >> 4)
            return &area;
    return nullptr;
}

bool IsFrameCommand(uint8_t b)
{
    return (AreaOf(b) && ((b & 0x0F) == 1 || (b & 0x0F) == 2)) || b == Area6Fill || b == AlignCommand
        || b == AlignStatus;
}

uint8_t Sum(const std::vector<uint8_t>& bytes, size_t count)
{
    return TMap::Checksum(bytes.data(), int(count));
}

std::vector<uint8_t> WithSum(std::vector<uint8_t> frame)
{
    frame.push_back(Sum(frame, frame.size()));
    return frame;
}

} // namespace

bool ParseSimFault(const std::string& name, TSimFault& fault)
{
    for (const TFaultName& f : FaultNames)
        if (name == f.Name) {
            fault = f.Fault;
            return true;
        }
    return false;
}

std::vector<std::string> SimFaultNames()
{
    std::vector<std::string> names;
    for (const TFaultName& f : FaultNames)
        names.emplace_back(f.Name);
    return names;
}

TRepeaterSim::TRepeaterSim(const TMap& memory, TSimOptions options)
    : Options(std::move(options)), Image(memory.Content())
{
}

TRepeaterSim::~TRepeaterSim()
{
    Stop();
    CloseDevice();
    for (int& fd : WakePipe)
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
}

bool TRepeaterSim::Open(std::string& error)
{
    Master = ::posix_openpt(O_RDWR | O_NOCTTY);
    char name[256] = {};
    if (Master < 0 || ::grantpt(Master) != 0 || ::unlockpt(Master) != 0
        || ::ptsname_r(Master, name, sizeof name) != 0) {
        error = std::string("cannot make a pseudo-terminal: ") + std::strerror(errno);
        CloseDevice();
        return false;
    }
    SlavePath = name;
    SlaveHold = ::open(name, O_RDWR | O_NOCTTY);
    termios line {};
    if (SlaveHold < 0 || ::tcgetattr(SlaveHold, &line) != 0) {
        error = "cannot open " + SlavePath + ": " + std::strerror(errno);
        CloseDevice();
        return false;
    }
    // Raw both ways: no echo of its own, no line editing, no character
    // translation; the echo is the cable's, played below.
    ::cfmakeraw(&line);
    ::cfsetispeed(&line, B9600);
    ::cfsetospeed(&line, B9600);
    ::tcsetattr(SlaveHold, TCSANOW, &line);
    ::fcntl(Master, F_SETFL, ::fcntl(Master, F_GETFL) | O_NONBLOCK);
    if (WakePipe[0] < 0 && ::pipe2(WakePipe, O_NONBLOCK | O_CLOEXEC) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        CloseDevice();
        return false;
    }
    if (!Options.LinkPath.empty()) {
        namespace fs = std::filesystem;
        std::error_code ec;
        const fs::path link(Options.LinkPath);
        if (link.has_parent_path())
            fs::create_directories(link.parent_path(), ec);
        if (fs::is_symlink(fs::symlink_status(link, ec)))
            fs::remove(link, ec);
        ec.clear();
        fs::create_symlink(SlavePath, link, ec);
        if (ec) {
            error = "cannot make the link " + Options.LinkPath + ": " + ec.message();
            CloseDevice();
            return false;
        }
    }
    return true;
}

void TRepeaterSim::CloseDevice()
{
    if (Master >= 0)
        ::close(Master);
    if (SlaveHold >= 0)
        ::close(SlaveHold);
    Master = SlaveHold = -1;
    if (!Options.LinkPath.empty()) {
        std::error_code ec;
        if (std::filesystem::is_symlink(std::filesystem::symlink_status(Options.LinkPath, ec)))
            std::filesystem::remove(Options.LinkPath, ec);
    }
}

void TRepeaterSim::Start()
{
    if (!Worker.joinable())
        Worker = std::thread([this] { Run(); });
}

void TRepeaterSim::Stop()
{
    RequestStop();
    if (Worker.joinable())
        Worker.join();
}

void TRepeaterSim::RequestStop()
{
    Stopping = true;
    if (WakePipe[1] >= 0) {
        const char wake = 1;
        [[maybe_unused]] ssize_t n = ::write(WakePipe[1], &wake, 1);
    }
}

void TRepeaterSim::Run()
{
    Serve();
    SaveMemory();
    CloseDevice();
}

TMap::TImage TRepeaterSim::Memory() const
{
    std::lock_guard guard(Lock);
    return Image;
}

std::vector<std::vector<uint8_t>> TRepeaterSim::Received() const
{
    std::lock_guard guard(Lock);
    return Record_;
}

int TRepeaterSim::Transfers() const
{
    std::lock_guard guard(Lock);
    return TransferCount;
}

void TRepeaterSim::Record(const std::vector<uint8_t>& unit)
{
    std::lock_guard guard(Lock);
    Record_.push_back(unit);
}

void TRepeaterSim::SaveMemory()
{
    if (Options.SavePath.empty())
        return;
    const TMap::TImage image = Memory();
    SaveFailure = !WriteFileAtomically(Options.SavePath, std::string(image.begin(), image.end()));
}

void TRepeaterSim::Serve()
{
    uint8_t buffer[4096];
    while (!Stopping && Master >= 0) {
        FlushDue();
        const auto now = TClock::now();
        timespec wait {};
        timespec* timeout = nullptr;
        short masterEvents = POLLIN;
        auto until = TClock::time_point::max();
        if (!Out.empty()) {
            if (Out.front().Due <= now)
                masterEvents |= POLLOUT;  // the line is blocked; wait for room
            else
                until = Out.front().Due;
        }
        if (!Pending.empty())
            until = std::min(until, LastByte + FrameGap);
        if (until != TClock::time_point::max()) {
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(std::max(until - now, TClock::duration::zero()));
            wait.tv_sec = time_t(ns.count() / 1'000'000'000);
            wait.tv_nsec = long(ns.count() % 1'000'000'000);
            timeout = &wait;
        }
        pollfd fds[2] = {{Master, masterEvents, 0}, {WakePipe[0], POLLIN, 0}};
        if (::ppoll(fds, 2, timeout, nullptr) < 0 && errno != EINTR)
            break;
        if (fds[1].revents & POLLIN) {
            char drain[16];
            while (::read(WakePipe[0], drain, sizeof drain) > 0) {
            }
        }
        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(Master, buffer, sizeof buffer);
            if (n > 0)
                TakeIn(buffer, int(n));
        }
        if (!Pending.empty() && TClock::now() - LastByte >= FrameGap)
            Pending.clear();
    }
}

void TRepeaterSim::TakeIn(const uint8_t* bytes, int count)
{
    for (int i = 0; i < count && Master >= 0; ++i)
        TakeByte(bytes[i]);
}

void TRepeaterSim::TakeByte(uint8_t byte)
{
    LastByte = TClock::now();
    std::vector<uint8_t> unit;
    if (Pending.empty() && !IsFrameCommand(byte)) {
        unit = {byte};
    } else {
        Pending.push_back(byte);
        if (Pending.size() >= 3 && Pending.size() == size_t(Pending[2]) + 3) {
            unit = std::move(Pending);
            Pending.clear();
        }
    }
    // The repeater has acted on a unit before its last byte's echo leaves,
    // so whoever has seen the echo finds the unit recorded and its effects made.
    std::vector<uint8_t> reply;
    if (!unit.empty()) {
        Record(unit);
        reply = unit.size() == 1 ? Answer(unit) : AnswerFrame(unit);
    }
    Emit({byte});  // the cable's echo
    Emit(reply);
}

std::vector<uint8_t> TRepeaterSim::Answer(const std::vector<uint8_t>& unit)
{
    switch (unit[0]) {
    case STX:
        if (Has(TSimFault::NoAnswer))
            return {};
        return {STX, uint8_t(Has(TSimFault::WrongHandshake) ? 0x00 : 0x01)};
    case ETX:
        return {ETX, 0x01};
    case EndOfTransfer:
        {
            std::lock_guard guard(Lock);
            ++TransferCount;
        }
        SaveMemory();
        return {};
    default:
        return {};  // ACK, NAK, end of section and strays: the echo says it all
    }
}

std::vector<uint8_t> TRepeaterSim::AnswerFrame(const std::vector<uint8_t>& frame)
{
    const uint8_t command = frame[0];
    const uint8_t index = frame[3];
    const bool sumOk = Sum(frame, frame.size() - 1) == frame.back();
    const bool faultBlock = (command == 0x42 || command == 0x41) && index == FaultBlock;
    if (faultBlock && Has(TSimFault::DeviceGone)) {
        CloseDevice();
        return {};
    }
    if (faultBlock && Has(TSimFault::Silence))
        return {};

    if (command == AlignStatus) {
        std::vector<uint8_t> reply = WithSum({AlignStatus, 0x00, 0x05, 0x41, Options.Vr, Options.Nsq, Options.Rssi});
        if (Has(TSimFault::BadChecksum))
            ++reply.back();
        return reply;
    }
    if (command == AlignCommand || command == Area6Fill) {
        const bool refused = command == AlignCommand && Has(TSimFault::NegativeAck);
        return {ACK, sumOk && !refused ? ETB : NAK};
    }
    const Image54::TCloneArea* found = AreaOf(command);
    if (!found)
        return {};
    const Image54::TCloneArea& area = *found;
    const bool write = (command & 0x0F) == 1;
    const int block = area.Blocks == 1 ? 0 : index - area.FirstIndex;
    const bool indexOk = area.Blocks == 1 ? index == (write ? 0xFF : 0x00) : block >= 0 && block < area.Blocks;
    const int offset = area.Offset(area.FirstIndex + block);

    if (write) {
        const bool good = sumOk && indexOk && frame.size() == size_t(area.DataBytes) + 5
            && !(faultBlock && Has(TSimFault::NegativeAck));
        if (good) {
            std::lock_guard guard(Lock);
            std::memcpy(Image.data() + offset, frame.data() + 4, size_t(area.DataBytes));
            // A failing memory cell: the block is taken and acknowledged,
            // but what the unit holds is not what it was sent.
            if (faultBlock && Has(TSimFault::CorruptStore))
                Image[size_t(offset)] = uint8_t(~Image[size_t(offset)]);
        }
        return {ACK, good ? ETB : NAK};
    }
    if (!sumOk || !indexOk)
        return {};
    // Block 3 in place of block 4 is a well-formed reply to the wrong question.
    const bool wrongIndex = faultBlock && Has(TSimFault::WrongIndex);
    const int replyOffset = wrongIndex ? offset - area.DataBytes : offset;
    std::vector<uint8_t> reply = {command, 0x00, area.Length(), uint8_t(wrongIndex ? index - 1 : index)};
    {
        std::lock_guard guard(Lock);
        reply.insert(reply.end(), Image.begin() + replyOffset, Image.begin() + replyOffset + area.DataBytes);
    }
    reply = WithSum(std::move(reply));
    if (faultBlock && Has(TSimFault::BadChecksum))
        ++reply.back();
    return reply;
}

void TRepeaterSim::Emit(const std::vector<uint8_t>& bytes)
{
    const auto now = TClock::now();
    for (uint8_t b : bytes) {
        if (Options.Pace) {
            // A byte reaches the far end when its last stop bit is through.
            LineFree = std::max(LineFree, now) + std::chrono::duration_cast<TClock::duration>(ByteTime);
            Out.push_back({b, LineFree});
        } else {
            Out.push_back({b, now});
        }
    }
    FlushDue();
}

void TRepeaterSim::FlushDue()
{
    const auto now = TClock::now();
    uint8_t chunk[4096];
    while (Master >= 0 && !Out.empty() && Out.front().Due <= now) {
        size_t n = 0;
        while (n < Out.size() && n < sizeof chunk && Out[n].Due <= now)
            chunk[n] = Out[n].Byte, ++n;
        const ssize_t written = ::write(Master, chunk, n);
        if (written <= 0)
            return;  // the line is full; the loop waits for room
        Out.erase(Out.begin(), Out.begin() + written);
        SentCount += uint64_t(written);
    }
}
