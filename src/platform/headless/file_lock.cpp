#include "platform/headless/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>

namespace {

int FlockRetrying(int fd, int operation) {
  int result;
  do {
    result = ::flock(fd, operation);
  } while (result != 0 && errno == EINTR);
  return result;
}

int ModeFlag(ELockMode mode) { return mode == ELockMode::Shared ? LOCK_SH : LOCK_EX; }

}  // namespace

CUniqueFd OpenLockFile(const std::string& path, bool create) {
  int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW;
  if (create) flags |= O_CREAT;
  int fd;
  do {
    fd = ::open(path.c_str(), flags, 0600);
  } while (fd < 0 && errno == EINTR);
  return CUniqueFd(fd);
}

bool LockFile(const CUniqueFd& fd, ELockMode mode) {
  return FlockRetrying(fd.Get(), ModeFlag(mode)) == 0;
}

bool TryLockFile(const CUniqueFd& fd, ELockMode mode) {
  return FlockRetrying(fd.Get(), ModeFlag(mode) | LOCK_NB) == 0;
}

void UnlockFile(const CUniqueFd& fd) { FlockRetrying(fd.Get(), LOCK_UN); }
