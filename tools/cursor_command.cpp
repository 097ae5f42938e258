// zelvotta-tool cursor: loads one .cur or .ani file with the engine's cursor loader and
// describes its first frame.
#include <cstdio>

#include "commands.h"
#include "media/cursor_map.h"
#include "support/utf.h"

int RunCursorCommand(const ToolArguments& arguments) {
  if (arguments.size() != 1 || arguments[0].empty() || arguments[0][0] == '-') {
    std::fputs("usage: zelvotta-tool cursor FILE\n", stderr);
    return 2;
  }
  const std::u16string path = FromUtf8(arguments[0]);
  CCursorMap cursors;
  const SCursorImage* cursor = cursors.Load(path, path);
  if (!cursor) {
    std::puts("fail");
    return 1;
  }
  const SCursorFrame& first = cursor->frames.front();
  std::printf("ok %zu %d %d %d %d\n", cursor->frames.size(), first.image.Width(), first.image.Height(), first.hotspotX,
              first.hotspotY);
  return 0;
}
