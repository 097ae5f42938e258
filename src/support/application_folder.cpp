#include "support/application_folder.h"

namespace {
std::u16string& Folder() {
  static std::u16string folder;
  return folder;
}
}  // namespace

const std::u16string& ApplicationFolder() { return Folder(); }

void SetApplicationFolder(std::u16string folder) { Folder() = std::move(folder); }
