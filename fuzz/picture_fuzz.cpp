// Fuzz target: hostile bytes as the pictures and pages a resource file carries besides
// bitmaps and icons. The first byte picks the kind: 0 a PNG (decoded as the window layer and
// as GDI+ decode it), 1 an AVI clip (read as the animation control reads it), 2 an HTML page
// (UTF-8, read into the HTML dialog's element tree, its scripts run with their limits
// and the page laid out). Reading must never crash or read past the bytes; a decoded picture has a size, an
// AVI's first frame holds at least its header, and a page written back from its tree reads
// again.
// Runs: 6000
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../platform/comctl/src/avi.h"
#include "../platform/html/src/dhtml_page.h"
#include "../platform/html/src/dhtml_script.h"
#include "../platform/html/src/litepage.h"
#include "fuzz_support.h"
#include "gdiplus.h"
#include "windraw.h"
#include "zx/gdi.h"

namespace {

void Png(const std::uint8_t* data, std::size_t size) {
  if (HBITMAP bitmap = zx::gdi::DecodePngBitmap(data, size)) {
    BITMAP info{};
    if (GetObjectW(bitmap, sizeof info, &info) != sizeof info || info.bmWidth <= 0 || info.bmHeight <= 0) std::abort();
    DeleteObject(bitmap);
  }
  if (Gdiplus::Bitmap* bitmap = zx::gdiplus::BitmapFromMemory(data, size)) {
    if (bitmap->GetLastStatus() == Gdiplus::Ok && (bitmap->GetWidth() == 0 || bitmap->GetHeight() == 0)) std::abort();
    delete bitmap;
  }
}

void Avi(const std::uint8_t* data, std::size_t size) {
  zx::comctl::AviClip clip;
  if (!zx::comctl::ReadAvi(data, size, clip) || clip.firstFrame.empty()) return;
  if (clip.firstFrame.size() < sizeof(BITMAPINFOHEADER)) std::abort();
  if (HBITMAP bitmap = zx::gdi::CreateBitmapFromPackedDib(clip.firstFrame.data(), clip.firstFrame.size()))
    DeleteObject(bitmap);
}

void Html(const std::uint8_t* data, std::size_t size) {
  const CString text = zx::fuzz::Utf8Text(data, size);
  const std::u16string html(text.GetString(), static_cast<std::size_t>(text.GetLength()));
  zx::html::Page page(html);
  // The HTML written back from the tree reads again (its text may differ on damaged pages).
  zx::html::Page again(zx::html::InnerHtml(page.Root()));
  zx::html::ScriptEngine scripts(page, nullptr);
  std::vector<const zx::html::Node*> elements;
  const std::u16string display = zx::html::DisplayHtml(page.Root(), &elements);
  const zx::html::PageLayout layout(zx::html::Utf8Of(display), zx::html::BaseStyle{}, 400);
  if (layout.Height() < 0) std::abort();
  layout.ElementAt(10, 10);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  switch (data[0] % 3) {
    case 0: Png(data + 1, size - 1); break;
    case 1: Avi(data + 1, size - 1); break;
    default: Html(data + 1, size - 1); break;
  }
  return 0;
}
