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
#include "platform/text.h"
#include "script/script_file_reader.h"

class CCharaDefinition;
class IFunctionHitTestSetUp;

class CCharaLoader {
 public:
  // `numbering` is shared by every character of the process; tests pass their own.
  explicit CCharaLoader(std::u16string folderName, SCharaNumbering& numbering = ProcessCharaNumbering());
  virtual ~CCharaLoader() = default;

  const SCharaPaths& Paths() const { return paths_; }

  // The whole load, as the character's start-up runs it: metadata (LoadMetadata,
  // LoadMetadataMedia), scripts (ReadScripts, BuildDefinition, the latched register
  // error, ValidateDefinition), cursors (LoadCursors). Throws EScriptError with the
  // first failure's message; `into` then holds what was loaded so far. Text styles make
  // their fonts through `text`; `hitTest` (may be null) receives every function.
  void Load(CCharaDefinition& into, IText& text, IFunctionHitTestSetUp* hitTest = nullptr) const;

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

  // Script step, building part: registers the built-in balloon and text-style entries,
  // then builds every block of `scripts` into into.registers, loading the images whose
  // sizes the blocks use through the character's image cache. Faulty blocks go to the
  // registers' error latch; returns whether it stayed clear. False, building nothing,
  // when `scripts` declares no function.
  bool BuildDefinition(CCharaDefinition& into, const CScriptFuncMaps& scripts, IText& text) const;

  // Script step, checking part: resolves names, loads the media the registers name and
  // checks sizes; sets into.imageLayerPlayerCount. Throws EDefinitionCheckError.
  void ValidateDefinition(CCharaDefinition& into, IFunctionHitTestSetUp* hitTest = nullptr) const;

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
