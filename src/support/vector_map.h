#pragma once
// CVectorMap: a keyed table of two parallel arrays in insertion order with exact linear
// lookup. The tables it backs hold at most a few dozen entries, where a scan beats a
// hash or a tree and keeps the order the data was written in.
#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

template <class K, class V, bool OwnsValues = false>
class CVectorMap {
  static_assert(!OwnsValues || std::is_pointer_v<V>, "an owning map holds pointers");

 public:
  CVectorMap() = default;
  virtual ~CVectorMap() { Clear(); }

  // An owning map would delete its values twice if copied; moving hands them over.
  CVectorMap(const CVectorMap&) requires(!OwnsValues) = default;
  CVectorMap& operator=(const CVectorMap&) requires(!OwnsValues) = default;
  CVectorMap(const CVectorMap&) requires(OwnsValues) = delete;
  CVectorMap& operator=(const CVectorMap&) requires(OwnsValues) = delete;
  CVectorMap(CVectorMap&& other) noexcept
      : m_keys(std::move(other.m_keys)), m_values(std::move(other.m_values)) {
    other.m_keys.clear();
    other.m_values.clear();
  }
  CVectorMap& operator=(CVectorMap&& other) noexcept {
    if (this != &other) {
      Clear();
      m_keys = std::move(other.m_keys);
      m_values = std::move(other.m_values);
      other.m_keys.clear();
      other.m_values.clear();
    }
    return *this;
  }

  // Position of the first equal key, or -1. Linear in the entry count.
  int IndexOf(const K& key) const {
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
      if (m_keys[i] == key) return static_cast<int>(i);
    }
    return -1;
  }

  // Appends the entry unless the key is present; then nothing changes and a rejected
  // value stays the caller's. Returns whether the value was stored.
  bool Insert(const K& key, V value) {
    if (IndexOf(key) >= 0) return false;
    Add(key, std::move(value));
    return true;
  }

  // Appends without looking for the key; lookups find the first of equal keys.
  void Add(const K& key, V value) {
    // Both arrays get room first, so an allocation failure leaves no half-added pair;
    // they grow geometrically, so filling a map stays linear.
    if (m_keys.size() == m_keys.capacity()) m_keys.reserve(2 * m_keys.size() + 1);
    if (m_values.size() == m_values.capacity()) m_values.reserve(2 * m_values.size() + 1);
    m_keys.push_back(key);
    m_values.push_back(std::move(value));
  }

  // The value of the first equal key, or the empty value (null for pointers).
  V Find(const K& key) const {
    const int index = IndexOf(key);
    return index < 0 ? V{} : m_values[static_cast<std::size_t>(index)];
  }

  int Count() const { return static_cast<int>(m_keys.size()); }

  // Indexed access for 0 <= index < Count(); anything else throws std::out_of_range.
  const K& KeyAt(int index) const { return m_keys.at(static_cast<std::size_t>(index)); }
  V& ValueAt(int index) { return m_values.at(static_cast<std::size_t>(index)); }
  const V& ValueAt(int index) const { return m_values.at(static_cast<std::size_t>(index)); }
  // Every value in insertion order.
  const std::vector<V>& Values() const { return m_values; }

  // Empties the map; an owning map deletes each non-null value once.
  void Clear() {
    if constexpr (OwnsValues) {
      for (V& value : m_values) {
        delete value;
        value = nullptr;
      }
    }
    m_keys.clear();
    m_values.clear();
  }

 private:
  std::vector<K> m_keys;
  std::vector<V> m_values;
};
