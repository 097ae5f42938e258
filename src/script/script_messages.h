#pragma once
// The message tails of the script language, byte for byte as authors see them.
#include <string>
#include <string_view>

// Lexical errors.
inline constexpr char16_t kMsgUnterminatedString[] = u"に\"で閉じられていない文字列があります。";
// Also: a character no lexical rule accepts, too few operands, two position keywords.
inline constexpr char16_t kMsgInvalidValue[] = u"に不正な値が設定されています。";

// Value errors: A (operation on the empty value), B (operator the type lacks or an
// assignment), Z (division by zero).
inline constexpr char16_t kMsgInvalidOperation[] = u"で不正な演算が行われました。";
inline constexpr char16_t kMsgInvalidSetting[] = u"で不正な値が設定されています。";
inline constexpr char16_t kMsgDivisionByZero[] = u"で0除算がされています。";

// Evaluator errors.
inline constexpr char16_t kMsgCapacityExceeded[] = u"に許容量を超えた式があります。";
inline constexpr char16_t kMsgUnclosedParenthesis[] = u"で括弧が閉じられていません。";
inline constexpr char16_t kMsgNoValue[] = u"に値が有りません。";
inline constexpr char16_t kMsgInvalidOperator[] = u"に不正な演算子が設定されています。";

// Built-in call errors name the command.
inline std::u16string NoSuchCommandMessage(std::u16string_view name) {
  return u"で存在しない命令" + std::u16string(name) + u"が呼び出されています。";
}
inline std::u16string MalformedCallMessage(std::u16string_view name) {
  return u"で呼び出された命令" + std::u16string(name) + u"の記述が不正です。";
}
inline std::u16string UnclosedCallMessage(std::u16string_view name) {
  return u"で呼び出された命令" + std::u16string(name) + u"が')'で閉じられていません。";
}
