#pragma once
// A fresh folder under the system's temporary folder, removed with its contents.
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("zv-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

  void MakeFolder(const std::filesystem::path& relative) const {
    std::filesystem::create_directories(path_ / relative);
  }
  void WriteFile(const std::filesystem::path& relative, const std::string& content = {}) const {
    std::filesystem::create_directories((path_ / relative).parent_path());
    std::ofstream(path_ / relative, std::ios::binary) << content;
  }

 private:
  std::filesystem::path path_;
};
