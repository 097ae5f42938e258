#pragma once
// The run trace: JSON lines kept in memory and, when a file is named, written to it
// and flushed line by line so a crash keeps everything before it. Safe from any thread.
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

class CTraceLog {
 public:
  // Opens (truncating) `path`, UTF-8, when it is not empty; a file that cannot be
  // opened leaves the trace in memory only.
  explicit CTraceLog(const std::string& path);
  ~CTraceLog();
  CTraceLog(const CTraceLog&) = delete;
  CTraceLog& operator=(const CTraceLog&) = delete;

  void Append(std::string line);
  std::vector<std::string> Lines() const;
  bool FileOpen() const { return file_ != nullptr; }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  std::FILE* file_ = nullptr;
};
