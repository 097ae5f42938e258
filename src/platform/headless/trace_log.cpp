#include "platform/headless/trace_log.h"

CTraceLog::CTraceLog(const std::string& path) {
  if (!path.empty()) file_ = std::fopen(path.c_str(), "wb");
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
  lines_.push_back(std::move(line));
}

std::vector<std::string> CTraceLog::Lines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}
