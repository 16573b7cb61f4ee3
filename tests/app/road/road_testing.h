// Helpers of the road tests: the main window made in the test process on a fresh machine root
// with the program's texts, its forced ends and elevated restarts counted instead of done, and
// the answers given to the own message boxes it shows.
#pragma once
#include <afxwin.h>

#include <memory>
#include <string>

#include "VelquorApp.h"
#include "VelquorDlg.h"
#include "popups_testing.h"

extern CVelquorApp theApp;

namespace zx::test {

// The main window with its forced end and its elevated restart noted instead of done.
class TestVelquorDlg : public CVelquorDlg {
 public:
  using CVelquorDlg::CVelquorDlg;
  int forcedEnds = 0;
  CString elevatedWith;
  BOOL elevationStarts = TRUE;

 protected:
  void EndProcessNow() override { ++forcedEnds; }
  BOOL StartElevated(const CString& parameters) override {
    elevatedWith = parameters;
    return elevationStarts;
  }
};

class RoadTest : public PopupTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Makes and shows the main window (machine.ini written first by the test when it needs one).
  void OpenMainWindow();
  // The requests to restart or shut Windows down, one line each.
  std::string ShutdownRequests() const;

  tagAppDlgSettings settings_;
  std::unique_ptr<TestVelquorDlg> main_;
};

}  // namespace zx::test
