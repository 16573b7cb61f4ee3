// DragAcceptFiles: the WS_EX_ACCEPTFILES style set and cleared, the other styles kept.
#include <gtest/gtest.h>

#include "shelldrop.h"
#include "user_testing.h"

namespace zx::test {
namespace {

using DroppedFiles = UserTest;

TEST_F(DroppedFiles, AcceptingFilesIsAnExtendedStyle) {
  const HWND window = MakeWindow();
  SetWindowLongPtrW(window, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
  DragAcceptFiles(window, TRUE);
  EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE), static_cast<LONG_PTR>(WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES));
  DragAcceptFiles(window, FALSE);
  EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE), static_cast<LONG_PTR>(WS_EX_TOOLWINDOW));
  DragAcceptFiles(nullptr, TRUE);  // nothing to mark
  DragFinish(nullptr);
}

}  // namespace
}  // namespace zx::test
