#pragma once
// Finding the character folders: beside the program, or in several folders at once.
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

// The same over every folder of `characterRoots` (each ending in "\") as if one folder
// held them all: the names in listing order, the limit over the whole list. A name that
// an earlier root already gave, in any letter case, is dropped: that root's folder is
// the character (as ApplicationPath resolves it).
SDiscovery DiscoverCharactersIn(const std::vector<std::u16string>& characterRoots);
