#pragma once
// Small text helpers on UTF-16 strings: trimming, line ends, case, and the two
// transformations the script readers apply to every line.
#include <string>

// Remove spaces and tabs at the start, the end, or both.
std::u16string TrimLeft(std::u16string text);
std::u16string TrimRight(std::u16string text);
std::u16string Trim(std::u16string text);
// Removes trailing CR and LF characters.
std::u16string CutLineEnd(std::u16string text);
// Maps each UTF-16 unit through the C library's case mapping of the current locale.
std::u16string ToUpper(std::u16string text);
std::u16string ToLower(std::u16string text);

// Prepares one script line: outside double quotes, spaces and tabs go, "##" ends the
// line, a single "#" goes, and backslash escapes (\" \# \\ \n \s \t) become their
// character; inside quotes everything stays. The quotes themselves stay.
std::u16string NormalizeScriptLine(const std::u16string& line);
// Removes every double quote and resolves backslash escapes as above; a backslash
// before any other character is dropped and the character kept.
std::u16string Unquote(const std::u16string& text);
