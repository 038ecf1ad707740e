#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uitoolkit/core/ui_ptr_array.h"
#include "uitoolkit/core/ui_rect.h"
#include "uitoolkit/core/ui_string_map.h"

using namespace UiToolkit;

namespace {

void* P(int n) { return reinterpret_cast<void*>(static_cast<intptr_t>(n)); }

TEST(UiPtrArray, GrowthKeepsOneFreeSlot) {
  CUiPtrArray a;
  EXPECT_EQ(0, a.GetCapacity());
  struct Step {
    int items, capacity;
  } steps[] = {{1, 11}, {10, 11}, {11, 22}, {21, 22}, {22, 44}, {43, 44}, {44, 88}};
  int added = 0;
  for (const Step& s : steps) {
    while (added < s.items) ASSERT_TRUE(a.Add(P(++added)));
    EXPECT_EQ(s.capacity, a.GetCapacity()) << s.items;
  }
  for (int i = 0; i < a.GetSize(); ++i) EXPECT_EQ(P(i + 1), a[i]);
  EXPECT_EQ(nullptr, a[-1]);
  EXPECT_EQ(nullptr, a[a.GetSize()]);
  a.Empty();
  EXPECT_EQ(0, a.GetSize());
  EXPECT_EQ(0, a.GetCapacity());
}

TEST(UiPtrArray, InsertRemoveAndCopy) {
  CUiPtrArray a;
  EXPECT_TRUE(a.InsertAt(0, P(2)));
  EXPECT_TRUE(a.InsertAt(0, P(1)));
  EXPECT_TRUE(a.InsertAt(2, P(4)));
  EXPECT_TRUE(a.InsertAt(2, P(3)));
  EXPECT_FALSE(a.InsertAt(5, P(9)));
  EXPECT_FALSE(a.InsertAt(-1, P(9)));
  ASSERT_EQ(4, a.GetSize());
  for (int i = 0; i < 4; ++i) EXPECT_EQ(P(i + 1), a[i]);
  EXPECT_FALSE(a.RemoveAt(4));
  EXPECT_FALSE(a.RemoveAt(-1));
  EXPECT_TRUE(a.RemoveAt(1));
  EXPECT_EQ(2, a.Find(P(4)));
  EXPECT_EQ(-1, a.Find(P(2)));
  CUiPtrArray b(a);
  ASSERT_EQ(3, b.GetSize());
  EXPECT_EQ(P(1), b[0]);
  EXPECT_EQ(P(3), b[1]);
  EXPECT_EQ(P(4), b[2]);
  EXPECT_TRUE(b.Remove(P(3)));
  EXPECT_FALSE(b.Remove(P(3)));
  EXPECT_EQ(3, a.GetSize());
}

TEST(UiStringMap, HashAndBuckets) {
  struct Case {
    const wchar_t* key;
    unsigned int hash;
  } cases[] = {{L"", 0}, {L"a", 97}, {L"ab", 3331}, {L"abc", (99u * 33 + 98) * 33 + 97}};
  for (const Case& c : cases) EXPECT_EQ(c.hash, CUiStringMap::KeyHash(c.key)) << c.key;
  CUiStringMap m;
  EXPECT_EQ(83, m.GetBucketCount());
}

// Keys whose hashes meet in one bucket: "ab" is 3331 = 83 * 40 + 11, and
// any key hashing to 11 + 83k shares its chain.
TEST(UiStringMap, ChainsAndMoveToFront) {
  CUiStringMap m;
  std::vector<std::wstring> same;
  for (wchar_t c1 = L'a'; c1 <= L'z' && same.size() < 3; ++c1)
    for (wchar_t c2 = L'a'; c2 <= L'z' && same.size() < 3; ++c2) {
      wchar_t k[3] = {c1, c2, 0};
      if (CUiStringMap::KeyHash(k) % 83 == 3331 % 83) same.push_back(k);
    }
  ASSERT_EQ(3u, same.size());
  for (size_t i = 0; i < same.size(); ++i) EXPECT_TRUE(m.Add(same[i].c_str(), P(int(i) + 1)));
  EXPECT_EQ(3, m.GetSize());
  // The newest node is the head of the chain.
  EXPECT_TRUE(*m.ChainHead(same[0].c_str()) == same[2].c_str());
  // A lookup without move-to-front leaves the order alone.
  EXPECT_EQ(P(1), m.Lookup(same[0].c_str(), false));
  EXPECT_TRUE(*m.ChainHead(same[0].c_str()) == same[2].c_str());
  EXPECT_EQ(P(1), m.Lookup(same[0].c_str(), true));
  EXPECT_TRUE(*m.ChainHead(same[0].c_str()) == same[0].c_str());
  // Adding an existing key fails and moves it to the head.
  EXPECT_FALSE(m.Add(same[1].c_str(), P(99)));
  EXPECT_TRUE(*m.ChainHead(same[0].c_str()) == same[1].c_str());
  EXPECT_EQ(P(2), m.Lookup(same[1].c_str()));
  // Erase from the middle, head and tail keeps the chain linked.
  EXPECT_TRUE(m.Erase(same[0].c_str()));
  EXPECT_FALSE(m.Erase(same[0].c_str()));
  EXPECT_EQ(P(3), m.Lookup(same[2].c_str()));
  EXPECT_TRUE(m.Erase(same[2].c_str()));
  EXPECT_TRUE(m.Erase(same[1].c_str()));
  EXPECT_EQ(0, m.GetSize());
  EXPECT_EQ(nullptr, m.Lookup(same[1].c_str()));
}

TEST(UiStringMap, ReplaceRehashEnumerateAndCase) {
  CUiStringMap m;
  EXPECT_EQ(nullptr, m.Replace(L"k", P(1)));
  EXPECT_EQ(P(1), m.Replace(L"k", P(2)));
  EXPECT_EQ(P(2), m.Lookup(L"k"));
  EXPECT_EQ(nullptr, m.Lookup(L"K"));
  EXPECT_TRUE(m.Add(L"K", P(3)));
  // Position order: buckets from last to first.
  EXPECT_EQ(2, m.GetSize());
  unsigned bk = CUiStringMap::KeyHash(L"k") % 83, bK = CUiStringMap::KeyHash(L"K") % 83;
  const wchar_t* first = bk > bK ? L"k" : L"K";
  EXPECT_TRUE(*m.GetKeyAt(0) == first);
  EXPECT_EQ(nullptr, m.GetKeyAt(2));
  m.Rehash(83);
  EXPECT_EQ(0, m.GetSize());
  EXPECT_EQ(83, m.GetBucketCount());
  EXPECT_TRUE(m.Add(L"k", P(1)));
  m.Rehash(-5);
  EXPECT_EQ(0, m.GetBucketCount());
  EXPECT_FALSE(m.Add(L"k", P(1)));
  EXPECT_EQ(nullptr, m.Lookup(L"k"));
  EXPECT_EQ(P(7), m.Replace(L"k", P(7)));
}

TEST(UiRect, UnionAndIntersect) {
  CUiRect a(10, 10, 20, 20);
  a.Union(CUiRect(0, 15, 5, 30));
  EXPECT_EQ(0, a.left);
  EXPECT_EQ(10, a.top);
  EXPECT_EQ(20, a.right);
  EXPECT_EQ(30, a.bottom);
  // An empty rectangle at the origin still widens the union.
  CUiRect b(10, 10, 20, 20);
  b.Union(CUiRect());
  EXPECT_EQ(0, b.left);
  EXPECT_EQ(0, b.top);
  CUiRect c(0, 0, 10, 10);
  EXPECT_TRUE(c.Intersect(CUiRect(5, 5, 15, 15)));
  EXPECT_EQ(5, c.GetWidth());
  EXPECT_FALSE(c.Intersect(CUiRect(50, 50, 60, 60)));
  EXPECT_TRUE(c.IsEmpty());
  EXPECT_EQ(sizeof(RECT), sizeof(CUiRect));
}

}  // namespace
