// The backup before an install in the main window: packed into a dated archive of the backup
// folder, listed on the restore tab once the update engine says a backup exists.
#include <random>

#include "BackupCompress.h"
#include "DlgRestore1Home.h"
#include "EngineCallbacks.h"
#include "FileHistory.h"
#include "cstring_printer.h"
#include "file_size_limit.h"
#include "VelquorWizards.h"
#include "velquor_testing.h"

namespace zx::test {
namespace {

namespace fs = std::filesystem;

constexpr LPCTSTR kArchiveName = _T("ZephrinTunevoBackup-Saturday,01-Jan-2000_H00-M00-S00.zip");

class BackupBeforeInstall : public VelquorWindow {
 protected:
};

// The backup before an install: the popup's run has the main window pack the staging folder
// into a dated archive of the backup folder; the archive joins the backup history and the
// restore tab as the window hears the engine's word that a backup exists. A disk that fills
// under the archive answers the failure and keeps no archive.
TEST_F(BackupBeforeInstall, IsPackedAndListed) {
  auto* home = dynamic_cast<CDlgRestore1Home*>(dialog_->GetGroupPage(CVelquorDlg::kRestoreGroup, 1));
  ASSERT_NE(home, nullptr);
  CVelquorWizards* wizards = dialog_->GetWizards();
  ASSERT_NE(wizards, nullptr);
  const CString staging = dialog_->GetTempFolder();
  WriteHostFile(HostPath(staging + _T("index.dat")), std::string("\x0B\0\0\0", 4));
  WriteHostFile(HostPath(staging + _T("Display\\nvidia.inf")), "[Version]\r\n");
  const CString stored = dialog_->GetDataFolder() + _T("\\") + GetHistoryFileName(kBackupHistory);
  EXPECT_FALSE(fs::exists(HostPath(stored)));
  ASSERT_EQ(home->GetList().GetItemCount(), 0);

  // Result rows the engine does not know leave nothing more to copy: the backup is whole. Its
  // word alone lists nothing: the archive is not there yet.
  ASSERT_EQ(dialog_->GetScanEngine().BackupDriversForUpdate(staging, {5}), kStepCompleted);
  Pump();
  EXPECT_EQ(home->GetList().GetItemCount(), 0);
  EXPECT_EQ(wizards->PackUpdateBackup(), static_cast<int>(kCompressDone));
  Pump();
  const CString archive = dialog_->GetBackupFolder() + kArchiveName;
  ASSERT_TRUE(fs::exists(HostPath(archive)));
  EXPECT_FALSE(fs::exists(HostPath(staging)));
  ASSERT_EQ(home->GetList().GetItemCount(), 1);
  EXPECT_EQ(home->GetList().GetItemText(0, 0), CString(kArchiveName));
  CMapStringToString history;
  ASSERT_TRUE(LoadHistoryFile(stored, history));
  CString listed;
  ASSERT_TRUE(history.Lookup(kArchiveName, listed));
  EXPECT_EQ(listed, archive);

  // The disk fills while the next archive is written: a failure, and no second archive.
  std::string driver(64 * 1024, '\0');
  std::mt19937 random(3);
  for (char& byte : driver) byte = static_cast<char>(random());
  WriteHostFile(HostPath(staging + _T("Display\\nvidia.sys")), driver);
  {
    FileSizeLimit full(4096);
    EXPECT_LT(wizards->PackUpdateBackup(), 0);
  }
  Pump();
  EXPECT_FALSE(fs::exists(HostPath(staging)));
  EXPECT_EQ(std::distance(fs::directory_iterator(HostPath(dialog_->GetBackupFolder())), fs::directory_iterator()), 1);
  EXPECT_EQ(home->GetList().GetItemCount(), 1);
}

}  // namespace
}  // namespace zx::test
