#pragma once
// The sample data of one sound file, read once per key and process and shared by every
// owner that loads the same key while any of them is alive.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/audio.h"

struct SSoundData {
  SPcmFormat format;
  uint32_t dataOffset = 0;
  std::vector<uint8_t> samples;
};

// The data registered for the key, or null when no live owner holds it. Thread-safe;
// costs one lookup in an ordered map.
std::shared_ptr<const SSoundData> FindRegisteredSound(const std::u16string& key);
// Registers the data under the key unless live data is registered there already; either
// way returns the data to use, so racing loads of one key end up sharing. Data equal to
// live data of another key (the same file in another folder) shares that.
std::shared_ptr<const SSoundData> RegisterSound(const std::u16string& key, std::shared_ptr<const SSoundData> data);
