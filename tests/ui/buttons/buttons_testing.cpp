// Helpers of the button tests.
#include "buttons_testing.h"

#include <cstdlib>
#include <string>

#include "machine_fixture.h"
#include "zx/gdi.h"
#include "zx/input.h"
#include "zx/msgbox.h"
#include "zx/windowpaint.h"

namespace zx::test {

BEGIN_MESSAGE_MAP(CButtonParent, CWnd)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CButtonParent::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED) clicks.push_back(LOWORD(wParam));
  return CWnd::OnCommand(wParam, lParam);
}

BOOL CButtonParent::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, kParentColour);
  return TRUE;
}

HBITMAP MakeStrip(int stateWidth, int height, const std::vector<COLORREF>& colours) {
  const int width = stateWidth * static_cast<int>(colours.size());
  std::vector<DWORD> bits(static_cast<size_t>(width * height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const COLORREF c = colours[static_cast<size_t>(x / stateWidth)];
      bits[static_cast<size_t>(y * width + x)] =
          0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
  return ::CreateBitmap(width, height, 1, 32, bits.data());
}

int Picture::Count(COLORREF colour) const {
  int n = 0;
  for (COLORREF p : pixels) n += p == colour;
  return n;
}

int Picture::Near(COLORREF colour, int tolerance) const {
  auto close = [tolerance](int a, int b) { return a - b <= tolerance && b - a <= tolerance; };
  int n = 0;
  for (COLORREF p : pixels)
    n += close(GetRValue(p), GetRValue(colour)) && close(GetGValue(p), GetGValue(colour)) &&
         close(GetBValue(p), GetBValue(colour));
  return n;
}

void ButtonTest::SetUp() {
  MachineTest::SetUp();
  SetClock(&clock_);
  // The language files are not part of these tests: their complaint is answered quietly.
  zx::user::SetMessageBoxResponder([](const zx::user::MessageBoxCall&) { return IDOK; });
  zx::user::ResetInput();
  ASSERT_TRUE(parent_.CreateEx(0, AfxRegisterWndClass(0), u"Buttons", WS_POPUP | WS_VISIBLE, 100, 100,
                               300, 200, nullptr, nullptr));
  Pump();
}

void ButtonTest::TearDown() {
  if (parent_.GetSafeHwnd()) parent_.DestroyWindow();
  Pump();
  SetClock(nullptr);
  zx::user::SetMessageBoxResponder(nullptr);
  MachineTest::TearDown();
}

void ButtonTest::Place(CWnd& button, UINT id, LPCTSTR caption, int x, int y, int w, int h) {
  ASSERT_TRUE(button.CreateEx(0, u"Button", caption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                              CRect(x, y, x + w, y + h), &parent_, id));
}

void ButtonTest::Paint() {
  Pump();
  ::RedrawWindow(parent_.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

Picture ButtonTest::Snap(HWND window) {
  Paint();
  Picture picture;
  TempFolder temp;
  const std::string path = temp.path() + "/window.png";
  if (!zx::user::SaveWindowPng(window, path)) return picture;
  HBITMAP bitmap = zx::gdi::LoadPngBitmap(path);
  std::vector<DWORD> bits;
  SIZE size{};
  if (bitmap && zx::gdi::CopyBitmapPixels(bitmap, bits, size)) {
    picture.width = size.cx;
    picture.height = size.cy;
    for (DWORD p : bits) picture.pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
  }
  if (bitmap) ::DeleteObject(bitmap);
  if (const char* keep = std::getenv("ZX_KEEP_BUTTON_PICTURES")) WriteHostFile(std::string(keep) + "/last.png", ReadHostFile(path));
  return picture;
}

namespace {
POINT CentreOf(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
}  // namespace

void ButtonTest::Hover(HWND window) {
  zx::user::InjectMouse(CentreOf(window), WM_MOUSEMOVE);
  Pump();
  clock_.Advance(5);
  Pump();
}

void ButtonTest::Leave() {
  zx::user::InjectMouse(POINT{102, 298}, WM_MOUSEMOVE);
  Pump();
}

void ButtonTest::Press(HWND window) {
  zx::user::InjectMouse(CentreOf(window), WM_LBUTTONDOWN);
  Pump();
}

void ButtonTest::Release(HWND window) {
  zx::user::InjectMouse(CentreOf(window), WM_LBUTTONUP);
  Pump();
}

int ButtonTest::Pump() {
  int count = 0;
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    ++count;
  }
  return count;
}

}  // namespace zx::test
