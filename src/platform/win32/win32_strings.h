#pragma once
// The program's UTF-16 strings as the system's wide strings: wchar_t is 16 bits wide
// on Windows, so the two share one representation and convert without copying.
#include <string>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide strings are UTF-16");

inline const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

inline std::u16string FromWide(const wchar_t* text) {
  return text == nullptr ? std::u16string() : std::u16string(reinterpret_cast<const char16_t*>(text));
}
