#pragma once
// CCharaFileAccess: reads one character's text files while its definition is loaded.
// Paths are engine paths relative to the application folder (or absolute), as the
// character's path strings compose them.
#include <string>
#include <string_view>

#include "media/cursor_map.h"
#include "media/image_map.h"
#include "media/sound_manager.h"
#include "script/script_file_reader.h"
#include "support/string_list.h"

class CCharaFileAccess {
 public:
  explicit CCharaFileAccess(std::u16string folderName);
  virtual ~CCharaFileAccess() = default;

  const std::u16string& FolderName() const { return folderName_; }

  // Media loads never fail loudly: they return null and the caller decides. Each key is
  // the path itself, so a second load of the same path costs a lookup.
  // The image at `path` through `images`; null when it does not decode.
  static const CImageLoad* LoadImageFile(CImageMap& images, const std::u16string& path);
  // The cursor file at `path` (as given, else below the application folder) through
  // `cursors`; null when it cannot be read.
  static const SCursorImage* LoadCursorFile(CCursorMap& cursors, const std::u16string& path);
  static const CSoundLoad* LoadSoundFile(CSoundManager& channel, const std::u16string& path);

  // Appends the normalised lines of the text file at `path` (tried as given, then below
  // the application folder). A file that cannot be read adds nothing and is no error.
  void ReadLines(std::u16string_view path, CStringList& out) const;

  // Appends the lines of every ".func" file (extension in any letter case) below the
  // scripts folder at `scriptsPath`: a folder's files before its sub-folders, both in
  // name order. Each line keeps its file, named relative to the character folder, and
  // its line number. Linked folders are not followed.
  void ReadScripts(std::u16string_view scriptsPath, CScriptText& out) const;

 private:
  void ReadScriptFolder(const std::u16string& folder, const std::u16string& relative, CScriptText& out) const;
  static void ReadScriptFile(const std::u16string& path, std::u16string relativePath, CScriptText& out);

  std::u16string folderName_;
};
