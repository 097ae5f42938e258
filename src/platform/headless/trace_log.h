#pragma once
// The run trace: JSON lines written, when a file is named, to it and flushed line by
// line so a crash keeps everything before it, and kept in memory when asked for (tests
// read them there; a long run with a file would only grow). Safe from any thread.
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

class CTraceLog {
 public:
  // Opens (truncating) `path`, UTF-8, when it is not empty. `keepLines` keeps every
  // line in memory for Lines(); without a file they are always kept.
  explicit CTraceLog(const std::string& path, bool keepLines = true);
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
  bool keepLines_ = true;
};
