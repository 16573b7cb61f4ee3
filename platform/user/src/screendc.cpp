// DCs of the whole screen, kept in a set so that ReleaseDC knows them from window DCs. The
// display they draw on takes the screen's size from the machine profile.
#include "screendc.h"

#include <mutex>
#include <unordered_set>

#include "wingdi.h"
#include "zx/gdi.h"

namespace zx::user {
namespace {

struct ScreenDCs {
  std::mutex lock;
  std::unordered_set<HDC> open;
};

ScreenDCs& TheScreenDCs() {
  static ScreenDCs* dcs = new ScreenDCs;
  return *dcs;
}

// Gives the display the screen's size when it has another. The screen DCs' lock held.
void SizeDisplay() {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  const HBITMAP old = gdi::DisplayBitmap();
  BITMAP now{};
  if (GetObjectW(old, sizeof now, &now) && now.bmWidth == width && now.bmHeight == height) return;
  if (const HBITMAP screen = gdi::CreateSurfaceBitmap(width, height)) {
    gdi::SetDisplayBitmap(screen);
    DeleteObject(old);
  }
}

}  // namespace

HDC OpenScreenDC() {
  ScreenDCs& dcs = TheScreenDCs();
  std::lock_guard<std::mutex> guard(dcs.lock);
  SizeDisplay();
  HDC dc = CreateDCW(u"DISPLAY", nullptr, nullptr, nullptr);
  if (dc) dcs.open.insert(dc);
  return dc;
}

bool ReleaseScreenDC(HDC dc) {
  {
    ScreenDCs& dcs = TheScreenDCs();
    std::lock_guard<std::mutex> guard(dcs.lock);
    if (dcs.open.erase(dc) == 0) return false;
  }
  DeleteDC(dc);
  return true;
}

}  // namespace zx::user
