#include "support/vector_map.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Counts destructions so the tests can see each owned value die exactly once.
struct SCounted {
  explicit SCounted(int* deaths) : m_deaths(deaths) {}
  virtual ~SCounted() { ++*m_deaths; }
  int* m_deaths;
};

TEST(VectorMap, InsertKeepsFirstAndLookupIsExact) {
  CVectorMap<std::u16string, int> map;
  EXPECT_TRUE(map.Insert(u"Alice", 1));
  EXPECT_FALSE(map.Insert(u"Alice", 2));
  map.Insert(u"Beta", 3);
  map.Add(u"Beta", 4);  // repeated keys are allowed; lookups see the first
  EXPECT_EQ(map.Count(), 3);
  EXPECT_EQ(map.Find(u"Alice"), 1);
  EXPECT_EQ(map.Find(u"Beta"), 3);
  EXPECT_EQ(map.Find(u"beta"), 0);
  EXPECT_EQ(map.IndexOf(u"ALICE"), -1);
  EXPECT_EQ(map.KeyAt(2), u"Beta");
  EXPECT_EQ(map.ValueAt(2), 4);
  EXPECT_THROW(map.KeyAt(3), std::out_of_range);
}

TEST(VectorMap, OwningMapDeletesEachValueOnceAndSkipsNulls) {
  int deaths = 0;
  {
    CVectorMap<int, SCounted*, true> map;
    map.Insert(1, new SCounted(&deaths));
    map.Insert(2, nullptr);
    SCounted rejected(&deaths);
    EXPECT_FALSE(map.Insert(1, &rejected));  // stays ours; the map must not delete it
    map.Clear();
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(map.Count(), 0);

    map.Insert(3, new SCounted(&deaths));
    CVectorMap<int, SCounted*, true> other;
    other.Insert(4, new SCounted(&deaths));
    other = std::move(map);  // other's own value dies, map's is handed over
    EXPECT_EQ(deaths, 2);
  }  // then the handed-over value and `rejected`
  EXPECT_EQ(deaths, 4);
  static_assert(!std::is_copy_constructible_v<CVectorMap<int, SCounted*, true>>);
}

}  // namespace
