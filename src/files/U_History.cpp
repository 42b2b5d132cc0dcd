#include "files/U_History.h"

#include "files/U_FileAccess.h"
#include "files/dc_Ini.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// SHA-256 as FIPS 180-4 gives it; images are small, so clarity wins over speed.
class TSha256 {
public:
    void Add(const uint8_t* data, std::size_t size)
    {
        for (std::size_t k = 0; k < size; ++k) {
            Block[Used++] = data[k];
            if (Used == 64)
                Compress();
        }
        Length += uint64_t(size) * 8;
    }

    std::string Hex()
    {
        const uint64_t bits = Length;
        const uint8_t one = 0x80;
        Add(&one, 1);
        const uint8_t zero = 0;
        while (Used != 56)
            Add(&zero, 1);
        for (int shift = 56; shift >= 0; shift -= 8) {
            const auto b = uint8_t(bits >> shift);
            Add(&b, 1);
        }
        static const char digits[] = "0123456789abcdef";
        std::string out;
        for (uint32_t word : H)
            for (int shift = 28; shift >= 0; shift -= 4)
                out += digits[(word >> shift) & 0xF];
        return out;
    }

private:
    static uint32_t Rotr(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

    void Compress()
    {
        static constexpr uint32_t K[64] = {
            0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
            0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
            0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
            0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
            0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
            0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
            0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
            0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};
        uint32_t w[64];
        for (size_t t = 0; t < 16; ++t)
            w[t] = uint32_t(Block[4 * t]) << 24 | uint32_t(Block[4 * t + 1]) << 16
                   | uint32_t(Block[4 * t + 2]) << 8 | uint32_t(Block[4 * t + 3]);
        for (int t = 16; t < 64; ++t) {
            const uint32_t s0 = Rotr(w[t - 15], 7) ^ Rotr(w[t - 15], 18) ^ (w[t - 15] >> 3);
            const uint32_t s1 = Rotr(w[t - 2], 17) ^ Rotr(w[t - 2], 19) ^ (w[t - 2] >> 10);
            w[t] = w[t - 16] + s0 + w[t - 7] + s1;
        }
        uint32_t a = H[0], b = H[1], c = H[2], d = H[3], e = H[4], f = H[5], g = H[6], h = H[7];
        for (int t = 0; t < 64; ++t) {
            const uint32_t t1 = h + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + ((e & f) ^ (~e & g)) + K[t] + w[t];
            const uint32_t t2 = (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
            h = g, g = f, f = e, e = d + t1, d = c, c = b, b = a, a = t1 + t2;
        }
        const uint32_t add[8] = {a, b, c, d, e, f, g, h};
        for (int k = 0; k < 8; ++k)
            H[k] += add[k];
        Used = 0;
    }

    std::array<uint32_t, 8> H {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                               0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::array<uint8_t, 64> Block {};
    std::size_t Used = 0;
    uint64_t Length = 0;
};

constexpr char Separator = '\t';
constexpr std::size_t FieldCount = 9;

// A field never carries the separator or a line break into the log.
std::string Clean(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return out;
}

std::string UtcText(std::time_t time, const char* format)
{
    const std::tm parts = *std::gmtime(&time);  // copied at once: the engine runs on one thread
    char text[32];
    std::strftime(text, sizeof text, format, &parts);
    return text;
}

bool IsSha256(const std::string& text)
{
    return text.size() == 64
           && std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// Appends one whole line. A log whose last line was cut short by a crash
// gets a cancel mark and a line break first: the broken line becomes one
// line that readers pass over (no event holds a control character, even if
// the cut left all nine fields), and the new event starts clean.
bool AppendLine(const fs::path& log, const std::string& line)
{
    std::error_code error;
    std::string text;
    const auto size = fs::file_size(log, error);
    if (!error && size > 0) {
        std::ifstream in(log, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(size - 1));
        char last = '\n';
        if (in.get(last) && last != '\n')
            text += "\x18\n";
    }
    text += line + '\n';
    // One write, so the line is either there or cut short, never interleaved.
    return AppendToFile(log.string(), text);
}

} // namespace

std::string Sha256Hex(const uint8_t* data, std::size_t size)
{
    TSha256 sha;
    sha.Add(data, size);
    return sha.Hex();
}

THistory::THistory(std::string folder, TClock now) : FFolder(std::move(folder)), FNow(std::move(now))
{
    if (!FNow)
        FNow = [] { return std::time(nullptr); };
}

std::string THistory::LogPath() const
{
    return (fs::path(FFolder) / "history.log").string();
}

std::string THistory::SerialFolder(const std::string& serial)
{
    std::string out;
    for (char c : serial) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'
                           || c == '_' || c == '.';
        out += plain ? c : '_';
    }
    const auto first = out.find_first_not_of("_.");
    return first == std::string::npos ? "unknown" : out;
}

bool THistory::Record(const uint8_t* image, std::size_t size, THistoryEntry& entry, std::string& error)
{
    const std::time_t now = FNow();
    entry.Time = UtcText(now, "%Y-%m-%dT%H:%M:%SZ");
    entry.Sha256 = Sha256Hex(image, size);
    const std::string folderName = SerialFolder(entry.Serial);
    const fs::path folder = fs::path(FFolder) / folderName;
    std::error_code failure;
    fs::create_directories(folder, failure);
    const std::string stem = UtcText(now, "%Y%m%dT%H%M%SZ") + "-" + entry.Action;
    const std::string bytes(reinterpret_cast<const char*>(image), size);
    bool written = false;
    for (int n = 1; n <= 100 && !written; ++n) {
        const std::string name = stem + (n == 1 ? std::string() : "-" + std::to_string(n)) + ".R54";
        bool exists = false;
        written = WriteNewFile((folder / name).string(), bytes, exists);
        if (written)
            entry.File = folderName + "/" + name;
        else if (!exists)
            break;
    }
    if (!written) {
        error = "The image cannot be kept in the service history folder " + folder.string() + ".";
        return false;
    }
    if (!AppendLine(LogPath(), LineOf(entry))) {
        error = "The service history log " + LogPath() + " cannot be written.";
        return false;
    }
    return true;
}

std::vector<THistoryEntry> THistory::Entries(const std::string& serial) const
{
    std::vector<THistoryEntry> out;
    std::ifstream in(LogPath(), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        // A last line without its break is a write that never finished.
        if (in.eof())
            break;
        THistoryEntry entry;
        if (ParseLine(line, entry) && (serial.empty() || entry.Serial == serial))
            out.push_back(std::move(entry));
    }
    // Appended in time order; the newest event comes first.
    std::reverse(out.begin(), out.end());
    return out;
}

std::string THistory::ImagePath(const THistoryEntry& entry) const
{
    return (fs::path(FFolder) / entry.File).string();
}

std::string THistory::LineOf(const THistoryEntry& e)
{
    std::string line;
    for (const std::string* field : {&e.Time, &e.Serial, &e.Firmware, &e.Band, &e.Action, &e.Mode, &e.File,
                                     &e.Sha256, &e.Outcome}) {
        if (!line.empty() || field != &e.Time)
            line += Separator;
        line += Clean(*field);
    }
    return line;
}

bool THistory::ParseLine(const std::string& line, THistoryEntry& e)
{
    if (std::any_of(line.begin(), line.end(), [](char c) { return c != Separator && static_cast<unsigned char>(c) < 0x20; }))
        return false;
    std::vector<std::string> fields;
    std::stringstream stream(line);
    std::string field;
    while (std::getline(stream, field, Separator))
        fields.push_back(field);
    if (!line.empty() && line.back() == Separator)
        fields.emplace_back();
    if (fields.size() != FieldCount || fields[0].size() != 20 || !IsSha256(fields[7]) || fields[6].empty())
        return false;
    e = {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6], fields[7], fields[8]};
    return true;
}

namespace HistorySettings {

std::string DefaultFolder(const std::string& iniPath)
{
    return (fs::path(iniPath).parent_path() / "History").string();
}

std::string FolderFromSettings(const std::string& iniPath)
{
    TIniData settings(iniPath);
    settings.Load();
    const std::string folder = settings.GetStr(FolderKey, "");
    return folder.empty() ? DefaultFolder(iniPath) : folder;
}

} // namespace HistorySettings
