#include "files/U_OpenDocument.h"

#include "files/U_FileAccess.h"
#include "files/dc_Ini.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Paths are the system's bytes, taken and given back as they are.
fs::path PathOf(const std::string& text)
{
    return fs::path(text);
}

std::string TextOf(const fs::path& path)
{
    return path.string();
}

std::string WithSeparator(const std::string& folder)
{
    return !folder.empty() && folder.back() == '/' ? folder : folder + '/';
}

fs::path Absolute(const std::string& path)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(PathOf(path), error);
    return (error ? PathOf(path) : absolute).lexically_normal();
}

// The folder a chosen file lies in, with the separator the settings keep.
std::string FolderOf(const std::string& path)
{
    return WithSeparator(TextOf(Absolute(path).parent_path()));
}

bool Exists(const std::string& path)
{
    std::error_code error;
    return fs::exists(PathOf(path), error);
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    return text;
}

} // namespace

TOpenDocument::TOpenDocument(std::string programFolder, TPrompt& prompt, TFileChooser& chooser)
    : FProgramFolder(std::move(programFolder)), FPrompt(prompt), FChooser(chooser),
      FDoc(std::make_unique<TRKmem>()), FImage(std::make_unique<TMap54>()),
      FCurFold(WithSeparator(FProgramFolder))
{
    MakeNew(*FDoc, *FImage);
    FWork = FDoc->Channels;
}

TOpenDocument::~TOpenDocument() = default;

void TOpenDocument::MakeNew(TRKmem& doc, TMap54& image)
{
    image = TMap54();
    TRKmem fresh;
    try {
        image.Decode(fresh);
    } catch (const EConvertError&) {
        // The new-image pattern holds no frequencies; the defaults set them.
    }
    TMap54::SetDefaults(fresh);
    doc = fresh;
}

std::string TOpenDocument::OpenFilter()
{
    const std::string type = FileType, old = OldFileType;
    return type + " Files (*." + type + " *." + old + " *." + Lower(type) + " *." + Lower(old) + ")";
}

std::string TOpenDocument::SaveFilter()
{
    const std::string type = FileType;
    return type + " Files (*." + type + " *." + Lower(type) + ")";
}

std::string TOpenDocument::DefaultFileName() const
{
    return WithSeparator(FProgramFolder) + "defaultv." + FileType;
}

std::string TOpenDocument::SettingsFileName() const
{
    return WithSeparator(FProgramFolder) + "RK54Win.ini";
}

bool TOpenDocument::IsDefaultFile(const std::string& path) const
{
    return Absolute(path) == Absolute(DefaultFileName());
}

void TOpenDocument::ReadSettings(const TIniData& ini)
{
    FRecent.clear();
    for (int k = 1; k <= RecentCount; ++k) {
        const std::string file = ini.GetStr("FILE" + std::to_string(k), "");
        if (!file.empty())
            FRecent.push_back(file);
    }
    FCurFold = ini.GetStr("CURFOLD", WithSeparator(FProgramFolder));
}

void TOpenDocument::WriteFolder(TIniData& ini) const
{
    ini.SetValue("CURFOLD", FCurFold);
}

void TOpenDocument::WriteRecentFiles(TIniData& ini) const
{
    for (int k = 1; k <= RecentCount; ++k)
        ini.SetValue("FILE" + std::to_string(k), k <= int(FRecent.size()) ? FRecent[k - 1] : "");
}

bool TOpenDocument::Read(const std::string& path)
{
    return ReadDataFile(path, *FDoc, *FImage, FPrompt, &FSaveEnabled);
}

void TOpenDocument::OpenStartupFile(const std::string& startupFile)
{
    const std::string path = startupFile.empty() ? DefaultFileName() : startupFile;
    FCurrentFileName = NoFile;
    if (Exists(path)) {
        FSaveEnabled = true;
        if (Read(path))
            FCurrentFileName = path;
    } else if (WriteDataFile(path, *FDoc, *FImage, FPrompt)) {
        // The default document is the template of every start; the program
        // never replaces it.
        std::error_code error;
        fs::permissions(PathOf(path), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                        fs::perm_options::replace, error);
    }
    FWork = FDoc->Channels;
    FModified = false;
}

void TOpenDocument::CommitWork()
{
    if (!FWork.Equals(FDoc->Channels)) {
        FDoc->Channels.Assign(FWork);
        FModified = true;
    }
}

bool TOpenDocument::AskToSave()
{
    if (!FModified)
        return true;
    switch (FPrompt.Ask(SaveQuestion)) {
    case TAnswer::Yes: return Save();
    case TAnswer::No: return true;
    case TAnswer::Cancel: break;
    }
    return false;
}

std::string TOpenDocument::AskSaveName()
{
    std::string path = FChooser.SaveName(FCurFold, SaveFilter(), FileType);
    if (path.empty())
        return {};
    if (IsDefaultFile(path)) {
        FPrompt.Error(FileMessages::WriteError(path));
        return {};
    }
    return path;
}

bool TOpenDocument::Save()
{
    FDoc->Channels.Assign(FWork);
    if (FCurrentFileName == NoFile || IsDefaultFile(FCurrentFileName)) {
        const std::string path = AskSaveName();
        if (path.empty())
            return false;
        FCurFold = FolderOf(path);
        FCurrentFileName = path;
    }
    return WriteDataFile(FCurrentFileName, *FDoc, *FImage, FPrompt);
}

bool TOpenDocument::New()
{
    BeginFileCommand();
    if (!AskToSave())
        return false;
    FModified = false;
    FCurrentFileName = NoFile;
    MakeNew(*FDoc, *FImage);
    FWork = FDoc->Channels;
    return true;
}

void TOpenDocument::Opened(const std::string& path)
{
    FRecent.erase(std::remove(FRecent.begin(), FRecent.end(), path), FRecent.end());
    FRecent.insert(FRecent.begin(), path);
    if (int(FRecent.size()) > RecentCount)
        FRecent.resize(RecentCount);
    FCurrentFileName = path;
    FModified = false;
    FWork = FDoc->Channels;
}

bool TOpenDocument::Open()
{
    BeginFileCommand();
    if (!AskToSave())
        return false;
    const std::string path = FChooser.OpenName(FCurFold, OpenFilter());
    if (path.empty() || !Read(path))
        return false;
    FCurFold = FolderOf(path);
    Opened(path);
    return true;
}

bool TOpenDocument::OpenRecent(int index)
{
    if (index < 0 || index >= int(FRecent.size()))
        return false;
    const std::string path = FRecent[index];
    if (!Exists(path)) {
        FPrompt.Warning("File Not Found");
        FRecent.erase(FRecent.begin() + index);
        return false;
    }
    if (!AskToSave())
        return false;
    BeginFileCommand();
    if (!Read(path))
        return false;
    Opened(path);
    return true;
}

bool TOpenDocument::SaveCommand()
{
    BeginFileCommand();
    if (!Save())
        return false;
    FModified = false;
    return true;
}

bool TOpenDocument::SaveAs()
{
    BeginFileCommand();
    const std::string path = AskSaveName();
    if (path.empty())
        return false;
    FCurFold = FolderOf(path);
    FCurrentFileName = path;
    return SaveCommand();
}

void TOpenDocument::Received()
{
    FWork = FDoc->Channels;
    FModified = true;
    FCurrentFileName = NoFile;
}
