// The engine's progress callbacks: what reaches the main window's lists and windows in each
// mode, the launcher in the one-click and notify modes, and the install status lines.
#include <gtest/gtest.h>

#include <map>

#include <winuser.h>

#include "EngineCallbacks.h"
#include "Registry.h"
#include "scan_testing.h"

namespace zx::test {
namespace {

HWND Window(int n) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(0x100 + n)); }

// Records what the callbacks do to windows.
class RecordingMessenger : public CWindowMessenger {
 public:
  struct Posted {
    HWND window;
    UINT message;
    WPARAM wParam;
  };
  void SetText(HWND window, const CString& text) override { texts[window] = text; }
  void Post(HWND window, UINT message, WPARAM wParam, LPARAM) override { posted.push_back({window, message, wParam}); }
  std::map<HWND, CString> texts;
  std::vector<Posted> posted;
};

class Callbacks : public ScanTest {
 protected:
  void SetUp() override {
    ScanTest::SetUp();
    view_.pMessenger = &messenger_;
    view_.hMainWindow = Window(0);
    view_.hCountLabel = Window(1);
    view_.hStatusLabel = Window(2);
    view_.hStatusText = Window(3);
    view_.hBackupName = Window(4);
    view_.hBackupClass = Window(5);
    view_.hRestoreName = Window(6);
    view_.hRestoreClass = Window(7);
    view_.hProgress[0] = Window(8);
    view_.hProgress[1] = Window(9);
    view_.hProgress[2] = Window(10);
    view_.hLogWindow = Window(11);
    view_.strScanningDriver = u"Scanning driver";
    view_.strCreatingBackup = u"Creating backup: ";
    view_.notifyPeer = [this](int code, int progress, const CString& text) { peer_.push_back({code, progress, text}); };
    SetEngineProgressView(&view_);
    records_.SetSize(2);
    records_.GetAt(0)->szText[kSlotDeviceName].Set(u"Intel(R) HD Graphics 4000");
    records_.GetAt(0)->szText[kSlotClassName].Set(u"Display adapters");
    records_.GetAt(1)->szText[kSlotDeviceName].Set(u"Realtek High Definition Audio");
  }
  void TearDown() override { SetEngineProgressView(nullptr); }

  struct PeerRecord {
    int code;
    int progress;
    CString text;
  };
  CEngineProgressView view_;
  RecordingMessenger messenger_;
  std::vector<PeerRecord> peer_;
  CDeviceRecordArray records_;
};

TEST_F(Callbacks, ACallWithoutRecordsOnlyMovesTheBar) {
  view_.nEngineMode = kModeScan;
  EXPECT_TRUE(ScanProgressCallback(nullptr, 37));
  ASSERT_EQ(messenger_.posted.size(), 1u);
  EXPECT_EQ(messenger_.posted[0].window, Window(8));
  EXPECT_EQ(messenger_.posted[0].message, kProgressSetPos);
  EXPECT_EQ(messenger_.posted[0].wParam, 37u);
  EXPECT_TRUE(messenger_.texts.empty());
  EXPECT_EQ(view_.nScanIndex, 0);
}

TEST_F(Callbacks, AScannedDeviceIsCopiedCountedAndShown) {
  view_.nEngineMode = kModeScan;
  ScanProgressCallback(&records_, 50);
  ScanProgressCallback(&records_, 100);
  EXPECT_EQ(view_.nScanIndex, 2);
  EXPECT_EQ(view_.deviceList.GetSize(), 2);
  EXPECT_EQ(CString(view_.deviceList.GetAt(1)->szText[kSlotDeviceName].Text()), CString(u"Realtek High Definition Audio"));
  EXPECT_FALSE(view_.deviceList.GetAt(1)->szText[kSlotClassName].IsNull());  // a copy: empty, not unset
  CString index;
  ASSERT_TRUE(view_.displayToRecord.Lookup(u"1", index));
  EXPECT_EQ(index, CString(u"1"));
  EXPECT_EQ(messenger_.texts[Window(1)], CString(u"2"));
  EXPECT_EQ(messenger_.texts[Window(2)], CString(u"Realtek High Definition Audio"));
  EXPECT_EQ(messenger_.texts[Window(3)], CString(u"Scanning driver - Realtek High Definition Audio"));
  EXPECT_EQ(messenger_.posted.back().wParam, 100u);
  EXPECT_TRUE(peer_.empty());
}

TEST_F(Callbacks, OneClickModeTellsTheLauncherAndStopsOnItsRequest) {
  view_.nEngineMode = kModeScan;
  view_.bOneClick = true;
  ScanProgressCallback(&records_, 50);
  ASSERT_EQ(peer_.size(), 1u);
  EXPECT_EQ(peer_[0].code, 6);
  EXPECT_EQ(peer_[0].progress, 1);
  EXPECT_EQ(peer_[0].text, CString(u"Scanning driver - Intel(R) HD Graphics 4000"));
  EXPECT_EQ(messenger_.texts.count(Window(2)), 0u);  // no status label in this mode
  EXPECT_EQ(messenger_.posted.size(), 1u);           // the bar only
  CString path;
  GetProductRegistryKey(path);
  ASSERT_TRUE(RegWriteDWORD(HKEY_CURRENT_USER, path + u"\\SwiftTend", u"ABORTSCAN", 1));
  ScanProgressCallback(&records_, 100);
  ASSERT_EQ(messenger_.posted.size(), 3u);
  EXPECT_EQ(messenger_.posted[1].window, Window(0));
  EXPECT_EQ(messenger_.posted[1].message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(messenger_.posted[1].wParam, static_cast<WPARAM>(kScanStopCommand));
}

TEST_F(Callbacks, BackupAndRestoreShowNameAndClass) {
  view_.nEngineMode = kModeBackup;
  ScanProgressCallback(&records_, 10);
  EXPECT_EQ(messenger_.texts[Window(4)], CString(u"Intel(R) HD Graphics 4000"));
  EXPECT_EQ(messenger_.texts[Window(5)], CString(u"Display adapters"));
  EXPECT_EQ(messenger_.posted[0].window, Window(9));
  EXPECT_EQ(view_.nBackupIndex, 1);
  view_.bNotifyMode = true;
  ScanProgressCallback(&records_, 20);
  ASSERT_EQ(peer_.size(), 1u);
  EXPECT_EQ(peer_[0].code, 14);
  EXPECT_EQ(peer_[0].progress, -1);
  EXPECT_EQ(peer_[0].text, CString(u"Creating backup: Realtek High Definition Audio"));
  view_.nEngineMode = kModeRestore;
  ScanProgressCallback(&records_, 30);
  EXPECT_EQ(messenger_.texts[Window(6)], CString(u"Intel(R) HD Graphics 4000"));
  EXPECT_EQ(messenger_.posted.back().window, Window(10));
  EXPECT_EQ(view_.nRestoreIndex, 1);
  ScanProgressCallback(&records_, 40);
  ScanProgressCallback(&records_, 50);  // past the records: only the index and the bar move
  EXPECT_EQ(view_.nRestoreIndex, 3);
}

TEST_F(Callbacks, InstallLinesGoToTheStatusOrTheLog) {
  EXPECT_EQ(InstallStatusCallback(u"Extracting", nullptr, 1), 7);
  EXPECT_EQ(messenger_.texts[Window(3)], CString(u"Extracting"));
  view_.bLogOn = true;
  InstallStatusCallback(u"first", nullptr, 1);
  InstallStatusCallback(u"second", nullptr, 6);
  EXPECT_EQ(messenger_.texts[Window(11)], CString(u"first\r\nsecond\r\n"));
  EXPECT_EQ(messenger_.texts[Window(3)], CString(u"Extracting"));
  EXPECT_FALSE(view_.bInstallReported);
  int reported = 0;
  InstallStatusCallback(u"done", &reported, 6);
  EXPECT_TRUE(view_.bInstallReported);
}

TEST(CallbacksWithoutAView, DoNothing) {
  CDeviceRecordArray records(1);
  EXPECT_TRUE(ScanProgressCallback(&records, 50));
  EXPECT_EQ(InstallStatusCallback(u"x", nullptr, 6), 7);
}

}  // namespace
}  // namespace zx::test
