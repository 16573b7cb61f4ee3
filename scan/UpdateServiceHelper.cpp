// The main program's calls of the update web service through the shared library's exported
// functions, with their fallback retry, and the feedback file names.
#include "UpdateServiceHelper.h"

#include <afxwin.h>
#include <windows.h>

#include <cstdlib>
#include <mutex>

#include "GlobalConstants.h"
#include "WebServiceClient.h"

namespace {

constexpr DWORD kPauseMs = 1024;
constexpr double kSecondsLimit = 54;
constexpr double kHalfSecondInDays = 5.787037037037037e-6;

struct ServiceSettings {
  std::mutex lock;
  CString primary = _T("http://update.zephrin-tunevo.example/updateservice/updateservice.asmx");
  CString fallback = _T("http://update2.zephrin-tunevo.example/updateservice/updateservice.asmx");
  BOOL requestEnciphered = TRUE;
  BOOL linkAnswerEnciphered = TRUE;
};

ServiceSettings& Settings() {
  static ServiceSettings settings;
  return settings;
}

// One address in its zeroed buffer for the length of a call; an address that does not fit
// the buffer is not used at all.
class CAddressBuffer {
 public:
  explicit CAddressBuffer(bool fallback) {
    ServiceSettings& settings = Settings();
    std::lock_guard<std::mutex> hold(settings.lock);
    const CString& address = fallback ? settings.fallback : settings.primary;
    if (address.GetLength() >= kServiceAddressChars) return;
    for (int i = 0; i < address.GetLength(); ++i) m_buffer[i] = address[i];
    m_usable = true;
  }
  ~CAddressBuffer() { SecureZero(); }
  CAddressBuffer(const CAddressBuffer&) = delete;
  CAddressBuffer& operator=(const CAddressBuffer&) = delete;
  bool Usable() const { return m_usable; }
  LPCWSTR Get() const { return m_buffer; }

 private:
  void SecureZero() {
    for (WCHAR& c : m_buffer) c = 0;
  }
  WCHAR m_buffer[kServiceAddressChars] = {};
  bool m_usable = false;
};

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void PauseBetweenCalls() {
  PumpMessages();
  Sleep(kPauseMs);
  PumpMessages();
}

BOOL CallUpdateData(bool fallback, const CString& request, BSTR* answer) {
  const CAddressBuffer address(fallback);
  if (!address.Usable()) return FALSE;
  return PCGetUpdateDataWithEncryptOptions(address.Get(), request, answer, IsRequestEnciphered(), TRUE);
}

BOOL CallLink(bool fallback, const CString& request, CString& answer) {
  BOOL enciphered = TRUE;
  {
    ServiceSettings& settings = Settings();
    std::lock_guard<std::mutex> hold(settings.lock);
    enciphered = settings.linkAnswerEnciphered;
  }
  const CAddressBuffer address(fallback);
  if (!address.Usable()) return FALSE;
  BSTR result = nullptr;
  const BOOL answered = PCGetLinkWithEncryptOptions(address.Get(), request, &result, TRUE, enciphered);
  if (answered) answer = result != nullptr ? CString(result, static_cast<int>(SysStringLen(result))) : CString();
  SysFreeString(result);
  return answered;
}

bool LocalDays(const SYSTEMTIME& time, double& days) {
  FILETIME file{};
  if (!SystemTimeToFileTime(&time, &file)) return false;
  const ULONGLONG ticks = (static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
  days = static_cast<double>(ticks) / 864000000000.0;
  return true;
}

}  // namespace

void SetUpdateServiceAddresses(const CString& primary, const CString& fallback) {
  ServiceSettings& settings = Settings();
  std::lock_guard<std::mutex> hold(settings.lock);
  settings.primary = primary;
  settings.fallback = fallback;
}

void SetExchangeFlags(BOOL requestEnciphered, BOOL linkAnswerEnciphered) {
  ServiceSettings& settings = Settings();
  std::lock_guard<std::mutex> hold(settings.lock);
  settings.requestEnciphered = requestEnciphered;
  settings.linkAnswerEnciphered = linkAnswerEnciphered;
}

BOOL IsRequestEnciphered() {
  ServiceSettings& settings = Settings();
  std::lock_guard<std::mutex> hold(settings.lock);
  return settings.requestEnciphered;
}

bool ElapsedMoreThan54s(const SYSTEMTIME& start) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  double startDays = 0, nowDays = 0;
  if (!LocalDays(start, startDays) || !LocalDays(now, nowDays)) return true;
  const double days = nowDays - startDays;
  const double rounded = days + (days < 0 ? -kHalfSecondInDays : kHalfSecondInDays);
  const long long seconds = static_cast<long long>(rounded * 86400.0);
  return static_cast<double>(seconds) > kSecondsLimit;
}

BOOL CUpdateServiceHelper::GetUpdateData(const CString& request, BSTR* answer) {
  SYSTEMTIME start{};
  GetLocalTime(&start);
  const BOOL first = CallUpdateData(false, request, answer);
  if (!first && ElapsedMoreThan54s(start)) return FALSE;
  PauseBetweenCalls();
  if (ElapsedMoreThan54s(start)) return first;
  if (first) return TRUE;
  return CallUpdateData(true, request, answer);
}

BOOL CUpdateServiceHelper::GetLink(const CString& request, CString& answer) {
  try {
    CString trimmed = request;
    trimmed.Trim();
    SYSTEMTIME start{};
    GetLocalTime(&start);
    BOOL result = CallLink(false, trimmed, answer);
    if (ElapsedMoreThan54s(start)) return result;
    PauseBetweenCalls();
    if (!ElapsedMoreThan54s(start) && !result) result = CallLink(true, trimmed, answer);
    return result;
  } catch (...) {
    return FALSE;
  }
}

void CUpdateServiceHelper::MakeFeedbackFileName(CString& name, BOOL automated, BOOL simple, const CString& extra) {
  CString prefix = g_strBrandWord + g_strProductKeyWord + AfxGetAppName();
  prefix.Remove(' ');
  name = prefix;
  if (!extra.IsEmpty()) name += extra;
  if (automated) name += _T("Automated");
  if (simple) name += _T("SimpleStr");
  name += _T("-Feedback.xml");
  const int dot = name.ReverseFind('.');
  if (dot >= 0) name = name.Left(dot);
  name += CTime::GetCurrentTime().Format(_T(" %Y%m%dT%I_%M%S%p"));
  std::srand(GetTickCount());
  CString number;
  number.Format(_T(" %d"), std::rand());
  name += number;
  name += _T(".xml");
}
