#pragma once
// Strict decimal conversions of script and configuration text. Values wrap modulo 2^32
// like the unsigned arithmetic they are built on; there is no overflow check.
#include <string_view>

// The silent failure of a strict conversion; callers turn it into their own message.
struct EConvertError {};

// Spaces and tabs around the digits are allowed; anything else but "0"-"9", or no
// digit at all, throws EConvertError.
unsigned ToUnsigned(std::u16string_view text);
// "-" followed by an unsigned text gives its negation, otherwise as ToUnsigned; an
// empty text or a blank before the "-" throws EConvertError.
int ToSigned(std::u16string_view text);
// As ToUnsigned, with -1 instead of the error.
int ToUnsignedOrMinusOne(std::u16string_view text);
// As ToSigned, with 0 instead of the error.
int ToSignedOrZero(std::u16string_view text);
