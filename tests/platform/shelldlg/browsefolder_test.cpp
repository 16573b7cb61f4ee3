// The folder browser: the callback's initialisation and selection events, selecting a folder
// by path or item list, the status line and OK button driven by the callback, OK and Cancel,
// and item lists read back and refused when damaged.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fileapi.h"
#include "machine_fixture.h"
#include "shlobj_browse.h"
#include "zx/modal.h"

namespace zx::test {
namespace {

struct Seen {
  std::vector<UINT> messages;
  std::vector<std::u16string> selections;
  HWND dialog = nullptr;
  const char16_t* select = nullptr;  // chosen on BFFM_INITIALIZED
  LRESULT selected = -1;
};

int CALLBACK Callback(HWND dialog, UINT message, LPARAM lParam, LPARAM data) {
  auto* seen = reinterpret_cast<Seen*>(data);
  seen->dialog = dialog;
  seen->messages.push_back(message);
  if (message == BFFM_INITIALIZED && seen->select)
    seen->selected = SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(seen->select));
  if (message == BFFM_SELCHANGED) {
    WCHAR path[MAX_PATH] = {};
    SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), path);
    seen->selections.push_back(path);
    SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path));
  }
  return 0;
}

class FolderBrowser : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    for (const char16_t* folder : {u"C:\\Data", u"C:\\Data\\Backups", u"C:\\Data\\Drivers", u"C:\\Other"})
      CreateDirectoryW(folder, nullptr);
  }
  void TearDown() override {
    user::SetIdleHook(nullptr);
    MachineTest::TearDown();
  }
  // Runs the browser; when idle the first time, `act` runs with the dialog.
  PIDLIST_ABSOLUTE Run(Seen& seen, const std::function<void(HWND)>& act, UINT flags = BIF_STATUSTEXT) {
    bool done = false;
    user::SetIdleHook([&] {
      if (done || !seen.dialog) return;
      done = true;
      act(seen.dialog);
    });
    info_ = BROWSEINFOW{nullptr, nullptr, name_, u"Choose the folder", flags, Callback, reinterpret_cast<LPARAM>(&seen), 0};
    return SHBrowseForFolderW(&info_);
  }
  static std::u16string PathOf(PIDLIST_ABSOLUTE list) {
    WCHAR path[MAX_PATH] = {};
    return SHGetPathFromIDListW(list, path) ? path : u"";
  }
  static std::u16string Text(HWND window) {
    WCHAR text[MAX_PATH] = {};
    GetWindowTextW(window, text, MAX_PATH);
    return text;
  }
  BROWSEINFOW info_{};
  WCHAR name_[MAX_PATH] = {};
};

TEST_F(FolderBrowser, TheCallbackSelectsAFolderAndOkAnswersIt) {
  Seen seen;
  seen.select = u"c:\\data\\DRIVERS";
  std::u16string status;
  PIDLIST_ABSOLUTE chosen = Run(seen, [&](HWND dialog) {
    status = Text(GetDlgItem(dialog, 0x3743));
    EXPECT_EQ(Text(GetDlgItem(dialog, 0x3742)), u"Choose the folder");
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  ASSERT_NE(chosen, nullptr);
  EXPECT_EQ(PathOf(chosen), u"C:\\Data\\Drivers");
  EXPECT_EQ(std::u16string(name_), u"Drivers");
  ILFree(chosen);
  EXPECT_EQ(seen.selected, TRUE);
  ASSERT_FALSE(seen.messages.empty());
  EXPECT_EQ(seen.messages.front(), static_cast<UINT>(BFFM_INITIALIZED));
  ASSERT_FALSE(seen.selections.empty());
  EXPECT_EQ(seen.selections.back(), u"C:\\Data\\Drivers");
  EXPECT_EQ(status, u"C:\\Data\\Drivers");
}

TEST_F(FolderBrowser, AFolderOutsideTheTreeIsNotSelected) {
  Seen seen;
  seen.select = u"C:\\Missing\\Folder";
  PIDLIST_ABSOLUTE chosen = Run(seen, [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDOK, 0); });
  EXPECT_EQ(seen.selected, FALSE);
  EXPECT_EQ(PathOf(chosen), u"C:\\");  // the root stayed selected
  ILFree(chosen);
}

TEST_F(FolderBrowser, AnItemListSelectsToo) {
  Seen seen;
  PIDLIST_ABSOLUTE chosen = Run(seen, [](HWND dialog) {
    PIDLIST_ABSOLUTE list = ILCreateFromPathW(u"C:\\Other");
    EXPECT_EQ(SendMessageW(dialog, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(list)), TRUE);
    ILFree(list);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(PathOf(chosen), u"C:\\Other");
  ILFree(chosen);
}

TEST_F(FolderBrowser, CancelAnswersNothingAndOkCanBeDisabled) {
  Seen seen;
  bool okEnabled = true;
  PIDLIST_ABSOLUTE chosen = Run(seen, [&](HWND dialog) {
    SendMessageW(dialog, BFFM_ENABLEOK, 0, FALSE);
    okEnabled = IsWindowEnabled(GetDlgItem(dialog, IDOK));
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(chosen, nullptr);
  EXPECT_FALSE(okEnabled);
  EXPECT_EQ(name_[0], 0);
}

TEST(ItemLists, PathsRoundTripAndDamageIsRefused) {
  PIDLIST_ABSOLUTE list = ILCreateFromPathW(u"C:\\Data");
  ASSERT_NE(list, nullptr);
  WCHAR path[MAX_PATH];
  ASSERT_TRUE(SHGetPathFromIDListW(list, path));
  EXPECT_EQ(std::u16string(path), u"C:\\Data");
  // The path's terminator overwritten: refused.
  auto* bytes = reinterpret_cast<BYTE*>(list);
  bytes[2 + 7 * 2] = 'x';
  EXPECT_FALSE(SHGetPathFromIDListW(list, path));
  EXPECT_EQ(path[0], 0);
  ILFree(list);
  EXPECT_EQ(ILCreateFromPathW(u""), nullptr);
  EXPECT_EQ(ILCreateFromPathW(std::u16string(300, u'a').c_str()), nullptr);
  const BYTE empty[2] = {0, 0};
  EXPECT_FALSE(SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(empty), path));
  EXPECT_FALSE(SHGetPathFromIDListW(nullptr, path));
}

}  // namespace
}  // namespace zx::test
