#pragma once
// CScriptParam: one block of a character's scripts, as the registers receive it — its
// settings lines, its parameter rows (the text section's lines as one final row), its
// register type, and where its opening tag was written.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "script/vocabulary.h"
#include "support/string_list.h"

// Where a script line was written: a file relative to the character folder and its
// 1-based line. A line that came from no file has an empty file and line 0.
struct SScriptOrigin {
  std::u16string file;
  int line = 0;
};

using ScriptRow = std::vector<std::u16string>;

class CScriptParam {
 public:
  CScriptParam(SCRIPT_TYPE registerType, SScriptOrigin origin)
      : registerType_(registerType), origin_(std::move(origin)) {}
  virtual ~CScriptParam() = default;
  CScriptParam(const CScriptParam&) = delete;
  CScriptParam& operator=(const CScriptParam&) = delete;

  SCRIPT_TYPE RegisterType() const { return registerType_; }
  // The opening tag's origin, for messages that point at the block.
  const SScriptOrigin& Origin() const { return origin_; }

  // One "key=value" line per setting, braces already joined.
  CStringList& ConfigLines() { return configLines_; }
  const CStringList& ConfigLines() const { return configLines_; }
  // One row per parameter line (split at ","), then one row of text lines when the
  // block has a text section.
  std::vector<ScriptRow>& Rows() { return rows_; }
  const std::vector<ScriptRow>& Rows() const { return rows_; }
  // Whether the last row holds a text section's lines rather than a parameter line.
  bool HasTextSection() const { return hasTextSection_; }
  void SetHasTextSection(bool has) { hasTextSection_ = has; }

  // The text after the first "=" of the first settings line whose text before its
  // first "=" equals key exactly; the empty text when no line has that key. A linear
  // scan of the settings lines.
  std::u16string ValueOf(std::u16string_view key) const;
  // The value of the "FuncName" key: the name the block is stored under.
  std::u16string FuncName() const { return ValueOf(u"FuncName"); }

 private:
  SCRIPT_TYPE registerType_;
  SScriptOrigin origin_;
  CStringList configLines_;
  std::vector<ScriptRow> rows_;
  bool hasTextSection_ = false;
};
