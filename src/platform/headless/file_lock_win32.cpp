#include "platform/headless/file_lock.h"

#include <windows.h>

#include "platform/headless/wide_path.h"

// Every lock covers the file's first byte, which nobody reads or writes. The system
// drops a handle's locks when the handle is closed, also when its process dies.
namespace {

HANDLE Handle(const CUniqueFd& file) { return static_cast<HANDLE>(file.Get()); }

bool Lock(const CUniqueFd& file, ELockMode mode, DWORD flags) {
  if (!file.Valid()) return false;
  // Windows would stack a second lock on the first, and a shared one on top of our own
  // exclusive one would never be granted: give the held one up first, as flock does.
  UnlockFile(file);
  if (mode == ELockMode::Exclusive) flags |= LOCKFILE_EXCLUSIVE_LOCK;
  OVERLAPPED at{};
  return ::LockFileEx(Handle(file), flags, 0, 1, 0, &at) != 0;
}

}  // namespace

void CloseNativeFile(NativeFile file) { ::CloseHandle(static_cast<HANDLE>(file)); }

CUniqueFd OpenLockFile(const std::string& path, bool create) {
  // Shared in every way, so the census can rename and delete the file of another live
  // process; the handle is not inherited. A link is opened as itself and then refused.
  HANDLE handle = ::CreateFileW(WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                create ? OPEN_ALWAYS : OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {};
  CUniqueFd file(handle);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(handle, &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    return {};
  }
  return file;
}

bool LockFile(const CUniqueFd& fd, ELockMode mode) { return Lock(fd, mode, 0); }

bool TryLockFile(const CUniqueFd& fd, ELockMode mode) {
  return Lock(fd, mode, LOCKFILE_FAIL_IMMEDIATELY);
}

void UnlockFile(const CUniqueFd& fd) {
  if (!fd.Valid()) return;
  OVERLAPPED at{};
  ::UnlockFileEx(Handle(fd), 0, 1, 0, &at);
}
