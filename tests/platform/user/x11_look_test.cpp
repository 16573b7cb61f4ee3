// The look the X11 presenter gives its windows, read back from an Xvfb server: a demo program
// (this test program started again in a demo role) shows a popup with a round window region,
// a UTF-8 caption and two icons, and a layered window with a caption and half alpha. The test
// reads the X windows' Shape rectangles, _NET_WM_NAME and WM_NAME, _NET_WM_ICON,
// _MOTIF_WM_HINTS and _NET_WM_WINDOW_OPACITY, and a screenshot of the root window for the
// region's cut corners; then it has the demo rename the popup, drop its region and make the
// layered window opaque, and reads the properties again. Skipped when Xvfb is missing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "user_testing.h"
#include "windraw.h"
#include "wingdi.h"
#include "wininput.h"
#include "xvfb_testing.h"
#include "zx/gdi.h"
#include "zx/windowpaint.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

namespace zx::test {
namespace {

constexpr const char* kRole = "ZX_PRESENTER_LOOK_DEMO";
constexpr RECT kShapedRect{40, 40, 240, 160};  // 200 x 120
constexpr RECT kLayeredRect{300, 200, 500, 320};
constexpr int kCorner = 60;  // the region's round corners' ellipse
constexpr COLORREF kFill = RGB(40, 120, 200);
constexpr COLORREF kBigIcon = RGB(200, 30, 30);
constexpr COLORREF kSmallIcon = RGB(30, 160, 60);
const char16_t* const kShapedCaption = u"Zephrin \u00e9t\u00e9 \u2713";
const char* const kShapedUtf8 = "Zephrin \xc3\xa9t\xc3\xa9 \xe2\x9c\x93";
const char* const kShapedLatin1 = "Zephrin \xe9t\xe9 ?";
const char* const kLayeredCaption = "Layered look";
const char* const kRenamed = "Renamed look";

// ---- The demo program -----------------------------------------------------------------

LRESULT CALLBACK FillProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
  PaintFlat(window, kFill);
  return 0;
}

HICON FlatIcon(int size, COLORREF colour) {
  HBITMAP image = gdi::CreateSurfaceBitmap(size, size);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, image);
  FillColour(dc, RECT{0, 0, size, size}, colour);
  SelectObject(dc, old);
  DeleteDC(dc);
  HICON icon = gdi::CreateIconFromBitmap(image, true, POINT{0, 0});
  DeleteObject(image);
  return icon;
}

HWND Show(const RECT& r, DWORD style, DWORD exStyle, const char16_t* caption) {
  return CreateWindowExW(exStyle, u"ZxLookDemo", caption, style | WS_VISIBLE, r.left, r.top, r.right - r.left,
                         r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
}

int PlayDemo() {
  if (!RegisterDemoClass(u"ZxLookDemo", FillProc)) return 2;
  const HWND shaped = Show(kShapedRect, WS_POPUP, 0, kShapedCaption);
  const HWND layered = Show(kLayeredRect, WS_OVERLAPPED | WS_CAPTION, WS_EX_LAYERED, u"Layered look");
  if (!shaped || !layered) return 3;
  const LONG width = kShapedRect.right - kShapedRect.left, height = kShapedRect.bottom - kShapedRect.top;
  SetWindowRgn(shaped, CreateRoundRectRgn(0, 0, width + 1, height + 1, kCorner, kCorner), TRUE);
  HICON big = FlatIcon(32, kBigIcon), small = FlatIcon(16, kSmallIcon);
  SendMessageW(shaped, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageW(shaped, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  SetLayeredWindowAttributes(layered, 0, 128, LWA_ALPHA);
  UpdateWindow(shaped);
  UpdateWindow(layered);
  if (!user::PresenterRunning()) return 4;
  if (!user::PresenterFlush(10000)) return 5;
  Say("shown");
  const int end = ServeUntilInputEnds([&](char) {
    SetWindowTextW(shaped, u"Renamed look");
    SetWindowRgn(shaped, nullptr, TRUE);
    SetLayeredWindowAttributes(layered, 0, 255, LWA_ALPHA);
    UpdateWindow(shaped);
    UpdateWindow(layered);
    Say(user::PresenterFlush(10000) ? "changed" : "stuck");
  });
  DestroyWindow(shaped);
  DestroyWindow(layered);
  DestroyIcon(big);
  DestroyIcon(small);
  return end;
}

[[maybe_unused]] const bool g_demo = AddDemoRole(kRole, PlayDemo);

// ---- Reading the X server -------------------------------------------------------------

struct DisplayCloser {
  void operator()(Display* d) const { XCloseDisplay(d); }
};

// A property's items (bytes for format 8, longs for format 32); empty when it is not set.
template <typename Item>
std::vector<Item> Property(Display* d, ::Window w, const char* name) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<Item> items;
  if (XGetWindowProperty(d, w, XInternAtom(d, name, False), 0, 1 << 20, False, AnyPropertyType, &type, &format,
                         &count, &after, &data) == Success &&
      data) {
    const auto* first = reinterpret_cast<const Item*>(data);
    items.assign(first, first + count);
    XFree(data);
  }
  return items;
}

std::string Text(Display* d, ::Window w, const char* name) {
  const std::vector<char> bytes = Property<char>(d, w, name);
  return std::string(bytes.begin(), bytes.end());
}

// The top-level X window whose _NET_WM_NAME is `caption`, or 0.
::Window Named(Display* d, const std::string& caption) {
  ::Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  ::Window found = 0;
  if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) {
    for (unsigned i = 0; i < count; ++i)
      if (Text(d, children[i], "_NET_WM_NAME") == caption) found = children[i];
    XFree(children);
  }
  return found;
}

bool BoundingShaped(Display* d, ::Window w) {
  Bool bounding = False, clip = False;
  int bx, by, cx, cy;
  unsigned bw, bh, cw, ch;
  XShapeQueryExtents(d, w, &bounding, &bx, &by, &bw, &bh, &clip, &cx, &cy, &cw, &ch);
  return bounding != False;
}

std::vector<XRectangle> ShapeRects(Display* d, ::Window w) {
  int count = 0, ordering = 0;
  XRectangle* rects = XShapeGetRectangles(d, w, ShapeBounding, &count, &ordering);
  std::vector<XRectangle> out(rects, rects + (rects ? count : 0));
  if (rects) XFree(rects);
  return out;
}

bool InRects(const std::vector<XRectangle>& rects, int x, int y) {
  for (const XRectangle& r : rects)
    if (x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height) return true;
  return false;
}

unsigned long RootPixel(Display* d, int x, int y) {
  XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, 1, 1, AllPlanes, ZPixmap);
  if (!image) return ~0UL;
  const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
  XDestroyImage(image);
  return pixel;
}

unsigned long Low32(long item) { return static_cast<unsigned long>(item) & 0xFFFFFFFFUL; }

unsigned long Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

TEST(PresenterLook, RegionCaptionIconsAlphaAndFrameReachTheXServer) {
  if (Found("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed";
  const Xvfb server;
  ASSERT_FALSE(server.Display().empty()) << "Xvfb gave no display number";
  TempFolder folder;
  Child demo = StartDemo(kRole, server.Display(), folder.path());
  ASSERT_GT(demo.pid, 0);
  const bool shown = AwaitLine(demo.out, "shown", 15000);
  std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(server.Display().c_str()));
  if (!shown || !display) {
    const int exit = EndDemo(demo);
    FAIL() << "not shown (the demo ended with " << exit << ")";
  }
  Display* d = display.get();
  const ::Window shaped = Named(d, kShapedUtf8);
  const ::Window layered = Named(d, kLayeredCaption);
  ASSERT_NE(shaped, 0u);
  ASSERT_NE(layered, 0u);

  // Caption, in both forms.
  EXPECT_EQ(Text(d, shaped, "WM_NAME"), kShapedLatin1);
  EXPECT_EQ(Text(d, layered, "WM_NAME"), kLayeredCaption);

  // The round region: corners out, the middle and the edges' middles in.
  ASSERT_TRUE(BoundingShaped(d, shaped));
  const std::vector<XRectangle> rects = ShapeRects(d, shaped);
  EXPECT_GT(rects.size(), 2u);
  const int w = kShapedRect.right - kShapedRect.left, h = kShapedRect.bottom - kShapedRect.top;
  for (const auto& [x, y, in] : std::vector<std::tuple<int, int, bool>>{
           {0, 0, false}, {w - 1, 0, false}, {0, h - 1, false}, {w - 1, h - 1, false},
           {w / 2, h / 2, true}, {w / 2, 0, true}, {0, h / 2, true}, {w - 1, h / 2, true}, {w / 2, h - 1, true}})
    EXPECT_EQ(InRects(rects, x, y), in) << x << "," << y;
  EXPECT_FALSE(BoundingShaped(d, layered));

  // The screen shows the root through the cut corners.
  EXPECT_EQ(RootPixel(d, kShapedRect.left + w / 2, kShapedRect.top + h / 2), Rgb(kFill));
  EXPECT_NE(RootPixel(d, kShapedRect.left + 1, kShapedRect.top + 1), Rgb(kFill));
  EXPECT_NE(RootPixel(d, kShapedRect.right - 2, kShapedRect.bottom - 2), Rgb(kFill));

  // Icons: 32 x 32 then 16 x 16, opaque ARGB.
  const std::vector<long> icons = Property<long>(d, shaped, "_NET_WM_ICON");
  ASSERT_EQ(icons.size(), 2u + 32 * 32 + 2u + 16 * 16);
  EXPECT_EQ(icons[0], 32);
  EXPECT_EQ(icons[1], 32);
  // (Xlib hands 32-bit items as longs with the sign extended.)
  EXPECT_EQ(Low32(icons[2]), 0xFF000000UL | Rgb(kBigIcon));
  EXPECT_EQ(icons[2 + 32 * 32], 16);
  EXPECT_EQ(Low32(icons.back()), 0xFF000000UL | Rgb(kSmallIcon));
  EXPECT_TRUE(Property<long>(d, layered, "_NET_WM_ICON").empty());

  // The popup draws its own frame; so does the captioned window where no window manager runs
  // to frame it.
  for (const auto window : {shaped, layered}) {
    const std::vector<long> motif = Property<long>(d, window, "_MOTIF_WM_HINTS");
    ASSERT_EQ(motif.size(), 5u);
    EXPECT_EQ(motif[0], 2);  // decorations given
    EXPECT_EQ(motif[2], 0);  // none
  }

  // Half alpha on the layered window only.
  const std::vector<long> opacity = Property<long>(d, layered, "_NET_WM_WINDOW_OPACITY");
  ASSERT_EQ(opacity.size(), 1u);
  EXPECT_EQ(Low32(opacity[0]), 0x80808080UL);
  EXPECT_TRUE(Property<long>(d, shaped, "_NET_WM_WINDOW_OPACITY").empty());

  // Changes follow.
  ASSERT_EQ(::write(demo.in, "c", 1), 1);
  const bool changed = AwaitLine(demo.out, "changed", 15000);
  XSync(d, False);
  EXPECT_TRUE(changed);
  EXPECT_EQ(Text(d, shaped, "_NET_WM_NAME"), kRenamed);
  EXPECT_EQ(Text(d, shaped, "WM_NAME"), kRenamed);
  EXPECT_FALSE(BoundingShaped(d, shaped));
  EXPECT_TRUE(Property<long>(d, layered, "_NET_WM_WINDOW_OPACITY").empty());
  EXPECT_EQ(RootPixel(d, kShapedRect.left + 1, kShapedRect.top + 1), Rgb(kFill));
  display.reset();
  EXPECT_EQ(EndDemo(demo), 0);
}

}  // namespace
}  // namespace zx::test
