// Sorting a report list by a clicked column, alternating the direction on repeated clicks.
#pragma once
#include <afxcmn.h>

#include "HelperApi.h"

// Sorts the list by the column's texts with the given comparison (ListSortKey values):
// ascending when the column differs from the last one sorted (or on the first call), else
// the opposite of the last direction. The direction is kept for the whole process. 1 when
// the list sorted, 0 otherwise (no list or the sort failed).
ZXHELPER_API int SortListByColumn(CListCtrl* pList, int nColumn, int nSortType);
