#include "support/application_folder.h"

#include <filesystem>
#include <system_error>

#include "support/data_path.h"
#include "support/file_system.h"

namespace {

// The folder that ApplicationPath looks up in the character roots; the engine composes
// it in exactly this form.
constexpr std::u16string_view kCharactersPrefix = u"Characters\\";

std::u16string& Folder() {
  static std::u16string folder;
  return folder;
}

std::vector<std::u16string>& Roots() {
  static std::vector<std::u16string> roots;
  return roots;
}

std::u16string& Params() {
  static std::u16string params;
  return params;
}

}  // namespace

const std::u16string& ApplicationFolder() { return Folder(); }

void SetApplicationFolder(std::u16string folder) { Folder() = std::move(folder); }

const std::vector<std::u16string>& CharacterRoots() { return Roots(); }

void SetCharacterRoots(std::vector<std::u16string> roots) { Roots() = std::move(roots); }

std::u16string ApplicationPath(std::u16string_view relative) {
  if (!Roots().empty() && relative.starts_with(kCharactersPrefix)) {
    const std::u16string_view inRoot = relative.substr(kCharactersPrefix.size());
    const std::u16string name(inRoot.substr(0, inRoot.find(u'\\')));
    // "." and ".." name no character: they would lead out of the root.
    if (!name.empty() && name != u"." && name != u"..") {
      for (const std::u16string& root : Roots()) {
        std::error_code error;
        if (std::filesystem::is_directory(ToNativePath(root + name), error)) return root + std::u16string(inRoot);
      }
    }
  }
  return Folder() + std::u16string(relative);
}

namespace {

bool IsRegularFile(const std::u16string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(ToNativePath(path), error);
}

}  // namespace

bool LeadsInsideCharacters(std::u16string_view path) {
  std::vector<std::u16string> holders = Roots();
  holders.push_back(Folder() + u"Characters");
  holders.push_back(u"Characters");
  return LiesWithinAny(path, holders);
}

std::optional<std::u16string> LocateDataFile(std::u16string_view path) {
  if (!StaysBelowCharacters(path)) return std::nullopt;
  const bool characterData = IsCharacterDataPath(path);
  std::u16string candidates[] = {std::u16string(path), ApplicationPath(path)};
  for (std::u16string& candidate : candidates) {
    if (!IsRegularFile(candidate)) continue;
    if (characterData && !LeadsInsideCharacters(candidate)) continue;
    return std::move(candidate);
  }
  return std::nullopt;
}

std::optional<std::string> ReadDataFile(std::u16string_view path, EFileKind kind) {
  const std::optional<std::u16string> located = LocateDataFile(path);
  if (!located) return std::nullopt;
  return ReadFileBytes(*located, kind);
}

std::u16string ParamsFolder() { return Params().empty() ? Folder() + u"Params\\" : Params(); }

void SetParamsFolder(std::u16string folder) { Params() = std::move(folder); }
