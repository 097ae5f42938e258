#include "script/script_file_reader.h"

#include <memory>
#include <optional>
#include <string_view>

#include "script/name_tables.h"

namespace {

constexpr std::u16string_view kConfigOpen = u"<SET_CONFIG>";
constexpr std::u16string_view kConfigClose = u"</SET_CONFIG>";
constexpr std::u16string_view kParamOpen = u"<SET_PARAM>";
constexpr std::u16string_view kParamClose = u"</SET_PARAM>";
constexpr std::u16string_view kTextOpen = u"<SET_TEXT>";
constexpr std::u16string_view kTextClose = u"</SET_TEXT>";

// The register whose name the tag's remaining text begins with, the first in table
// order; anything after the name is ignored.
std::optional<SCRIPT_TYPE> RegisterTypeOf(std::u16string_view tagRest) {
  const int type = FindRegisterTypePrefix(tagRest);
  if (type == kNameNotFound) return std::nullopt;
  return static_cast<SCRIPT_TYPE>(type);
}

// The first line at or after `from` (and before `end`) that begins with prefix, or -1.
int FindLineStarting(const CScriptText& text, std::u16string_view prefix, int from, int end) {
  for (int i = from; i < end; ++i) {
    if (text.LineAt(i).starts_with(prefix)) return i;
  }
  return -1;
}

// The inner lines [first, end) of one block.
struct SBlockLines {
  const CScriptText& text;
  int first;
  int end;
};

// A section's lines [begin, end); closed is false when its closing tag is missing.
struct SSection {
  int begin = 0;
  int end = 0;
  bool closed = false;
};

// The lines strictly between the block's first line equal to `open` and the first line
// after it equal to `close`. nullopt without an opening tag; an opening tag without
// a closing one gives an empty, unclosed section.
std::optional<SSection> FindSection(const SBlockLines& block, std::u16string_view open, std::u16string_view close) {
  for (int i = block.first; i < block.end; ++i) {
    if (block.text.LineAt(i) != open) continue;
    for (int j = i + 1; j < block.end; ++j) {
      if (block.text.LineAt(j) == close) return SSection{i + 1, j, true};
    }
    return SSection{};
  }
  return std::nullopt;
}

// Settings lines with brace joining: "{" opens a value that may run over several
// lines and "}" ends it; the braces go, the pieces join without separator, and text
// after the "}" is dropped. A value still open at the section's end is dropped.
void ReadConfigSection(const SBlockLines& block, const SSection& section, CStringList& out) {
  std::u16string pending;
  bool insideBraces = false;
  for (int i = section.begin; i < section.end; ++i) {
    const std::u16string& line = block.text.LineAt(i);
    if (insideBraces) {
      const size_t close = line.find(u'}');
      if (close == std::u16string::npos) {
        pending += line;
        continue;
      }
      out.Push(pending + line.substr(0, close));
      pending.clear();
      insideBraces = false;
      continue;
    }
    const size_t open = line.find(u'{');
    if (open == std::u16string::npos) {
      out.Push(line);
      continue;
    }
    const size_t close = line.find(u'}', open + 1);
    if (close != std::u16string::npos) {
      out.Push(line.substr(0, open) + line.substr(open + 1, close - open - 1));
      continue;
    }
    pending = line.substr(0, open) + line.substr(open + 1);
    insideBraces = true;
  }
}

// Splits at every ",", with no trimming and no regard for quotes.
ScriptRow SplitFields(const std::u16string& line) {
  ScriptRow fields;
  size_t start = 0;
  for (size_t comma = line.find(u','); comma != std::u16string::npos; comma = line.find(u',', start)) {
    fields.push_back(line.substr(start, comma - start));
    start = comma + 1;
  }
  fields.push_back(line.substr(start));
  return fields;
}

std::unique_ptr<CScriptParam> BuildParam(const SBlockLines& block, SCRIPT_TYPE type, SScriptOrigin origin) {
  auto param = std::make_unique<CScriptParam>(type, std::move(origin));
  if (const auto config = FindSection(block, kConfigOpen, kConfigClose); config && config->closed) {
    ReadConfigSection(block, *config, param->ConfigLines());
  }
  if (const auto rows = FindSection(block, kParamOpen, kParamClose); rows && rows->closed) {
    for (int i = rows->begin; i < rows->end; ++i) param->Rows().push_back(SplitFields(block.text.LineAt(i)));
  }
  // A text section always adds its row, an empty one when its closing tag is missing.
  if (const auto textSection = FindSection(block, kTextOpen, kTextClose)) {
    ScriptRow lines;
    for (int i = textSection->begin; i < textSection->end; ++i) lines.push_back(block.text.LineAt(i));
    param->Rows().push_back(std::move(lines));
    param->SetHasTextSection(true);
  }
  return param;
}

}  // namespace

int CScriptText::AddFile(std::u16string relativePath) {
  files_.push_back(std::move(relativePath));
  return static_cast<int>(files_.size()) - 1;
}

void CScriptText::Add(std::u16string line, int fileIndex, int lineNumber) {
  lines_.push_back({std::move(line), fileIndex, lineNumber});
}

SScriptOrigin CScriptText::OriginAt(int index) const {
  const SLine& line = lines_.at(static_cast<size_t>(index));
  if (line.file < 0 || line.file >= static_cast<int>(files_.size())) return {};
  return {files_[static_cast<size_t>(line.file)], line.lineNumber};
}

CScriptFuncMaps ReadScriptText(const CScriptText& text) {
  const std::u16string_view openTag = NameOf(kScriptTypeNames, FUNC_OPEN_TAG);
  const std::u16string_view closeTag = NameOf(kScriptTypeNames, FUNC_CLOSE_TAG);
  CScriptFuncMaps result;
  const int count = text.Count();
  int current = 0;
  while (current < count) {
    const int openLine = FindLineStarting(text, openTag, current, count);
    if (openLine < 0) break;
    const std::optional<SCRIPT_TYPE> type = RegisterTypeOf(std::u16string_view(text.LineAt(openLine)).substr(openTag.size()));
    if (!type) break;
    const int closeLine = FindLineStarting(text, closeTag, openLine + 1, count);
    if (closeLine < 0) break;
    if (!std::u16string_view(text.LineAt(closeLine)).substr(closeTag.size()).starts_with(NameOf(kScriptTypeNames, *type))) break;

    std::unique_ptr<CScriptParam> param = BuildParam({text, openLine + 1, closeLine}, *type, text.OriginAt(openLine));
    const std::u16string name = param->FuncName();
    // A rejected duplicate stays with the unique_ptr and is freed here.
    if (result.Map(*type).Insert(name, param.get())) static_cast<void>(param.release());
    current = closeLine + 1;
  }
  return result;
}
