// Small services of the update engine: MD5 texts of files and buffers.
#pragma once
#include <afx.h>

// MD5 text of the file's contents when the path is not empty and the file exists, else "".
CString GetFileMd5IfExists(const CString& path);
// MD5 text of a byte buffer; "" for no buffer or length 0.
CString Md5HexOfBuffer(const BYTE* bytes, UINT length);
