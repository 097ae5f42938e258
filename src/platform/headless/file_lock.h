#pragma once
// Whole-file locks for the lock and census files: flock(2) on POSIX, LockFileEx on
// Windows. Every file is opened without being passed to child processes and never
// through a symbolic link; on POSIX interrupted calls are retried. A lock ends with its
// file or its process.
#include <string>

#include "platform/headless/unique_fd.h"

// Opens (creating with mode 0600 when `create`) a regular file for locking; `path` is
// UTF-8. On Windows other processes may open, rename and delete the file meanwhile.
CUniqueFd OpenLockFile(const std::string& path, bool create);

enum class ELockMode { Shared, Exclusive };

// Locking a file that holds a lock already changes the lock's mode, as flock does; the
// change is not atomic.
// Blocks until the lock is held; false on a system error.
bool LockFile(const CUniqueFd& fd, ELockMode mode);
// Takes the lock only if nobody else holds a conflicting one; false when it is taken
// (or on a system error).
bool TryLockFile(const CUniqueFd& fd, ELockMode mode);
void UnlockFile(const CUniqueFd& fd);
