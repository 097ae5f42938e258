#pragma once
// The folder of the program (engine path notation, ending in "\") and where its data
// lives. Set once at start-up, before any other thread starts; media loads fall back to
// paths relative to the application folder, and ApplicationPath sends a character's
// files to the folder that holds that character.
#include <string>
#include <string_view>
#include <vector>

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

// Where app.cfg and the characters' .param files are kept (ending in "\"): the
// application folder's "Params\" until a folder is set; an empty folder resets that.
std::u16string ParamsFolder();
void SetParamsFolder(std::u16string folder);
