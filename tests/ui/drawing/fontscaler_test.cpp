// CDlgFontScaler: the template's font (or Tahoma 8 points), the window and its controls laid
// out in that font's dialog units, the pass ending at the first control the window lacks,
// child pages kept in place, and what restoring gives back.
#include "DlgFontScaler.h"
#include "drawing_support.h"

namespace zx::test {
namespace {

struct BaseUnits {
  int x = 0;
  int y = 0;
};

BaseUnits Measure(HWND window, HFONT font) {
  BaseUnits units;
  const HDC dc = GetDC(window);
  const HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  SIZE extent{};
  GetTextMetricsW(dc, &metrics);
  GetTextExtentPoint32W(dc, u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", 52, &extent);
  units.x = (extent.cx / 26 + 1) / 2;
  units.y = metrics.tmHeight;
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return units;
}

int Round(double v) { return static_cast<int>(v + 0.5); }

CRect ChildRect(HWND child) {
  CRect rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

LOGFONTW FontOf(HFONT font) {
  LOGFONTW record{};
  GetObjectW(font, sizeof(record), &record);
  return record;
}

// A dialog-like window class that keeps the font it is given, as dialogs do.
LRESULT CALLBACK KeepFontProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETFONT) {
    SetWindowLongPtrW(window, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
    return 0;
  }
  if (message == WM_GETFONT) return GetWindowLongPtrW(window, GWLP_USERDATA);
  return DefWindowProcW(window, message, wParam, lParam);
}

LPCWSTR DialogClass() {
  static const bool registered = [] {
    WNDCLASSW cls{};
    cls.lpfnWndProc = KeepFontProc;
    cls.lpszClassName = u"ZxFontScalerTestDialog";
    return RegisterClassW(&cls) != 0;
  }();
  return registered ? u"ZxFontScalerTestDialog" : nullptr;
}

class FontScaler : public DrawingTest {
 protected:
  HWND MakeWindow(DWORD style, HWND parent, int x, int y) {
    return CreateWindowExW(0, DialogClass(), u"Dialog", style | WS_VISIBLE, x, y, 50, 50,
                           parent, nullptr, nullptr, nullptr);
  }
  HWND AddChild(HWND parent, int id) {
    return CreateWindowExW(0, u"Static", u"x", WS_CHILD | WS_VISIBLE, 1, 1, 5, 5, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }
  void TearDown() override {
    for (HWND w : windows_) DestroyWindow(w);
    DrawingTest::TearDown();
  }
  HWND Keep(HWND w) {
    windows_.push_back(w);
    return w;
  }
  HINSTANCE Module() { return GetModuleHandleW(nullptr); }
  std::vector<HWND> windows_;
};

TEST_F(FontScaler, TemplateWithoutFontGetsTahomaEightPoints) {
  const HWND dlg = Keep(MakeWindow(WS_POPUP, nullptr, 10, 10));
  CDlgFontScaler scaler;
  ASSERT_TRUE(scaler.Apply(Module(), dlg, 2001, 96.0));
  const LOGFONTW font = FontOf(scaler.GetFont());
  EXPECT_EQ(font.lfHeight, -11);
  EXPECT_EQ(font.lfWeight, 400);
  EXPECT_EQ(font.lfItalic, 0);
  EXPECT_EQ(std::u16string(font.lfFaceName), u"Tahoma");
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(dlg, WM_GETFONT, 0, 0)), scaler.GetFont());
}

TEST_F(FontScaler, TemplateFontAtTheGivenResolution) {
  const HWND dlg = Keep(MakeWindow(WS_POPUP, nullptr, 10, 10));
  CDlgFontScaler scaler;
  ASSERT_TRUE(scaler.Apply(Module(), dlg, 2002, 96.0));
  LOGFONTW font = FontOf(scaler.GetFont());
  EXPECT_EQ(font.lfHeight, -12);  // 9 points at 96 dpi
  EXPECT_EQ(font.lfWeight, 700);
  EXPECT_EQ(font.lfItalic, 1);
  EXPECT_EQ(std::u16string(font.lfFaceName), u"Segoe UI");
  ASSERT_TRUE(scaler.Apply(Module(), dlg, 2002, 144.0));  // applied again: restored first
  font = FontOf(scaler.GetFont());
  EXPECT_EQ(font.lfHeight, -18);
}

TEST_F(FontScaler, WindowAndControlsInDialogUnitsOfTheFont) {
  const HWND dlg = Keep(MakeWindow(WS_POPUP, nullptr, 30, 40));
  const HWND one = AddChild(dlg, 10), two = AddChild(dlg, 20), three = AddChild(dlg, 30);
  CDlgFontScaler scaler;
  ASSERT_TRUE(scaler.Apply(Module(), dlg, 2001, 96.0));
  const BaseUnits u = Measure(dlg, scaler.GetFont());
  ASSERT_GT(u.x, 0);
  ASSERT_GT(u.y, 0);
  CRect window;
  GetWindowRect(dlg, &window);
  EXPECT_EQ(window.left, 30);
  EXPECT_EQ(window.top, 40);
  EXPECT_EQ(window.Width(), Round(200 * u.x / 4.0));
  EXPECT_EQ(window.Height(), Round(100 * u.y / 8.0));
  EXPECT_EQ(ChildRect(one), CRect(Round(4 * u.x / 4.0), Round(8 * u.y / 8.0),
                                  Round(4 * u.x / 4.0) + Round(40 * u.x / 4.0),
                                  Round(8 * u.y / 8.0) + Round(10 * u.y / 8.0)));
  EXPECT_EQ(ChildRect(two).left, Round(50 * u.x / 4.0));
  EXPECT_EQ(ChildRect(three).Width(), Round(100 * u.x / 4.0));
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(three, WM_GETFONT, 0, 0)), scaler.GetFont());
}

TEST_F(FontScaler, PassEndsAtTheFirstControlTheWindowLacks) {
  const HWND dlg = Keep(MakeWindow(WS_POPUP, nullptr, 0, 0));
  const HWND one = AddChild(dlg, 10), three = AddChild(dlg, 30);  // no control 20
  CDlgFontScaler scaler;
  ASSERT_TRUE(scaler.Apply(Module(), dlg, 2001, 96.0));
  EXPECT_NE(ChildRect(one), CRect(1, 1, 6, 6));
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(one, WM_GETFONT, 0, 0)), scaler.GetFont());
  EXPECT_EQ(ChildRect(three), CRect(1, 1, 6, 6));
  EXPECT_NE(reinterpret_cast<HFONT>(SendMessageW(three, WM_GETFONT, 0, 0)), scaler.GetFont());
}

TEST_F(FontScaler, ControlsOutOfOrderAreLaidOutUpToTheMismatch) {
  const HWND dlg = Keep(MakeWindow(WS_POPUP, nullptr, 0, 0));
  const HWND two = AddChild(dlg, 20), one = AddChild(dlg, 10);
  CDlgFontScaler scaler;
  ASSERT_TRUE(scaler.Apply(Module(), dlg, 2001, 96.0));
  EXPECT_NE(ChildRect(one), CRect(1, 1, 6, 6));  // 10 found after 20
  EXPECT_EQ(ChildRect(two), CRect(1, 1, 6, 6));  // 20 is looked for after 10 only
}

TEST_F(FontScaler, ChildPageStaysWhereItIs) {
  const HWND host = Keep(MakeWindow(WS_POPUP, nullptr, 100, 100));
  const HWND page = MakeWindow(WS_CHILD, host, 20, 30);
  CDlgFontScaler scaler;
  ASSERT_TRUE(scaler.Apply(Module(), page, 2003, 96.0));
  const BaseUnits u = Measure(page, scaler.GetFont());
  const CRect rect = ChildRect(page);
  EXPECT_EQ(rect.left, 20);
  EXPECT_EQ(rect.top, 30);
  EXPECT_EQ(rect.Width(), Round(120 * u.x / 4.0));
}

TEST_F(FontScaler, RestoreGivesTheOldFontBack) {
  const HWND dlg = Keep(MakeWindow(WS_POPUP, nullptr, 0, 0));
  const HWND one = AddChild(dlg, 10);
  const HFONT old = CreateFontW(-20, 0, 0, 0, 400, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Arial");
  SendMessageW(dlg, WM_SETFONT, reinterpret_cast<WPARAM>(old), FALSE);
  SendMessageW(one, WM_SETFONT, reinterpret_cast<WPARAM>(old), FALSE);
  {
    CDlgFontScaler scaler;
    ASSERT_TRUE(scaler.Apply(Module(), dlg, 2002, 96.0));
    EXPECT_NE(reinterpret_cast<HFONT>(SendMessageW(one, WM_GETFONT, 0, 0)), old);
    scaler.Restore();
    EXPECT_EQ(scaler.GetFont(), nullptr);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(dlg, WM_GETFONT, 0, 0)), old);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(one, WM_GETFONT, 0, 0)), old);
    ASSERT_TRUE(scaler.Apply(Module(), dlg, 2002, 96.0));
  }  // the destructor restores as well
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(one, WM_GETFONT, 0, 0)), old);
  DeleteObject(old);
}

TEST_F(FontScaler, MissingTemplateChangesNothing) {
  const HWND dlg = Keep(MakeWindow(WS_POPUP, nullptr, 5, 5));
  CDlgFontScaler scaler;
  EXPECT_FALSE(scaler.Apply(Module(), dlg, 2999, 96.0));
  EXPECT_FALSE(scaler.Apply(Module(), nullptr, 2001, 96.0));
  EXPECT_EQ(scaler.GetFont(), nullptr);
  CRect rect;
  GetWindowRect(dlg, &rect);
  EXPECT_EQ(rect, CRect(5, 5, 55, 55));
}

}  // namespace
}  // namespace zx::test
