#include "support/number.h"

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

unsigned ToUnsigned(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.empty()) throw EConvertError{};
  unsigned value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') throw EConvertError{};
    value = value * 10u + static_cast<unsigned>(c - u'0');
  }
  return value;
}

int ToSigned(std::u16string_view text) {
  if (text.empty()) throw EConvertError{};
  if (text.front() == u'-') {
    // Negated in unsigned arithmetic; the conversion to int is modulo 2^32.
    return static_cast<int>(0u - ToUnsigned(text.substr(1)));
  }
  return static_cast<int>(ToUnsigned(text));
}

int ToUnsignedOrMinusOne(std::u16string_view text) {
  try {
    return static_cast<int>(ToUnsigned(text));
  } catch (const EConvertError&) {
    return -1;
  }
}

int ToSignedOrZero(std::u16string_view text) {
  try {
    return ToSigned(text);
  } catch (const EConvertError&) {
    return 0;
  }
}
