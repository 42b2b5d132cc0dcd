#pragma once
#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <cstdint>

// A readable record of every byte that crossed the serial line, with its
// time, so the trace of a failed transfer can be sent to support:
//
//     # RK54 link trace of COM3, started 2026-12-06T23:15:00Z
//       12.408 ms  sent  02
//       14.512 ms  recv  02 02 01
//
// "recv" lines hold what one read took from the port (echo included).
class TLinkTrace {
public:
    // Starts a new trace in `path` (an older file of that name is replaced).
    // False with the reason in ErrorText when it cannot be written.
    bool Open(const QString& path);
    bool IsOpen() const { return File.isOpen(); }
    void Note(const QString& text);  // a "#" line: which port, which step
    void Sent(const uint8_t* bytes, int count) { Line("sent", bytes, count); }
    void Received(const uint8_t* bytes, int count) { Line("recv", bytes, count); }

    QString ErrorText;

private:
    void Line(const char* direction, const uint8_t* bytes, int count);

    QFile File;
    QElapsedTimer Clock;
};
