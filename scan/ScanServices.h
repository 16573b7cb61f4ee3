// Small services of the update engine: MD5 texts of files and buffers, and the restart of
// Windows.
#pragma once
#include <afx.h>

// MD5 text of the file's contents when the path is not empty and the file exists, else "".
CString GetFileMd5IfExists(const CString& path);
// MD5 text of a byte buffer; "" for no buffer or length 0.
CString Md5HexOfBuffer(const BYTE* bytes, UINT length);

// Restarts Windows (forced, reason 0x80000001) with the shut-down privilege enabled; while
// Windows 6 or later has an install pending ("winsxs\pending.xml" in the Windows folder), the
// program's message loop is ended with exit code 18 instead.
void RestartComputer();
