#include "support/text.h"

#include <cwctype>
#include <optional>

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

bool IsLineEnd(char16_t c) { return c == u'\r' || c == u'\n'; }

// The character a backslash escape stands for, or nothing for an unknown escape.
std::optional<char16_t> EscapedCharacter(char16_t c) {
  switch (c) {
    case u'"':
    case u'#':
    case u'\\':
      return c;
    case u'n':
      return u'\n';
    case u's':
      return u' ';
    case u't':
      return u'\t';
    default:
      return std::nullopt;
  }
}

template <class Map>
std::u16string MapUnits(std::u16string text, Map map) {
  for (char16_t& c : text) {
    c = static_cast<char16_t>(map(static_cast<wint_t>(c)));
  }
  return text;
}

}  // namespace

std::u16string TrimLeft(std::u16string text) {
  size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) ++start;
  return text.erase(0, start);
}

std::u16string TrimRight(std::u16string text) {
  size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1])) --end;
  text.resize(end);
  return text;
}

std::u16string Trim(std::u16string text) { return TrimLeft(TrimRight(std::move(text))); }

std::u16string CutLineEnd(std::u16string text) {
  size_t end = text.size();
  while (end > 0 && IsLineEnd(text[end - 1])) --end;
  text.resize(end);
  return text;
}

// towupper/towlower return wint_t; a UTF-16 unit maps to a unit in every locale we
// use, and surrogate halves map to themselves.
std::u16string ToUpper(std::u16string text) {
  return MapUnits(std::move(text), [](wint_t c) { return std::towupper(c); });
}

std::u16string ToLower(std::u16string text) {
  return MapUnits(std::move(text), [](wint_t c) { return std::towlower(c); });
}

std::u16string NormalizeScriptLine(const std::u16string& line) {
  std::u16string out;
  out.reserve(line.size());
  bool inQuotes = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char16_t c = line[i];
    if (c == u'"') {
      inQuotes = !inQuotes;
      out += c;
      continue;
    }
    if (inQuotes) {
      out += c;
      continue;
    }
    if (IsBlank(c)) continue;
    if (c == u'#') {
      if (i + 1 < line.size() && line[i + 1] == u'#') break;  // a comment to the end
      continue;
    }
    if (c == u'\\') {
      if (i + 1 >= line.size()) break;  // a lone backslash at the end is dropped
      if (const auto escaped = EscapedCharacter(line[i + 1])) {
        out += *escaped;
        ++i;
      }
      // An unknown escape drops the backslash; the next character is handled as usual.
      continue;
    }
    out += c;
  }
  return out;
}

std::u16string Unquote(const std::u16string& text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'"') continue;
    if (c == u'\\') {
      if (i + 1 >= text.size()) break;
      ++i;
      out += EscapedCharacter(text[i]).value_or(text[i]);
      continue;
    }
    out += c;
  }
  return out;
}
