#pragma once
// CRootConfig: what every register entry has — its name, its id, the cell size of the
// entries that show an image, and its register type. CRootParam is the base of the
// rows an entry may carry.
#include <string>
#include <utility>

#include "script/vocabulary.h"

class CRootConfig {
 public:
  CRootConfig(SCRIPT_TYPE registerType, std::u16string entryName)
      : name(std::move(entryName)), type(registerType) {}
  virtual ~CRootConfig() = default;
  CRootConfig(const CRootConfig&) = delete;
  CRootConfig& operator=(const CRootConfig&) = delete;

  std::u16string name;  // the block's FuncName; unique among the character's entries
  int id = 0;           // 1..5 for the built-in entries, from 201 for the character's own
  int width = 0;        // cell size in pixels for motions and image layers, else 0
  int height = 0;
  int reserved = 0;
  SCRIPT_TYPE type;
};

class CRootParam {
 public:
  CRootParam() = default;
  virtual ~CRootParam() = default;
  CRootParam(const CRootParam&) = delete;
  CRootParam& operator=(const CRootParam&) = delete;
};
