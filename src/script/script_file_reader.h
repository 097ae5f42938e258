#pragma once
// The script-file reader: turns a character's normalised script lines into its blocks,
// one map per register type. It never fails: a structural fault (an unknown register
// name, a missing or mismatched closing tag) ends reading and keeps what was read.
#include <array>
#include <string>
#include <vector>

#include "script/script_param.h"
#include "script/vocabulary.h"
#include "support/vector_map.h"

// The normalised lines of all script files in reading order, each with its origin.
class CScriptText {
 public:
  // Registers a file (relative to the character folder) and returns its index for Add.
  int AddFile(std::u16string relativePath);
  // Appends a line written at 1-based lineNumber of file fileIndex; -1 for no file.
  void Add(std::u16string line, int fileIndex = -1, int lineNumber = 0);

  int Count() const { return static_cast<int>(lines_.size()); }
  bool Empty() const { return lines_.empty(); }
  const std::u16string& LineAt(int index) const { return lines_.at(static_cast<size_t>(index)).text; }
  SScriptOrigin OriginAt(int index) const;

 private:
  struct SLine {
    std::u16string text;
    int file;
    int lineNumber;
  };
  std::vector<SLine> lines_;
  std::vector<std::u16string> files_;
};

// Blocks by name, in the order they were read; owns its records.
using CScriptParamMap = CVectorMap<std::u16string, CScriptParam*, true>;

// The reader's result: one map per register type ORDER_REG … TEXT_STYLE_REG.
class CScriptFuncMaps {
 public:
  CScriptParamMap& Map(SCRIPT_TYPE registerType) { return maps_.at(static_cast<size_t>(registerType - ORDER_REG)); }
  const CScriptParamMap& Map(SCRIPT_TYPE registerType) const {
    return maps_.at(static_cast<size_t>(registerType - ORDER_REG));
  }
  // Whether at least one ORDER_REG block was read: script text without one declares
  // no function and is rejected by the loader.
  bool HasOrderFunction() const { return Map(ORDER_REG).Count() > 0; }

 private:
  std::array<CScriptParamMap, SCRIPT_TYPE_END - ORDER_REG> maps_;
};

// Reads every block of the text. Within one register the first block of a name wins;
// later ones are dropped silently. Linear in the number of lines.
CScriptFuncMaps ReadScriptText(const CScriptText& text);
