#pragma once
// Builds script blocks for register tests: each block is its opening tag, a settings
// section, an optional parameter section and the closing tag, as normalised lines of
// one file "Scripts\test.func".
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "chardef/func_info_map.h"
#include "chardef/register_build.h"
#include "script/script_file_reader.h"

struct STestBlock {
  std::u16string tag;  // "ORDER_REG", "MOTION_REG", ...
  std::vector<std::u16string> settings;
  std::vector<std::u16string> rows = {};
  std::vector<std::u16string> text = {};  // a text section when not empty
};

// Calls `add` with each line of `blocks`, in order.
template <class AddLine>
void ForEachTestBlockLine(const std::vector<STestBlock>& blocks, AddLine add) {
  for (const STestBlock& block : blocks) {
    add(u"<FUNC_" + block.tag + u">");
    add(u"<SET_CONFIG>");
    for (const std::u16string& setting : block.settings) add(setting);
    add(u"</SET_CONFIG>");
    if (!block.rows.empty()) {
      add(u"<SET_PARAM>");
      for (const std::u16string& row : block.rows) add(row);
      add(u"</SET_PARAM>");
    }
    if (!block.text.empty()) {
      add(u"<SET_TEXT>");
      for (const std::u16string& line : block.text) add(line);
      add(u"</SET_TEXT>");
    }
    add(u"</FUNC_" + block.tag + u">");
  }
}

inline CScriptFuncMaps ReadTestBlocks(const std::vector<STestBlock>& blocks) {
  CScriptText text;
  const int file = text.AddFile(u"Scripts\\test.func");
  int line = 0;
  ForEachTestBlockLine(blocks, [&](std::u16string content) { text.Add(std::move(content), file, ++line); });
  return ReadScriptText(text);
}

// A definition built from blocks for the folder "Chara". Images named in `images`
// have the given size; every other image cannot be loaded.
struct STestDefinition {
  CCreateFuncInfoMap definition;
  bool built = false;

  const std::u16string& Message() const { return definition.ErrorMessage(); }
  template <class T>
  T* Config(const std::u16string& name) {
    CCreateFuncInfo* entry = definition.FindEntry(name);
    return entry == nullptr ? nullptr : entry->ConfigAs<T>();
  }
};

struct STestImage {
  std::u16string name;
  SImageSize size;
};

inline std::unique_ptr<STestDefinition> BuildTestDefinition(const std::vector<STestBlock>& blocks,
                                                            std::vector<STestImage> images = {}) {
  auto result = std::make_unique<STestDefinition>();
  CRegisterBuildContext context(result->definition, u"Chara",
                                [images](const std::u16string& name) -> std::optional<SImageSize> {
                                  for (const STestImage& image : images) {
                                    if (image.name == name) return image.size;
                                  }
                                  return std::nullopt;
                                });
  result->built = BuildRegisters(context, ReadTestBlocks(blocks));
  return result;
}

// An ORDER_REG block that builds without error, with extra settings after FuncType.
inline STestBlock Function(std::u16string name, std::vector<std::u16string> extra = {},
                           std::u16string type = u"NONE_EVENT") {
  std::vector<std::u16string> settings = {u"FuncName=" + name, u"FuncType=" + type};
  settings.insert(settings.end(), extra.begin(), extra.end());
  return {u"ORDER_REG", std::move(settings)};
}
