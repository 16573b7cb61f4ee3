// CUpdateServiceHelper: the main program's two calls of the update web service (the scan
// exchange and the download-link query), each with one retry against the fallback address
// within 54 seconds of its start, and the names of the feedback files.
#pragma once
#include <afx.h>
#include <oleauto.h>

// The characters an address may take, terminator included.
constexpr int kServiceAddressChars = 260;

// The main program's service addresses and exchange flags, set when it starts. Until then the
// maker's two update-service addresses, a scan request sent enciphered and a link answer
// that comes back enciphered.
void SetUpdateServiceAddresses(const CString& primary, const CString& fallback);
void SetExchangeFlags(BOOL requestEnciphered, BOOL linkAnswerEnciphered);
BOOL IsRequestEnciphered();

// True when more than 54 seconds have passed since the start (a local time), or when that
// cannot be worked out.
bool ElapsedMoreThan54s(const SYSTEMTIME& start);

class CUpdateServiceHelper {
 public:
  virtual ~CUpdateServiceHelper() = default;

  // The scan exchange; *answer receives the service's system string (the caller frees it).
  // True when the service answered.
  BOOL GetUpdateData(const CString& request, BSTR* answer);
  // The download-link query with the trimmed request; the answer text is copied out. True
  // when the service answered.
  BOOL GetLink(const CString& request, CString& answer);
  // prefix + extra + "Automated" + "SimpleStr" + "-Feedback", then " <local time> <random>.xml".
  void MakeFeedbackFileName(CString& name, BOOL automated, BOOL simple, const CString& extra);
};
