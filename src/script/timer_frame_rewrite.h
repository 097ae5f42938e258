#pragma once
// The shorthand of the "TimerFrame" key: "RAND_" followed by digits d stands for
// Rand(d), so "RAND_6" is a roll of 0..6 and a bare "RAND_" is Rand() (0).
#include <string>
#include <string_view>

// Replaces every "RAND_" + digits, left to right, continuing after each replacement.
std::u16string RewriteTimerFrame(std::u16string_view text);
