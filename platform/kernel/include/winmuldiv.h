// MulDiv: number × numerator ÷ denominator through a 64-bit product, rounded to the nearest
// integer (halves away from zero); -1 when the denominator is 0 or the answer does not fit.
#pragma once
#include "wintypes.h"

int MulDiv(int number, int numerator, int denominator);
