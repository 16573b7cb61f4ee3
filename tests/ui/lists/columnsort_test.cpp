// Sorting a list by a clicked column: the first click on a column sorts ascending, each
// further click on it turns the direction, and item data survives every sort.
#include <gtest/gtest.h>

#include "ListColumnSort.h"
#include "ListSortClass.h"
#include "list_testing.h"

namespace zx::test {
namespace {

class ColumnSort : public ListWindowTest {
 protected:
  void SetUp() override {
    ListWindowTest::SetUp();
    ASSERT_TRUE(list_.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 400, 300), &owner_, 310));
    Fill(list_, {u"Name", u"Size"}, {{u"b", u"30"}, {u"c", u"5"}, {u"a", u"200"}});
  }
  std::vector<std::u16string> Names() { return Column(list_, 0); }
  CListCtrl list_;
};

// The direction is kept for the process, so every test starts from a column of its own.
TEST_F(ColumnSort, RepeatedClicksTurnTheDirection) {
  ASSERT_EQ(SortListByColumn(&list_, 1, kListSortNumber), 1);
  ASSERT_EQ(SortListByColumn(&list_, 0, kListSortText), 1);
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"a", u"b", u"c"}));
  ASSERT_EQ(SortListByColumn(&list_, 0, kListSortText), 1);
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"c", u"b", u"a"}));
  ASSERT_EQ(SortListByColumn(&list_, 0, kListSortText), 1);
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"a", u"b", u"c"}));
}

TEST_F(ColumnSort, AnotherColumnStartsAscendingAndItsSecondClickDescends) {
  ASSERT_EQ(SortListByColumn(&list_, 0, kListSortText), 1);
  ASSERT_EQ(SortListByColumn(&list_, 1, kListSortNumber), 1);
  EXPECT_EQ(Column(list_, 1), (std::vector<std::u16string>{u"5", u"30", u"200"}));
  ASSERT_EQ(SortListByColumn(&list_, 1, kListSortNumber), 1);
  EXPECT_EQ(Column(list_, 1), (std::vector<std::u16string>{u"200", u"30", u"5"}));
}

TEST_F(ColumnSort, ItemDataFollowsItsRow) {
  ASSERT_EQ(SortListByColumn(&list_, 1, kListSortNumber), 1);
  ASSERT_EQ(SortListByColumn(&list_, 0, kListSortText), 1);
  EXPECT_EQ(Data(list_), (std::vector<DWORD_PTR>{102, 100, 101}));
}

TEST_F(ColumnSort, NoListIsNoSort) {
  EXPECT_EQ(SortListByColumn(nullptr, 0, kListSortText), 0);
  CListCtrl unmade;
  EXPECT_EQ(SortListByColumn(&unmade, 0, kListSortText), 0);
}

}  // namespace
}  // namespace zx::test
