#include "script/timer_frame_rewrite.h"

std::u16string RewriteTimerFrame(std::u16string_view text) {
  constexpr std::u16string_view kShorthand = u"RAND_";
  std::u16string out;
  out.reserve(text.size() + 8);
  size_t pos = 0;
  for (size_t found; (found = text.find(kShorthand, pos)) != std::u16string_view::npos;) {
    out.append(text.substr(pos, found - pos));
    size_t end = found + kShorthand.size();
    while (end < text.size() && text[end] >= u'0' && text[end] <= u'9') ++end;
    out += u"Rand(";
    out.append(text.substr(found + kShorthand.size(), end - found - kShorthand.size()));
    out += u')';
    pos = end;
  }
  out.append(text.substr(pos));
  return out;
}
