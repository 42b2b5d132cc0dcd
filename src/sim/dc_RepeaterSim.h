#pragma once
#include "codec/dc_Map.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

// Faults the simulated repeater can be told to make. Those that concern a
// block strike at memory area 4, block 4 (read or write).
enum class TSimFault {
    NoAnswer,        // never answers the start request (the cable still echoes)
    WrongHandshake,  // answers the start request with 0x02 0x00
    BadChecksum,     // a reply with a wrong checksum; every status reply too
    WrongIndex,      // answers the request for block 4 with block 3
    Silence,         // falls silent in the middle of area 4
    NegativeAck,     // acknowledges the write of block 4, and alignment commands, with 0x06 0x15
    DeviceGone,      // the device disappears in the middle of area 4
    CorruptStore,    // acknowledges the write of block 4 but stores its first byte inverted
};

// "no-answer", "wrong-handshake", "bad-checksum", "wrong-index", "silence",
// "nak", "gone", "corrupt-store".
bool ParseSimFault(const std::string& name, TSimFault& fault);
std::vector<std::string> SimFaultNames();

struct TSimOptions {
    // Deliver what the repeater and the cable send at the pace of the real
    // line: 9600 bit/s, a start bit, 8 data bits and 2 stop bits a byte.
    bool Pace = false;
    std::set<TSimFault> Faults;
    // A link to the device, made when the simulator opens and removed when
    // it stops (for instance ~/.config/RK54Win/ports/COM9).
    std::string LinkPath;
    // Written with the repeater's memory after every completed transfer and
    // when the simulator stops.
    std::string SavePath;
    // The live values of the alignment status reply.
    uint8_t Vr = 0x1A;
    uint8_t Nsq = 0x2B;
    uint8_t Rssi = 0x3C;
};

// A repeater with its programming cable at the far end of a pseudo-terminal.
// It echoes every byte like the cable and plays the repeater's side of the
// clone and alignment protocols from its memory image. It runs on a thread of
// its own (Start/Stop) or in the caller's thread (Run).
class TRepeaterSim {
public:
    TRepeaterSim(const TMap& memory, TSimOptions options);
    ~TRepeaterSim();
    TRepeaterSim(const TRepeaterSim&) = delete;
    TRepeaterSim& operator=(const TRepeaterSim&) = delete;

    // Opens the pseudo-terminal pair and makes the link. False with `error`
    // set when that fails.
    bool Open(std::string& error);
    // The device a program opens to talk to the repeater.
    const std::string& DevicePath() const { return SlavePath; }

    void Start();
    void Stop();
    // Serves until RequestStop (safe to call from a signal handler) or until
    // the device is gone.
    void Run();
    void RequestStop();

    // The repeater's memory as a 1986-byte image.
    TMap::TImage Memory() const;
    // Everything the computer sent, cut into frames and single bytes.
    std::vector<std::vector<uint8_t>> Received() const;
    // Completed transfers (end bytes 0x28 seen).
    int Transfers() const;
    // Bytes the repeater and the cable have sent so far (echo included).
    uint64_t BytesSent() const { return SentCount; }
    // The last save of the memory failed.
    bool SaveFailed() const { return SaveFailure; }

    static constexpr std::chrono::nanoseconds ByteTime {1'145'833};  // 11 bits at 9600 bit/s

private:
    using TClock = std::chrono::steady_clock;
    struct TOutByte {
        uint8_t Byte;
        TClock::time_point Due;
    };

    void Serve();
    void TakeIn(const uint8_t* bytes, int count);
    void TakeByte(uint8_t byte);
    // The repeater acts on a whole unit and gives the bytes it answers with.
    std::vector<uint8_t> Answer(const std::vector<uint8_t>& unit);
    std::vector<uint8_t> AnswerFrame(const std::vector<uint8_t>& frame);
    void Emit(const std::vector<uint8_t>& bytes);
    void FlushDue();
    bool Has(TSimFault fault) const { return Options.Faults.count(fault) != 0; }
    void Record(const std::vector<uint8_t>& unit);
    void SaveMemory();
    void CloseDevice();

    TSimOptions Options;
    mutable std::mutex Lock;  // guards Memory and the record
    TMap::TImage Image {};
    std::vector<std::vector<uint8_t>> Record_;
    int TransferCount = 0;

    int Master = -1;
    int SlaveHold = -1;  // keeps the line up between the program's sessions
    int WakePipe[2] = {-1, -1};
    std::string SlavePath;
    std::atomic<bool> Stopping {false};
    std::atomic<bool> SaveFailure {false};
    std::atomic<uint64_t> SentCount {0};
    std::thread Worker;

    std::vector<uint8_t> Pending;      // a frame being received
    TClock::time_point LastByte {};
    std::deque<TOutByte> Out;
    TClock::time_point LineFree {};
};
