#pragma once
// The product's own texts, as the application's about box shows them.
#include <array>
#include <string_view>

inline constexpr std::u16string_view kProductVersion = u"1.61";
inline constexpr std::u16string_view kProductWebAddress = u"https://github.com/zelvotta/zelvotta";
inline constexpr std::u16string_view kProductRightsLine = u"Copyright (c) 2026 The Zelvotta authors";
inline constexpr std::u16string_view kProductTermsNotice =
    u"Using Zelvotta means accepting the licence terms below.";

// The terms of use, one list row a line: the MIT licence as the LICENSE file holds it.
inline constexpr std::array<std::u16string_view, 21> kProductTermsLines = {
    u"MIT License",
    u"",
    u"Copyright (c) 2026 The Zelvotta authors",
    u"",
    u"Permission is hereby granted, free of charge, to any person obtaining a copy",
    u"of this software and associated documentation files (the \"Software\"), to deal",
    u"in the Software without restriction, including without limitation the rights",
    u"to use, copy, modify, merge, publish, distribute, sublicense, and/or sell",
    u"copies of the Software, and to permit persons to whom the Software is",
    u"furnished to do so, subject to the following conditions:",
    u"",
    u"The above copyright notice and this permission notice shall be included in all",
    u"copies or substantial portions of the Software.",
    u"",
    u"THE SOFTWARE IS PROVIDED \"AS IS\", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR",
    u"IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY,",
    u"FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE",
    u"AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER",
    u"LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM,",
    u"OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE",
    u"SOFTWARE.",
};
