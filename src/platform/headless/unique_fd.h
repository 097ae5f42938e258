#pragma once
// Owns one open file and closes it on destruction; the locks taken through it end with
// it. A POSIX file descriptor, or on Windows a file handle.
#ifndef _WIN32
#include <unistd.h>
#endif

#include <utility>

#ifdef _WIN32
// A HANDLE, kept as void* so that this header needs no <windows.h>; null when closed.
// Never wrap INVALID_HANDLE_VALUE, which CreateFileW returns on failure.
using NativeFile = void*;
inline constexpr NativeFile kNoFile = nullptr;
inline bool IsOpenFile(NativeFile file) { return file != kNoFile; }
void CloseNativeFile(NativeFile file);  // in file_lock_win32.cpp
#else
using NativeFile = int;
inline constexpr NativeFile kNoFile = -1;
inline bool IsOpenFile(NativeFile fd) { return fd >= 0; }
inline void CloseNativeFile(NativeFile fd) { ::close(fd); }
#endif

class CUniqueFd {
 public:
  CUniqueFd() = default;
  explicit CUniqueFd(NativeFile fd) : fd_(fd) {}
  CUniqueFd(CUniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, kNoFile)) {}
  CUniqueFd& operator=(CUniqueFd&& other) noexcept {
    if (this != &other) {
      Reset();
      fd_ = std::exchange(other.fd_, kNoFile);
    }
    return *this;
  }
  CUniqueFd(const CUniqueFd&) = delete;
  CUniqueFd& operator=(const CUniqueFd&) = delete;
  ~CUniqueFd() { Reset(); }

  NativeFile Get() const { return fd_; }
  bool Valid() const { return IsOpenFile(fd_); }
  void Reset() {
    if (IsOpenFile(fd_)) CloseNativeFile(fd_);
    fd_ = kNoFile;
  }

 private:
  NativeFile fd_ = kNoFile;
};
