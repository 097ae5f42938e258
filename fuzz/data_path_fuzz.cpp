// Feeds arbitrary names to the check on names from character data, as a media name
// appended to a character's folder: it must never crash, and a name it lets through must
// stay below "Characters" however "." and ".." fall, naming no device and no drive.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "support/data_path.h"
#include "support/utf.h"

namespace {

// The components of `path` once "." and ".." are resolved as a file system would, or
// nothing when ".." climbs above the start.
bool Resolves(std::u16string_view path, std::vector<std::u16string>& kept) {
  std::u16string component;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != u'\\' && path[i] != u'/') {
      component += path[i];
      continue;
    }
    if (component == u"..") {
      if (kept.empty()) return false;
      kept.pop_back();
    } else if (!component.empty() && component != u".") {
      kept.push_back(component);
    }
    component.clear();
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string name = FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::u16string path = u"Characters\\Walker\\Images\\" + name;
  IsWindowsDeviceName(name);
  if (!StaysBelowCharacters(path)) return 0;
  std::vector<std::u16string> kept;
  if (!Resolves(path, kept) || kept.size() < 2 || kept[0] != u"Characters") std::abort();
  for (const std::u16string& component : kept) {
    if (IsWindowsDeviceName(component) || component.find(u':') != std::u16string::npos) std::abort();
  }
  return 0;
}
