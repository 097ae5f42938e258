#pragma once
// Where a character's files are, relative to the application folder. Media names from
// config.ini and the registers are appended to these folders as written, so a name may
// carry sub-folders.
#include <string>
#include <string_view>

// "Characters\": the folder that holds one sub-folder per character.
inline constexpr std::u16string_view kCharactersRoot = u"Characters\\";

struct SCharaPaths {
  std::u16string characterFolder;  // "Characters\<name>\"
  std::u16string imagesFolder;     // "Characters\<name>\Images\"
  std::u16string soundsFolder;     // "Characters\<name>\Sounds\"
  std::u16string cursorsFolder;    // "Characters\<name>\Cursors\"
  std::u16string scriptsFolder;    // "Characters\<name>\Scripts", without a trailing "\"
  std::u16string configFile;       // "Characters\<name>\config.ini"
};

// The path strings of the character whose folder is `name`.
SCharaPaths MakeCharaPaths(std::u16string_view name);
