// The pictures the buttons share, kept until the process ends.
#include "ButtonPictures.h"

#include <map>
#include <memory>
#include <mutex>

#include "DrawingHelpers.h"
#include "GdiPlusBitmapResource.h"
#include "HVBitmap.h"
#include "HalvoranApp.h"

namespace {
constexpr UINT kPanelBitmapId = 1096;
constexpr LPCWSTR kPngType = u"PNG";
}  // namespace

Gdiplus::Bitmap* SharedButtonPng(UINT nID) {
  // Kept until the process ends: never destroyed, so that no image outlives the drawing
  // layer's own state at exit.
  static std::mutex lock;
  static auto* images = new std::map<UINT, std::unique_ptr<CGdiPlusBitmapResource>>;
  std::lock_guard<std::mutex> guard(lock);
  auto& image = (*images)[nID];
  if (!image) image = std::make_unique<CGdiPlusBitmapResource>();
  // A picture that did not load is asked for again at the next use.
  if (!image->GetBitmap())
    if (HMODULE module = GetResourceModule()) image->Load(nID, kPngType, module);
  return image->GetBitmap();
}

HBITMAP SharedPanelBitmap() {
  static CHVBitmap* panel = new CHVBitmap;
  if (!panel->GetSafeHandle()) panel->Load(kPanelBitmapId);
  return static_cast<HBITMAP>(panel->GetSafeHandle());
}

CRect RectInParent(CWnd* pButton) {
  CRect rect;
  pButton->GetWindowRect(&rect);
  if (CWnd* parent = pButton->GetParent()) parent->ScreenToClient(&rect);
  return rect;
}

void DrawPanelSlice(CDC* pDC, const CRect& inParent, CSize size) {
  if (HBITMAP panel = SharedPanelBitmap())
    DrawBitmapPart(pDC, 0, 0, inParent.left, inParent.top, size.cx, size.cy, panel, SRCCOPY);
}

void DrawPngPart(CDC* pDC, Gdiplus::Bitmap* pImage, int x, int y, int srcX, int srcY, int width, int height) {
  if (!pDC || !pImage) return;
  Gdiplus::Graphics graphics(pDC->GetSafeHdc());
  graphics.DrawImage(pImage, Gdiplus::Rect(x, y, width, height), srcX, srcY, width, height, Gdiplus::UnitPixel);
}

void DrawPngOver(CDC* pDC, Gdiplus::Bitmap* pImage, const CRect& rect) {
  if (!pDC || !pImage) return;
  Gdiplus::Graphics graphics(pDC->GetSafeHdc());
  graphics.DrawImage(pImage, rect.left, rect.top, rect.Width(), rect.Height());
}
