#pragma once
// Owns one POSIX file descriptor and closes it on destruction; the flocks taken through
// it end with it.
#include <unistd.h>

#include <utility>

class CUniqueFd {
 public:
  CUniqueFd() = default;
  explicit CUniqueFd(int fd) : fd_(fd) {}
  CUniqueFd(CUniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  CUniqueFd& operator=(CUniqueFd&& other) noexcept {
    if (this != &other) {
      Reset();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  CUniqueFd(const CUniqueFd&) = delete;
  CUniqueFd& operator=(const CUniqueFd&) = delete;
  ~CUniqueFd() { Reset(); }

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  void Reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
};
