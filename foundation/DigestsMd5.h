// MD5 digests (RFC 1321) of memory and of files, as 32 lower-case hexadecimal digits.
#pragma once
#include <afx.h>

#include "HelperApi.h"

class ZXHELPER_API CMD5Checksum {
 public:
  // The digest of `count` bytes; empty text when bytes is null but count is not 0.
  static CString DigestHex(const BYTE* bytes, UINT count);
  // The digest of the file's bytes, read with writing by others denied; empty text when the
  // file cannot be opened or read.
  static CString DigestHex(LPCTSTR path);

  virtual ~CMD5Checksum() = default;

 protected:
  CMD5Checksum();
  void Update(const BYTE* input, UINT length);
  // Pads, appends the bit count and gives the text of the digest.
  CString Final();

 private:
  void Transform(const BYTE* blocks, UINT count);

  ULONG m_lMD5[4];
  ULONG m_nCount[2];
  BYTE m_lpszBuffer[64];
};
