#include "app/discovery.h"

#include <algorithm>

#include "support/file_system.h"

SDiscovery DiscoverCharacters(const std::u16string& applicationFolder) {
  SDiscovery result;
  const auto entries = ListDirectory(applicationFolder + u"Characters");
  if (!entries) return result;
  for (const SDirEntry& entry : *entries) {
    if (!entry.isDirectory || entry.name.empty() || entry.name[0] == u'_') continue;
    if (std::find(result.names.begin(), result.names.end(), entry.name) != result.names.end()) continue;
    result.names.push_back(entry.name);
  }
  result.count = std::min(static_cast<int>(result.names.size()), kMaxCharacters);
  result.found = result.count > 0;
  return result;
}
