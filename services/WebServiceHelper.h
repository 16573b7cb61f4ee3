// CWebServiceHelper: what the feedback form needs around an upload, the enciphered exchange
// text and the time-stamped name of a feedback file.
#pragma once
#include <afx.h>

#include "HelperApi.h"

class ZXHELPER_API CWebServiceHelper {
 public:
  virtual ~CWebServiceHelper() = default;

  // Trims the text in place and gives its enciphered exchange form; always TRUE.
  BOOL EncipherTextToHex(CString& text, CString& encoded);
  // The product key name, "-Feedback", a blank and the local time, a blank and a random
  // number, ".xml": "ZephrinKX-Feedback 20240131T09_0507PM 12345.xml".
  void BuildFeedbackFileName(CString& name);
};

// The time-stamped form of a file name: the name cut before its last ".", then the local time
// as " %Y%m%dT%I_%M%S%p", then " %d" with a number drawn from a generator seeded with the tick
// count (0 to 32767), then ".xml".
ZXHELPER_API CString TimeStampedFileName(const CString& baseName);
