// What the presenter shows of a top-level window besides its pixels, read from the window
// system without X11 names: the caption, the window region, a layered window's constant alpha
// and the icons, with the icons' pixels laid out as the desktop's icon property wants them.
#pragma once
#include <string>
#include <vector>

#include "winuser.h"

namespace zx::user {

struct TopLevelLook {
  std::string caption;        // UTF-8, cut to 1024 UTF-16 units
  std::string captionLatin1;  // the same, characters beyond Latin-1 as '?'
  bool shaped = false;        // the window has a region
  std::vector<RECT> region;   // its rectangles, window coordinates
  BYTE alpha = 255;           // a layered window's constant alpha
  HICON bigIcon = nullptr;    // WM_SETICON's, else the class's
  HICON smallIcon = nullptr;
};

// The look of a window of this process (an empty look for an unknown one).
TopLevelLook LookOf(HWND window);
bool SameRegion(const TopLevelLook& a, const TopLevelLook& b);

// The look's icons one after the other (big first, each once), each as its width, its height
// and its pixels row by row as 0xAARRGGBB without premultiplication; icons larger than 256
// on a side are left out. Empty without icons.
std::vector<unsigned long> IconCardinals(const TopLevelLook& look);

// The part of `rect` inside a width x height window; false when nothing is.
bool ClampToWindow(const RECT& rect, LONG width, LONG height, RECT& inside);

}  // namespace zx::user
