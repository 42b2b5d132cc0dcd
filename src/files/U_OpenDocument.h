#pragma once
#include "codec/dc_Map54.h"
#include "model/U_Prompt.h"
#include "model/dc_RKmem.h"

#include <memory>
#include <string>
#include <vector>

class TIniData;

// Where the person picks a file: the window shows its file dialogs, the
// tests script the names. An empty name means the choice was cancelled.
class TFileChooser {
public:
    virtual ~TFileChooser() = default;
    virtual std::string OpenName(const std::string& folder, const std::string& filter) = 0;
    virtual std::string SaveName(const std::string& folder, const std::string& filter,
                                 const std::string& defaultSuffix) = 0;
};

// The open document with its image, the channels being edited, and the
// rules of the File menu around them: New, Open, Open Recent, Save, Save As,
// the save question, the current folder, the recent list and their keys in
// the settings file. The main window and rk54 both work through it, so a new
// document is made one way and the save question is asked in one place.
class TOpenDocument {
public:
    static constexpr const char* NoFile = "<none>";
    static constexpr const char* FileType = "R54";
    static constexpr const char* OldFileType = "RPT";
    static constexpr int RecentCount = 4;
    static constexpr const char* SaveQuestion = "Do you want to save the file?";

    // `programFolder` holds the default document and the settings file.
    TOpenDocument(std::string programFolder, TPrompt& prompt, TFileChooser& chooser);
    ~TOpenDocument();

    // The document File > New makes: the new-image pattern decoded, then the
    // defaults. `image` is reset to the pattern.
    static void MakeNew(TRKmem& doc, TMap54& image);
    // The chooser filters of Open and Save.
    static std::string OpenFilter();
    static std::string SaveFilter();

    TRKmem& Document() { return *FDoc; }
    TMap54& Codec() { return *FImage; }
    // The channels as the grid edits them; they reach the document through
    // CommitWork.
    TChannels& WorkChannels() { return FWork; }
    bool Modified() const { return FModified; }
    void SetModified(bool modified) { FModified = modified; }
    bool SaveEnabled() const { return FSaveEnabled; }
    const std::string& CurrentFileName() const { return FCurrentFileName; }
    const std::string& CurFold() const { return FCurFold; }
    const std::vector<std::string>& RecentFiles() const { return FRecent; }
    std::string DefaultFileName() const;
    std::string SettingsFileName() const;

    // "CURFOLD" and "FILE1".."FILE4". Writing is split so the window keeps
    // the order of its keys in a new settings file.
    void ReadSettings(const TIniData& ini);
    void WriteFolder(TIniData& ini) const;
    void WriteRecentFiles(TIniData& ini) const;

    // At start: the file named on the command line, else the default
    // document, which is written (read-only) when it is missing.
    void OpenStartupFile(const std::string& startupFile);

    // Copies WorkChannels into the document when they differ and marks it
    // modified.
    void CommitWork();
    // WorkChannels follow the document after something other than the grid
    // changed it (a dialog, the narrow-band conversion).
    void ReloadWork() { FWork = FDoc->Channels; }

    // Every File menu command (and each command that replaces the document)
    // starts here: Save becomes possible.
    void BeginFileCommand() { FSaveEnabled = true; }
    // When modified: "Do you want to save the file?". Yes saves (and stops
    // the command when saving fails or is cancelled), No goes on without
    // saving, Cancel stops. True when the command may go on.
    bool AskToSave();
    // Writes the document under its name, asking for one when it has none or
    // is the default document. Leaves Modified alone.
    bool Save();

    // The File menu's commands. Each returns true when the document was
    // replaced, so the caller shows the new one.
    bool New();
    bool Open();
    bool OpenRecent(int index);  // 0 .. RecentCount - 1
    // True when the document was written.
    bool SaveCommand();
    bool SaveAs();
    // The document came from the repeater: unsaved and without a name.
    void Received();

private:
    std::string AskSaveName();
    bool IsDefaultFile(const std::string& path) const;
    bool Read(const std::string& path);
    void Opened(const std::string& path);

    std::string FProgramFolder;
    TPrompt& FPrompt;
    TFileChooser& FChooser;
    std::unique_ptr<TRKmem> FDoc;
    std::unique_ptr<TMap54> FImage;
    TChannels FWork;
    bool FModified = false;
    bool FSaveEnabled = false;
    std::string FCurrentFileName = NoFile;
    std::string FCurFold;
    std::vector<std::string> FRecent;
};
