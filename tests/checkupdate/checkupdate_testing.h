// Test support of the update checker: a fresh machine root per test with the texts the checker
// reads beside the test's copy of the shared library, and a window stand-in that records what
// the engine shows and answers its questions.
#pragma once
#include <afx.h>

#include <string>
#include <vector>

#include "UpdateCheckView.h"
#include "machine_fixture.h"

namespace zx::test {

// Records every call of the engine; questions are answered with `answer`.
class RecordingView : public IUpdateCheckView {
 public:
  struct Message {
    std::u16string text;
    UINT type;
  };
  CString GetText(LPCTSTR stringId) override;
  int ShowMessage(const CString& text, UINT type, BOOL ownerIsParent) override;
  void ShowProgress(const CString& status, int percent, ULONGLONG, ULONGLONG) override {
    lastStatus = status;
    lastPercent = percent;
  }
  BOOL IsStopping() override { return stopping; }
  BOOL IsCancelled() override { return FALSE; }
  void CloseChecker(UINT) override { ++closes; }
  void EndProgram() override { ended = true; }
  BOOL NotifyParentWindow(int code) override {
    parentCodes.push_back(code);
    return TRUE;
  }
  int GetStage() override { return stage; }
  void ArmForcedEnd() override {}
  void StopCheckingAnimation() override {}
  void ShowUpdateFound() override { updateFound = true; }
  void ShowCheckResults(int result, BOOL program, BOOL database) override;
  void MakeVisible() override {}
  void ReadChosenUpdates(BOOL& program, BOOL& database) override;
  void ShowDownloadResult(BOOL done) override { stage = done ? 5 : 6; }
  void ShowInstalling() override { stage = 7; }
  void StartInstallTimer() override { installTimer = true; }
  void OnBtnCancel() override { cancelled = true; }

  std::vector<Message> messages;
  int answer = IDYES;
  BOOL stopping = FALSE;
  int closes = 0;
  bool ended = false;
  bool updateFound = false;
  bool installTimer = false;
  bool cancelled = false;
  int stage = 0;
  int lastPercent = -1;
  CString lastStatus;
  BOOL chooseProgram = TRUE;
  BOOL chooseDatabase = TRUE;
  int rows = 0;
  std::vector<int> parentCodes;
};

class CheckUpdateTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // The program folder of the tests (the copies of the libraries and the program).
  const std::string& ProgramFolder() const { return folder_; }
  // The database archive in use, in the program folder shared by the tests: it and the folder
  // new archives are fetched into are removed before and after each test.
  std::string DatabaseArchive() const { return folder_ + "/Completedatabase.zip"; }
  void RemoveDatabaseArchives();
  // True when no archive is left half way or unconfirmed in the fetching folder.
  bool NothingStaged() const;
  static constexpr const char* kStagingFolder = "DBUpdates";

 private:
  std::string folder_;
};

// The window handle the checker keeps as the value CFUHWND; null while the value is absent.
HWND StoredCheckerHandle();

// Presses a button (0: the first, Yes or OK) of a visible window of another process other
// than `except`: the own message box it shows. False while it shows none.
bool AnswerBoxOfProcess(DWORD process, HWND except, UINT button);

}  // namespace zx::test
