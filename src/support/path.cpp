#include "support/path.h"

#include <vector>

std::u16string FileNameOf(std::u16string_view path) {
  const size_t slash = path.find_last_of(u"\\/");
  return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

std::u16string ExtensionOf(std::u16string_view path) {
  const std::u16string name = FileNameOf(path);
  const size_t dot = name.rfind(u'.');
  return dot == std::u16string::npos ? std::u16string() : name.substr(dot);
}

std::u16string FolderOf(std::u16string_view path) {
  const size_t lastSlash = path.rfind(u'\\');
  if (lastSlash == std::u16string_view::npos) return {};
  std::u16string_view rest = path.substr(0, lastSlash + 1);

  std::vector<std::u16string_view> kept;
  while (!rest.empty()) {
    const size_t slash = rest.find(u'\\');
    const std::u16string_view component = rest.substr(0, slash);
    rest.remove_prefix(slash + 1);
    if (component == u".") continue;
    if (component == u".." && !kept.empty() && kept.back() != u"..") {
      kept.pop_back();
      continue;
    }
    kept.push_back(component);
  }

  std::u16string folder;
  for (const std::u16string_view component : kept) {
    folder += component;
    folder += u'\\';
  }
  return folder;
}
