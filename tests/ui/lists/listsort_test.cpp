// The list sorter on a real list: rows ordered by number, text, date and decimal columns in
// both directions, item data given back, and what happens to rows it did not make records for.
#include <gtest/gtest.h>

#include "ListSortClass.h"
#include "list_testing.h"

namespace zx::test {
namespace {

class ListSort : public ListWindowTest {
 protected:
  void SetUp() override {
    ListWindowTest::SetUp();
    ASSERT_TRUE(list_.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 400, 300), &owner_, 300));
    Fill(list_, {u"Name", u"Size", u"Date", u"Rating"},
         {{u"beta", u"1,024 KB", u"2011-02-03", u"2.5"},
          {u"Alpha", u"512 KB", u"6/21/2009", u"10"},
          {u"gamma", u"none", u"2009-06-21 10:15 PM", u"-1.25"},
          {u"ALPHA", u"2048 KB", u"1/2/2010 9:00", u"2.50"}});
  }
  std::vector<std::u16string> SortedBy(int column, BOOL ascending, int key, int shown) {
    {
      CListSortClass sorter(&list_, column);
      EXPECT_TRUE(sorter.Sort(ascending, key));
    }
    return Column(list_, shown);
  }
  CListCtrl list_;
};

TEST_F(ListSort, NumbersAreTheDigitsOfTheText) {
  EXPECT_EQ(SortedBy(1, TRUE, kListSortNumber, 1),
            (std::vector<std::u16string>{u"none", u"512 KB", u"1,024 KB", u"2048 KB"}));
  EXPECT_EQ(SortedBy(1, FALSE, kListSortNumber, 1),
            (std::vector<std::u16string>{u"2048 KB", u"1,024 KB", u"512 KB", u"none"}));
}

TEST_F(ListSort, TextIgnoresCaseAndKeepsEqualRowsInTheirOrder) {
  EXPECT_EQ(SortedBy(0, TRUE, kListSortText, 0),
            (std::vector<std::u16string>{u"Alpha", u"ALPHA", u"beta", u"gamma"}));
  EXPECT_EQ(SortedBy(0, FALSE, kListSortText, 0),
            (std::vector<std::u16string>{u"gamma", u"beta", u"Alpha", u"ALPHA"}));
}

TEST_F(ListSort, DatesInEitherFormOrderByTime) {
  EXPECT_EQ(SortedBy(2, TRUE, kListSortDate, 0),
            (std::vector<std::u16string>{u"Alpha", u"gamma", u"ALPHA", u"beta"}));
  EXPECT_EQ(SortedBy(2, FALSE, kListSortDate, 0),
            (std::vector<std::u16string>{u"beta", u"ALPHA", u"gamma", u"Alpha"}));
}

TEST_F(ListSort, DecimalsReadWithTheirFraction) {
  // 2.5 and 2.50 are equal, and equal decimals have no defined order between them.
  const auto ascending = SortedBy(3, TRUE, kListSortDecimal, 3);
  EXPECT_EQ(ascending.front(), u"-1.25");
  EXPECT_EQ(ascending.back(), u"10");
  const auto descending = SortedBy(3, FALSE, kListSortDecimal, 3);
  EXPECT_EQ(descending.front(), u"10");
  EXPECT_EQ(descending.back(), u"-1.25");
}

TEST_F(ListSort, AnotherKeyLeavesTheOrder) {
  EXPECT_EQ(SortedBy(0, TRUE, 7, 0), (std::vector<std::u16string>{u"beta", u"Alpha", u"gamma", u"ALPHA"}));
  EXPECT_EQ(SortedBy(0, TRUE, 0, 0), (std::vector<std::u16string>{u"beta", u"Alpha", u"gamma", u"ALPHA"}));
}

TEST_F(ListSort, ItemDataIsARecordWhileTheSorterLivesAndComesBackInTheNewOrder) {
  {
    CListSortClass sorter(&list_, 0);
    for (DWORD_PTR data : Data(list_)) EXPECT_GE(data, 1000u);  // records, not the rows' values
    EXPECT_TRUE(sorter.Sort(TRUE, kListSortText));
  }
  EXPECT_EQ(Data(list_), (std::vector<DWORD_PTR>{101, 103, 100, 102}));
}

TEST_F(ListSort, RowsItDidNotMakeRecordsForAreLeftAloneAndCompareEqual) {
  CListSortClass sorter(&list_, 0);
  const int added = list_.InsertItem(4, u"aardvark");
  list_.SetItemData(added, 0x5151);
  EXPECT_TRUE(sorter.Sort(TRUE, kListSortText));
  EXPECT_EQ(list_.GetItemCount(), 5);
  int foreign = -1;
  for (int row = 0; row < 5; ++row)
    if (list_.GetItemText(row, 0) == u"aardvark") foreign = row;
  ASSERT_GE(foreign, 0);
  EXPECT_EQ(list_.GetItemData(foreign), 0x5151u);
}

TEST_F(ListSort, TheDestructorLeavesForeignItemDataUntouched) {
  {
    CListSortClass sorter(&list_, 0);
    list_.SetItemData(0, 0);
    list_.SetItemData(1, 0x77);
  }
  EXPECT_EQ(Data(list_), (std::vector<DWORD_PTR>{0, 0x77, 102, 103}));
}

TEST_F(ListSort, AnEmptyListStillSorts) {
  CListCtrl empty;
  ASSERT_TRUE(empty.Create(WS_CHILD | LVS_REPORT, CRect(0, 0, 100, 100), &owner_, 301));
  CListSortClass sorter(&empty, 0);
  EXPECT_TRUE(sorter.Sort(TRUE, kListSortText));
  EXPECT_EQ(empty.GetItemCount(), 0);
}

TEST_F(ListSort, WithoutAListNothingHappens) {
  CListSortClass sorter(nullptr, 0);
  EXPECT_FALSE(sorter.Sort(TRUE, kListSortText));
}

// ---- The comparison of two texts ----------------------------------------------------------

int Compare(const char16_t* a, const char16_t* b, LPARAM key) { return CListSortClass::CompareTexts(a, b, key); }

TEST(ListSortCompare, NumberIsTheDifferenceOfTheDigits) {
  EXPECT_EQ(Compare(u"1,024 KB", u"512 KB", 1), 512);
  EXPECT_EQ(Compare(u"1,024 KB", u"512 KB", -1), -512);
  EXPECT_EQ(Compare(u"no digits", u"0", 1), 0);
  EXPECT_EQ(Compare(u"v1.2.3", u"123", 1), 0);  // the digits are one number
  EXPECT_EQ(Compare(u"-5", u"5", 1), 0);        // a sign is not a digit
}

TEST(ListSortCompare, NumbersBeyondThirtyTwoBitsStopAtTheLargest) {
  EXPECT_EQ(Compare(u"99999999999999999999", u"2147483647", 1), 0);
  EXPECT_EQ(Compare(u"99999999999999999999", u"0", 1), 2147483647);
  EXPECT_EQ(Compare(u"0", u"99999999999999999999", -1), 2147483647);
}

TEST(ListSortCompare, TextIgnoresCase) {
  EXPECT_LT(Compare(u"abc", u"ABD", 2), 0);
  EXPECT_GT(Compare(u"abc", u"ABD", -2), 0);
  EXPECT_EQ(Compare(u"ABC", u"abc", 2), 0);
  EXPECT_LT(Compare(u"", u"a", 2), 0);
}

TEST(ListSortCompare, EqualDatesAndDecimalsAreNeverEqual) {
  EXPECT_EQ(Compare(u"2009-06-21", u"6/21/2009", 3), 1);
  EXPECT_EQ(Compare(u"2009-06-21", u"6/21/2009", -3), -1);
  EXPECT_EQ(Compare(u"2.5", u"2.50", 4), 1);
  EXPECT_EQ(Compare(u"2.5", u"2.50", -4), -1);
}

TEST(ListSortCompare, DatesThatDoNotReadAreEqualAndImpossibleOnesLater) {
  EXPECT_EQ(Compare(u"yesterday", u"2009-06-21", 3), 0);
  EXPECT_EQ(Compare(u"2009-06-21", u"", 3), 0);
  EXPECT_EQ(Compare(u"2009-02-30", u"2009-06-21", 3), 1);  // reads, but names no day
  EXPECT_EQ(Compare(u"2009-06-21", u"2009-02-30", 3), 1);
  EXPECT_EQ(Compare(u"2009-02-30", u"2009-06-21", -3), -1);
  EXPECT_EQ(Compare(u"2009-06-20", u"2009-06-21", 3), -1);
  EXPECT_EQ(Compare(u"2009-06-21 1:00 PM", u"2009-06-21 12:59", 3), 1);
}

TEST(ListSortCompare, DecimalsReadAsTheNarrowText) {
  EXPECT_EQ(Compare(u"1e3", u"999.9", 4), 1);
  EXPECT_EQ(Compare(u"abc", u"0.1", 4), -1);  // no number reads as 0
  EXPECT_EQ(Compare(std::u16string(400, u'9').c_str(), u"1", 4), 1);
}

}  // namespace
}  // namespace zx::test
