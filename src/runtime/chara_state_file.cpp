#include "runtime/chara_state_file.h"

#include <filesystem>
#include <system_error>

#include "support/file_system.h"
#include "support/number.h"
#include "support/string_list.h"

namespace {

std::u16string FileOf(const std::u16string& paramsFolder, const std::u16string& folderName) {
  return paramsFolder + folderName + u".param";
}

}  // namespace

bool ReadCharaState(const std::u16string& paramsFolder, const std::u16string& folderName, SCharaStartState& state) {
  const std::optional<std::string> bytes = ReadFileBytes(FileOf(paramsFolder, folderName));
  if (!bytes) return false;
  return ParseCharaState(*bytes, folderName, state);
}

bool ParseCharaState(std::string_view fileBytes, const std::u16string& folderName, SCharaStartState& state) {
  CStringList entries;
  if (!entries.ParseScrambledList(fileBytes)) return false;
  auto find = [&](const char16_t* suffix, int& value) {
    const int index = entries.FindKey(folderName + suffix);
    if (index < 0) return false;
    value = ToSignedOrZero(entries.ValueAt(index));
    return true;
  };
  int x = 0;
  int y = 0;
  if (!find(u".x", x)) return false;
  if (!find(u".y", y)) return false;
  state.x = x;
  state.y = y;
  if (!find(u".LineNum", state.lineNumber)) return false;
  int flag = 0;
  if (!find(u".Mute", flag)) return false;
  state.mute = flag != 0;
  if (!find(u".Hide", flag)) return false;
  state.hide = flag != 0;
  return true;
}

bool WriteCharaState(const std::u16string& paramsFolder, const std::u16string& folderName, int x, int y, int line,
                     bool mute, bool hide) {
  std::error_code ignored;
  std::filesystem::create_directories(ToNativePath(paramsFolder), ignored);
  CStringList entries;
  entries.SetNumber(folderName + u".x", x);
  entries.SetNumber(folderName + u".y", y);
  entries.SetNumber(folderName + u".LineNum", line);
  entries.SetNumber(folderName + u".Mute", mute ? 1 : 0);
  entries.SetNumber(folderName + u".Hide", hide ? 1 : 0);
  return entries.WriteScrambledList(FileOf(paramsFolder, folderName));
}
