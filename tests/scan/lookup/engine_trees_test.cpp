// The backup and restore trees of the update engine, filled from a scan of the desktop profile
// and from a backup archive of it: class groups, icons by class, item data and the identity
// key of each item, compared with golden trees (ZX_UPDATE_GOLDEN=1 writes them afresh).
#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "BackupArchive.h"
#include "BackupIndex.h"
#include "DriverInstallEngine.h"
#include "EngineCallbacks.h"
#include "lookup_testing.h"
#include "scan_testing.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

constexpr char kGoldenDir[] = ZX_TREES_GOLDEN_DIR "/";

void ExpectGolden(const std::string& name, const std::string& text) {
  const std::string path = kGoldenDir + name;
  const char* flag = std::getenv("ZX_UPDATE_GOLDEN");
  if (flag != nullptr && std::string(flag) == "1") {
    std::filesystem::create_directories(kGoldenDir);
    std::ofstream(path, std::ios::binary) << text;
    return;
  }
  std::ifstream in(path, std::ios::binary);
  std::ostringstream golden;
  golden << in.rdbuf();
  EXPECT_EQ(text, golden.str()) << path;
}

class EngineTrees : public ScanTest {
 protected:
  void SetUp() override {
    ScanTest::SetUp();
    SetEngineProgressView(&view_);
    InitCommonControls();
    parent_ = CreateWindowExW(0, WC_STATICW, u"parent", WS_OVERLAPPEDWINDOW, 0, 0, 400, 400, nullptr, nullptr,
                              nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    ASSERT_TRUE(backup_.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 400), CWnd::FromHandle(parent_), 1));
    ASSERT_TRUE(restore_.Create(WS_CHILD | WS_VISIBLE, CRect(200, 0, 400, 400), CWnd::FromHandle(parent_), 2));
    engine_.SetTrees(&backup_, &restore_);
  }
  void TearDown() override {
    SetEngineProgressView(nullptr);
    backup_.DestroyWindow();
    restore_.DestroyWindow();
    DestroyWindow(parent_);
    ScanTest::TearDown();
  }
  void ScanDesktop() {
    SeedFile(ZX_PROFILES_DIR "/desktop.profile");
    ASSERT_EQ(engine_.ReportScanEnd(_T("")), kStepCompleted);
    ASSERT_GT(engine_.GetDeviceCount(), 0);
  }
  // The tree as text: each group with its item data, each device with its image, item data
  // and identity key.
  std::string Dump(CTreeCtrl& tree) {
    std::string text;
    for (HTREEITEM group = tree.GetRootItem(); group != nullptr; group = tree.GetNextSiblingItem(group)) {
      text += "[" + Narrow(tree.GetItemText(group)) + "] data " +
              std::to_string(static_cast<long long>(tree.GetItemData(group))) + " key '" +
              Narrow(engine_.GetTreeItemKey(tree, group)) + "'\n";
      for (HTREEITEM item = tree.GetChildItem(group); item != nullptr; item = tree.GetNextSiblingItem(item)) {
        TVITEMW info{};
        info.mask = TVIF_HANDLE | TVIF_IMAGE;
        info.hItem = item;
        tree.GetItem(&info);
        text += "  " + Narrow(tree.GetItemText(item)) + " | image " + std::to_string(info.iImage) + " | data " +
                std::to_string(tree.GetItemData(item)) + " | " + Narrow(engine_.GetTreeItemKey(tree, item)) + "\n";
      }
    }
    return text;
  }
  // Packs a backup of every scanned device: its catalogue in a staging folder, zipped.
  CString PackBackup() {
    const std::string stage = root() + "/drive_c/stage";
    std::string bytes = BackupIndexMarkBytes();
    for (int i = 0; i < engine_.GetDeviceCount(); ++i)
      bytes += BackupIndexRecordBytes(
          MakeBackupIndexRecord(*engine_.GetDevices()->GetAt(i), _T("drivers"), static_cast<DWORD>(i + 1)));
    WriteHostFile(stage + "/index.dat", bytes);
    const CString zip = _T("C:\\Backups\\Backup,01-Mar-2010_H10-M05-S07.zip");
    std::filesystem::create_directories(root() + "/drive_c/Backups");
    EXPECT_EQ(CompressBackupFolder(_T("C:\\stage"), zip), 1);
    return zip;
  }

  CEngineProgressView view_;
  CDriverScanUpdate engine_;
  HWND parent_ = nullptr;
  CTreeCtrl backup_;
  CTreeCtrl restore_;
};

TEST_F(EngineTrees, TheBackupTreeGroupsTheDesktopsDevicesByClass) {
  ASSERT_NO_FATAL_FAILURE(ScanDesktop());
  ASSERT_NE(engine_.GetClassImageList(), nullptr);
  engine_.FillClassTree();
  ExpectGolden("desktop.backup.txt", Dump(backup_));

  // Every device of the scan stands once in the tree, below the group of its class.
  EXPECT_EQ(backup_.GetCount() - [&] {
    UINT groups = 0;
    for (HTREEITEM g = backup_.GetRootItem(); g != nullptr; g = backup_.GetNextSiblingItem(g)) ++groups;
    return groups;
  }(), static_cast<UINT>(engine_.GetDeviceCount()));
  // Devices of one class share its icon; another class has another.
  HTREEITEM display = nullptr, monitor = nullptr;
  for (HTREEITEM g = backup_.GetRootItem(); g != nullptr; g = backup_.GetNextSiblingItem(g)) {
    if (backup_.GetItemText(g) == CString(_T("Display adapters"))) display = backup_.GetChildItem(g);
    if (backup_.GetItemText(g) == CString(_T("Monitors"))) monitor = backup_.GetChildItem(g);
  }
  ASSERT_NE(display, nullptr);
  ASSERT_NE(monitor, nullptr);
  const int displayImage = engine_.GetClassImageIndex(backup_, display);
  EXPECT_GE(displayImage, 0);
  EXPECT_NE(displayImage, engine_.GetClassImageIndex(backup_, monitor));
  EXPECT_EQ(engine_.GetClassImageIndex(backup_, backup_.GetRootItem()), -1) << "a group has no class icon";
}

TEST_F(EngineTrees, TheBackupTreeStaysEmptyWithoutAFinishedScan) {
  ASSERT_NO_FATAL_FAILURE(ScanDesktop());
  engine_.SetScanDone(FALSE);
  engine_.FillClassTree();
  EXPECT_EQ(backup_.GetCount(), 0u);
}

TEST(TreeItemKey, LeavesOutMissingTextsWithTheirBar) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, const char16_t*>> slots;
    const char* key;
  };
  const Case cases[] = {
      {"all", {{3, u"Net"}, {9, u"1-2-2010"}, {5, u"Intel"}, {2, u"1.0"}, {7, u"PCI\\X"}, {11, u"MS"}},
       "Net|1-2-2010|Intel|1.0|PCI\\X|MS"},
      {"no date, no signer", {{3, u"Net"}, {5, u"Intel"}, {2, u"1.0"}, {7, u"PCI\\X"}}, "Net|Intel|1.0|PCI\\X|"},
      {"empty texts", {{3, u""}, {9, u""}, {7, u"PCI\\X"}}, "PCI\\X|"},
      {"nothing", {}, ""},
  };
  InitCommonControls();
  HWND parent = CreateWindowExW(0, WC_STATICW, u"p", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
  CTreeCtrl tree;
  ASSERT_TRUE(tree.Create(WS_CHILD, CRect(0, 0, 100, 100), CWnd::FromHandle(parent), 1));
  for (const Case& c : cases) {
    CDriverScanUpdate engine;
    auto devices = std::make_unique<CDeviceRecordArray>(1);
    for (const auto& [slot, text] : c.slots) devices->GetAt(0)->szText[slot].Set(text);
    engine.SetScannedDevices(std::move(devices), 1);
    engine.SetTrees(&tree, nullptr);
    engine.SetScanDone(TRUE);
    engine.FillClassTree();
    HTREEITEM item = tree.GetChildItem(tree.GetRootItem());
    ASSERT_NE(item, nullptr) << c.name;
    EXPECT_EQ(Narrow(engine.GetTreeItemKey(tree, item)), c.key) << c.name;
  }
  tree.DestroyWindow();
  DestroyWindow(parent);
}

TEST_F(EngineTrees, TheRestoreTreeComesFromTheBackupsCatalogue) {
  ASSERT_NO_FATAL_FAILURE(ScanDesktop());
  CMapStringToString files;
  files.SetAt(_T("Backup,01-Mar-2010_H10-M05-S07.zip"), PackBackup());
  CMapStringToString names;
  ASSERT_TRUE(engine_.FillRestoreTree(_T("Backup,01-Mar-2010_H10-M05-S07.zip"), files, _T("C:\\restore"), names));
  EXPECT_TRUE(std::filesystem::exists(root() + "/drive_c/restore/index.dat"));
  EXPECT_EQ(engine_.GetRestoreRecordCount(), engine_.GetDeviceCount());
  ExpectGolden("desktop.restore.txt", Dump(restore_));
  // The restore tree shows what the backup tree shows of the same devices.
  engine_.FillClassTree();
  EXPECT_EQ(Dump(restore_), Dump(backup_));
  CString infPath;
  ASSERT_TRUE(names.Lookup(_T("Generic PnP Monitor"), infPath));
  EXPECT_EQ(Narrow(infPath), "MONITOR\\DELA0B1");
}

TEST_F(EngineTrees, AMissingOrDamagedBackupFillsNothing) {
  CMapStringToString files, names;
  files.SetAt(_T("gone.zip"), _T("C:\\Backups\\gone.zip"));
  files.SetAt(_T("bad.zip"), _T("C:\\Backups\\bad.zip"));
  files.SetAt(_T("nocatalogue.zip"), _T("C:\\Backups\\nocatalogue.zip"));
  // An archive whose entries say they unpack to 1 GiB.
  files.SetAt(_T("bomb.zip"), _T("C:\\Backups\\bomb.zip"));
  WriteHostFile(root() + "/drive_c/Backups/bomb.zip",
                ReadHostFile(std::string(ZX_FUZZ_CORPUS_DIR) + "/zip_fuzz/claims_a_gigabyte.zip"));
  WriteHostFile(root() + "/drive_c/Backups/bad.zip", "PK\x03\x04 not a zip archive");
  WriteHostFile(root() + "/drive_c/other/readme.txt", "no catalogue here");
  ASSERT_EQ(CompressBackupFolder(_T("C:\\other"), _T("C:\\Backups\\nocatalogue.zip")), 1);
  tagDeviceDriverInfo old;
  old.szText[kSlotDeviceName].Set(_T("Old device"));
  old.szText[kSlotClassName].Set(_T("System devices"));
  const std::string staleCatalogue =
      BackupIndexMarkBytes() + BackupIndexRecordBytes(MakeBackupIndexRecord(old, _T("old"), 1));
  for (LPCTSTR name : {_T("unknown.zip"), _T("gone.zip"), _T("bad.zip"), _T("nocatalogue.zip"), _T("bomb.zip")}) {
    names.SetAt(_T("stale"), _T("x"));
    // The catalogue an earlier restore left behind is not this backup's.
    WriteHostFile(root() + "/drive_c/restore/index.dat", staleCatalogue);
    EXPECT_FALSE(engine_.FillRestoreTree(name, files, _T("C:\\restore"), names)) << Narrow(name);
    EXPECT_EQ(restore_.GetCount(), 0u);
    EXPECT_EQ(names.GetCount(), 0);
    EXPECT_EQ(engine_.GetRestoreRecordCount(), 0);
  }
  // Nothing of the refused archive was unpacked, not even its small first entry.
  EXPECT_FALSE(std::filesystem::exists(root() + "/drive_c/restore/readme.txt"));
}

}  // namespace
}  // namespace zx::test
