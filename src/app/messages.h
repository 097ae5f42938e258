#pragma once
// Texts the program shows in its message boxes.

inline constexpr char16_t kErrorCaption[] = u"エラー";
inline constexpr char16_t kNoCharacterMessage[] = u"キャラクターが一体もありません";
inline constexpr char16_t kSecondInstanceMessage[] = u"多重起動はできません";
inline constexpr char16_t kTooManyCharactersMessage[] = u"キャラクターの起動数は30体までです";
