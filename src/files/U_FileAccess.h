#pragma once
#include "model/U_Prompt.h"
#include "codec/dc_Map54.h"
#include "model/dc_RKmem.h"

#include <string>

// Data files: exactly the 1986-byte clone image. Paths are the bytes the
// system uses for file names (UTF-8 as a rule, but any bytes but NUL).

// Reads `path` into a scratch image and document and, only when both are
// complete, replaces `doc` and `image`. Failures are told through `prompt`.
// A path ending in ".RPT" or ".rpt" clears `saveEnabled` (when given),
// whether or not the read succeeds.
bool ReadDataFile(const std::string& path, TRKmem& doc, TMap54& image, TPrompt& prompt,
                  bool* saveEnabled = nullptr);

// Records the file's name in `doc`, encodes `doc` into `image` and replaces
// the file atomically with the image. On failure the old file is untouched
// (the document's name and the image are updated all the same).
bool WriteDataFile(const std::string& path, TRKmem& doc, TMap54& image, TPrompt& prompt);

// The base name kept in the image: cut to 8 bytes, never inside a UTF-8
// character.
std::string ShortBaseName(const std::string& base);

// The system calls that make a replaced file durable, one by one, so that a
// test can make any of them fail. Each answers as the system call does
// (-1 and errno on failure).
class TFileCalls {
public:
    virtual ~TFileCalls() = default;
    virtual long Write(int fd, const char* data, unsigned long size) const;
    virtual int Sync(int fd) const;
    virtual int Close(int fd) const;
    virtual int ChangeMode(int fd, unsigned mode) const;
    virtual int Rename(const char* from, const char* to) const;
    static const TFileCalls& System();
};

// Replaces the file `path` names with `bytes`: a link is followed to the file
// it names, the new content goes to a temporary file in that file's folder,
// is flushed to disk, takes over the old file's mode and is renamed over it,
// after which the folder is flushed too. Refuses a target that exists but is
// not a regular file, or that the user may not write. Returns false (and
// leaves the old file as it was) on any failure.
bool WriteFileAtomically(const std::string& path, const std::string& bytes,
                         const TFileCalls& calls = TFileCalls::System());

// File names as text for the windows and the command line: the system's
// bytes read as UTF-8, where each byte that is not part of valid UTF-8
// becomes the code unit 0xDC00 + byte (a lone surrogate, which no valid text
// holds). FileNameBytes gives back the very same bytes, so a name the
// locale cannot spell still opens, saves and is remembered as itself.
std::u16string FileNameText(const std::string& bytes);
std::string FileNameBytes(const std::u16string& text);

// A path that came through a file chooser which showed every undecodable
// byte as U+FFFD: each part that does not exist as spelt is matched against
// the names in its folder (U+FFFD standing for the bytes it hid) and, when
// exactly one fits, replaced by that name's bytes. Parts that match nothing
// (the new name of a save) stay as they are.
std::string ChosenFileName(const std::string& path);

// Writes `bytes` as the new file `path`, whole or not at all, and never over
// a file that exists (`exists` tells that case apart from other failures).
bool WriteNewFile(const std::string& path, const std::string& bytes, bool& exists);

// Adds `bytes` to the end of the file `path` (made if missing) in one write
// and flushes it to disk before it returns true: a log line that was
// reported kept survives a power cut.
bool AppendToFile(const std::string& path, const std::string& bytes,
                  const TFileCalls& calls = TFileCalls::System());

// The system's message texts.
namespace FileMessages {
constexpr const char* FormatError = "The file cannot be opened.\r\nThe file format is not correct.";
std::string ReadError(const std::string& path);
std::string WriteError(const std::string& path);
}
