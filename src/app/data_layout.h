#pragma once
// Where the program's data is. Beside the program (the build folder, Windows, a folder
// unpacked by hand): "Characters\" and "Params\" in the executable's folder. Installed
// under a prefix (bin/zelvotta with share/zelvotta/Characters, and no Characters beside
// the executable): the user's own characters and the installed ones, and the user's
// Params folder, since the installed folders are not the user's to write.
#include <string>
#include <string_view>
#include <vector>

struct SDataLayout {
  bool installed = false;
  // The folders that hold character folders, ending in "\"; the first one holding a
  // name wins (the user's own before the installed ones).
  std::vector<std::u16string> characterRoots;
  std::u16string paramsFolder;  // ending in "\"
};

// The layout for a program in `applicationFolder` (ending in "\"). `installedDataPath`
// is the installed data folder relative to it, as the build configured it
// ("..\share\zelvotta"; empty: the program is never an installed one); `userDataFolder`
// the user's own data folder for the program, ending in "\" (empty: the user has none,
// and an installed program keeps its Params beside itself, where writing them may fail).
SDataLayout ChooseDataLayout(const std::u16string& applicationFolder, std::u16string_view installedDataPath,
                             const std::u16string& userDataFolder);

// The user's data folder for the program (engine path, ending in "\") by the XDG base
// directory rules: $XDG_DATA_HOME/zelvotta, or $HOME/.local/share/zelvotta when
// XDG_DATA_HOME is unset, empty or relative; empty when HOME does not help either.
// Null arguments are unset variables.
std::u16string UserDataFolder(const char* xdgDataHome, const char* home);
