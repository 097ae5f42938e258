#include "platform/headless/window_registry.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/headless/file_lock.h"
#include "support/utf.h"

namespace {

constexpr char kLockSuffix[] = ".lock";
constexpr char kTitlesSuffix[] = ".titles";

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() > suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string MakeStem() {
  std::random_device random;
  char stem[64];
  std::snprintf(stem, sizeof stem, "%ld-%08x%08x", static_cast<long>(::getpid()), random(),
                random());
  return stem;
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
      ::rename(pending.c_str(), (dir + "/" + stem_ + kLockSuffix).c_str()) != 0) {
    ::unlink(pending.c_str());
    return;
  }
  dir_ = dir;
  lockFile_ = std::move(file);
}

CWindowRegistry::~CWindowRegistry() {
  if (dir_.empty()) return;
  ::unlink((dir_ + "/" + stem_ + kTitlesSuffix).c_str());
  ::unlink((dir_ + "/" + stem_ + kLockSuffix).c_str());
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
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    for (const auto& [id, title] : titles_) out << EscapeTitleLine(ToUtf8(title)) << '\n';
    out.flush();
    if (!out) {
      ::unlink(temporary.c_str());
      return;
    }
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) ::unlink(temporary.c_str());
}

int CWindowRegistry::CountInFile(const std::string& path, const std::string& title) const {
  std::ifstream in(path, std::ios::binary);
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

  DIR* listing = ::opendir(dir_.c_str());
  if (listing == nullptr) return count;
  const std::string wanted = ToUtf8(title);
  while (const dirent* entry = ::readdir(listing)) {
    const std::string name = entry->d_name;
    if (!EndsWith(name, kLockSuffix)) continue;
    const std::string stem = name.substr(0, name.size() - (sizeof kLockSuffix - 1));
    if (stem == stem_) continue;
    const std::string base = dir_ + "/" + stem;
    CUniqueFd other = OpenLockFile(base + kLockSuffix, false);
    if (!other.Valid()) continue;
    if (TryLockFile(other, ELockMode::Exclusive)) {
      // Its owner died without cleaning up: remove the pair while holding the lock.
      ::unlink((base + kTitlesSuffix + ".tmp").c_str());
      ::unlink((base + kTitlesSuffix).c_str());
      ::unlink((base + kLockSuffix).c_str());
      continue;
    }
    count += CountInFile(base + kTitlesSuffix, wanted);
  }
  ::closedir(listing);
  return count;
}
