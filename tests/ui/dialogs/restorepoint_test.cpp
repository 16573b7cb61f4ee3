// The restore-point wait dialog: refused through DoModal; through Run it shows the wait text
// formatted with the product name, makes the point about 512 ms after it opens and closes
// about 512 ms after the point is made.
#include <atomic>
#include <chrono>
#include <thread>

#include "DlgCreateRestorePoint.h"
#include "RestorePoint.h"
#include "dialogs_testing.h"

namespace zx::test {
namespace {

using RestorePointWait = DialogTest;

TEST_F(RestorePointWait, DoModalIsRefusedAndShowsNothing) {
  CDlgCreateRestorePoint dialog;
  EXPECT_EQ(dialog.DoModal(), static_cast<INT_PTR>(E_NOTIMPL));
  EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST_F(RestorePointWait, TheWaitTextIsFormattedWithTheProductName) {
  EXPECT_EQ(ShownRestorePointWaitText(), u"Zephrin Tunevo is making a restore point. Please wait.");
}

TEST_F(RestorePointWait, TheDialogMatchesTheReference) {
  CDlgCreateRestorePoint dialog;
  WhileModal({[&] {
                dialog.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
                return true;
              },
              [&] {
                ExpectWindowMatches(dialog.GetSafeHwnd(), "restore_point_wait.png");
                dialog.EndDialog(IDCANCEL);
                return true;
              }});
  dialog.Run(u"Before the update");
  ExpectAllStepsRan();
}

TEST_F(RestorePointWait, ThePointIsMadeAfter512MsAndTheDialogClosesAfterAnother512) {
  // The point settles for a while on the clock; a second thread keeps the clock going.
  std::atomic<bool> ticking{false};
  std::atomic<bool> stop{false};
  std::thread ticker([&] {
    while (!stop) {
      if (ticking) clock_.Advance(1);
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  });
  CDlgCreateRestorePoint dialog;
  SYSTEMTIME made{};
  ULONGLONG shownAt = 0, pointSeenAt = 0;
  bool noPointEarly = false;
  WhileModal({[&] {
                shownAt = ::GetTickCount64();
                clock_.Advance(500);
                noPointEarly = !LoadRestorePointTime(made);
                ticking = true;
                return true;
              },
              [&] {
                if (!LoadRestorePointTime(made)) return false;
                pointSeenAt = ::GetTickCount64();
                return true;
              }});
  const INT_PTR result = dialog.Run(u"Before the update");
  ticking = false;
  const ULONGLONG endedAt = ::GetTickCount64();
  stop = true;
  ticker.join();
  EXPECT_EQ(result, IDOK);
  ExpectAllStepsRan();
  EXPECT_TRUE(noPointEarly);
  // Made (512 ms after opening, then 512 ms of settling) and closed 512 ms later. The ticker
  // keeps the clock going while this thread may wait for the machine: the upper bounds leave
  // room for a busy one.
  EXPECT_GE(pointSeenAt - shownAt, 1024u);
  EXPECT_LT(pointSeenAt - shownAt, 1024u + 1500u);
  EXPECT_GE(endedAt - pointSeenAt, 500u);
  EXPECT_LT(endedAt - pointSeenAt, 512u + 1500u);
}

}  // namespace
}  // namespace zx::test
