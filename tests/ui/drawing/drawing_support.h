// Helpers of the drawing tests: a fixture with a fresh machine root, GDI+ started and the
// resource library qvxres loaded as the class library's resource module, and memory
// surfaces whose pixels the tests read back.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "afxwin.h"
#include "gdiplus.h"
#include "libloaderapi.h"
#include "machine_fixture.h"
#include "zx/pathmap.h"

namespace zx::test {

class DrawingTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&gdiplus_, &input, nullptr), Gdiplus::Ok);
    const std::u16string path = path::HostToWindows(ZX_QVXRES_FILE);
    library_ = LoadLibraryW(path.c_str());
    ASSERT_NE(library_, nullptr);
    previous_ = AfxGetResourceHandle();
    AfxSetResourceHandle(library_);
  }
  void TearDown() override {
    AfxSetResourceHandle(previous_);
    FreeLibrary(library_);
    Gdiplus::GdiplusShutdown(gdiplus_);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    MachineTest::TearDown();
  }
  static void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }

  HMODULE library_ = nullptr;
  HINSTANCE previous_ = nullptr;
  ULONG_PTR gdiplus_ = 0;
};

// A memory DC over a bitmap of its own, filled with one colour.
class Surface {
 public:
  Surface(int width, int height, COLORREF fill) {
    dc.CreateCompatibleDC(nullptr);
    CDC screen;
    screen.Attach(::GetDC(nullptr));
    bitmap.CreateCompatibleBitmap(&screen, width, height);
    ::ReleaseDC(nullptr, screen.Detach());
    old_ = dc.SelectObject(bitmap.GetSafeHandle());
    dc.FillSolidRect(0, 0, width, height, fill);
  }
  ~Surface() {
    dc.SelectObject(old_);
    dc.DeleteDC();
  }
  COLORREF At(int x, int y) { return ::GetPixel(dc.GetSafeHdc(), x, y); }

  CDC dc;
  CBitmap bitmap;

 private:
  HGDIOBJ old_ = nullptr;
};

}  // namespace zx::test
