// The two caption looks every dialog gives its text buttons, and icons by id from whichever
// module holds them.
#pragma once
#include "HelperApi.h"
#include "HoverButtonWithText.h"

// Light captions (0xFFFCFC) with a shadow in 0xA7A49E on the four-state strip, bold.
ZXHELPER_API void ApplyLightTextButtonStyle(CHoverButtonWithText& button);
// Dark captions (0x361209, 0x3F0912, 0x481212) with a shadow in 0xA29990 on the four-state
// strip, medium weight from Windows 6 on, else bold.
ZXHELPER_API void ApplyDarkTextButtonStyle(CHoverButtonWithText& button);
// The icon of this id from the module of the resource chain that holds it; null when none.
ZXHELPER_API HICON LoadIconFromResources(UINT nID);
