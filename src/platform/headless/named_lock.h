#pragma once
// The system-wide named lock, built from file locks (file_lock.h) on files in the
// runtime folder. `<name>.open` carries a shared lock for every process that has the name
// open, so "already existed" is a failed exclusive attempt on it; `<name>.own` carries
// the exclusive lock of the owning process. The system drops both when a process dies,
// so a killed holder never blocks a later start. Inside one process, every open of the
// same name shares one state, so a second open sees "existed" and ownership belongs to
// one thread at a time, recursively, as with a system mutex.
#include <string>

#include "platform/process.h"

// A file name made only of [A-Za-z0-9_-] and %XX escapes of the UTF-8 bytes; long
// names keep a prefix and a hash of the whole name so they fit a file name. On Windows
// capitals are escaped too, and so is the first letter of a device name such as "con".
std::string EncodeLockFileName(const std::u16string& name);

// Opens the lock `name` in the private folder `dir`. With initialOwner the calling
// thread owns it at once unless it already existed. A null lock when `dir` or `name`
// is empty or the files cannot be used. Costs a few system calls.
SNamedLockResult OpenNamedLock(const std::string& dir, const std::u16string& name,
                               bool initialOwner);
