// Small helpers of the main program shared by its pages and engines.
#pragma once
#include <afx.h>

// The smaller of two severity levels, each outside 1..4 taken as 4.
int MinRankLevel(int a, int b);
