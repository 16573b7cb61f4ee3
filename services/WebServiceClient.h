// The shared library's web-service functions: the update service's scan exchange and download
// information, and the misc service's uploads. Each makes one logical call with its own retry
// scheme over the two transports and two proxy settings, blocks its thread for the whole of it,
// and answers success only; exceptions never leave them.
#pragma once
#include <oleauto.h>
#include <windows.h>

#include "HelperApi.h"

extern "C" {

// True when the update service answered "GetUpdateInfo"; *result then receives a new system
// string (null for a nil answer) that the caller frees with SysFreeString. An empty or null
// address means the service's default address. Up to four attempts 1024 ms apart, no new
// attempt once 480 s have passed since the start.
ZXHELPER_API BOOL PCGetUpdateData(LPCWSTR serviceAddress, LPCWSTR input, BSTR* result);
// The same with "GetUpdateInfoWithEncryptOptions" and its two flags.
ZXHELPER_API BOOL PCGetUpdateDataWithEncryptOptions(LPCWSTR serviceAddress, LPCWSTR input, BSTR* result,
                                                    BOOL inputEnciphered, BOOL outputEnciphered);
// "GetDownloadInformationWithEncryptOptions": up to four attempts 1024 ms apart, without a
// time limit.
ZXHELPER_API BOOL PCGetLinkWithEncryptOptions(LPCWSTR serviceAddress, LPCWSTR input, BSTR* result,
                                              BOOL inputEnciphered, BOOL outputEnciphered);

// 1 when the misc service took the text's UTF-16LE bytes as "UploadFile", else 0: a direct
// attempt, then after 1024 ms one through the user's proxy.
ZXHELPER_API int PCUploadFile(LPCWSTR text);
// 1 when the misc service took the text with "MS_UploadFeedback" under a time-stamped file
// name, else 0: a direct attempt, then after 1024 ms one through the user's proxy.
ZXHELPER_API int PCUploadFeedback(LPCWSTR text);
// 1 when "MS_UploadFeedback" (QVXUploadFeedback) or "UploadFeedback" (...SimpleStr) took the
// text under the file name, else 0: up to four attempts (direct, proxy, then both again at the
// alternative address), each failed one followed by a 1024 ms pause.
ZXHELPER_API int QVXUploadFeedback(LPCWSTR text, LPCWSTR fileName);
ZXHELPER_API int QVXUploadFeedbackSimpleStr(LPCWSTR text, LPCWSTR fileName);

}  // extern "C"
