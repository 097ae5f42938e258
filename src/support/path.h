#pragma once
// Pure text operations on engine paths, which use "\" as the character data does.
#include <string>
#include <string_view>

// The text after the last "\" or "/", or the whole path when there is neither.
std::u16string FileNameOf(std::u16string_view path);
// From the last "." of the file name to its end, the "." included; empty without one.
std::u16string ExtensionOf(std::u16string_view path);
// The folder of a file path with "." and ".." resolved, ending in "\". A ".." with
// nothing (or another "..") before it stays. No "\" at all gives the empty text.
std::u16string FolderOf(std::u16string_view path);
