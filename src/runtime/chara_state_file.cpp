#include "runtime/chara_state_file.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>
#include <system_error>

#include "support/data_path.h"
#include "support/file_system.h"
#include "support/number.h"
#include "support/scrambled_text.h"
#include "support/string_list.h"
#include "support/text.h"

namespace {

constexpr bool kWindowsNames = std::filesystem::path::preferred_separator == '\\';

// "%XX" for a character below U+0100.
std::u16string Escaped(char16_t c) {
  constexpr char16_t kHex[] = u"0123456789ABCDEF";
  return {u'%', kHex[(c >> 4) & 0xF], kHex[c & 0xF]};
}

// The file name of a character's state: its folder name, with every character that a
// file name cannot hold on Windows, or that would name a folder ("\" and "/"), written
// as %XX, so any folder name lands in the params folder. Names Windows already allows
// keep their file, so saved state stays where it was; there a device name (CON, NUL, …)
// gets its first letter escaped, since it would open the device.
std::u16string StateFileName(const std::u16string& folderName) {
  std::u16string name;
  for (char16_t c : folderName) {
    const bool unsafe = c < u' ' || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos;
    name += unsafe ? Escaped(c) : std::u16string(1, c);
  }
  if (kWindowsNames && IsWindowsDeviceName(name)) name = Escaped(name[0]) + name.substr(1);
  return name;
}

std::u16string FileOf(const std::u16string& paramsFolder, const std::u16string& folderName) {
  return paramsFolder + StateFileName(folderName) + u".param";
}

// Blanks around the number are ignored and a sign may lead; anything that is not a
// decimal integer reads as 0.
int ValueNumber(std::u16string text) {
  text = Trim(std::move(text));
  if (text.starts_with(u'+')) {
    text.erase(0, 1);
    if (text.starts_with(u'-')) return 0;
  }
  return ToSignedOrZero(text);
}

// A position as the file stores it: truncated toward zero, saturated to the int range.
int StoredPosition(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int>(std::clamp(value, -2147483648.0, 2147483647.0));
}

}  // namespace

bool ReadCharaState(const std::u16string& paramsFolder, const std::u16string& folderName, SCharaStartState& state) {
  const std::optional<std::string> bytes = ReadFileBytes(FileOf(paramsFolder, folderName), EFileKind::kState);
  if (!bytes) return false;
  return ParseCharaState(*bytes, folderName, state);
}

bool ParseCharaState(std::string_view fileBytes, const std::u16string& folderName, SCharaStartState& state) {
  CStringList entries;
  if (!entries.ParseScrambledList(fileBytes)) return false;
  const auto find = [&](std::u16string_view suffix, int& value) {
    const int index = entries.FindKey(folderName + std::u16string(suffix));
    if (index < 0) return false;
    value = ValueNumber(entries.ValueAt(index));
    return true;
  };
  // The position is stored only as a pair.
  int x = 0;
  int y = 0;
  if (!find(u".x", x) || !find(u".y", y)) return false;
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

std::string EncodeCharaState(const std::u16string& folderName, double x, double y, int line, bool mute, bool hide) {
  CStringList entries;
  entries.SetNumber(folderName + u".x", StoredPosition(x));
  entries.SetNumber(folderName + u".y", StoredPosition(y));
  entries.SetNumber(folderName + u".LineNum", line);
  entries.SetNumber(folderName + u".Mute", mute ? 1 : 0);
  entries.SetNumber(folderName + u".Hide", hide ? 1 : 0);
  return EncodeScrambledText(entries.Join());
}

bool WriteCharaState(const std::u16string& paramsFolder, const std::u16string& folderName, double x, double y,
                     int line, bool mute, bool hide) {
  try {
    std::error_code ignored;  // a folder that cannot be made shows as a failed write
    std::filesystem::create_directories(ToNativePath(paramsFolder), ignored);
    return WriteFileAtomically(FileOf(paramsFolder, folderName), EncodeCharaState(folderName, x, y, line, mute, hide));
  } catch (const std::exception&) {
    return false;
  }
}
