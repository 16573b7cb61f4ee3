// Helpers of the road tests: the main window made in the test process on a fresh machine root
// with the program's texts, and the own message boxes it shows.
#pragma once
#include <afxwin.h>

#include <memory>
#include <string>

#include "popups_testing.h"
#include "velquor_testing.h"

namespace zx::test {

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
