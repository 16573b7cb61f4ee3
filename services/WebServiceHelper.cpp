// The feedback form's web-service helper and the time-stamped file names of uploads.
#include "WebServiceHelper.h"

#include <atltime.h>

#include "ExchangeEncoding.h"
#include "GlobalConstants.h"

namespace {

// One draw of the C run-time's generator (0 to 32767) after seeding it with the tick count.
int DrawSeededByTickCount() {
  const DWORD seed = GetTickCount();
  return static_cast<int>(((seed * 214013u + 2531011u) >> 16) & 0x7FFF);
}

}  // namespace

CString TimeStampedFileName(const CString& baseName) {
  CString name = baseName;
  const int dot = name.ReverseFind(u'.');
  if (dot >= 0) name = name.Left(dot);
  name += CTime::GetCurrentTime().Format(_T(" %Y%m%dT%I_%M%S%p"));
  name.AppendFormat(_T(" %d"), DrawSeededByTickCount());
  name += _T(".xml");
  return name;
}

BOOL CWebServiceHelper::EncipherTextToHex(CString& text, CString& encoded) {
  return ::EncipherTextToHex(text, encoded);
}

void CWebServiceHelper::BuildFeedbackFileName(CString& name) {
  name = TimeStampedFileName(GetProductKeyName() + _T("-Feedback.xml"));
}
