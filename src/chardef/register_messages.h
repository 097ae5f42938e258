#pragma once
// Messages of the register builders. Each follows the character's folder name, "の"
// and the block's name (RegisterMessage puts them together).
#include <string>
#include <string_view>

inline constexpr std::u16string_view kMsgDuplicateName = u"は名前が重複しています。";
inline constexpr std::u16string_view kMsgInvalidFuncType = u"に不正なFuncTypeが設定されています。";
inline constexpr std::u16string_view kMsgInvalidNumber = u"に不正な数値が設定されています。";
// Follows the folder name, "の" and the image name; the block prefix comes first.
inline constexpr std::u16string_view kMsgCannotLoad = u"を読み込めませんでした。";

// folder + "の" + name + tail.
inline std::u16string RegisterMessage(std::u16string_view folder, std::u16string_view name,
                                      std::u16string_view tail) {
  std::u16string message(folder);
  message += u"の";
  message += name;
  message += tail;
  return message;
}
