#pragma once
// The folder of the program (engine path notation, ending in "\") and where its data
// lives. Set once at start-up, before any other thread starts; media loads fall back to
// paths relative to the application folder, and ApplicationPath sends a character's
// files to the folder that holds that character.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/file_system.h"

const std::u16string& ApplicationFolder();
void SetApplicationFolder(std::u16string folder);

// The folders that hold character folders (each ending in "\"), in order of precedence:
// a character found in an earlier one hides a folder of the same name in a later one.
// Empty (the default): the application folder's "Characters\" alone.
const std::vector<std::u16string>& CharacterRoots();
void SetCharacterRoots(std::vector<std::u16string> roots);

// The full engine path of `relative`, a path relative to the application folder. A path
// under "Characters\<name>\" goes to the first character root that has a folder <name>
// (in any letter case); every other path, and one whose character no root has, goes to
// the application folder. Costs one folder look-up for each root tried.
std::u16string ApplicationPath(std::u16string_view relative);

// Whether the file at `path` (any engine path) lies, once links are followed, inside a
// folder that holds characters: a character root, the application folder's
// "Characters", or "Characters" below the current folder. A character may share files
// with its siblings there, but a link must not lead elsewhere. False when it cannot be
// resolved. Costs a few look-ups for each folder.
bool LeadsInsideCharacters(std::u16string_view path);

// The content of a data file named by `path`: as given, else below the application
// folder (ApplicationPath). A path below "Characters\" is character data: it is refused
// when its name climbs out of Characters or names a device or a drive
// (StaysBelowCharacters), or when the file it reaches lies outside the characters'
// folders (LeadsInsideCharacters). Reads through ReadFileBytes, with its kinds' limits.
std::optional<std::string> ReadDataFile(std::u16string_view path, EFileKind kind);
// Where ReadDataFile would read `path`, by the same rules; nullopt when nowhere.
std::optional<std::u16string> LocateDataFile(std::u16string_view path);

// Where app.cfg and the characters' .param files are kept (ending in "\"): the
// application folder's "Params\" until a folder is set; an empty folder resets that.
std::u16string ParamsFolder();
void SetParamsFolder(std::u16string folder);
