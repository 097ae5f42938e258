#pragma once
// Windows only. The headless platform keeps its file names as UTF-8 strings; Windows
// names files in UTF-16, so every name goes to and from the W functions through these,
// never through the narrow code page, which cannot spell every user's folder.
#include <string>
#include <string_view>

#include "support/utf.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide strings are UTF-16");

inline std::wstring WidePath(std::string_view utf8) {
  const std::u16string text = FromUtf8(utf8);
  return std::wstring(text.begin(), text.end());
}

inline std::string Utf8Path(std::wstring_view wide) {
  return ToUtf8(std::u16string(wide.begin(), wide.end()));
}
