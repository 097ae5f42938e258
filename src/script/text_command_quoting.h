#pragma once
// The quoting rewrite applied to every balloon text line before it is tokenized, so a
// colour or style name may be written without quotes: SetFontColor(red) becomes
// SetFontColor("red"). An argument that already begins with a double quote is left
// alone.
#include <string>
#include <string_view>

// For "SetFontColor" and then "SetTextStyle", every occurrence directly followed by "("
// and a character other than a double quote gets a quote after the "(" and one at the
// end of its argument (the text up to the next ")" or the end of the line) unless the
// argument already ends in one. All other characters stay. Linear in the line's length
// per command name.
std::u16string QuoteTextCommandArguments(std::u16string_view line);
