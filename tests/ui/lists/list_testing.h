// Shared by the list tests: a fresh machine root with an owner window and a report list in
// it, filled from rows of texts.
#pragma once
#include <afxcmn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "machine_fixture.h"

namespace zx::test {

class ListWindowTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ASSERT_TRUE(owner_.CreateEx(0, AfxRegisterWndClass(0), u"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 420,
                                320, nullptr, nullptr));
  }
  void TearDown() override {
    owner_.DestroyWindow();
    MachineTest::TearDown();
  }
  // One column per title, then one row per line of texts; item data 100 + the row.
  static void Fill(CListCtrl& list, const std::vector<std::u16string>& titles,
                   const std::vector<std::vector<std::u16string>>& rows) {
    for (std::size_t c = 0; c < titles.size(); ++c)
      list.InsertColumn(static_cast<int>(c), titles[c].c_str(), LVCFMT_LEFT, 100);
    for (std::size_t r = 0; r < rows.size(); ++r) {
      const int row = list.InsertItem(static_cast<int>(r), rows[r][0].c_str());
      for (std::size_t c = 1; c < rows[r].size(); ++c)
        list.SetItemText(row, static_cast<int>(c), rows[r][c].c_str());
      list.SetItemData(row, 100 + r);
    }
  }
  static std::vector<std::u16string> Column(const CListCtrl& list, int column) {
    std::vector<std::u16string> texts;
    for (int row = 0; row < list.GetItemCount(); ++row) {
      const CString text = list.GetItemText(row, column);
      texts.emplace_back(text.GetString(), static_cast<std::size_t>(text.GetLength()));
    }
    return texts;
  }
  static std::vector<DWORD_PTR> Data(const CListCtrl& list) {
    std::vector<DWORD_PTR> data;
    for (int row = 0; row < list.GetItemCount(); ++row) data.push_back(list.GetItemData(row));
    return data;
  }
  CWnd owner_;
};

}  // namespace zx::test
