#pragma once
// The file layer. Engine paths are "\"-separated strings as the character data writes
// them; this layer maps them to the system's paths, tolerating letter-case differences
// between the data and the files, and writes user state so it is never half-written.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CStringList;

// Maps an engine path to a system path. Off Windows, "\" becomes "/" and, when an exact
// name is missing, each component is matched case-insensitively (ASCII) against its
// folder; a component with no match is kept as written. Costs one listing per
// component that needed the fallback.
std::filesystem::path ToNativePath(std::u16string_view enginePath);
// Maps a system path back to an engine path ("/" becomes "\").
std::u16string FromNativePath(const std::filesystem::path& nativePath);

struct SDirEntry {
  std::u16string name;
  bool isDirectory = false;
};

// The entries of a folder, without "." and "..", in the order a Windows file system
// lists them (ASCII letters without case, then code units) on every system; nullopt
// when the folder cannot be listed.
std::optional<std::vector<SDirEntry>> ListDirectory(std::u16string_view folder);
// Whether ListDirectory lists the name `a` before the name `b`.
bool ListedBefore(std::u16string_view a, std::u16string_view b);
// Whether two names are one on a Windows file system: equal ignoring ASCII letter case.
bool SameNameIgnoringCase(std::u16string_view a, std::u16string_view b);

// Whether `path`, with "." and ".." resolved and links followed, is `folder` (resolved
// the same way) or lies below it. False when either cannot be resolved (a missing file, a
// cycle of links). Costs a look-up for each component of both.
bool LiesWithin(std::u16string_view path, std::u16string_view folder);
// Whether `path` lies within any of `folders`, resolving `path` only once.
bool LiesWithinAny(std::u16string_view path, const std::vector<std::u16string>& folders);

// Appends folder + "\" + name for every regular file of the folder, then does the same
// for each sub-folder, recursively: a folder's files come before its sub-folders'.
void ListFiles(std::u16string_view folder, CStringList& out);

// What a file read holds, which bounds how much of it the program takes: the user's state
// and settings (1 MiB), text (scripts, config.ini, input scripts: 64 MiB) or media
// (images, sounds, cursors: 256 MiB).
enum class EFileKind { kState, kText, kMedia };
std::size_t MaxFileBytes(EFileKind kind);

// The whole content of a regular file no larger than its kind's limit; nullopt when the
// path names no regular file (a folder, a device, a FIFO or a socket is refused from its
// status, before it is opened, so nothing blocks), the file is larger, or reading it
// fails. Never throws. Every read of outside data goes through here.
std::optional<std::string> ReadFileBytes(std::u16string_view path, EFileKind kind);

// Writes the bytes to a temporary file in the same folder and renames it over the
// target, so a crash leaves either the old or the new content. False on any failure,
// in which case the target is untouched and the temporary file removed.
bool WriteFileAtomically(std::u16string_view path, std::string_view bytes);
