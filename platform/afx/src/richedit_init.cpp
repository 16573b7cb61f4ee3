// AfxInitRichEdit2: the rich edit 2.0 class is registered as the window layer loads, so the
// start-up only confirms it is there.
#include "afxwin.h"

BOOL AfxInitRichEdit2() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  return GetClassInfoExW(nullptr, u"RichEdit20W", &windowClass);
}
