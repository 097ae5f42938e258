#pragma once
// flock(2) helpers for the lock and census files: every file is opened close-on-exec and
// never through a symbolic link, and interrupted calls are retried.
#include <string>

#include "platform/headless/unique_fd.h"

// Opens (creating with mode 0600 when `create`) a regular file for locking.
CUniqueFd OpenLockFile(const std::string& path, bool create);

enum class ELockMode { Shared, Exclusive };

// Blocks until the lock is held; false on a system error.
bool LockFile(const CUniqueFd& fd, ELockMode mode);
// Takes the lock only if nobody else holds a conflicting one; false when it is taken
// (or on a system error).
bool TryLockFile(const CUniqueFd& fd, ELockMode mode);
void UnlockFile(const CUniqueFd& fd);
