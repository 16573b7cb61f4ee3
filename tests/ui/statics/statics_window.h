// Helpers of the statics tests: a parent window that paints a striped picture, a fixture with
// a fresh machine root and a still clock, and pixels read back from a window's surface.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afxwin.h"
#include "machine_fixture.h"
#include "snapshot_compare.h"
#include "zx/clock.h"
#include "zx/gdi.h"
#include "zx/windowpaint.h"

namespace zx::test {

// Vertical stripes of these colours, 10 pixels each, painted at every erase.
inline constexpr COLORREF kStripes[] = {0x3080E0, 0xF0D070, 0x60B040};

class StripedParent : public CWnd {
 public:
  BOOL Make(int x, int y, int width, int height) {
    return CreateEx(0, AfxRegisterWndClass(0), u"Parent", WS_POPUP | WS_VISIBLE, x, y, width, height,
                    nullptr, nullptr);
  }

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  // Statics are drawn with a transparent background and no brush, as in the system's dialogs.
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  DECLARE_MESSAGE_MAP()
};

class StaticsTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    SetClock(&clock_);
  }
  void TearDown() override {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    SetClock(nullptr);
    MachineTest::TearDown();
  }
  static void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  ManualClock clock_;
};

// The window's pixels (0x00RRGGBB, rows top-down) as its top-level surface holds them.
inline std::vector<DWORD> WindowPixels(HWND window, SIZE& size) {
  TempFolder folder;
  const std::string path = folder.path() + "/window.png";
  std::vector<DWORD> pixels;
  if (!user::SaveWindowPng(window, path)) return pixels;
  const HBITMAP bitmap = gdi::LoadPngBitmap(path);
  gdi::CopyBitmapPixels(bitmap, pixels, size);
  DeleteObject(bitmap);
  for (DWORD& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

inline DWORD Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// Compares the window with the reference picture `name` (ZX_UPDATE_SNAPSHOTS=1 writes it).
inline void ExpectMatchesSnapshot(HWND window, const std::string& name) {
  TempFolder temp;
  const std::string drawn = temp.path() + "/" + name;
  ASSERT_TRUE(user::SaveWindowPng(window, drawn));
  ExpectSameAsReference(drawn, std::string(ZX_UI_SNAPSHOTS) + "/" + name, name.substr(0, name.find('.')));
}

}  // namespace zx::test
