#pragma once
// The loader's own messages; each follows the character's folder name.
#include <string_view>

inline constexpr std::u16string_view kNoScriptLinesMessage = u"のスクリプト命令が存在しません。";
inline constexpr std::u16string_view kNoFunctionMessage = u"のスクリプトに不正な命令が設定されています。";
// After the folder name, "の" and the about image's name as written.
inline constexpr std::u16string_view kAboutImageUnreadableMessage = u"を読み込めませんでした。";
inline constexpr std::u16string_view kAboutImageTooLargeMessage = u"のバージョン情報用の画像サイズが最大サイズを超えています。";
