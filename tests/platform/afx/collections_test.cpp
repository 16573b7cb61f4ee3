// Collections: arrays (growth, insertion, removal, bad indexes), lists walked by POSITION,
// and maps kept in insertion order.
#include <gtest/gtest.h>

#include "afx_test_support.h"

namespace {

using zx::afxtest::ThrownClass;

template <class A>
std::vector<typename std::remove_cvref_t<decltype(std::declval<A&>()[0])>> Items(A& a) {
  std::vector<std::remove_cvref_t<decltype(a[0])>> items;
  for (INT_PTR i = 0; i < a.GetSize(); ++i) items.push_back(a[i]);
  return items;
}

TEST(Arrays, GrowInsertAndRemove) {
  CDWordArray a;
  EXPECT_TRUE(a.IsEmpty());
  EXPECT_EQ(a.GetUpperBound(), -1);
  EXPECT_EQ(a.Add(10), 0);
  EXPECT_EQ(a.Add(20), 1);
  a.InsertAt(1, 15, 2);
  EXPECT_EQ(Items(a), (std::vector<DWORD>{10, 15, 15, 20}));
  a.InsertAt(6, 99);  // past the end: the gap is zero-filled
  EXPECT_EQ(Items(a), (std::vector<DWORD>{10, 15, 15, 20, 0, 0, 99}));
  a.RemoveAt(1, 4);
  EXPECT_EQ(Items(a), (std::vector<DWORD>{10, 0, 99}));
  a.SetAtGrow(4, 7);
  EXPECT_EQ(a.GetSize(), 5);
  EXPECT_EQ(a.GetAt(3), 0u);
  a.SetSize(2);
  a.ElementAt(1) = 11;
  a[0] = 1;
  EXPECT_EQ(Items(a), (std::vector<DWORD>{1, 11}));
  EXPECT_EQ(a.GetData()[1], 11u);
  CDWordArray b;
  b.Copy(a);
  EXPECT_EQ(b.Append(a), 2);
  EXPECT_EQ(b.Append(b), 4);  // appending to itself
  EXPECT_EQ(b.GetCount(), 8);
  b.RemoveAll();
  EXPECT_TRUE(b.IsEmpty());
}

TEST(Arrays, BadIndexesThrowInvalidArgument) {
  CStringArray a;
  a.Add(u"x");
  const CRuntimeClass* invalid = RUNTIME_CLASS(CInvalidArgException);
  EXPECT_EQ(ThrownClass([&] { a.GetAt(1); }), invalid);
  EXPECT_EQ(ThrownClass([&] { a[-1]; }), invalid);
  EXPECT_EQ(ThrownClass([&] { a.SetAt(5, u"y"); }), invalid);
  EXPECT_EQ(ThrownClass([&] { a.RemoveAt(0, 2); }), invalid);
  EXPECT_EQ(ThrownClass([&] { a.SetSize(-1); }), invalid);
  EXPECT_EQ(ThrownClass([&] { a.SetAtGrow(-1, u"y"); }), invalid);
  EXPECT_EQ(ThrownClass([&] { a.SetSize(INT_PTR{1} << 60); }), RUNTIME_CLASS(CMemoryException));
  EXPECT_EQ(a.GetSize(), 1);
}

TEST(Arrays, StringArrayAddsFromItsOwnElements) {
  CStringArray a;
  a.Add(u"first");
  for (int i = 0; i < 40; ++i) a.Add(a[0]);  // the source lives in the growing array
  a.SetAtGrow(60, a[0]);
  EXPECT_EQ(a[40], u"first");
  EXPECT_EQ(a[60], u"first");
  EXPECT_TRUE(a[59].IsEmpty());
}

TEST(Lists, WalkInsertFindAndRemoveByPosition) {
  CStringList list;
  list.AddTail(u"b");
  list.AddHead(u"a");
  POSITION c = list.AddTail(u"c");
  list.InsertBefore(c, u"b2");
  list.InsertAfter(c, u"d");
  std::vector<CString> seen;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) seen.push_back(list.GetNext(pos));
  EXPECT_EQ(seen, (std::vector<CString>{u"a", u"b", u"b2", u"c", u"d"}));
  seen.clear();
  for (POSITION pos = list.GetTailPosition(); pos != nullptr;) seen.push_back(list.GetPrev(pos));
  EXPECT_EQ(seen.front(), u"d");
  EXPECT_EQ(list.Find(u"c"), c);
  EXPECT_EQ(list.Find(u"a", list.GetHeadPosition()), nullptr);
  EXPECT_EQ(list.GetAt(list.FindIndex(2)), u"b2");
  EXPECT_EQ(list.FindIndex(5), nullptr);
  list.RemoveAt(c);
  EXPECT_EQ(list.RemoveHead(), u"a");
  EXPECT_EQ(list.RemoveTail(), u"d");
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.GetHead(), u"b");
  EXPECT_EQ(list.GetTail(), u"b2");
  list.RemoveAll();
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetHeadPosition(), nullptr);
  EXPECT_EQ(ThrownClass([&] { list.GetHead(); }), RUNTIME_CLASS(CInvalidArgException));
}

TEST(Maps, IterateInInsertionOrderWithCaseSensitiveKeys) {
  CMapStringToString map;
  map.InitHashTable(17);
  map.SetAt(u"zeta", u"1");
  map[u"alpha"] = u"2";
  map.SetAt(u"Alpha", u"3");
  map.SetAt(u"zeta", u"4");  // replacing keeps the original place
  EXPECT_EQ(map.GetCount(), 3);
  CString value;
  EXPECT_TRUE(map.Lookup(u"alpha", value));
  EXPECT_EQ(value, u"2");
  EXPECT_FALSE(map.Lookup(u"ALPHA", value));
  std::vector<CString> order;
  CString key;
  for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
    map.GetNextAssoc(pos, key, value);
    order.push_back(key + u"=" + value);
  }
  EXPECT_EQ(order, (std::vector<CString>{u"zeta=4", u"alpha=2", u"Alpha=3"}));
  EXPECT_TRUE(map.RemoveKey(u"alpha"));
  EXPECT_FALSE(map.RemoveKey(u"alpha"));
  map.SetAt(u"alpha", u"5");
  POSITION pos = map.GetStartPosition();
  map.GetNextAssoc(pos, key, value);
  map.GetNextAssoc(pos, key, value);
  EXPECT_EQ(key, u"Alpha");
  map.GetNextAssoc(pos, key, value);
  EXPECT_EQ(key + value, u"alpha5");
  EXPECT_EQ(pos, nullptr);
  map.RemoveAll();
  EXPECT_TRUE(map.IsEmpty());
  EXPECT_EQ(map.GetStartPosition(), nullptr);
}

TEST(Maps, PointerValuesAndBadPositions) {
  CMapStringToPtr map;
  int target = 0;
  map[u"p"] = &target;
  void* found = nullptr;
  EXPECT_TRUE(map.Lookup(u"p", found));
  EXPECT_EQ(found, &target);
  EXPECT_EQ(map.GetSize(), 1);
  POSITION none = nullptr;
  CString key;
  EXPECT_EQ(ThrownClass([&] { map.GetNextAssoc(none, key, found); }), RUNTIME_CLASS(CInvalidArgException));
}

}  // namespace
