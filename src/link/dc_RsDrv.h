#pragma once
#include <QString>

#include <cstdint>
#include <memory>

class QSerialPort;
class TLinkTrace;
class TLinkView;
class TPortHost;

// Results of the driver's operations.
constexpr int RsOk = 0;
constexpr int RsFailed = 1;

// The serial port driver of the radio link: open with fixed line settings,
// read without waiting, write synchronously in pieces, count and purge the
// input. Every operation answers RsOk or RsFailed and leaves the reason in
// ErrorText, in the program's own words ("Port Open Error", ...).
//
// A port is named "COM" + number or by a device path; the host decides which
// device a number means (TPortHost).
class TCRsDrv {
public:
    TCRsDrv();
    explicit TCRsDrv(const TPortHost& host);
    ~TCRsDrv();  // releases the device if the owner forgot to Close
    TCRsDrv(const TCRsDrv&) = delete;
    TCRsDrv& operator=(const TCRsDrv&) = delete;

    void SetBaudRate(uint32_t value) { BaudRate = value; }
    void SetByteSize(uint8_t value) { ByteSize = value; }
    void SetParity(uint32_t code) { Parity = code; }      // 0 none, 1 odd, 2 even, 3 mark, 4 space
    void SetStopBits(uint32_t code) { StopBits = code; }  // 0 one, 1 one and a half, 2 two

    int Open(const QString& portName);
    // Drops DTR, discards what is pending and releases the device.
    void Close();
    bool IsOpen() const;

    int Write(const uint8_t* bytes, int count);
    // Takes what is waiting, at most `count` (and OutQueueSize) bytes, and
    // never waits. Nothing waiting is not a failure: received = 0.
    int Read(int count, uint8_t* destination, int& received);
    // Bytes waiting in the input queue, or -1 when the port is unusable.
    int InQueueCount();
    void PurgeRx();
    void PurgeTx();
    // Sleeps until input arrives or `ms` have passed, whichever comes first.
    void WaitForInput(int ms);

    QString PortName;
    QString DevicePath;  // the device PortName named when it was opened, links followed
    QString ErrorText;
    uint32_t BaudRate = 38400;
    uint8_t ByteSize = 8;
    uint32_t Parity = 0;
    uint32_t StopBits = 2;
    uint32_t InQueueSize = 2048;
    uint32_t OutQueueSize = 2048;
    // Every byte written and read goes here too when set (not owned).
    TLinkTrace* Trace = nullptr;

private:
    bool PortUsable() const;

    const TPortHost& Host;
    std::unique_ptr<QSerialPort> Port;
};

// The repeater's line: 9600 bit/s, 8 data bits, no parity, two stop bits.
// On failure tells the person "Problem on COM port" and returns nothing.
// The driver traces to the view's trace, if it has one.
std::unique_ptr<TCRsDrv> OpenRadioPort(const QString& portName, TLinkView& view);

// Results of ReceiveBytes.
constexpr int ReceiveOk = 0;
constexpr int ReceivePortError = 1;
constexpr int ReceiveTimeout = 2;

// Collects exactly `count` bytes (at most 1024) into `destination`, keeping
// the program breathing while it waits. Returns ReceiveTimeout after the
// view's silence time without a single new byte, ReceivePortError when the
// port fails. When the view's cancel flag is (or becomes) set it returns
// ReceiveOk with `destination` untouched; callers check the flag themselves.
// Bytes beyond `count` stay queued for the next wait. `cancellable` false
// ignores the flag (the alignment waits).
int ReceiveBytes(TCRsDrv& driver, uint8_t* destination, int count, TLinkView& view,
                 bool cancellable = true);

// A pause that keeps the program breathing; it cannot be cancelled.
void PauseMs(int ms, TLinkView& view);
