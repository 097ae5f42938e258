#pragma once
// Finding the character folders beside the program.
#include <string>
#include <vector>

// At most this many characters run in one process.
constexpr int kMaxCharacters = 15;

struct SDiscovery {
  bool found = false;                // false: no usable character folder (or no folder at all)
  std::vector<std::u16string> names;  // every folder name found, in listing order, no duplicates
  int count = 0;                      // how many of them are used: names.size() capped at 15
};

// Lists "Characters" inside `applicationFolder` (which ends in "\"): keeps folders only,
// skips names beginning with "_", drops exact duplicates, keeps the listing order.
SDiscovery DiscoverCharacters(const std::u16string& applicationFolder);
