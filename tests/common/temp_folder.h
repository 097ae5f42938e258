#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it
// when the test ends; Engine() gives its engine path for the code under test.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

#include "support/file_system.h"

class CTempFolder {
 public:
  CTempFolder() {
    std::random_device seed;
    // create_directory reports whether it made the folder, so two tests never share one.
    do {
      m_path = std::filesystem::temp_directory_path() / ("zv-test-" + std::to_string(seed()));
    } while (!std::filesystem::create_directory(m_path));
    // Private like a runtime folder, which some code under test insists on.
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all);
    m_pathString = m_path.string();
  }
  ~CTempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  CTempFolder(const CTempFolder&) = delete;
  CTempFolder& operator=(const CTempFolder&) = delete;

  const std::filesystem::path& Native() const { return m_path; }
  const std::string& NativeString() const { return m_pathString; }
  std::u16string Engine(std::u16string_view relative = {}) const {
    std::u16string path = FromNativePath(m_path);
    if (!relative.empty()) path += u'\\';
    return path + std::u16string(relative);
  }
  void MakeFolder(const std::filesystem::path& relative) const {
    std::filesystem::create_directories(m_path / relative);
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
  std::string m_pathString;
};
