// The busy animation of the pages (the program's clip 1399, which this test program carries
// too) and the class picture of a device row.
#include <gtest/gtest.h>
#include <objbase.h>
#include <winuser.h>

#include "DeviceAnimation.h"

namespace {

TEST(DeviceAnimation, TheBusyClipPlaysWithoutEndUntilStopped) {
  const HWND parent = CreateWindowExW(0, _T("STATIC"), _T(""), WS_POPUP, 0, 0, 100, 60, nullptr, nullptr,
                                      nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  CAnimateCtrl animation;
  ASSERT_TRUE(animation.Create(WS_CHILD | ACS_CENTER, CRect(0, 0, 40, 20), CWnd::FromHandle(parent), 1179));
  EXPECT_FALSE(animation.GetStyle() & WS_VISIBLE);
  ASSERT_TRUE(PlayAnimation(animation));
  EXPECT_TRUE(animation.IsPlaying());
  EXPECT_TRUE(animation.GetStyle() & WS_VISIBLE);
  StopAnimation(animation);
  EXPECT_FALSE(animation.IsPlaying());
  // Closed: nothing is left to play.
  EXPECT_FALSE(animation.Play(0, 0xFFFF, 1));
  animation.DestroyWindow();
  DestroyWindow(parent);
}

TEST(DeviceAnimation, ClassImageOfAGuidText) {
  SP_CLASSIMAGELIST_DATA list{};
  list.cbSize = sizeof list;
  ASSERT_TRUE(SetupDiGetClassImageList(&list));
  const TCHAR* display = _T("{4d36e968-e325-11ce-bfc1-08002be10318}");
  GUID guid{};
  ASSERT_EQ(CLSIDFromString(display, &guid), S_OK);
  int expected = -1;
  ASSERT_TRUE(SetupDiGetClassImageIndex(&list, &guid, &expected));
  EXPECT_EQ(GetClassImageIndex(display, &list), expected);
  EXPECT_GE(expected, 0);
  for (const TCHAR* bad : {_T(""), _T("Display"), _T("{4d36e968-e325-11ce-bfc1}")})
    EXPECT_EQ(GetClassImageIndex(bad, &list), -1) << CStringA(bad).GetString();
  EXPECT_EQ(GetClassImageIndex(nullptr, &list), -1);
  SetupDiDestroyClassImageList(&list);
}

}  // namespace
