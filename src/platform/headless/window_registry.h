#pragma once
// The census of titled top-level windows across the user's processes. Each registry
// owns one pair of files in its folder: `<stem>.lock`, held with an exclusive file lock
// (file_lock.h) for the registry's life, and `<stem>.titles`, the UTF-8 titles of its
// windows, one per line, replaced whole through a temporary file whenever they change.
// A census reads every pair; a lock file that can be locked belongs to a dead process,
// and its pair is deleted and not counted.
#include <map>
#include <mutex>
#include <string>

#include "platform/headless/unique_fd.h"

class CWindowRegistry {
 public:
  // `dir` is a private folder; when empty or unusable the registry still counts this
  // process's own windows.
  explicit CWindowRegistry(const std::string& dir);
  ~CWindowRegistry();
  CWindowRegistry(const CWindowRegistry&) = delete;
  CWindowRegistry& operator=(const CWindowRegistry&) = delete;

  // Adds a window with `title` and returns its id for Unregister. Rewrites one file.
  int Register(const std::u16string& title);
  void Unregister(int id);
  // Windows titled exactly `title` (case-sensitive) in every live registry, this one
  // included; empty titles are never counted. Costs a read of every registry's files.
  int CountTitled(const std::u16string& title);

 private:
  void WriteTitlesLocked();
  int CountInFile(const std::string& path, const std::string& title) const;

  std::mutex mutex_;
  std::string dir_;
  std::string stem_;  // "<pid>-<random>", unique so a reused process id never collides
  CUniqueFd lockFile_;
  std::map<int, std::u16string> titles_;
  int nextId_ = 1;
};

// Title lines escape the backslash and line breaks so any title fits on one line.
std::string EscapeTitleLine(const std::string& utf8);
std::string UnescapeTitleLine(const std::string& line);
