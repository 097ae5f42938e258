#pragma once
// Conversion between the UTF-16 text the engine keeps in memory and the UTF-8 of files,
// terminals and the POSIX file system. Invalid sequences become U+FFFD, never an error.
#include <string>
#include <string_view>

std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);
