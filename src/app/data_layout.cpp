#include "app/data_layout.h"

#include <filesystem>
#include <system_error>

#include "support/file_system.h"

namespace {

bool IsFolder(const std::u16string& enginePath) {
  std::error_code error;
  return std::filesystem::is_directory(ToNativePath(enginePath), error);
}

// `folder` with "." and ".." taken out, ending in "\".
std::u16string NormalFolder(const std::u16string& folder) {
  std::u16string normal = FromNativePath(ToNativePath(folder).lexically_normal());
  if (!normal.ends_with(u'\\')) normal += u'\\';
  return normal;
}

// An absolute path from an environment variable, or nothing: the XDG rules ignore
// relative ones.
std::u16string AbsoluteFrom(const char* variable) {
  if (variable == nullptr || variable[0] != '/') return {};
  return FromNativePath(std::filesystem::path(variable));
}

}  // namespace

SDataLayout ChooseDataLayout(const std::u16string& applicationFolder, std::u16string_view installedDataPath,
                             const std::u16string& userDataFolder) {
  SDataLayout layout;
  if (!installedDataPath.empty() && !IsFolder(applicationFolder + u"Characters")) {
    const std::u16string installedData = NormalFolder(applicationFolder + std::u16string(installedDataPath));
    layout.installed = IsFolder(installedData + u"Characters");
    if (layout.installed) {
      if (!userDataFolder.empty()) {
        layout.characterRoots.push_back(userDataFolder + u"Characters\\");
        layout.paramsFolder = userDataFolder + u"Params\\";
      } else {
        layout.paramsFolder = applicationFolder + u"Params\\";
      }
      layout.characterRoots.push_back(installedData + u"Characters\\");
      return layout;
    }
  }
  layout.characterRoots = {applicationFolder + u"Characters\\"};
  layout.paramsFolder = applicationFolder + u"Params\\";
  return layout;
}

std::u16string UserDataFolder(const char* xdgDataHome, const char* home) {
  std::u16string base = AbsoluteFrom(xdgDataHome);
  if (base.empty()) {
    base = AbsoluteFrom(home);
    if (base.empty()) return {};
    if (!base.ends_with(u'\\')) base += u'\\';
    base += u".local\\share";
  }
  if (!base.ends_with(u'\\')) base += u'\\';
  return base + u"zelvotta\\";
}
