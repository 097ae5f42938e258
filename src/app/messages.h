#pragma once
// Texts the program shows in its message boxes, and the main window's own messages.
#include "platform/user_interface.h"

inline constexpr char16_t kErrorCaption[] = u"エラー";
inline constexpr char16_t kNoCharacterMessage[] = u"キャラクターが一体もありません";
inline constexpr char16_t kSecondInstanceMessage[] = u"多重起動はできません";
inline constexpr char16_t kTooManyCharactersMessage[] = u"キャラクターの起動数は30体までです";
inline constexpr char16_t kInvalidDataMessage[] = u"不正なデータが存在します。";

// A frame step ended a drag: the main thread releases the capture and sets the cursor of
// the character whose creation number is the parameter.
constexpr uint32_t kButtonReleaseMessage = kAppMessageBase + 3;
