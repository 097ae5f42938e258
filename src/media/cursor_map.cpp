#include "media/cursor_map.h"

#include <memory>
#include <optional>

#include "media/cursor_reader.h"
#include "support/file_system.h"

const SCursorImage* CCursorMap::Load(const std::u16string& key, std::u16string_view path) {
  const int index = cursors_.IndexOf(key);
  if (index >= 0) return cursors_.ValueAt(index);
  std::unique_ptr<SCursorImage> cursor;
  if (const std::optional<std::string> file = ReadFileBytes(path, EFileKind::kMedia)) {
    if (std::optional<SCursorImage> read = ReadCursorFile(*file)) {
      cursor = std::make_unique<SCursorImage>(std::move(*read));
      cursor->path = std::u16string(path);
    }
  }
  cursors_.Add(key, cursor.get());
  return cursor.release();
}
