// Helpers of the class library tests: catching MFC-style exceptions, hex byte vectors and
// archives over memory files.
#pragma once
#include <string>
#include <vector>

#include "afx.h"

namespace zx::afxtest {

// The run-time class of the CException* that f throws (the exception is freed), or null.
template <class F>
const CRuntimeClass* ThrownClass(F f) {
  try {
    f();
  } catch (CException* e) {
    const CRuntimeClass* cls = e->GetRuntimeClass();
    e->Delete();
    return cls;
  }
  return nullptr;
}

// The cause of the CArchiveException* that f throws, or -1 when it throws none.
template <class F>
int ArchiveCause(F f) {
  try {
    f();
  } catch (CArchiveException* e) {
    const int cause = e->m_cause;
    e->Delete();
    return cause;
  }
  return -1;
}

// "FF FE 0A" -> bytes; spaces are ignored.
inline std::vector<BYTE> Hex(const std::string& text) {
  std::vector<BYTE> bytes;
  std::string digits;
  for (char c : text)
    if (c != ' ') digits += c;
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
    bytes.push_back(static_cast<BYTE>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  return bytes;
}

// The bytes an archive holds after store(ar).
template <class F>
std::vector<BYTE> Stored(F store) {
  CMemFile file(16);
  {
    CArchive ar(&file, CArchive::store);
    store(ar);
    ar.Close();
  }
  std::vector<BYTE> bytes(static_cast<std::size_t>(file.GetLength()));
  file.SeekToBegin();
  file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  return bytes;
}

// Runs load(ar) over the bytes; answers how many bytes were left unread.
template <class F>
ULONGLONG Loaded(std::vector<BYTE> bytes, F load) {
  CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);
  load(ar);
  ar.Close();
  return file.GetLength() - file.GetPosition();
}

}  // namespace zx::afxtest
