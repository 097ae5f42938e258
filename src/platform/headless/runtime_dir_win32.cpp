#include "platform/headless/runtime_dir.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdlib>
#include <filesystem>

#include "platform/headless/unique_fd.h"
#include "platform/headless/wide_path.h"

// On Windows the folder's privacy comes from the ACL it inherits from the user's
// profile, so there is no mode to check or tighten; a folder is refused when it is a
// link or junction, or not a folder at all.
bool EnsurePrivateDir(const std::string& path) {
  if (path.empty()) return false;
  const std::wstring wide = WidePath(path);
  if (!::CreateDirectoryW(wide.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
    return false;
  }
  // Open the name itself rather than what it points to, then check what was opened.
  HANDLE handle = ::CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const CUniqueFd dir(handle);
  BY_HANDLE_FILE_INFORMATION info{};
  return ::GetFileInformationByHandle(handle, &info) &&
         (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
         (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

namespace {

// XDG_RUNTIME_DIR is honoured on Windows too when it names an existing folder by an
// absolute path, so tests and tools can give every run its own folder.
bool IsUsableXdgRuntimeDir(const wchar_t* value) {
  if (value == nullptr || value[0] == L'\0' || !std::filesystem::path(value).is_absolute()) {
    return false;
  }
  const DWORD attributes = ::GetFileAttributesW(value);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The user's local application data folder; empty when the system names none.
std::wstring LocalAppData() {
  std::wstring folder;
  PWSTR known = nullptr;
  if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &known))) {
    folder = known;
  }
  ::CoTaskMemFree(known);
  if (folder.empty()) {
    if (const wchar_t* variable = ::_wgetenv(L"LOCALAPPDATA")) folder = variable;
  }
  return folder;
}

}  // namespace

std::string ResolveRuntimeDir(const std::string& override) {
  std::string path;
  if (!override.empty()) {
    path = override;
  } else if (const wchar_t* xdg = ::_wgetenv(L"XDG_RUNTIME_DIR"); IsUsableXdgRuntimeDir(xdg)) {
    path = Utf8Path(xdg) + "\\zelvotta";
  } else if (const std::wstring local = LocalAppData(); !local.empty()) {
    const std::string program = Utf8Path(local) + "\\Zelvotta";
    if (!EnsurePrivateDir(program)) return {};
    path = program + "\\run";
  }
  return EnsurePrivateDir(path) ? path : std::string();
}
