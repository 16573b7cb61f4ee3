// The header band over a page's list: the band's pictures (5379 and 5380 as its ends, 5378
// repeated between them, 5381 before each further column) and the column texts on it.
#pragma once
#include <afxwin.h>

#include <vector>

// Draws the band from x 22 at `y`, `bandWidth` wide, with its end pictures when `endCaps` is
// set; the first text from `firstTextX` + 6 (22 when -1), 200 wide, and each further text from
// its column's x + 6, 125 wide, single-line and centred in the band's height.
void DrawHeaderBand(CDC* pDC, BOOL endCaps, int bandWidth, int y, int firstTextX, const std::vector<int>& columns,
                    const std::vector<CString>& texts);
