#pragma once
#include "link/U_Outcome.h"
#include "link/dc_RsDrv.h"

#include <QByteArray>

#include <array>
#include <cstdint>

// The small steps every exchange with the repeater is made of; for the
// engines of this folder only.
namespace LinkIo {

// Replies and echoes land here; every wait starts from zeros, so a wait that
// a cancel cut short can never look like a good reply.
using TReceiveBuffer = std::array<uint8_t, 512>;

inline bool Send(TCRsDrv& driver, const QByteArray& bytes)
{
    return driver.Write(reinterpret_cast<const uint8_t*>(bytes.constData()), int(bytes.size())) == RsOk;
}

inline bool SendByte(TCRsDrv& driver, uint8_t byte)
{
    return driver.Write(&byte, 1) == RsOk;
}

// Done (also when the view's cancel flag cut the wait short: the caller
// looks at the flag), Timeout or Error.
inline TOutcome Receive(TCRsDrv& driver, TReceiveBuffer& rx, int count, TLinkView& view, bool cancellable = true)
{
    rx.fill(0);
    switch (ReceiveBytes(driver, rx.data(), count, view, cancellable)) {
    case ReceiveOk: return TOutcome::Done;
    case ReceiveTimeout: return TOutcome::Timeout;
    default: return TOutcome::Error;
    }
}

// Sends one byte and takes back its echo, whose fate does not matter.
inline void SendAndSwallowEcho(TCRsDrv& driver, uint8_t byte, TLinkView& view, bool cancellable = true)
{
    TReceiveBuffer rx;
    SendByte(driver, byte);
    Receive(driver, rx, 1, view, cancellable);
}

} // namespace LinkIo
