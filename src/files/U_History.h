#pragma once
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

// The service history: every image read from or written to a repeater is
// kept in a folder per serial number, and one append-only log tells what
// happened when. Nothing in it is ever overwritten, so a technician can
// always go back to what a unit held before it was programmed.

// One event of the log. The image is kept as `File`, a path relative to the
// history folder.
struct THistoryEntry {
    std::string Time;      // UTC, "2026-12-06T23:15:00Z"
    std::string Serial;
    std::string Firmware;
    std::string Band;      // "VHF" / "UHF"
    std::string Action;    // one of HistoryActions
    std::string Mode;      // "Normal", "Extended", "Manufacture"
    std::string File;
    std::string Sha256;    // of the archived image, 64 lower-case hex digits
    std::string Outcome;   // "done", "verified", "differs", or the transfer's message
};

namespace HistoryActions {
constexpr const char* Upload = "upload";
constexpr const char* BeforeDownload = "before-download";
constexpr const char* Download = "download";
constexpr const char* ReadBack = "readback";
}

class THistory {
public:
    using TClock = std::function<std::time_t()>;
    // `now` stands in for the system clock in tests.
    explicit THistory(std::string folder, TClock now = {});

    const std::string& Folder() const { return FFolder; }
    std::string LogPath() const;

    // Archives `size` bytes of `image` in the folder of `entry.Serial` under
    // a fresh name (time and action; a second event in the same second gets
    // "-2", "-3", ...) and appends the log line. Fills in Time, File and
    // Sha256. False with the reason in `error` when either could not be
    // written.
    bool Record(const uint8_t* image, std::size_t size, THistoryEntry& entry, std::string& error);

    // The log, newest first; `serial` non-empty keeps that unit's lines.
    // Lines that are not whole events (a crash in the middle of a write)
    // are passed over.
    std::vector<THistoryEntry> Entries(const std::string& serial = std::string()) const;
    std::string ImagePath(const THistoryEntry& entry) const;

    // One log line without its line break, and back.
    static std::string LineOf(const THistoryEntry& entry);
    static bool ParseLine(const std::string& line, THistoryEntry& entry);
    // The folder a serial number's images go to: letters, digits, '-', '_'
    // and '.' as they are, anything else '_'; "unknown" when nothing is left.
    static std::string SerialFolder(const std::string& serial);

private:
    std::string FFolder;
    TClock FNow;
};

// The settings that belong to the history and the safe download, keys of
// RK54Win.ini.
namespace HistorySettings {
constexpr const char* SafeDownloadKey = "SAFE_DOWNLOAD";  // 1 (the default) or 0
constexpr const char* FolderKey = "HISTORY_DIR";          // empty: "History" beside the settings file
constexpr const char* TraceKey = "LINK_TRACE";            // a file to trace the link to; empty: none
// The history folder the settings file `iniPath` names (the file need not exist).
std::string FolderFromSettings(const std::string& iniPath);
std::string DefaultFolder(const std::string& iniPath);
}

std::string Sha256Hex(const uint8_t* data, std::size_t size);
