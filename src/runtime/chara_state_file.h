#pragma once
// The saved state of a character between runs: its place, line, mute and hidden marks,
// kept as a scrambled list file "<folder name>.param" in the Params folder. The list
// holds the entries "<folder name>.x=…", ".y", ".LineNum", ".Mute" and ".Hide", in
// this order, each followed by ",".
#include <string>
#include <string_view>

#include "runtime/chara_start_state.h"

// Reads the state of the character `folderName` from `paramsFolder` (an engine path
// ending in "\") into x, y, lineNumber, mute and hide of `state`. True only when all
// five keys were found; the values found before the first missing key stay stored. A
// missing, unreadable or damaged file stores nothing. Costs one file read.
bool ReadCharaState(const std::u16string& paramsFolder, const std::u16string& folderName, SCharaStartState& state);
// What ReadCharaState does with the file's bytes.
bool ParseCharaState(std::string_view fileBytes, const std::u16string& folderName, SCharaStartState& state);
// The file's bytes for a state, the position truncated toward zero (saturated to the
// int range).
std::string EncodeCharaState(const std::u16string& folderName, double x, double y, int line, bool mute, bool hide);
// Writes EncodeCharaState's bytes, making the Params folder when it is missing. The file
// is written through a temporary file renamed into place; false when that failed, and
// the old file then stays as it was. Never throws (it runs from the character's
// destructor).
bool WriteCharaState(const std::u16string& paramsFolder, const std::u16string& folderName, double x, double y,
                     int line, bool mute, bool hide);
