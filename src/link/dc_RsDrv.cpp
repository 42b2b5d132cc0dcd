#include "link/dc_RsDrv.h"

#include "link/U_LinkTrace.h"
#include "link/U_LinkView.h"
#include "link/U_Ports.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QSerialPort>
#include <QThread>

#include <algorithm>
#include <cstring>

#include <sys/file.h>

namespace {

QSerialPort::Parity ParityOf(uint32_t code)
{
    switch (code) {
    case 1: return QSerialPort::OddParity;
    case 2: return QSerialPort::EvenParity;
    case 3: return QSerialPort::MarkParity;
    case 4: return QSerialPort::SpaceParity;
    default: return QSerialPort::NoParity;
    }
}

QSerialPort::StopBits StopBitsOf(uint32_t code)
{
    switch (code) {
    case 1: return QSerialPort::OneAndHalfStop;
    case 2: return QSerialPort::TwoStop;
    default: return QSerialPort::OneStop;
    }
}

// Longest a single write may take to drain before it counts as failed: a
// full piece at the slowest line speed we are ever asked for, with room.
constexpr int WriteDrainMs = 5000;

} // namespace

TCRsDrv::TCRsDrv() : TCRsDrv(TPortHost::System()) {}

TCRsDrv::TCRsDrv(const TPortHost& host) : Host(host) {}

TCRsDrv::~TCRsDrv()
{
    if (Port && Port->isOpen())
        Port->close();
}

bool TCRsDrv::IsOpen() const { return Port && Port->isOpen(); }

int TCRsDrv::Open(const QString& portName)
{
    ErrorText.clear();
    PortName = portName;
    // One device goes by many names (COM9, a link to it, the device node
    // itself); it is opened by the one it really has.
    DevicePath = QFileInfo(Host.DevicePath(portName)).canonicalFilePath();
    if (Port && Port->isOpen())
        Port->close();
    Port = std::make_unique<QSerialPort>();
    if (DevicePath.isEmpty()) {
        ErrorText = "Port Open Error";
        return RsFailed;
    }
    Port->setPortName(DevicePath);
    if (!Port->open(QIODevice::ReadWrite)) {
        ErrorText = "Port Open Error";
        return RsFailed;
    }
    // A second transfer on a device in use would break the running one (a
    // repeater left half-written). The exclusive mode of the terminal does
    // not stop root, so the open device is also locked, which every opener
    // of ours respects whoever runs it and by whatever name.
    if (::flock(int(Port->handle()), LOCK_EX | LOCK_NB) != 0) {
        ErrorText = "Port Open Error";
        Port->close();
        return RsFailed;
    }
    // The driver's own queue is unlimited; the sizes only bound our pieces.
    Port->setReadBufferSize(0);
    Port->clear(QSerialPort::AllDirections);
    const bool lineSet = Port->setBaudRate(qint32(BaudRate))
        && Port->setDataBits(QSerialPort::DataBits(ByteSize))
        && Port->setParity(ParityOf(Parity))
        && Port->setStopBits(StopBitsOf(StopBits))
        && Port->setFlowControl(QSerialPort::NoFlowControl);
    if (!lineSet) {
        ErrorText = "SetCommState Error";
        Port->close();
        return RsFailed;
    }
    // A pseudo-terminal or a bare adapter has no modem-control lines; the
    // repeater does not need them, so a refusal is not a failure.
    Port->setDataTerminalReady(true);
    Port->setRequestToSend(true);
    Port->clearError();
    return RsOk;
}

void TCRsDrv::Close()
{
    if (!IsOpen())
        return;
    Port->setDataTerminalReady(false);
    Port->clear(QSerialPort::AllDirections);
    Port->close();
}

bool TCRsDrv::PortUsable() const
{
    if (!IsOpen())
        return false;
    const auto error = Port->error();
    return error != QSerialPort::ResourceError && error != QSerialPort::ReadError
        && error != QSerialPort::WriteError && error != QSerialPort::PermissionError;
}

int TCRsDrv::Write(const uint8_t* bytes, int count)
{
    ErrorText.clear();
    if (!IsOpen()) {
        ErrorText = "Invalid Handle Error";
        return RsFailed;
    }
    int sent = 0;
    while (sent < count) {
        const int piece = std::min(count - sent, int(OutQueueSize));
        qint64 written = PortUsable() ? Port->write(reinterpret_cast<const char*>(bytes + sent), piece) : -1;
        if (written == piece) {
            QElapsedTimer clock;
            clock.start();
            while (Port->bytesToWrite() > 0 && PortUsable() && clock.elapsed() < WriteDrainMs)
                Port->waitForBytesWritten(WriteDrainMs - int(clock.elapsed()));
            if (Port->bytesToWrite() > 0)
                written = piece - Port->bytesToWrite();
        }
        if (written != piece) {
            ErrorText = QString("WriteFile Error [%1]").arg(std::max<qint64>(written, 0));
            Port->clear(QSerialPort::Output);
            return RsFailed;
        }
        if (Trace)
            Trace->Sent(bytes + sent, piece);
        sent += piece;
    }
    if (Port->error() == QSerialPort::TimeoutError)
        Port->clearError();
    return RsOk;
}

int TCRsDrv::InQueueCount()
{
    ErrorText.clear();
    if (!IsOpen()) {
        ErrorText = "Invalid Handle Error";
        return -1;
    }
    // Move whatever the system holds into the port's buffer without waiting.
    if (Port->bytesAvailable() == 0 && PortUsable())
        Port->waitForReadyRead(0);
    if (Port->error() == QSerialPort::TimeoutError)
        Port->clearError();
    if (!PortUsable()) {
        ErrorText = "ClearCommError";
        return -1;
    }
    return int(std::min<qint64>(Port->bytesAvailable(), INT32_MAX));
}

int TCRsDrv::Read(int count, uint8_t* destination, int& received)
{
    ErrorText.clear();
    received = 0;
    const int waiting = InQueueCount();
    if (waiting < 0)
        return RsFailed;
    if (waiting == 0)
        return RsOk;
    const qint64 got = Port->read(reinterpret_cast<char*>(destination), std::min(count, int(OutQueueSize)));
    received = int(std::max<qint64>(got, 0));
    if (Trace)
        Trace->Received(destination, received);
    return RsOk;
}

void TCRsDrv::PurgeRx()
{
    if (IsOpen()) {
        // Take in what is already on its way so that the purge really empties it.
        Port->waitForReadyRead(0);
        Port->clear(QSerialPort::Input);
        if (Port->error() == QSerialPort::TimeoutError)
            Port->clearError();
    }
}

void TCRsDrv::PurgeTx()
{
    if (IsOpen())
        Port->clear(QSerialPort::Output);
}

void TCRsDrv::WaitForInput(int ms)
{
    if (!IsOpen() || !PortUsable()) {
        QThread::msleep(std::max(ms, 0));
        return;
    }
    if (Port->bytesAvailable() > 0)
        return;
    QElapsedTimer clock;
    clock.start();
    Port->waitForReadyRead(ms);
    if (Port->error() == QSerialPort::TimeoutError)
        Port->clearError();
    // A hung-up device can answer the wait at once, again and again; keep the
    // pause so that a dying port does not turn the loop into a spin.
    if (!PortUsable() && clock.elapsed() < ms)
        QThread::msleep(ms - clock.elapsed());
}

std::unique_ptr<TCRsDrv> OpenRadioPort(const QString& portName, TLinkView& view)
{
    auto driver = std::make_unique<TCRsDrv>();
    driver->SetBaudRate(9600);
    driver->SetParity(0);
    driver->SetByteSize(8);
    driver->SetStopBits(2);
    if (driver->Open(portName) != RsOk) {
        view.Error("Problem on COM port");
        return nullptr;
    }
    driver->Trace = view.Trace();
    if (driver->Trace)
        driver->Trace->Note("port " + portName + " (" + driver->DevicePath + ") open");
    return driver;
}

int ReceiveBytes(TCRsDrv& driver, uint8_t* destination, int count, TLinkView& view, bool cancellable)
{
    constexpr int PollMs = 10;
    uint8_t collected[2048];
    std::memset(collected, 0, sizeof collected);
    count = std::clamp(count, 0, 1024);
    if (count == 0)
        return ReceiveOk;
    int filled = 0;
    QElapsedTimer silence;  // the window's timer: restarted by every byte
    silence.start();
    while (!(cancellable && view.Cancelled())) {
        // Only the bytes still missing: what follows belongs to the next
        // wait (an answer hard on the heels of its echo) and must stay queued.
        int received = 0;
        if (driver.Read(count - filled, collected + filled, received) != RsOk)
            return ReceivePortError;
        if (silence.elapsed() >= view.SilenceMs())
            return ReceiveTimeout;
        if (received == 0) {
            driver.WaitForInput(PollMs);
        } else {
            filled += received;
            if (filled >= count) {
                std::memcpy(destination, collected, size_t(count));
                return ReceiveOk;
            }
            silence.restart();
        }
        view.Breathe();
    }
    return ReceiveOk;
}

void PauseMs(int ms, TLinkView& view)
{
    QElapsedTimer clock;
    clock.start();
    for (qint64 left = ms; left > 0; left = ms - clock.elapsed()) {
        QThread::msleep(unsigned(std::min<qint64>(left, 10)));
        view.Breathe();
    }
}
