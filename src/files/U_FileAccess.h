#pragma once
#include "model/U_Prompt.h"
#include "codec/dc_Map54.h"
#include "model/dc_RKmem.h"

#include <string>

// Data files: exactly the 1986-byte clone image. Paths are UTF-8 text.

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

// Replaces `path` with `bytes` through a temporary file in the same folder.
// Returns false (and leaves the old file as it was) on any failure.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);

// Writes `bytes` as the new file `path`, whole or not at all, and never over
// a file that exists (`exists` tells that case apart from other failures).
bool WriteNewFile(const std::string& path, const std::string& bytes, bool& exists);

// The system's message texts.
namespace FileMessages {
constexpr const char* FormatError = "The file cannot be opened.\r\nThe file format is not correct.";
std::string ReadError(const std::string& path);
std::string WriteError(const std::string& path);
}
