#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it
// when the test ends; Engine() gives its engine path for the code under test.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

#include "support/file_system.h"

class CTempFolder {
 public:
  CTempFolder() {
    std::random_device seed;
    m_path = std::filesystem::temp_directory_path() / ("zv-test-" + std::to_string(seed()));
    std::filesystem::create_directories(m_path);
  }
  ~CTempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  CTempFolder(const CTempFolder&) = delete;
  CTempFolder& operator=(const CTempFolder&) = delete;

  const std::filesystem::path& Native() const { return m_path; }
  std::u16string Engine(std::u16string_view relative = {}) const {
    std::u16string path = FromNativePath(m_path);
    if (!relative.empty()) path += u'\\';
    return path + std::u16string(relative);
  }
  void WriteBytes(const std::filesystem::path& relative, std::string_view bytes) const {
    std::filesystem::create_directories((m_path / relative).parent_path());
    std::ofstream(m_path / relative, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string ReadBytes(const std::filesystem::path& relative) const {
    std::ifstream file(m_path / relative, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path m_path;
};
