#include "platform/headless/window_registry.h"

#ifdef _WIN32
#include <windows.h>

#include <filesystem>
#include <vector>
#else
#include <dirent.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

#include "platform/headless/file_lock.h"
#include "support/utf.h"
#ifdef _WIN32
#include "platform/headless/wide_path.h"
#endif

namespace {

constexpr char kLockSuffix[] = ".lock";
constexpr char kTitlesSuffix[] = ".titles";

// The census's file operations, by UTF-8 name.
#ifdef _WIN32
unsigned long ProcessId() { return ::GetCurrentProcessId(); }

void RemoveName(const std::string& path) { ::DeleteFileW(WidePath(path).c_str()); }

// Replacing a file fails while another process reads it, which a census does for a few
// microseconds at a time: try again for a while before giving up.
bool RenameOver(const std::string& from, const std::string& to) {
  const std::wstring source = WidePath(from);
  const std::wstring target = WidePath(to);
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    const DWORD error = ::GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) return false;
    ::Sleep(1);
  }
  return false;
}

std::filesystem::path StreamPath(const std::string& path) {
  return std::filesystem::path(WidePath(path));
}

// The whole file, opened so that its owner can still replace or delete it meanwhile;
// empty when it cannot be read.
std::string ReadShared(const std::string& path) {
  HANDLE file = ::CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  const CUniqueFd owned(file);
  std::string content;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    content.append(buffer, read);
  }
  return content;
}

void ForEachName(const std::string& dir, const std::function<void(const std::string&)>& visit) {
  std::error_code error;
  std::filesystem::directory_iterator it(StreamPath(dir), error);
  if (error) return;
  // Take the names first: the visit may delete entries.
  std::vector<std::string> names;
  for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
    if (error) break;
    names.push_back(Utf8Path(it->path().filename().native()));
  }
  for (const std::string& name : names) visit(name);
}
#else
long ProcessId() { return ::getpid(); }

void RemoveName(const std::string& path) { ::unlink(path.c_str()); }

bool RenameOver(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0;
}

const std::string& StreamPath(const std::string& path) { return path; }

void ForEachName(const std::string& dir, const std::function<void(const std::string&)>& visit) {
  DIR* listing = ::opendir(dir.c_str());
  if (listing == nullptr) return;
  while (const dirent* entry = ::readdir(listing)) visit(entry->d_name);
  ::closedir(listing);
}
#endif

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() > suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string MakeStem() {
  std::random_device random;
  char suffix[24];
  std::snprintf(suffix, sizeof suffix, "-%08x%08x", random(), random());
  return std::to_string(ProcessId()) + suffix;
}

}  // namespace

std::string EscapeTitleLine(const std::string& utf8) {
  std::string out;
  for (char c : utf8) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::string UnescapeTitleLine(const std::string& line) {
  std::string out;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] != '\\' || i + 1 == line.size()) {
      out += line[i];
      continue;
    }
    const char next = line[++i];
    out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
  }
  return out;
}

CWindowRegistry::CWindowRegistry(const std::string& dir) : stem_(MakeStem()) {
  if (dir.empty()) return;
  // Lock the file under a name the census ignores, then rename it into place, so a
  // census never sees this registry's lock file unlocked and takes it for stale.
  const std::string pending = dir + "/" + stem_ + ".pending";
  CUniqueFd file = OpenLockFile(pending, true);
  if (!file.Valid() || !LockFile(file, ELockMode::Exclusive) ||
      !RenameOver(pending, dir + "/" + stem_ + kLockSuffix)) {
    RemoveName(pending);
    return;
  }
  dir_ = dir;
  lockFile_ = std::move(file);
}

CWindowRegistry::~CWindowRegistry() {
  if (dir_.empty()) return;
  RemoveName(dir_ + "/" + stem_ + kTitlesSuffix);
  RemoveName(dir_ + "/" + stem_ + kLockSuffix);
}

int CWindowRegistry::Register(const std::u16string& title) {
  std::lock_guard lock(mutex_);
  const int id = nextId_++;
  titles_.emplace(id, title);
  WriteTitlesLocked();
  return id;
}

void CWindowRegistry::Unregister(int id) {
  std::lock_guard lock(mutex_);
  if (titles_.erase(id) != 0) WriteTitlesLocked();
}

void CWindowRegistry::WriteTitlesLocked() {
  if (dir_.empty()) return;
  const std::string path = dir_ + "/" + stem_ + kTitlesSuffix;
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(StreamPath(temporary), std::ios::binary | std::ios::trunc);
    for (const auto& [id, title] : titles_) out << EscapeTitleLine(ToUtf8(title)) << '\n';
    out.flush();
    if (!out) {
      RemoveName(temporary);
      return;
    }
  }
  if (!RenameOver(temporary, path)) RemoveName(temporary);
}

int CWindowRegistry::CountInFile(const std::string& path, const std::string& title) const {
#ifdef _WIN32
  std::istringstream in(ReadShared(path));
#else
  std::ifstream in(path, std::ios::binary);
#endif
  int count = 0;
  for (std::string line; std::getline(in, line);) {
    if (UnescapeTitleLine(line) == title) ++count;
  }
  return count;
}

int CWindowRegistry::CountTitled(const std::u16string& title) {
  if (title.empty()) return 0;
  std::lock_guard lock(mutex_);
  int count = 0;
  for (const auto& [id, own] : titles_) count += own == title ? 1 : 0;
  if (dir_.empty()) return count;

  const std::string wanted = ToUtf8(title);
  ForEachName(dir_, [&](const std::string& name) {
    if (!EndsWith(name, kLockSuffix)) return;
    const std::string stem = name.substr(0, name.size() - (sizeof kLockSuffix - 1));
    if (stem == stem_) return;
    const std::string base = dir_ + "/" + stem;
    CUniqueFd other = OpenLockFile(base + kLockSuffix, false);
    if (!other.Valid()) return;
    if (TryLockFile(other, ELockMode::Exclusive)) {
      // Its owner died without cleaning up: remove the pair while holding the lock.
      RemoveName(base + kTitlesSuffix + ".tmp");
      RemoveName(base + kTitlesSuffix);
      RemoveName(base + kLockSuffix);
      return;
    }
    count += CountInFile(base + kTitlesSuffix, wanted);
  });
  return count;
}
