// The C run-time's wide-text number reader that Windows programs take from stdlib.h.
#pragma once
#include "wintypes.h"

// The integer at the start of the text: leading white space, an optional sign, then decimal
// digits up to the first other character; 0 when there are none (or for a null text). A value
// beyond the range of int is clamped to INT_MAX or INT_MIN.
int _wtoi(LPCWSTR text);
