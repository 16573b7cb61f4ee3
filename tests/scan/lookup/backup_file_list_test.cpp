// The restore page's list of backups: only archives that exist and open, latest first by the
// stamp in their names, undated names after them by name; item data 4, the date and time (or
// the undated name) as detail.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <iterator>
#include <map>
#include <utility>

#include "FancyListCtrl.h"
#include "lookup_testing.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

class BackupFileList : public LookupTest {
 protected:
  void SetUp() override {
    LookupTest::SetUp();
    InitCommonControls();
    // A page of the class library, which hands the list's notifications back to it.
    ASSERT_TRUE(page_.CreateEx(0, AfxRegisterWndClass(0), u"page", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                               nullptr));
    ASSERT_TRUE(list_.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED, CRect(0, 0, 400, 300),
                             &page_, 1));
    ASSERT_EQ(list_.InsertDetailColumn(0, u"Backup", 300, 0), 0);
  }
  void TearDown() override {
    list_.DestroyWindow();
    page_.DestroyWindow();
    LookupTest::TearDown();
  }
  CWnd page_;
  CFancyListCtrl list_;
};

TEST_F(BackupFileList, ListsExistingArchivesLatestFirst) {
  // name -> (file present, stamp as yyyymmddhhmmss or 0 for none)
  const std::map<std::u16string, std::pair<bool, ULONGLONG>> backups = {
      {u"Backup,01-Mar-2010_H10-M05-S07.zip", {true, 20100301100507ull}},
      {u"Backup,01-Mar-2010_H09-M00-S00.zip", {true, 20100301090000ull}},
      {u"Backup,15-Jan-2012_H08-M00-S00.zip", {true, 20120115080000ull}},
      {u"Backup,20-Jan-2013_H08-M00-S00.zip", {false, 20130120080000ull}},
      {u"zeta.zip", {true, 0}},
      {u"Alpha.zip", {true, 0}},
  };
  CMapStringToString files;
  int n = 0;
  for (const auto& [name, spec] : backups) {
    const CString archive = CString(_T("C:\\Backups\\b")) + CString(std::to_string(n++).c_str()) + _T(".zip");
    files.SetAt(name.c_str(), archive);
    if (spec.first) {
      std::string host;
      ASSERT_TRUE(path::WindowsToHost(archive.GetString(), host));
      WriteHostFile(host, "PK");
    }
  }
  const auto readStamp = [&](const CString& name, SYSTEMTIME& time) {
    const ULONGLONG stamp = backups.at(name.GetString()).second;
    if (stamp == 0) return false;
    time = SYSTEMTIME{static_cast<WORD>(stamp / 10000000000ull), static_cast<WORD>(stamp / 100000000 % 100), 0,
                      static_cast<WORD>(stamp / 1000000 % 100), static_cast<WORD>(stamp / 10000 % 100),
                      static_cast<WORD>(stamp / 100 % 100), static_cast<WORD>(stamp % 100), 0};
    return true;
  };
  list_.InsertItem(0, u"stale row");
  engine_->RefreshFileList(list_, files, readStamp);

  // Each row shows when its backup was made; a name without a date is shown as it stands.
  const std::pair<std::string, std::string> expected[] = {
      {"Backup,15-Jan-2012_H08-M00-S00.zip", "Sunday, January 15, 2012 8:00:00 AM"},
      {"Backup,01-Mar-2010_H10-M05-S07.zip", "Monday, March 1, 2010 10:05:07 AM"},
      {"Backup,01-Mar-2010_H09-M00-S00.zip", "Monday, March 1, 2010 9:00:00 AM"},
      {"Alpha.zip", "Alpha.zip"},
      {"zeta.zip", "zeta.zip"}};
  ASSERT_EQ(list_.GetItemCount(), static_cast<int>(std::size(expected)));
  ASSERT_EQ(engine_->GetFileList().GetSize(), static_cast<INT_PTR>(std::size(expected)));
  for (int i = 0; i < list_.GetItemCount(); ++i) {
    const auto& [name, shown] = expected[static_cast<std::size_t>(i)];
    EXPECT_EQ(Narrow(list_.GetItemText(i, 0)), name);
    EXPECT_EQ(Narrow(list_.GetItemDetail(i)), shown);
    EXPECT_EQ(list_.GetItemData(i), 4u);
    EXPECT_EQ(Narrow(engine_->GetFileList()[i]), name);
  }
  EXPECT_EQ(list_.GetItemState(0, LVIS_SELECTED), static_cast<UINT>(LVIS_SELECTED));

  CMapStringToString none;
  engine_->RefreshFileList(list_, none, readStamp);
  EXPECT_EQ(list_.GetItemCount(), 0);
  EXPECT_EQ(engine_->GetFileList().GetSize(), 0);
}

}  // namespace
}  // namespace zx::test
