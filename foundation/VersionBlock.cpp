// A file's version resource as the shared library reads it.
#include "VersionBlock.h"

#include <winnls.h>

BOOL ChooseVersionTranslation(LPCVOID block, DWORD& translation) {
  LPVOID pairs = nullptr;
  UINT length = 0;
  if (block == nullptr || !VerQueryValueW(block, _T("\\VarFileInfo\\Translation"), &pairs, &length) || length < 4)
    return FALSE;
  const BYTE* bytes = static_cast<const BYTE*>(pairs);
  const UINT count = length / 4;
  const auto language = [bytes](UINT i) { return static_cast<WORD>(bytes[i * 4] | bytes[i * 4 + 1] << 8); };
  UINT chosen = 0;
  bool found = false;
  for (const WORD wanted : {static_cast<WORD>(GetUserDefaultUILanguage()), WORD{0x0409}, WORD{0}}) {
    for (UINT i = 0; !found && i < count; ++i) {
      if (language(i) != wanted) continue;
      chosen = i;
      found = true;
    }
  }
  const WORD codePage = static_cast<WORD>(bytes[chosen * 4 + 2] | bytes[chosen * 4 + 3] << 8);
  translation = (static_cast<DWORD>(language(chosen)) << 16) | codePage;
  return TRUE;
}

BOOL ReadVersionBlock(LPCTSTR fileName, tagVersionBlock& block) {
  FreeVersionBlock(block);
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(fileName, &handle);
  if (size == 0) return FALSE;
  block.data.assign(size, 0);
  if (!GetFileVersionInfoW(fileName, handle, size, block.data.data()) ||
      !ChooseVersionTranslation(block.data.data(), block.dwTranslation)) {
    FreeVersionBlock(block);
    return FALSE;
  }
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
