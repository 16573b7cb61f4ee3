// String-array and small text helpers of the shared library.
#pragma once
#include <afx.h>

#include "HelperApi.h"

enum PCO_ERROR_CODES { PCO_FAILED = 0, PCO_SUCCESS = 1 };

ZXHELPER_API void SortStringArray(CStringArray& array, BOOL descending, BOOL caseSensitive);
ZXHELPER_API BOOL FindInStringArray(const CStringArray& array, LPCTSTR text, BOOL fromBack);
// The text lower-cased and trimmed. The answer lives in storage of the calling thread and
// stays valid until that thread calls again.
ZXHELPER_API LPCTSTR NormalizeText(LPCTSTR text);
ZXHELPER_API PCO_ERROR_CODES AppendSeparator(CString& target, LPCTSTR item, LPCTSTR separator);
ZXHELPER_API PCO_ERROR_CODES AppendSeparator_Comma(CString& target, LPCTSTR item);
// bytes/1024 as "%0.1f KB" from 1024 bytes on, else "%0.3f KB"; answers 1.
ZXHELPER_API int FormatKilobytes(ULONGLONG bytes, LPTSTR buffer, int bufferSize);
