#pragma once
// Character text files (config.ini and scripts): read as UTF-8, each line normalised
// as a script line, empty results dropped, each kept line with its 1-based number.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct SNumberedLine {
  std::u16string text;
  int number;
};

// The normalised non-empty lines of UTF-8 file content. A byte-order mark is skipped;
// a line ends at "\n" and loses its trailing CR and LF characters.
std::vector<SNumberedLine> NormalizedLinesOf(std::string_view bytes);

// The content of the file at `path` as given (relative to the current folder), or else
// below the application folder; nullopt when neither can be read.
std::optional<std::string> ReadCharaFileBytes(std::u16string_view path);
