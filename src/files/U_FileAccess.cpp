#include "files/U_FileAccess.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// File names are bytes; a path made from a std::string keeps them as they are.
fs::path PathOf(const std::string& text)
{
    return fs::path(text);
}

// The file name part of a path and its extension with the dot ("" if none).
std::string FileNamePart(const std::string& path)
{
    const auto separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string ExtensionOf(const std::string& name)
{
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

} // namespace

std::string FileMessages::ReadError(const std::string& path)
{
    return "File read error  File Name = " + path;
}

std::string FileMessages::WriteError(const std::string& path)
{
    return "File write error  File Name = " + path;
}

bool ReadDataFile(const std::string& path, TRKmem& doc, TMap54& image, TPrompt& prompt,
                  bool* saveEnabled)
{
    // Files of the older type may be saved only under a new name.
    const std::string ext = ExtensionOf(FileNamePart(path));
    if (saveEnabled && (ext == ".RPT" || ext == ".rpt"))
        *saveEnabled = false;

    try {
        TMap54 scratchImage;
        TRKmem scratchDoc;
        TMap54::SetDefaults(scratchDoc);

        // Only a plain file (or a link to one) is a data file: opening a
        // FIFO would wait for a writer forever, a device would never end.
        if (!fs::is_regular_file(PathOf(path)))
            throw std::runtime_error("not a file");
        std::ifstream file(PathOf(path), std::ios::binary);
        if (!file)
            throw std::runtime_error("cannot open");
        file.read(reinterpret_cast<char*>(scratchImage.Data()), ImageSize);
        if (file.bad())
            throw std::runtime_error("cannot read");
        if (file.gcount() < ImageSize) {
            prompt.Error(FileMessages::FormatError);
            return false;
        }
        scratchImage.Decode(scratchDoc);
        doc = std::move(scratchDoc);
        image.CopyFrom(scratchImage);
        return true;
    } catch (const std::exception&) {
        prompt.Error(FileMessages::ReadError(path));
        return false;
    }
}

std::string ShortBaseName(const std::string& base)
{
    if (base.size() <= 8)
        return base;
    std::size_t cut = 8;
    // Back off to the start of a UTF-8 character rather than split it.
    while (cut > 0 && (static_cast<unsigned char>(base[cut]) & 0xC0) == 0x80)
        --cut;
    return base.substr(0, cut);
}

bool WriteDataFile(const std::string& path, TRKmem& doc, TMap54& image, TPrompt& prompt)
{
    const std::string name = FileNamePart(path);
    const std::string ext = ExtensionOf(name);
    const std::string base = name.substr(0, name.size() - ext.size());
    doc.DataFileName = ShortBaseName(base) + ext;
    image.Encode(doc);
    const std::string bytes(reinterpret_cast<const char*>(image.Data()), ImageSize);
    if (!WriteFileAtomically(path, bytes)) {
        prompt.Error(FileMessages::WriteError(path));
        return false;
    }
    return true;
}

long TFileCalls::Write(int fd, const char* data, unsigned long size) const
{
    return ::write(fd, data, size);
}

int TFileCalls::Sync(int fd) const { return ::fsync(fd); }

int TFileCalls::Close(int fd) const { return ::close(fd); }

int TFileCalls::ChangeMode(int fd, unsigned mode) const { return ::fchmod(fd, mode_t(mode)); }

int TFileCalls::Rename(const char* from, const char* to) const { return ::rename(from, to); }

const TFileCalls& TFileCalls::System()
{
    static const TFileCalls calls;
    return calls;
}

namespace {

// The file a path names once every link on the way is followed; a link that
// names nothing yet gives the name it points to, so that saving through it
// creates that file and keeps the link. Empty after too many links.
fs::path FollowLinks(fs::path path)
{
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error)))
            return path;
        const fs::path next = fs::read_symlink(path, error);
        if (error)
            return {};
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return {};
}

// Writes all of `bytes`, through short writes and interruptions.
bool WriteAll(const TFileCalls& calls, int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const long written = calls.Write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += std::size_t(written);
    }
    return true;
}

// The folder that holds the target: a bare name is in the current one.
fs::path HoldingFolder(const fs::path& target)
{
    const fs::path folder = target.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// A temporary file beside the target. Its name has a fixed length, so that a
// target whose name is as long as the system allows can still be saved.
int CreateTemporary(const fs::path& folder, fs::path& temporary)
{
    static constexpr char Digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::random_device random;
    for (int attempt = 0; attempt < 32; ++attempt) {
        std::string name = ".rk54-";
        for (int i = 0; i < 10; ++i)
            name += Digits[random() % 36];
        temporary = folder / name;
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The folder's entry for the renamed file must reach the disk too, or a
// power cut can bring back the old name (or none).
bool SyncFolder(const TFileCalls& calls, const fs::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // Some file systems cannot flush a folder at all; there is nothing more to do.
    const bool synced = calls.Sync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return synced;
}

} // namespace

bool WriteFileAtomically(const std::string& path, const std::string& bytes, const TFileCalls& calls)
{
    if (path.empty())
        return false;
    // What the path finally names must be a plain file (or nothing yet): a
    // FIFO, a device or standard output turned into a file would swallow the
    // data and destroy the node.
    struct stat old {};
    const bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        return false;
    // A read-only file stays read-only even for the one user the system
    // would let write it; someone else's file is not ours to replace just
    // because the folder is.
    if (exists && ((old.st_mode & S_IWUSR) == 0 || ::access(path.c_str(), W_OK) != 0))
        return false;
    const fs::path target = FollowLinks(fs::path(path));
    if (target.empty())
        return false;
    const fs::path folder = HoldingFolder(target);
    fs::path temporary;
    const int fd = CreateTemporary(folder, temporary);
    if (fd < 0)
        return false;
    bool ok = WriteAll(calls, fd, bytes);
    if (ok && exists) {
        // Keep the old file's owner where we may (a shared, group-writable
        // file saved by another member then simply becomes theirs) and its
        // mode always: a private file must not become readable by others.
        if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            && ::fchown(fd, old.st_uid, old.st_gid) != 0)
            errno = 0;
        ok = calls.ChangeMode(fd, unsigned(old.st_mode & 07777)) == 0;
    }
    ok = ok && calls.Sync(fd) == 0;
    // A failed close can mean the data never reached the file.
    ok = calls.Close(fd) == 0 && ok;
    ok = ok && calls.Rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    return SyncFolder(calls, folder);
}

bool AppendToFile(const std::string& path, const std::string& bytes, const TFileCalls& calls)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    const bool ok = WriteAll(calls, fd, bytes) && calls.Sync(fd) == 0;
    return calls.Close(fd) == 0 && ok;
}

bool WriteNewFile(const std::string& path, const std::string& bytes, bool& exists)
{
    exists = false;
    const fs::path target(path);
    const fs::path folder = HoldingFolder(target);
    fs::path temporary;
    const int fd = CreateTemporary(folder, temporary);
    if (fd < 0)
        return false;
    const TFileCalls& calls = TFileCalls::System();
    bool ok = WriteAll(calls, fd, bytes) && calls.Sync(fd) == 0;
    ok = calls.Close(fd) == 0 && ok;
    // A link fails where a rename would replace: a name once taken keeps its file.
    if (ok && ::link(temporary.c_str(), target.c_str()) != 0) {
        exists = errno == EEXIST;
        ok = false;
    }
    ::unlink(temporary.c_str());
    return ok && SyncFolder(calls, folder);
}

namespace {

constexpr char16_t EscapeBase = 0xDC00;
constexpr char32_t Replacement = 0xFFFD;

// The length of the valid UTF-8 sequence at `i` and its code point; 0 when
// the byte there does not start one.
int Utf8Sequence(const std::string& bytes, std::size_t i, char32_t& code)
{
    const auto at = [&](std::size_t k) { return k < bytes.size() ? static_cast<unsigned char>(bytes[k]) : 0u; };
    const unsigned lead = at(i);
    int length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    for (int k = 1; k < length; ++k) {
        const unsigned next = at(i + std::size_t(k));
        if ((next & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

// A name as a chooser shows it, with every run of hidden bytes (or of the
// U+FFFD that stands for them) folded into one U+FFFD: the form in which a
// chosen name and a folder entry are compared.
std::u16string Folded(const std::u16string& text)
{
    std::u16string out;
    for (const char16_t unit : text) {
        const bool hidden = unit == Replacement || (unit >= EscapeBase + 0x80 && unit <= EscapeBase + 0xFF);
        if (hidden && !out.empty() && out.back() == Replacement)
            continue;
        out += hidden ? char16_t(Replacement) : unit;
    }
    return out;
}

} // namespace

std::u16string FileNameText(const std::string& bytes)
{
    std::u16string text;
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t code = 0;
        const int length = Utf8Sequence(bytes, i, code);
        if (length == 0) {
            text += char16_t(EscapeBase + static_cast<unsigned char>(bytes[i]));
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            text += char16_t(0xD800 + ((code - 0x10000) >> 10));
            text += char16_t(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            text += char16_t(code);
        }
        i += std::size_t(length);
    }
    return text;
}

std::string FileNameBytes(const std::u16string& text)
{
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= EscapeBase + 0x80 && unit <= EscapeBase + 0xFF) {
            bytes += char(unit - EscapeBase);
        } else if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00
                   && text[i + 1] <= 0xDFFF) {
            AppendUtf8(bytes, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(bytes, Replacement);
        } else {
            AppendUtf8(bytes, unit);
        }
    }
    return bytes;
}

std::string ChosenFileName(const std::string& path)
{
    std::error_code error;
    if (path.empty() || fs::exists(fs::symlink_status(PathOf(path), error)))
        return path;
    fs::path resolved;
    for (const fs::path& part : PathOf(path)) {
        const fs::path spelt = resolved / part;
        const bool hides = part.native().find("\xEF\xBF\xBD") != std::string::npos;  // U+FFFD
        if (resolved.empty() || !hides || fs::exists(fs::symlink_status(spelt, error))) {
            resolved = spelt;
            continue;
        }
        const std::u16string wanted = Folded(FileNameText(part.native()));
        fs::path match;
        int matches = 0;
        for (const auto& entry : fs::directory_iterator(resolved, error)) {
            const std::string name = entry.path().filename().native();
            if (Folded(FileNameText(name)) == wanted) {
                match = entry.path();
                ++matches;
            }
        }
        resolved = matches == 1 ? match : spelt;
    }
    return resolved.native();
}
