// The scheduler's main window in a test: a fresh machine root whose user is an administrator,
// local time in UTC on the test clock, the language texts its windows read, and helpers that
// press its controls and answer its message boxes.
#pragma once
#include <gtest/gtest.h>
#include <objbase.h>
#include <winuser.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "NewSchedulerDlg.h"
#include "dialogs_testing.h"
#include "job_triggers.h"
#include "profileapi.h"
#include "zx/pathmap.h"

namespace zx::test {

// The pane's description texts are left out, as in the main window's reference picture: the
// language texts read once stay with the process.
inline constexpr char kSchedulerTexts[] =
    "[NEWSCHEDULER]\r\nIDS_SCHEDULE_SCAN=Scheduled scan\r\nIDS_APPLY=Apply\r\n"
    "IDS_SCHEDULE2=Schedule a scan\r\nIDS_CREATESCHED_AUTOSCAN=The program scans your drivers on its own.\r\n"
    "IDS_SELECT_SCHEDTYPE=How often:\r\nIDS_DATETIME=Date and time\r\nIDS_WEEKDAYS=Days of the week\r\n"
    "IDS_RUNONCE=Once\r\nIDS_EVERYDAY=Every day\r\nIDS_EVERYWEEK=Every week\r\nIDS_DONTSCHEDULE=Not scheduled\r\n"
    "IDS_SUNDAY=Sun\r\nIDS_MONDAY=Mon\r\nIDS_TUESDAY=Tue\r\nIDS_WEDNESDAY=Wed\r\nIDS_THURSDAY=Thu\r\n"
    "IDS_FRIDAY=Fri\r\nIDS_SATURDAY=Sat\r\nSCAN_NOT_SCHEDLUE=No scan is scheduled.\r\n"
    "IDS_SETTINGS_SAVED=The schedule is saved.\r\n"
    "IDS_TOOLNAME=Program\r\nIDS_DATE=Next run\r\nIDS_EVENT=Action\r\nIDS_CLOSE=Close\r\n"
    "[IDD_DLG_VIEW_ALL_SCHEDULES]\r\nIDC_BTN_CLOSE_BTM=Close\r\n";

class SchedulerFixture : public DialogTest {
 protected:
  static std::filesystem::path ProgramFile(const char* name) {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / name;
  }
  void SetUp() override {
    DialogTest::SetUp();
    std::ofstream(ProgramFile("qvx.ini"), std::ios::app) << kSchedulerTexts;
    std::ofstream(ProgramFile("lang.lng")) << "[LANGUAGE]\r\n[ENGLISH]\r\n";
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    const std::u16string ini = zx::path::HostToWindows(root() + "/machine.ini");
    WritePrivateProfileStringW(u"Machine", u"Administrator", u"1", ini.c_str());
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  }
  void TearDown() override {
    if (dialog_.GetSafeHwnd()) dialog_.DestroyWindow();
    Pump();
    CoUninitialize();
    DialogTest::TearDown();
  }
  void OpenMainWindow() {
    ASSERT_TRUE(dialog_.Create(CNewSchedulerDlg::kTemplateId, nullptr));
    dialog_.ShowWindow(SW_SHOW);
    Pump();
  }
  std::string JobPath() const { return root() + "/drive_c/Windows/Tasks/ZEPHRINKX-ZEPHRINKXTunevo.job"; }
  void Press(CWnd& parent, UINT id) {
    CWnd* control = parent.GetDlgItem(id);
    ASSERT_NE(control, nullptr) << id;
    Click(control->GetSafeHwnd());
    Pump();
  }
  // Presses the control and answers the message box it shows with its first button; the
  // box's text.
  CString PressAndAnswer(CWnd& parent, UINT id) {
    CString shown;
    AnswerBox(0, &shown);
    Press(parent, id);
    ExpectAllStepsRan();
    return shown;
  }

  CNewSchedulerDlg dialog_;
};

}  // namespace zx::test
