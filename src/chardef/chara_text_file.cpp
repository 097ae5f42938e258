#include "chardef/chara_text_file.h"

#include "support/application_folder.h"
#include "support/file_system.h"
#include "support/text.h"
#include "support/utf.h"

std::vector<SNumberedLine> NormalizedLinesOf(std::string_view bytes) {
  constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  std::vector<SNumberedLine> lines;
  int number = 0;
  while (!bytes.empty()) {
    ++number;
    const size_t newline = bytes.find('\n');
    const size_t length = newline == std::string_view::npos ? bytes.size() : newline;
    std::u16string text = NormalizeScriptLine(CutLineEnd(FromUtf8(bytes.substr(0, length))));
    if (!text.empty()) lines.push_back({std::move(text), number});
    bytes.remove_prefix(newline == std::string_view::npos ? length : length + 1);
  }
  return lines;
}

std::optional<std::string> ReadCharaFileBytes(std::u16string_view path) {
  return ReadDataFile(path, EFileKind::kText);
}
