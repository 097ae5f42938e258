#pragma once
// The saved state of a character between runs: its place, line, mute and hidden marks,
// kept as a scrambled list file "<folder name>.param" in the Params folder.
#include <string>
#include <string_view>

#include "runtime/chara_start_state.h"

// Reads the state of `folderName` from `paramsFolder` (engine path ending in "\") into
// `state`. True only when all five keys were found; values found before a missing key
// stay stored.
bool ReadCharaState(const std::u16string& paramsFolder, const std::u16string& folderName, SCharaStartState& state);
// What ReadCharaState does with the file's bytes.
bool ParseCharaState(std::string_view fileBytes, const std::u16string& folderName, SCharaStartState& state);
// Writes the state through a temporary file renamed into place, making the folder when
// needed; false when it could not be written (the old file then stays as it was).
bool WriteCharaState(const std::u16string& paramsFolder, const std::u16string& folderName, int x, int y, int line,
                     bool mute, bool hide);
