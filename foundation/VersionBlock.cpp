// A file's version resource as the shared library reads it.
#include "VersionBlock.h"

BOOL ReadVersionBlock(LPCTSTR fileName, tagVersionBlock& block) {
  FreeVersionBlock(block);
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(fileName, &handle);
  if (size == 0) return FALSE;
  block.data.assign(size, 0);
  LPVOID translation = nullptr;
  UINT length = 0;
  if (!GetFileVersionInfoW(fileName, handle, size, block.data.data()) ||
      !VerQueryValueW(block.data.data(), _T("\\VarFileInfo\\Translation"), &translation, &length) ||
      length < 4) {
    FreeVersionBlock(block);
    return FALSE;
  }
  const WORD* pair = static_cast<const WORD*>(translation);
  block.dwTranslation = (static_cast<DWORD>(pair[0]) << 16) | pair[1];
  return TRUE;
}

BOOL GetFixedFileInfo(const tagVersionBlock& block, VS_FIXEDFILEINFO& info) {
  if (block.data.empty()) return FALSE;
  LPVOID fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data.data(), _T("\\"), &fixed, &length) || length < sizeof(VS_FIXEDFILEINFO))
    return FALSE;
  info = *static_cast<const VS_FIXEDFILEINFO*>(fixed);
  return TRUE;
}

void FreeVersionBlock(tagVersionBlock& block) {
  block.data.clear();
  block.dwTranslation = 0;
}

CString GetFileVersionString(const tagVersionBlock& block) {
  VS_FIXEDFILEINFO info{};
  if (!GetFixedFileInfo(block, info)) return CString();
  CString text;
  text.Format(_T("%u,%u,%u,%u"), HIWORD(info.dwFileVersionMS), LOWORD(info.dwFileVersionMS),
              HIWORD(info.dwFileVersionLS), LOWORD(info.dwFileVersionLS));
  text.Replace(_T(','), _T('.'));
  return text;
}
