#include "support/string_list.h"

#include <optional>

#include "support/file_system.h"
#include "support/scrambled_text.h"
#include "support/text.h"
#include "support/utf.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Splits decoded file text into lines as a text-mode read does: "\r\n" becomes "\n",
// each line keeps its "\n", a last line without one is kept as it is.
std::vector<std::u16string> SplitTextLines(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  std::vector<std::u16string> lines;
  while (!bytes.empty()) {
    const size_t newline = bytes.find('\n');
    const size_t length = newline == std::string_view::npos ? bytes.size() : newline;
    std::string_view content = bytes.substr(0, length);
    const bool hasLineEnd = newline != std::string_view::npos;
    if (hasLineEnd && content.ends_with('\r')) content.remove_suffix(1);
    std::u16string line = FromUtf8(content);
    if (hasLineEnd) line += u'\n';
    lines.push_back(std::move(line));
    bytes.remove_prefix(hasLineEnd ? length + 1 : length);
  }
  return lines;
}

}  // namespace

bool CStringList::ReadTextLines(std::u16string_view path) {
  const std::optional<std::string> bytes = ReadFileBytes(path, EFileKind::kText);
  if (!bytes) return false;
  ParseTextLines(*bytes);
  return true;
}

void CStringList::ParseTextLines(std::string_view bytes) { m_lines = SplitTextLines(bytes); }

bool CStringList::WriteTextLines(std::u16string_view path) const {
  std::string bytes(kUtf8Bom);
  for (const std::u16string& line : m_lines) {
    bytes += ToUtf8(line);
    bytes += '\n';
  }
  return WriteFileAtomically(path, bytes);
}

bool CStringList::ReadNormalizedLines(std::u16string_view path) {
  const std::optional<std::string> bytes = ReadFileBytes(path, EFileKind::kText);
  if (!bytes) return false;
  m_lines.clear();
  for (std::u16string& line : SplitTextLines(*bytes)) {
    std::u16string normalized = NormalizeScriptLine(CutLineEnd(std::move(line)));
    if (!normalized.empty()) m_lines.push_back(std::move(normalized));
  }
  return true;
}

bool CStringList::ReadScrambledList(std::u16string_view path) {
  const std::optional<std::string> bytes = ReadFileBytes(path, EFileKind::kState);
  if (!bytes) return false;
  return ParseScrambledList(*bytes);
}

bool CStringList::ParseScrambledList(std::string_view bytes) {
  m_lines.clear();
  const std::optional<std::u16string> text = DecodeScrambledText(bytes);
  if (!text) return false;
  Split(*text);
  return true;
}

bool CStringList::WriteScrambledList(std::u16string_view path) const {
  return WriteFileAtomically(path, EncodeScrambledText(Join()));
}

void CStringList::Split(std::u16string_view text) {
  m_lines.clear();
  for (size_t comma = text.find(u','); comma != std::u16string_view::npos; comma = text.find(u',')) {
    m_lines.emplace_back(text.substr(0, comma));
    text.remove_prefix(comma + 1);
  }
}

std::u16string CStringList::Join() const {
  std::u16string text;
  for (const std::u16string& item : m_lines) {
    if (item.empty()) continue;
    text += item;
    text += u',';
  }
  return text;
}

int CStringList::IndexOf(std::u16string_view text) const {
  for (size_t i = 0; i < m_lines.size(); ++i) {
    if (m_lines[i] == text) return static_cast<int>(i);
  }
  return -1;
}

const std::u16string* CStringList::LineAt(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return &m_lines[static_cast<size_t>(index)];
}

std::u16string CStringList::KeyAt(int index) const {
  const std::u16string* line = LineAt(index);
  if (!line) return {};
  const size_t equals = line->find(u'=');
  return equals == std::u16string::npos ? std::u16string() : line->substr(0, equals);
}

std::u16string CStringList::ValueAt(int index) const { return AfterSeparator(index, u"="); }

int CStringList::FindKey(std::u16string_view key) const {
  for (int i = 0; i < Count(); ++i) {
    const std::u16string& line = m_lines[static_cast<size_t>(i)];
    const size_t equals = line.find(u'=');
    if (equals != std::u16string::npos && std::u16string_view(line).substr(0, equals) == key) return i;
  }
  return -1;
}

std::u16string CStringList::ValueOf(std::u16string_view key) const { return ValueAt(FindKey(key)); }

void CStringList::Set(std::u16string_view key, std::u16string_view value) {
  std::u16string line(key);
  line += u'=';
  line += value;
  const int index = FindKey(key);
  if (index >= 0) {
    m_lines[static_cast<size_t>(index)] = std::move(line);
  } else {
    m_lines.push_back(std::move(line));
  }
}

void CStringList::SetNumber(std::u16string_view key, int number) {
  const std::string digits = std::to_string(number);
  Set(key, std::u16string(digits.begin(), digits.end()));
}

std::u16string CStringList::BeforeSeparator(int index, std::u16string_view separator) const {
  const std::u16string* line = LineAt(index);
  if (!line) return {};
  return line->substr(0, line->find(separator));
}

std::u16string CStringList::AfterSeparator(int index, std::u16string_view separator) const {
  const std::u16string* line = LineAt(index);
  if (!line) return {};
  const size_t at = line->find(separator);
  return at == std::u16string::npos ? std::u16string() : line->substr(at + separator.size());
}
