#pragma once
// Makes a folder the program's application folder for one test, with no other character
// roots and the Params folder beside it, and restores what was set before afterwards;
// media and script loads fall back to it.
#include <string>
#include <utility>
#include <vector>

#include "support/application_folder.h"

class CApplicationFolderScope {
 public:
  explicit CApplicationFolderScope(std::u16string folder)
      : savedFolder_(ApplicationFolder()), savedRoots_(CharacterRoots()), savedParams_(ParamsFolder()) {
    SetApplicationFolder(std::move(folder));
    SetCharacterRoots({});
    SetParamsFolder({});
  }
  ~CApplicationFolderScope() {
    SetApplicationFolder(savedFolder_);
    SetCharacterRoots(savedRoots_);
    // A Params folder that was the default one stays the default.
    SetParamsFolder(savedParams_ == savedFolder_ + u"Params\\" ? std::u16string() : savedParams_);
  }
  CApplicationFolderScope(const CApplicationFolderScope&) = delete;
  CApplicationFolderScope& operator=(const CApplicationFolderScope&) = delete;

 private:
  std::u16string savedFolder_;
  std::vector<std::u16string> savedRoots_;
  std::u16string savedParams_;
};
