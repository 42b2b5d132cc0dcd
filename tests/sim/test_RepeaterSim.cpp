// The simulated repeater byte for byte, talked to through the raw device.
#include "support/LinkTestKit.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

// A memory whose every byte tells its address (modulo 251).
TMap Memory()
{
    TMap memory;
    for (int a = 0; a < ImageSize; ++a)
        memory[a] = uint8_t(a % 251);
    return memory;
}

// The answer to a read request: block `index` of `bytes` bytes at `offset`.
TBytes Block(uint8_t command, uint8_t index, int offset, int bytes)
{
    const TMap m = Memory();
    TBytes reply = {command, 0x00, uint8_t(bytes + 2), index};
    reply.insert(reply.end(), m.Data() + offset, m.Data() + offset + bytes);
    return WithSum(reply);
}

} // namespace

// One session through what a fault-free repeater answers, in the order a
// program might send it. The other blocks of each read and write are the
// transfer tests' (their images are compared whole).
TEST(RepeaterSim, AnswersEachRequestByteForByte)
{
    TSimOptions options;
    options.Vr = 0x01;
    options.Nsq = 0x80;
    options.Rssi = 0xFF;
    TSimRig sim(Memory(), options);
    TRawLine line(sim->DevicePath());
    const TBytes data = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const TBytes write6 = WithSum({0x61, 0x00, 0x0C, 3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    TBytes spoilt = write6;
    spoilt[5] ^= 0xFF;
    spoilt.back() ^= 0x01;
    TBytes area1 = {0x11, 0x00, 0x52, 0xFF};  // single-block areas are written with index 0xFF
    area1.resize(84, 0xEE);
    const TBytes ack = {0x06, 0x17}, nak = {0x06, 0x15};
    const struct {
        TBytes Request;
        TBytes Reply;
    } cases[] = {
        {{0x02}, {0x02, 0x01}},
        {{0x06}, {}},
        {WithSum({0x12, 0x00, 0x02, 0}), Block(0x12, 0, 0, 80)},
        {WithSum({0x42, 0x00, 0x02, 15}), Block(0x42, 15, 928, 48)},
        {{0x27}, {}},
        {{0x03}, {0x03, 0x01}},
        {WithSum({0x62, 0x00, 0x02, 48}), Block(0x62, 48, 1446, 10)},
        // Out of range or spoilt requests get no answer.
        {WithSum({0x42, 0x00, 0x02, 16}), {}},
        {WithSum({0x62, 0x00, 0x02, 0}), {}},
        {{0x42, 0x00, 0x02, 0x01, 0x00}, {}},
        {write6, ack},
        {spoilt, nak},
        {WithSum(area1), ack},
        {{0xB1, 0x00, 0x02, 0x72, 0x25}, ack},
        {{0xB2, 0x00, 0x02, 0x51, 0x05}, WithSum({0xB2, 0x00, 0x05, 0x41, 0x01, 0x80, 0xFF})},
        {{0x28}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(line.Ask(c.Request), c.Reply) << "request " << int(c.Request[0]);
        EXPECT_EQ(sim->Transfers(), c.Request == TBytes{0x28} ? 1 : 0);
    }
    // Only the good writes of areas 1 and 6 changed the memory.
    TMap::TImage expected = Memory().Content();
    std::fill_n(expected.begin(), 80, 0xEE);
    std::copy(data.begin(), data.end(), expected.begin() + 996);
    EXPECT_EQ(sim->Memory(), expected);
}

TEST(RepeaterSim, TheDeviceCanDisappear)
{
    namespace fs = std::filesystem;
    const TTempFolder folder;
    const fs::path link = folder.Path / "COM9";
    TSimOptions options = WithFault(TSimFault::DeviceGone);
    options.LinkPath = link.string();
    TSimRig sim(Memory(), options);
    EXPECT_TRUE(fs::is_symlink(link));
    TRawLine line(sim->DevicePath());
    line.Send(WithSum({0x42, 0x00, 0x02, 0x04}));
    line.TakeUntilQuiet();
    EXPECT_TRUE(WaitUntil([&] { return !fs::is_symlink(fs::symlink_status(link)); }));
}

TEST(RepeaterSim, AFrameLeftHalfWayIsForgotten)
{
    TSimRig sim(Memory());
    TRawLine line(sim->DevicePath());
    line.Ask({0x42, 0x00, 0x02});
    // The gap itself is what is tested: longer than the simulator's 500 ms.
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    EXPECT_EQ(line.Ask({0x02}), (TBytes{0x02, 0x01}));
}
