#pragma once
// CCharaLoader: loads one character's definition from its folder, in the order
// metadata (config.ini), scripts, cursors. Every failure is an EScriptError whose
// message begins with the folder name; loading stops at the first one.
#include <string>

#include "chardef/chara_file_access.h"
#include "chardef/chara_info.h"
#include "chardef/chara_media.h"
#include "chardef/chara_numbering.h"
#include "chardef/chara_paths.h"
#include "script/script_file_reader.h"

class CCharaLoader {
 public:
  // `numbering` is shared by every character of the process; tests pass their own.
  explicit CCharaLoader(std::u16string folderName, SCharaNumbering& numbering = ProcessCharaNumbering());
  virtual ~CCharaLoader() = default;

  const SCharaPaths& Paths() const { return paths_; }

  // Metadata step: fills `info` from config.ini. A missing or unreadable file leaves
  // every key at its default.
  void LoadMetadata(CCharaInfo& info) const;

  // Metadata step, media part (after LoadMetadata): loads the about image through the
  // image cache and stores it with its size. Throws EScriptError when the about image
  // does not load, or when it is both wider than 400 and taller than 200. The button
  // sounds are read by their channels when first played.
  void LoadMetadataMedia(CCharaInfo& info, CCharaMedia& media) const;

  // Script step, reading part: every line of every ".func" file below the scripts
  // folder, then the blocks they declare. Throws EScriptError when there is no script
  // line at all, or when no ORDER_REG block was read.
  CScriptFuncMaps ReadScripts() const;

  // Cursor step: the normal, drag and disabled cursors named in config.ini, through the
  // cursor cache. A name that is empty or does not load gives null; never fails.
  struct SCursors {
    const SCursorImage* normal = nullptr;
    const SCursorImage* drag = nullptr;
    const SCursorImage* disabled = nullptr;
  };
  SCursors LoadCursors(const CCharaInfo& info, CCharaMedia& media) const;

 private:
  std::u16string folderName_;
  SCharaPaths paths_;
  CCharaFileAccess fileAccess_;
  SCharaNumbering& numbering_;
};
