#include "chardef/chara_file_access.h"

#include <filesystem>
#include <optional>

#include "chardef/chara_text_file.h"
#include "support/application_folder.h"
#include "support/file_system.h"
#include "support/path.h"
#include "support/text.h"

namespace {

bool IsScriptFileName(std::u16string_view name) { return ToLower(ExtensionOf(name)) == u".func"; }

}  // namespace

CCharaFileAccess::CCharaFileAccess(std::u16string folderName) : folderName_(std::move(folderName)) {}

const CImageLoad* CCharaFileAccess::LoadImageFile(CImageMap& images, const std::u16string& path) {
  return images.Load(path, path);
}

const SCursorImage* CCharaFileAccess::LoadCursorFile(CCursorMap& cursors, const std::u16string& path) {
  // A name that leads nowhere readable keeps its key with no cursor, as a file that
  // does not decode does.
  return cursors.Load(path, LocateDataFile(path).value_or(std::u16string()));
}

const CSoundLoad* CCharaFileAccess::LoadSoundFile(CSoundManager& channel, const std::u16string& path) {
  return channel.Load(path);
}

void CCharaFileAccess::ReadLines(std::u16string_view path, CStringList& out) const {
  const std::optional<std::string> bytes = ReadCharaFileBytes(path);
  if (!bytes) return;
  for (SNumberedLine& line : NormalizedLinesOf(*bytes)) out.Push(std::move(line.text));
}

void CCharaFileAccess::ReadScripts(std::u16string_view scriptsPath, CScriptText& out) const {
  // Origins name files from the character folder: "Scripts\…".
  ReadScriptFolder(std::u16string(scriptsPath), std::u16string(FileNameOf(scriptsPath)), out);
}

void CCharaFileAccess::ReadScriptFolder(const std::u16string& folder, const std::u16string& relative,
                                        CScriptText& out) const {
  std::optional<std::vector<SDirEntry>> entries = ListDirectory(folder);
  if (!entries) return;
  for (const SDirEntry& entry : *entries) {
    if (entry.isDirectory || !IsScriptFileName(entry.name)) continue;
    std::error_code error;
    if (!std::filesystem::is_regular_file(ToNativePath(folder + u'\\' + entry.name), error)) continue;
    // A linked script must not bring in a file from elsewhere on the machine.
    if (!LeadsInsideCharacters(folder + u'\\' + entry.name)) continue;
    ReadScriptFile(folder + u'\\' + entry.name, relative + u'\\' + entry.name, out);
  }
  for (const SDirEntry& entry : *entries) {
    if (!entry.isDirectory) continue;
    // A linked folder may lead back to one of its parents.
    std::error_code error;
    if (std::filesystem::is_symlink(ToNativePath(folder + u'\\' + entry.name), error)) continue;
    ReadScriptFolder(folder + u'\\' + entry.name, relative + u'\\' + entry.name, out);
  }
}

void CCharaFileAccess::ReadScriptFile(const std::u16string& path, std::u16string relativePath, CScriptText& out) {
  const std::optional<std::string> bytes = ReadCharaFileBytes(path);
  if (!bytes) return;
  const int file = out.AddFile(std::move(relativePath));
  for (SNumberedLine& line : NormalizedLinesOf(*bytes)) out.Add(std::move(line.text), file, line.number);
}
