// SHA-1 digests (FIPS 180-1): CSHA1 over bytes and files with its three text forms, and
// CCalcSHA1, which gives the 40-digit text of a file or a string.
#pragma once
#include <afx.h>

#include <string>

#include "HelperApi.h"

class ZXHELPER_API CSHA1 {
 public:
  enum REPORT_TYPE {
    REPORT_HEX = 0,       // "%02X" a byte, separated by one blank: 59 characters
    REPORT_DIGIT = 1,     // "%u" a byte, separated by one blank
    REPORT_HEX_SHORT = 2  // "%02X" a byte, no separators: 40 characters
  };
  // Characters a ReportHash buffer must hold for any form, terminator included.
  static constexpr int REPORT_BUFFER_CHARS = 80;

  CSHA1();
  void Reset();
  void Update(const BYTE* data, UINT length);
  // Adds the whole file, read to its end. True when every byte was read; after false the
  // state holds part of the file and must not be reported.
  bool HashFile(LPCTSTR path);
  // Pads, appends the bit count and keeps the 20-byte digest; clears the block and counts.
  void Final();
  // The digest text with its terminator, into a buffer of REPORT_BUFFER_CHARS characters.
  // False when the buffer is absent or the type is not one of the three forms.
  bool ReportHash(LPTSTR report, REPORT_TYPE type = REPORT_HEX) const;
  // The same text into a string, which is left unchanged when the answer is false.
  bool ReportHashStl(std::basic_string<TCHAR>& report, REPORT_TYPE type = REPORT_HEX) const;
  // Copies the 20 digest bytes; false when the buffer is absent.
  bool GetHash(BYTE* digest) const;

 private:
  DWORD m_state[5];
  DWORD m_count[2];
  BYTE m_buffer[64];
  BYTE m_digest[20];
};

class ZXHELPER_API CCalcSHA1 {
 public:
  // The 40 upper-case digits of the file's SHA-1; empty text when the file cannot be opened
  // or read to its end.
  static CString HashFile(LPCTSTR path);
  static CString GetFileSha1Hash(LPCTSTR path);
  // The 40 upper-case digits of the SHA-1 of the text's first 1024 UTF-16LE code units (no
  // terminator); an absent text hashes as empty.
  static CString HashString(LPCTSTR text);
};
