#include "files/U_FileAccess.h"

#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace {

fs::path PathOf(const std::string& text)
{
    return fs::path(std::u8string(text.begin(), text.end()));
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

bool IsReadOnly(const fs::path& path)
{
    std::error_code error;
    const auto status = fs::status(path, error);
    return !error && fs::is_regular_file(status)
        && (status.permissions() & fs::perms::owner_write) == fs::perms::none;
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

        std::ifstream file(PathOf(path), std::ios::binary);
        if (!file || fs::is_directory(PathOf(path)))
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

namespace {

// Writes `bytes` to a fresh temporary file beside `target`; empty on failure
// (nothing is left behind then).
fs::path WriteTemporaryBeside(const fs::path& target, const std::string& bytes)
{
    std::error_code error;
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    std::random_device random;
    fs::path temporary;
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary = folder / ("." + target.filename().string() + "." + std::to_string(random()) + ".tmp");
        if (!fs::exists(temporary, error))
            break;
    }
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out)
        return {};
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
        out.close();
        fs::remove(temporary, error);
        return {};
    }
    return temporary;
}

} // namespace

bool WriteFileAtomically(const std::string& path, const std::string& bytes)
{
    const fs::path target = PathOf(path);
    std::error_code error;
    if (path.empty() || fs::is_directory(target, error) || IsReadOnly(target))
        return false;
    const fs::path temporary = WriteTemporaryBeside(target, bytes);
    if (temporary.empty())
        return false;
    // A replaced file keeps its permissions.
    const auto old = fs::status(target, error);
    if (!error && fs::exists(old))
        fs::permissions(temporary, old.permissions(), error);
    fs::rename(temporary, target, error);
    if (error) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

bool WriteNewFile(const std::string& path, const std::string& bytes, bool& exists)
{
    exists = false;
    const fs::path temporary = WriteTemporaryBeside(PathOf(path), bytes);
    if (temporary.empty())
        return false;
    // A link fails where a rename would replace: a name once taken keeps its file.
    std::error_code error;
    fs::create_hard_link(temporary, PathOf(path), error);
    exists = error == std::errc::file_exists;
    const bool linked = !error;
    fs::remove(temporary, error);
    return linked;
}
