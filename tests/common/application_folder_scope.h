#pragma once
// Makes a folder the program's application folder for one test and restores the
// previous one afterwards; media and script loads fall back to it.
#include <string>
#include <utility>

#include "support/application_folder.h"

class CApplicationFolderScope {
 public:
  explicit CApplicationFolderScope(std::u16string folder) : saved_(ApplicationFolder()) {
    SetApplicationFolder(std::move(folder));
  }
  ~CApplicationFolderScope() { SetApplicationFolder(saved_); }
  CApplicationFolderScope(const CApplicationFolderScope&) = delete;
  CApplicationFolderScope& operator=(const CApplicationFolderScope&) = delete;

 private:
  std::u16string saved_;
};
