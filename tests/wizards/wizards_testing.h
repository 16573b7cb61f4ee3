// What the backup and restore page tests share: stand-ins for the main window that write down
// every request of the pages, the pages' texts in the language file, a host window, the laptop
// profile scanned, and clicks on the pages' controls with answers to the message boxes they raise.
#pragma once
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "BackupWizardOwner.h"
#include "RestoreWizardOwner.h"
#include "DlgBaseMessageBoxWndBase.h"
#include "DriverInstallEngine.h"
#include "DriverScanUpdate.h"
#include "EngineCallbacks.h"
#include "HalvoranApp.h"
#include "cstring_printer.h"
#include "dialogs_testing.h"
#include "zx/machineprofile.h"

namespace zx::test {

class FakeOwner : public CBackupWizardOwner {
 public:
  tagBackupWizardState& BackupState() override { return state; }
  int RelaunchAsAdmin(const CString& text, UINT style) override {
    prompts.push_back(text);
    styles.push_back(style);
    return adminAnswer;
  }
  void EnableOnlyLeftButton(int index) override { leftButton = index; }
  void ShowBackupPage(UINT command) override { pages.push_back(command); }
  void ScanBeforeBackup() override { ++scans; }
  void StartBackup() override { ++backups; }
  CDriverScanUpdate& Engine() override { return engine; }
  CString StagingFolder() override { return _T("C:\\Temp\\Zephrin Tunevo\\"); }
  CString BackupFolder() override { return backupFolder; }
  void StoreBackupFolder(const CString& folder) override { storedFolder = folder; }
  bool ChooseBackupFolder(CString& folder) override {
    if (otherFolder.IsEmpty()) return false;
    folder = otherFolder;
    return true;
  }
  CMapStringToString& BackupList() override { return list; }
  void SaveBackupList() override { ++listSaves; }
  void EnableUi(BOOL enable) override { uiEnabled.push_back(enable != FALSE); }
  void OnBackupProgress(int percent) override {
    if (onProgress) onProgress(percent);
  }
  bool FreeSpace(LPCTSTR volume, ULONGLONG& freeBytes) override {
    if (onFreeSpace) return onFreeSpace(volume, freeBytes);
    freeBytes = 1ull << 40;
    return true;
  }

  tagBackupWizardState state;
  CDriverScanUpdate engine;
  int adminAnswer = 1;
  std::vector<CString> prompts;
  std::vector<UINT> styles;
  std::vector<UINT> pages;
  int leftButton = -1;
  int scans = 0;
  int backups = 0;
  CString backupFolder = _T("C:\\Backups");
  CString otherFolder;
  CString storedFolder;
  CMapStringToString list;
  int listSaves = 0;
  std::vector<bool> uiEnabled;
  std::function<void(int)> onProgress;
  std::function<bool(LPCTSTR, ULONGLONG&)> onFreeSpace;
};

class FakeRestoreOwner : public CRestoreWizardOwner {
 public:
  tagRestoreWizardState& RestoreState() override { return state; }
  int RelaunchAsAdmin(const CString& text, UINT style) override {
    prompts.push_back(text);
    styles.push_back(style);
    return adminAnswer;
  }
  void EnableOnlyLeftButton(int index) override { leftButtons = {index}; }
  void EnableFirstLeftButtons(int count) override {
    leftButtons.clear();
    for (int i = 0; i < count; ++i) leftButtons.push_back(i);
  }
  void ShowRestorePage(UINT command) override { pages.push_back(command); }
  void StartRestore() override { ++restores; }
  CDriverScanUpdate& Engine() override { return engine; }
  CString StagingFolder() override { return _T("C:\\Temp\\Zephrin Tunevo\\"); }
  CMapStringToString& BackupList() override { return list; }
  void SaveBackupList() override { ++listSaves; }
  void EnableUi(BOOL enable) override { uiEnabled.push_back(enable != FALSE); }
  void RestartWindows() override { ++restarts; }
  void AskRestart(const CString& text) override { restartQuestions.push_back(text); }

  tagRestoreWizardState state;
  CDriverScanUpdate engine;
  int adminAnswer = 1;
  std::vector<CString> prompts;
  std::vector<UINT> styles;
  std::vector<UINT> pages;
  std::vector<int> leftButtons;
  int restores = 0;
  CMapStringToString list;
  int listSaves = 0;
  std::vector<bool> uiEnabled;
  int restarts = 0;
  std::vector<CString> restartQuestions;
};

// Moves the test clock on by a millisecond every millisecond while it lives: a thread that
// finds a lock taken sleeps a millisecond on that clock before it waits, so serving a page
// whose worker shares a lock with it needs time to pass.
class ClockTicker {
 public:
  explicit ClockTicker(ManualClock& clock)
      : thread_([this, &clock] {
          while (!stop_) {
            clock.Advance(1);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
          }
        }) {}
  ~ClockTicker() {
    stop_ = true;
    thread_.join();
  }
  ClockTicker(const ClockTicker&) = delete;
  ClockTicker& operator=(const ClockTicker&) = delete;

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

class WizardTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    std::ofstream(LanguageFile()) << kTexts;
    g_strAppName = u"Zephrin Tunevo";
    ASSERT_TRUE(host_.CreateEx(0, _T("Static"), _T(""), WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 480), nullptr, 0));
  }
  void TearDown() override {
    host_.DestroyWindow();
    g_strAppName.Empty();
    std::filesystem::remove(LanguageFile());
    DialogTest::TearDown();
  }
  static std::filesystem::path LanguageFile() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "qvx.ini";
  }
  // Each key pressed and let go on the focused control, the messages taken as the main
  // window's modal loop takes them: the windows from the focus up to the host first.
  void TapKeysAsTheMainWindow(std::initializer_list<int> keys) {
    for (int key : keys) {
      Tap(key);
      MSG msg;
      while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (CWnd::WalkPreTranslateTree(host_.m_hWnd, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
    }
  }
  static void Press(CWnd& page, UINT id) {
    Click(page.GetDlgItem(id)->m_hWnd);
    Pump();
  }
  // A step of WhileModal: waits for a message box, expects its text to hold `text` (any text
  // when empty) and answers it with its first (Yes, OK) or second (No) button.
  static std::function<bool()> BoxStep(const CString& text, int button) {
    return [text, button] {
      auto* box = dynamic_cast<CDlgBaseMessageBoxWndBase*>(CWnd::FromHandle(ActiveWindow()));
      if (box == nullptr) return false;
      if (!text.IsEmpty()) {
        EXPECT_NE(box->GetText().Find(text), -1) << CStringA(box->GetText()).GetString();
      }
      Click(::GetDlgItem(box->m_hWnd, kMessageBoxFirstButton + button));
      return true;
    };
  }
  // Expects a message box with that text and answers it.
  void Answer(const CString& text, int button) { WhileModal({BoxStep(text, button)}); }
  // Seeds the machine from the laptop profile and has the engine scan it.
  void ScanLaptop() {
    ASSERT_NO_FATAL_FAILURE(SetMachineValue("Machine", "Administrator", "1"));
    devices::MachineProfile profile;
    std::string error;
    ASSERT_TRUE(devices::LoadProfileFile(ZX_PROFILES_DIR "/laptop.profile", profile, error)) << error;
    ASSERT_EQ(devices::SeedMachine(profile, devices::SeedOptions{false, "laptop"}, error),
              devices::SeedResult::Seeded)
        << error;
    ASSERT_EQ(owner_.engine.ReportScanEnd(_T("")), kStepCompleted);
    owner_.state.devicesFound = owner_.engine.GetDeviceCount();
    ASSERT_GT(owner_.state.devicesFound, 2);
  }
  static CString Text(CWnd& page, UINT id) {
    CString text;
    page.GetDlgItemText(id, text);
    return text;
  }

  FakeOwner owner_;
  CWnd host_;

  static constexpr char kTexts[] =
      "[Tunevo]\r\nBACKUPDLG1=Back up drivers\r\nBACKUPTAB1DESC1=Choose what to back up.\r\n"
      "BACKUPTAB1DESC2=All drivers\r\nBACKUPTAB1DESC31=Every driver of this computer is saved.\r\n"
      "BACKUPTAB1DESC3=Recommended\r\nBACKUPTAB1DESC32=Chosen drivers\r\n"
      "BACKUPTAB1DESC4=Pick the drivers to save from a list.\r\n"
      "IDS_RECOMMEN_RESTART4=%s needs administrator rights to back up drivers.\r\n"
      "BACKUPDLG4_1=The backup did not finish.\r\nBACKUPDLG4=The backup is complete.\r\n"
      "IDS_SCANDRIVER_CREATBCKUP=Scan your computer first?\r\nIDS_SELECT_BACKUP=Choose a kind of backup.\r\n"
      "IDS_DRIVERS_COUNT=%d drivers\r\nBACKUPTAB4DESC1ALL=All drivers were backed up.\r\n"
      "BACKUPTAB4DESC1=The chosen drivers were backed up.\r\nBACKUPTAB4DESC7=Devices found\r\n"
      "BACKUPTAB4DESC2ALL=Drivers to back up\r\nBACKUPTAB4DESC2=Drivers chosen\r\nBACKUPTAB4DESC8=Backed up\r\n"
      "IDS_DRIVER_UPDATE_STATUS=Not backed up\r\nBACKUPTAB4DESC3=Restore them from the Restore page.\r\n"
      "BACKUPDLG3ALL=Backing up all drivers\r\nBACKUPDLG3=Backing up the chosen drivers\r\n"
      "BACKUPTAB3DESC1=Your drivers are being saved.\r\nBACKUPTAB3DESC2ALL=Every driver goes into one archive.\r\n"
      "BACKUPTAB3DESC2=The chosen drivers go into one archive.\r\nIDS_BCK_START=Copying drivers\r\n"
      "IDS_WAIT=Please wait...\r\nIDS_BCK_COMPRESS=Packing the backup\r\nIDS_COMPRESS_BCKUP=Packing, please wait...\r\n"
      "IDS_WAIT_STOP_BAK=Stopping the backup...\r\nIDS_BCK_COMPLETED=Backup\r\n"
      "IDS_BACKUP_INSUFFI_SPACE=There is not enough free space. Choose another folder?\r\n"
      "IDS_INSUFFI_SPACE=Not enough free space\r\nIDS_BACKUP_ABORT=The backup was aborted.\r\n"
      "IDS_ABORTING_BAK2=The backup was aborted\r\nIDS_NOFOUND_BAKFILE=No backup file was found.\r\n"
      "IDS_UNABLESAVE_BACKUP=The backup could not be written; the disk may be full. No archive was kept.\r\n"
      "IDS_HYPHN_BCKUP=%s Backup-\r\nBACKUPDLG2=Choose drivers\r\n"
      "IDS_SELDRIVE_BAK_NOW=Check the drivers to back up.\r\nSCANTAB3CATEGORY=Category\r\nIDS_VERSION=Version\r\n"
      "IDS_DATE=Date\r\nSCANTAB3PUBLISHER=Publisher\r\nSCANTAB3SIGNER=Signer\r\nSCANTAB3HARDWAREID=Hardware id\r\n"
      "IDS_SELECT_ALL=Select all\r\nIDS_BACKUP_ONETIME=Check at least one driver.\r\n"
      "IDS_RESTART=Restart \r\nIDS_ADMIN_PURPOSE_BCKUP= as administrator to back up drivers?\r\n"
      "RESTOREDLG1=Restore drivers\r\nRESTORETABDESC1=Put drivers back as they were when backed up.\r\n"
      "IDS_DRIVER_BAK_LIST=Your backups\r\nIDS_DTAETIME_BCKUP=Date and time of the backup\r\n"
      "RESTORETAB1DESC1=After a restore that needs it:\r\nRESTORETAB1DESC3=I restart Windows myself\r\n"
      "RESTORETAB1DESC4=Restart Windows by itself\r\nIDS_DRIVER_NOBACKUP=There is no backup yet.\r\n"
      "IDS_SELECT_BACKUP_FILE=Choose a backup.\r\nIDS_CONFIR_DEL_BAKFILE=Delete the chosen backup?\r\n"
      "IDS_UNABLE_DEL_BAKFILE=The backup could not be deleted.\r\nIDS_SUCCESS_DEL_BAKFILE=The backup was deleted.\r\n"
      "RESTOREDLG2=Choose drivers to restore\r\nRESTORETAB2DESC1=Check the drivers to put back.\r\n"
      "RESTORETAB2DESC2=Reading the backup, please wait...\r\nIDS_RESTORE_ONETIME=Check at least one driver to restore.\r\n"
      "IDS_RECOMMEN_RESTART3=%s needs administrator rights to restore drivers.\r\n"
      "IDS_RESTORE_ABORTED=The restore was aborted.\r\n"
      "RESTOREDLG3=Restoring drivers\r\nRESTORETAB3DESC1=The chosen drivers are put back.\r\n"
      "RESTORETAB3DESC2=Do not switch the computer off meanwhile.\r\nRESTORETAB3DESC3=Restoring, please wait...\r\n"
      "IDS_WAIT_RESTORE_DRIVER=Restoring the drivers\r\nIDS_RESTORE_FAILDDRIVER=%d drivers could not be restored.\r\n"
      "RESTOREDLG4=Restore finished\r\nRESTORETAB4DESC1=The restore has ended.\r\nRESTORETAB4DESC2=Drivers chosen\r\n"
      "RESTORETAB4DESC3=Restored\r\nRESTORETAB4DESC4=Not restored\r\n"
      "RESTORETAB4DESC5=Some drivers take effect after a restart.\r\nRESTORETAB4DESC6=Scan again to see them.\r\n"
      "IDS_DRIVERS_COUNT2=%d drivers\r\nIDS_DRIVER_COUNT=%d drivers\r\nIDS_RESTORE_SUCCESS=%d drivers\r\n"
      "IDS_INCOMPLETE_RESTORE=Restart Windows to finish the restore.\r\n"
      "[IDD_BACKUP1_TYPE]\r\nIDC_BTN_BACKUP_NEXT=Next\r\n[IDD_BACKUP4_FINISH]\r\nIDC_BTN_BACKUP_BACK=Back\r\n"
      "[IDD_BACKUP3_BACKUPDRIVER]\r\nIDC_BACKUPTAB2_STOP_BKP=Stop\r\n"
      "[IDD_BACKUP2_HOME]\r\nIDC_BTN_BACKUP_NOW=Back up now\r\n"
      "[QVX]\r\nIDS_CURRPT_ZIP_FILE=The backup is damaged.\r\n"
      "IDS_CURRPTZIP_BACKUP=The backup holds none of the chosen drivers.\r\n"
      "[IDD_RESTORE1_HOME]\r\nIDC_BTN_RESTORE=Restore\r\nIDC_BTN_DELETE=Delete\r\n"
      "[IDD_RESTORE2_SELECT]\r\nIDC_BTN_RESTORE=Restore\r\n[IDD_RESTORE4_FINISH]\r\nIDC_BTN_RESTORE_BACK=Back\r\n";
};
// A wizard test whose engine has scanned the laptop profile, with no step under way, reporting
// to a progress view of the test's own.
class ScannedWizardTest : public WizardTest {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    GetProcessEngine().SetStepCode(kStepIdle);
    SetEngineProgressView(&view_);
    ASSERT_NO_FATAL_FAILURE(ScanLaptop());
  }
  void TearDown() override {
    SetEngineProgressView(nullptr);
    WizardTest::TearDown();
  }
  CEngineProgressView view_;
};

}  // namespace zx::test
