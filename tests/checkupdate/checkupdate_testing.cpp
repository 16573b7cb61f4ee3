// The update checker tests' fixture and window stand-in.
#include "checkupdate_testing.h"

#include <winbase.h>
#include <winuser.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "DlgBaseMessageBoxWndBase.h"
#include "DlgCheckForUpdate.h"
#include "Registry.h"
#include "zx/machine.h"

namespace zx::test {
namespace {

constexpr const char* kTextFiles[] = {"qvx.ini", "client.ini", "lang.lng", "checkupdate.ini"};

// The addresses the checker queries and the message box buttons, in the shared section.
constexpr char kSharedTexts[] =
    "[QVX]\r\n"
    "IDS_CHECK_UPDATE_URL_APP=http://update.zephrin-tunevo.example/updatekx/c4u.cgi?currentapplicationid=%s\r\n"
    "IDS_CHECK_UPDATE_URL_DB=http://update.zephrin-tunevo.example/updatekx/c4udb.cgi?"
    "currentapplicationid=%s&currentdbversionid=%d\r\n"
    // A size text.
    "IDS_PHY_MEM_KB_1=%d KB\r\n"
    // The own message box's buttons.
    "IDS_OK=OK\r\nIDS_CANCEL=Cancel\r\nIDS_YES=Yes\r\nIDS_NO=No\r\nIDS_CHK_MSGBOX=Do not show this again\r\n";

}  // namespace

CString RecordingView::GetText(LPCTSTR stringId) {
  const CString id = stringId;
  if (id == _T("IDS_APP_UPDATE_DIR_NAME")) return _T("Updates");
  if (id == _T("IDS_CANNOT_CONNECT")) return _T("%s cannot connect to the Internet.");
  if (id == _T("IDS_DOWNLOAD_DLL_NOTFOUND")) return _T("%s cannot find its download library.");
  if (id == _T("Step4AskBeforeInstallAppUpdates")) return _T("Close %s and install?");
  if (id == _T("IDS_SETUP_NOT_VERIFIED")) return CString();  // not in the tables: the built-in text
  return id;  // the id itself stands for the text
}

int RecordingView::ShowMessage(const CString& text, UINT type, BOOL) {
  messages.push_back({std::u16string(text.GetString()), type});
  return answer;
}

void RecordingView::ShowCheckResults(int result, BOOL program, BOOL database) {
  rows = (program ? 1 : 0) + (database ? 1 : 0);
  stage = result == 0 ? 6 : rows == 0 ? 4 : 1;
}

void RecordingView::ReadChosenUpdates(BOOL& program, BOOL& database) {
  program = rows > 0 && chooseProgram;
  database = rows > 0 && chooseDatabase;
  stage = rows > 0 ? 2 : 5;
}

void CheckUpdateTest::SetUp() {
  MachineTest::SetUp();
  // Programs the checker starts find this test's machine through the environment.
  setenv("ZX_MACHINE_ROOT", root().c_str(), 1);
  folder_ = zx::machine::ProgramFolder();
  for (const char* name : kTextFiles) std::remove((folder_ + "/" + name).c_str());
  RemoveDatabaseArchives();
  WriteHostFile(folder_ + "/lang.lng", "[LANGUAGE]\r\n[ENGLISH]\r\n");
  WriteHostFile(folder_ + "/qvx.ini", kSharedTexts);
  SetMachineValue("Network", "Connection", "lan");
}

void CheckUpdateTest::TearDown() {
  for (const char* name : kTextFiles) std::remove((folder_ + "/" + name).c_str());
  RemoveDatabaseArchives();
  unsetenv("ZX_MACHINE_ROOT");
}

void CheckUpdateTest::RemoveDatabaseArchives() {
  std::error_code error;
  std::filesystem::remove(DatabaseArchive(), error);
  std::filesystem::remove_all(folder_ + "/" + kStagingFolder, error);
}

bool CheckUpdateTest::NothingStaged() const {
  std::error_code error;
  return std::filesystem::is_empty(folder_ + "/" + kStagingFolder, error) || error;
}

HWND StoredCheckerHandle() {
  CString path;
  GetProductRegistryKey(path);
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return nullptr;
  DWORD handle = 0, size = sizeof(handle);
  const LONG read =
      RegQueryValueExW(key, CDlgCheckForUpdate::kHandleValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&handle), &size);
  RegCloseKey(key);
  return read == ERROR_SUCCESS ? reinterpret_cast<HWND>(static_cast<UINT_PTR>(handle)) : nullptr;
}

bool AnswerBoxOfProcess(DWORD process, HWND except, UINT button) {
  struct Look {
    HWND except;
    DWORD process;
    HWND box = nullptr;
  } look{except, process};
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* l = reinterpret_cast<Look*>(param);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (window == l->except || owner != l->process || !::IsWindowVisible(window)) return TRUE;
        l->box = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&look));
  if (look.box == nullptr) return false;
  ::PostMessageW(look.box, WM_COMMAND, MAKEWPARAM(kMessageBoxFirstButton + button, BN_CLICKED), 0);
  return true;
}

}  // namespace zx::test
