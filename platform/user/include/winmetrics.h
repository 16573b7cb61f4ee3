// The desktop's non-client metrics as SystemParametersInfoW(SPI_GETNONCLIENTMETRICS) answers
// them (frame and scroll-bar sizes, caption, menu, status and message fonts), and the
// largest size a window can be dragged to (SM_CXMAXTRACK / SM_CYMAXTRACK).
#pragma once
#include "wingdi.h"
#include "winuser.h"

#ifndef SPI_GETNONCLIENTMETRICS
#define SPI_GETNONCLIENTMETRICS 0x0029u
#endif
#ifndef SM_CXMAXTRACK
#define SM_CXMAXTRACK 59
#endif
#ifndef SM_CYMAXTRACK
#define SM_CYMAXTRACK 60
#endif

// 504 bytes; callers written for older systems pass cbSize 500 (without iPaddedBorderWidth).
struct NONCLIENTMETRICSW {
  UINT cbSize;
  int iBorderWidth;
  int iScrollWidth;
  int iScrollHeight;
  int iCaptionWidth;
  int iCaptionHeight;
  LOGFONTW lfCaptionFont;
  int iSmCaptionWidth;
  int iSmCaptionHeight;
  LOGFONTW lfSmCaptionFont;
  int iMenuWidth;
  int iMenuHeight;
  LOGFONTW lfMenuFont;
  LOGFONTW lfStatusFont;
  LOGFONTW lfMessageFont;
  int iPaddedBorderWidth;
};
using NONCLIENTMETRICS = NONCLIENTMETRICSW;
using LPNONCLIENTMETRICSW = NONCLIENTMETRICSW*;
