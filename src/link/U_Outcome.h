#pragma once

// What an exchange with the repeater came to. The numbers are rk54's exit
// statuses for the same ends, which scripts and the manual rely on: keep
// them as they are.
enum class TOutcome : int {
    Done = 0,
    Error = 1,      // port error, write failure, handshake refused
    Timeout = 2,    // the repeater fell silent
    Checksum = 10,  // a reply's checksum is wrong
    BadImage = 14,  // the image read cannot be decoded
    BadReply = 20,  // unexpected reply header or block acknowledgement
};
