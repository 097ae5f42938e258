#pragma once
// A fresh folder under /tmp for one test, removed with everything in it afterwards.
#include <stdlib.h>

#include <filesystem>
#include <string>

class CTempDir {
 public:
  CTempDir() {
    char pattern[] = "/tmp/zv-platform-test-XXXXXX";
    if (::mkdtemp(pattern) != nullptr) path_ = pattern;
  }
  ~CTempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  CTempDir(const CTempDir&) = delete;
  CTempDir& operator=(const CTempDir&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};
