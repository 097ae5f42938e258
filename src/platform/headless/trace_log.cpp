#include "platform/headless/trace_log.h"

#ifdef _WIN32
#include "platform/headless/wide_path.h"
#endif

CTraceLog::CTraceLog(const std::string& path, bool keepLines) : keepLines_(keepLines || path.empty()) {
  if (path.empty()) return;
#ifdef _WIN32
  file_ = ::_wfopen(WidePath(path).c_str(), L"wb");
#else
  file_ = std::fopen(path.c_str(), "wb");
#endif
}

CTraceLog::~CTraceLog() {
  if (file_ != nullptr) std::fclose(file_);
}

void CTraceLog::Append(std::string line) {
  std::lock_guard lock(mutex_);
  if (file_ != nullptr) {
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
  }
  if (keepLines_) lines_.push_back(std::move(line));
}

std::vector<std::string> CTraceLog::Lines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}
