// CHVLogFont: the shared base font, with a face, height, weight and underline of its own.
#include "HVLogFont.h"

#include <cwchar>

#include "HalvoranApp.h"

CHVLogFont::CHVLogFont() : LOGFONTW{} { GetBaseLogFont(*this); }

CHVLogFont::CHVLogFont(LPCWSTR lpszFaceName, LONG nHeight, BOOL bBold, BOOL bUnderline)
    : CHVLogFont() {
  if (lpszFaceName) {
    size_t n = 0;
    while (n + 1 < LF_FACESIZE && lpszFaceName[n]) {
      lfFaceName[n] = lpszFaceName[n];
      ++n;
    }
    lfFaceName[n] = 0;
  }
  lfHeight = nHeight;
  lfWeight = bBold ? FW_BOLD : FW_NORMAL;
  lfUnderline = bUnderline ? 1 : 0;
}
