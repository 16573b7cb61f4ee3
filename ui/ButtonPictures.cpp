// The pictures the buttons share, kept until the process ends.
#include "ButtonPictures.h"

#include <map>
#include <memory>
#include <mutex>

#include "GdiPlusBitmapResource.h"
#include "HVBitmap.h"
#include "HalvoranApp.h"

namespace {
constexpr UINT kPanelBitmapId = 1096;
constexpr LPCWSTR kPngType = u"PNG";
}  // namespace

Gdiplus::Bitmap* SharedButtonPng(UINT nID) {
  static std::mutex lock;
  static std::map<UINT, std::unique_ptr<CGdiPlusBitmapResource>> images;
  std::lock_guard<std::mutex> guard(lock);
  auto& image = images[nID];
  if (!image) {
    image = std::make_unique<CGdiPlusBitmapResource>();
    if (HMODULE module = GetResourceModule()) image->Load(nID, kPngType, module);
  }
  return image->GetBitmap();
}

HBITMAP SharedPanelBitmap() {
  static CHVBitmap panel(kPanelBitmapId);
  return static_cast<HBITMAP>(panel.GetSafeHandle());
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
