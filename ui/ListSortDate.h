// Reading the date and time texts that lists show, for the list sorter's date comparison.
#pragma once
#include "HelperApi.h"
#include <afxstr.h>

enum class ListDateRead {
  kNotDate,  // the text has no date form
  kInvalid,  // a date form whose numbers name no real date or time
  kValid,
};

// Reads "YYYY-MM-DD", "YYYY/MM/DD", "YYYY.MM.DD" or "M/D/YYYY" (also "-" or "." between
// the numbers), optionally followed by "H:MM" or "H:MM:SS" and "AM" or "PM". A valid text
// gives *pValue, seconds from 1 January 1601, so that later dates have larger values.
ZXHELPER_API ListDateRead ReadListDate(const CString& text, long long* pValue);
