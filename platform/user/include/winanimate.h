// Windows animated into and out of the notification area: whether the system animates
// minimising and restoring (SystemParametersInfoW(SPI_GETANIMATION, sizeof(ANIMATIONINFO),
// &info, 0): the machine's setting, machine.ini [Desktop] MinAnimate=1, off otherwise), and
// the animation itself, which draws nothing on this platform and answers TRUE.
#pragma once
#include "winuser.h"

#ifndef SPI_GETANIMATION
#define SPI_GETANIMATION 0x0048u
#endif

struct ANIMATIONINFO {
  UINT cbSize;
  int iMinAnimate;
};
using LPANIMATIONINFO = ANIMATIONINFO*;

#define IDANI_OPEN 1
#define IDANI_CAPTION 3

// TRUE for IDANI_OPEN and IDANI_CAPTION with both rectangles and no window or a live one;
// FALSE with ERROR_INVALID_PARAMETER otherwise.
BOOL DrawAnimatedRects(HWND window, int animation, const RECT* from, const RECT* to);
