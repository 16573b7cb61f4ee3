// The exported web-service functions and their retry schemes.
#include "WebServiceClient.h"

#include <iterator>

#include "GlobalConstants.h"
#include "WebServiceAttempts.h"
#include "WebServiceHelper.h"

namespace {

constexpr DWORD kRetryPauseMs = 1024;
// The update-data functions start no new attempt once this much has passed, measured on the
// monotonic clock (a change of the local time cannot stretch or cut it).
constexpr ULONGLONG kUpdateDataLimitMs = 480000;

// The four attempts in order: (through the user's proxy, second variant), where the second
// variant is the WinINet transport for the update service and the alternative address for
// the misc service.
struct AttemptSettings {
  bool useProxy;
  bool second;
};
constexpr AttemptSettings kAttempts[] = {{false, false}, {true, false}, {false, true}, {true, true}};

// The update service's retry; with a time limit when timed is set.
BOOL RetryUpdateService(LPCWSTR address, LPCWSTR input, BSTR* result, UpdateOperation operation,
                        BOOL inputEnciphered, BOOL outputEnciphered, bool timed) {
  if (!result) return FALSE;
  const ULONGLONG start = GetTickCount64();
  for (std::size_t i = 0; i < std::size(kAttempts); ++i) {
    if (UpdateServiceAttempt(address, input, kAttempts[i].useProxy, kAttempts[i].second, operation,
                             inputEnciphered != FALSE, outputEnciphered != FALSE, result))
      return TRUE;
    if (i + 1 == std::size(kAttempts)) break;
    if (timed && GetTickCount64() - start > kUpdateDataLimitMs) return FALSE;
    Sleep(kRetryPauseMs);
  }
  return FALSE;
}

int RetryFeedback(LPCWSTR text, LPCWSTR fileName, FeedbackOperation operation) {
  for (const AttemptSettings& attempt : kAttempts) {
    if (FeedbackAttempt(text, fileName, attempt.useProxy, attempt.second, operation)) return 1;
    Sleep(kRetryPauseMs);
  }
  return 0;
}

}  // namespace

BOOL PCGetUpdateData(LPCWSTR serviceAddress, LPCWSTR input, BSTR* result) {
  try {
    return RetryUpdateService(serviceAddress, input, result, UpdateOperation::UpdateInfo, FALSE, FALSE, true);
  } catch (...) {
    return FALSE;
  }
}

BOOL PCGetUpdateDataWithEncryptOptions(LPCWSTR serviceAddress, LPCWSTR input, BSTR* result,
                                       BOOL inputEnciphered, BOOL outputEnciphered) {
  try {
    return RetryUpdateService(serviceAddress, input, result, UpdateOperation::UpdateInfoWithEncryptOptions,
                              inputEnciphered, outputEnciphered, true);
  } catch (...) {
    return FALSE;
  }
}

BOOL PCGetLinkWithEncryptOptions(LPCWSTR serviceAddress, LPCWSTR input, BSTR* result,
                                 BOOL inputEnciphered, BOOL outputEnciphered) {
  try {
    return RetryUpdateService(serviceAddress, input, result, UpdateOperation::DownloadInformation,
                              inputEnciphered, outputEnciphered, false);
  } catch (...) {
    return FALSE;
  }
}

int PCUploadFile(LPCWSTR text) {
  try {
    if (UploadFileAttempt(text, false)) return 1;
    Sleep(kRetryPauseMs);
    return UploadFileAttempt(text, true) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

int PCUploadFeedback(LPCWSTR text) {
  try {
    const CString fileName = TimeStampedFileName(GetProductKeyName() + _T("-PCFeedback.xml"));
    if (FeedbackAttempt(text, fileName, false, false, FeedbackOperation::MsUploadFeedback)) return 1;
    Sleep(kRetryPauseMs);
    return FeedbackAttempt(text, fileName, true, false, FeedbackOperation::MsUploadFeedback) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

int QVXUploadFeedback(LPCWSTR text, LPCWSTR fileName) {
  try {
    return RetryFeedback(text, fileName, FeedbackOperation::MsUploadFeedback);
  } catch (...) {
    return 0;
  }
}

int QVXUploadFeedbackSimpleStr(LPCWSTR text, LPCWSTR fileName) {
  try {
    return RetryFeedback(text, fileName, FeedbackOperation::UploadFeedback);
  } catch (...) {
    return 0;
  }
}
