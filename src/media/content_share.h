#pragma once
// Decoded media shared by content: characters that ship the same image or sound in
// different folders (copies of one character, say) hold one copy of its pixels or
// samples. The table only watches the data, which is freed with its last owner.
// Thread-safe.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

// A quick fingerprint of `size` bytes: their count and 256 words spread evenly over
// them. Equal data always has equal fingerprints; sharing compares the whole data.
inline uint64_t SampledFingerprint(const void* bytes, std::size_t size) {
  uint64_t hash = 0xcbf29ce484222325ull ^ size;
  const auto* data = static_cast<const unsigned char*>(bytes);
  const std::size_t words = size / sizeof(uint32_t);
  const std::size_t step = std::max<std::size_t>(words / 256, 1);
  for (std::size_t i = 0; i < words; i += step) {
    uint32_t word;
    std::memcpy(&word, data + i * sizeof(uint32_t), sizeof word);
    hash = (hash ^ word) * 0x100000001b3ull;
  }
  for (std::size_t i = words * sizeof(uint32_t); i < size; ++i) hash = (hash ^ data[i]) * 0x100000001b3ull;
  return hash;
}

template <typename T>
class CContentShare {
 public:
  // A live T that `same` finds equal to `*data`, else `data` itself, watched from now on
  // under `fingerprint`.
  template <typename Same>
  std::shared_ptr<const T> Share(uint64_t fingerprint, std::shared_ptr<const T> data, Same same) {
    std::lock_guard lock(mutex_);
    std::vector<std::weak_ptr<const T>>& known = table_[fingerprint];
    std::erase_if(known, [](const std::weak_ptr<const T>& entry) { return entry.expired(); });
    for (const std::weak_ptr<const T>& entry : known) {
      if (std::shared_ptr<const T> live = entry.lock(); live && same(*live, *data)) return live;
    }
    known.push_back(data);
    return data;
  }

 private:
  std::mutex mutex_;
  std::map<uint64_t, std::vector<std::weak_ptr<const T>>> table_;
};
