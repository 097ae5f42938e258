#pragma once
// CCursorMap: the cursors of one character, by key (the cursor file's path as the
// character composes it). A key is loaded once; a failed load is remembered, so a
// missing file is not tried again.
#include <string>
#include <string_view>

#include "media/cursor_image.h"
#include "support/vector_map.h"

class CCursorMap {
 public:
  CCursorMap() = default;
  virtual ~CCursorMap() = default;
  CCursorMap(const CCursorMap&) = delete;
  CCursorMap& operator=(const CCursorMap&) = delete;

  // The cursor of the key, read from the .cur or .ani file at `path` on first use;
  // null when it could not be read. Linear in the number of keys.
  const SCursorImage* Load(const std::u16string& key, std::u16string_view path);
  int Count() const { return cursors_.Count(); }

 private:
  CVectorMap<std::u16string, SCursorImage*, true> cursors_;
};
