#pragma once
// The ordered name tables of the script vocabulary. A table serves both directions:
// value -> text (messages, emitted text) and text -> value within one family's valid
// range (reading scripts). Lookups compare whole strings exactly and case-sensitively.
#include <span>
#include <string_view>

#include "script/vocabulary.h"

using NameTable = std::span<const std::u16string_view>;

extern const NameTable kScriptTypeNames;       // Table A, 17 entries
extern const NameTable kBuiltinNames;          // Table B, 20 entries
extern const NameTable kTokenNames;            // Table C, 68 entries
extern const NameTable kCpuVendorNames;        // Table D, 3 entries
extern const NameTable kStatusSelectorNames;   // Table E, 19 entries
extern const NameTable kFuncTypeNames;         // Table F, 58 entries
extern const NameTable kFuncListNames;         // Table G, 15 entries
extern const NameTable kListKeyNames;          // Table H, 10 entries
extern const NameTable kFreeFuncNames;         // Table I, 7 entries
extern const NameTable kIntervalTypeNames;     // Table J, 7 entries
extern const NameTable kTextParamTypeNames;    // Table K, 13 entries
extern const NameTable kQuotedCommandNames;    // "SetFontColor", "SetTextStyle"

// Returned by every lookup for a name outside the family.
constexpr int kNameNotFound = -1;

// table[value]; the empty text for a value outside the table.
std::u16string_view NameOf(NameTable table, int value);

// The first position in [first, end) whose entry equals `name`, or kNameNotFound.
// Linear in the range's length.
int FindName(NameTable table, int first, int end, std::u16string_view name);

// One lookup per family, each searching only that family's valid range.
int FindRegisterType(std::u16string_view name);           // 3..14
int FindRegisterTypePrefix(std::u16string_view text);     // 3..14, first name `text` begins with
int FindBuiltin(std::u16string_view name);                // 0..19
int FindKeyword(std::u16string_view name);                // 5..24
int FindCpuVendor(std::u16string_view name);              // 0..2
int FindMemoryStatus(std::u16string_view name);           // 1..11
int FindCpuStatus(std::u16string_view name);              // 14..17
int FindFuncType(std::u16string_view name);               // 1..23
int FindPositionData(std::u16string_view name);           // 26..31
int FindBalloonCallType(std::u16string_view name);        // 34..36
int FindHitType(std::u16string_view name);                // 39..43
int FindHitAreaType(std::u16string_view name);            // 46..47
int FindLimitCmp(std::u16string_view name);               // 50..55, "" included
int FindFuncList(std::u16string_view name);               // 0..13
int FindListOrder(std::u16string_view name);              // 1..3
int FindListHitEvent(std::u16string_view name);           // 6..8
int FindFreeFuncNumber(std::u16string_view name);         // 1..5
int FindIntervalType(std::u16string_view name);           // 1..5
int FindTextParamType(std::u16string_view name);          // 1..11
