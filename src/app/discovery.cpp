#include "app/discovery.h"

#include <algorithm>

#include "support/file_system.h"

namespace {

// Whether the character folder `name` of `folder` can be loaded as itself: the engine
// names a character's files "Characters\<name>\…", so a name holding a separator ("\"
// is an ordinary character in names on POSIX) would lead to another folder, and a
// linked folder must not bring in one from outside.
bool IsAddressable(const std::u16string& folder, const std::u16string& name) {
  if (name.find_first_of(u"\\/") != std::u16string::npos) return false;
  return LiesWithin(folder + u'\\' + name, folder);
}

// Adds the usable folder names of `folder` to `names`, skipping those that one of the
// first `earlierCount` names already gives in any letter case.
void AddCharacterFolders(const std::u16string& folder, size_t earlierCount, std::vector<std::u16string>& names) {
  const auto entries = ListDirectory(folder);
  if (!entries) return;
  for (const SDirEntry& entry : *entries) {
    if (!entry.isDirectory || entry.name.empty() || entry.name[0] == u'_') continue;
    if (!IsAddressable(folder, entry.name)) continue;
    if (std::find(names.begin(), names.end(), entry.name) != names.end()) continue;
    const auto sameName = [&entry](const std::u16string& name) { return SameNameIgnoringCase(name, entry.name); };
    if (std::any_of(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(earlierCount), sameName)) continue;
    names.push_back(entry.name);
  }
}

SDiscovery Counted(std::vector<std::u16string> names) {
  SDiscovery result;
  result.names = std::move(names);
  result.count = std::min(static_cast<int>(result.names.size()), kMaxCharacters);
  result.found = result.count > 0;
  return result;
}

}  // namespace

SDiscovery DiscoverCharacters(const std::u16string& applicationFolder) {
  std::vector<std::u16string> names;
  AddCharacterFolders(applicationFolder + u"Characters", 0, names);
  return Counted(std::move(names));
}

SDiscovery DiscoverCharactersIn(const std::vector<std::u16string>& characterRoots) {
  std::vector<std::u16string> names;
  for (const std::u16string& root : characterRoots) AddCharacterFolders(root, names.size(), names);
  // One folder's listing is already in order; the roots' names are merged into it.
  std::stable_sort(names.begin(), names.end(),
                   [](const std::u16string& a, const std::u16string& b) { return ListedBefore(a, b); });
  return Counted(std::move(names));
}
