// The update checker's progress display: the overall percentage over the items being fetched,
// the size text of an amount of bytes and the cut of a progress line that is too long.
#pragma once
#include <afx.h>

#include <functional>

// The overall percentage: each item counts as an equal share of 100, the current one by its
// own percentage. No items to fetch counts as one, so the bar still follows the download.
int OverallProgressPercent(int itemsDone, int itemsToFetch, int percent);

// The size text of an amount of bytes: empty for 0 or less; above 1 GB, 1 MB or 1 KB the
// language text "IDS_PHY_MEM_GB_1", "IDS_PHY_MEM_MB_1" or "IDS_PHY_MEM_KB_1" filled with the
// amount in that unit (with its fraction for a "%f" text, whole units for "%d"), else the
// number of bytes. `text` gives the language text of an id.
CString SizeText(LONGLONG amount, const std::function<CString(LPCTSTR)>& text);

// A progress line longer than 33 characters keeps its first 30 followed by "...".
CString ShortenProgressLine(const CString& line);
