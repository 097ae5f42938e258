#include "support/data_path.h"

#include <vector>

namespace {

constexpr std::u16string_view kCharacters = u"Characters";

char16_t AsciiUpper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

bool EqualsUpper(std::u16string_view text, std::u16string_view upper) {
  if (text.size() != upper.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (AsciiUpper(text[i]) != upper[i]) return false;
  }
  return true;
}

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// Windows drops trailing dots and blanks from a component before it opens it.
std::u16string_view WithoutTrailingDotsAndBlanks(std::u16string_view name) {
  while (!name.empty() && (name.back() == u'.' || name.back() == u' ')) name.remove_suffix(1);
  return name;
}

}  // namespace

bool IsWindowsDeviceName(std::u16string_view name) {
  name = WithoutTrailingDotsAndBlanks(name);
  name = name.substr(0, name.find(u'.'));
  name = WithoutTrailingDotsAndBlanks(name);
  for (std::u16string_view device : {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"}) {
    if (EqualsUpper(name, device)) return true;
  }
  if (name.size() != 4) return false;
  const std::u16string_view stem = name.substr(0, 3);
  if (!EqualsUpper(stem, u"COM") && !EqualsUpper(stem, u"LPT")) return false;
  const char16_t digit = name[3];
  return (digit >= u'0' && digit <= u'9') || digit == u'\u00B9' || digit == u'\u00B2' || digit == u'\u00B3';
}

bool IsCharacterDataPath(std::u16string_view enginePath) {
  return enginePath.size() > kCharacters.size() && enginePath.starts_with(kCharacters) &&
         IsSeparator(enginePath[kCharacters.size()]);
}

bool StaysBelowCharacters(std::u16string_view enginePath) {
  if (!IsCharacterDataPath(enginePath)) return true;

  std::vector<std::u16string_view> kept;
  while (!enginePath.empty()) {
    size_t end = 0;
    while (end < enginePath.size() && !IsSeparator(enginePath[end])) ++end;
    const std::u16string_view component = enginePath.substr(0, end);
    enginePath.remove_prefix(end < enginePath.size() ? end + 1 : end);
    if (component.empty() || component == u".") continue;
    if (component == u"..") {
      // Climbing above "Characters" itself leaves the characters.
      if (kept.size() <= 1) return false;
      kept.pop_back();
      continue;
    }
    // "...", ". ." and the like: Windows reads some of them as "." or "..".
    if (WithoutTrailingDotsAndBlanks(component).empty()) return false;
    for (char16_t c : component) {
      // A colon names a drive or a stream; control characters no file.
      if (c == u':' || c < u' ') return false;
    }
    if (IsWindowsDeviceName(component)) return false;
    kept.push_back(component);
  }
  return kept.size() >= 2;
}
