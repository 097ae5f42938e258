#include "chardef/chara_numbering.h"

int CCharaNumberTable::Find(std::u16string_view text) const {
  const int index = numbers_.IndexOf(std::u16string(text));
  return index < 0 ? -1 : numbers_.ValueAt(index);
}

bool CCharaNumberTable::Insert(std::u16string_view text, int number) { return numbers_.Insert(std::u16string(text), number); }

int CCharaNumberTable::Number(std::u16string_view text) {
  std::u16string key(text);
  const int index = numbers_.IndexOf(key);
  if (index >= 0) return numbers_.ValueAt(index);
  const int number = counter_++;
  numbers_.Add(std::move(key), number);
  return number;
}

SCharaNumbering& ProcessCharaNumbering() {
  static SCharaNumbering numbering;
  return numbering;
}
