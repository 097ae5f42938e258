#pragma once
// The process-wide numbering of group and character identity texts. Hit events address
// other characters by these numbers, so one text gets one number for the life of the
// process, in the order the characters are loaded. Used on the loading thread only.
#include <string>
#include <string_view>

#include "support/vector_map.h"

class CCharaNumberTable {
 public:
  // The first number handed out; each new text gets the next one.
  static constexpr int kFirstNumber = 100;

  // The number of the text, or -1 when it has none yet. Linear in the table's size.
  int Find(std::u16string_view text) const;
  // Stores the text with a number of the caller's choice unless it is present; returns
  // whether it was stored. Does not move the counter.
  bool Insert(std::u16string_view text, int number);
  // The number of the text, giving it the counter's value (and advancing the counter)
  // when it has none yet.
  int Number(std::u16string_view text);
  int Count() const { return numbers_.Count(); }

 private:
  CVectorMap<std::u16string, int> numbers_;
  int counter_ = kFirstNumber;
};

struct SCharaNumbering {
  CCharaNumberTable groups;
  CCharaNumberTable characters;
};

// The tables every character of this process is numbered through.
SCharaNumbering& ProcessCharaNumbering();
