// One attempt of each kind of web-service call. The exported functions (WebServiceClient.h)
// decide how often and how far apart they are made.
#pragma once
#include <oleauto.h>
#include <windows.h>

enum class UpdateOperation { UpdateInfo, UpdateInfoWithEncryptOptions, DownloadInformation };
enum class FeedbackOperation { MsUploadFeedback, UploadFeedback };

// The update service over WinINet or the socket transport, through the user's proxy or not,
// with a 120000 ms time-out. An empty or null address keeps the proxy's default address.
bool UpdateServiceAttempt(LPCWSTR address, LPCWSTR input, bool useProxy, bool overWinInet,
                          UpdateOperation operation, bool inputEnciphered, bool outputEnciphered,
                          BSTR* result);

// The misc service over the socket transport at its default or its alternative address,
// through the user's proxy or not, with the transport's own time-out.
bool FeedbackAttempt(LPCWSTR text, LPCWSTR fileName, bool useProxy, bool alternativeAddress,
                     FeedbackOperation operation);
bool UploadFileAttempt(LPCWSTR text, bool useProxy);
