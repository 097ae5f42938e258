#include "platform/headless/runtime_dir.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/headless/unique_fd.h"

bool EnsurePrivateDir(const std::string& path) {
  if (path.empty()) return false;
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  // Open without following a link, then check what was opened: a check by name and a
  // later use by name could be fooled by a swap in between.
  CUniqueFd dir(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!dir.Valid()) return false;
  struct stat info {};
  if (::fstat(dir.Get(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
    return false;
  }
  if ((info.st_mode & 077) != 0 && ::fchmod(dir.Get(), 0700) != 0) return false;
  return true;
}

namespace {

// The user's runtime folder is usable when it is an absolute path to a folder that
// belongs to this user and that this user can write to.
bool IsUsableXdgRuntimeDir(const char* value) {
  if (value == nullptr || value[0] != '/') return false;
  struct stat info {};
  if (::stat(value, &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
    return false;
  }
  return ::access(value, W_OK | X_OK) == 0;
}

}  // namespace

std::string ResolveRuntimeDir(const std::string& override) {
  std::string path;
  if (!override.empty()) {
    path = override;
  } else if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); IsUsableXdgRuntimeDir(xdg)) {
    path = std::string(xdg) + "/zelvotta";
  } else {
    path = "/tmp/zelvotta-" + std::to_string(::geteuid());
  }
  return EnsurePrivateDir(path) ? path : std::string();
}
