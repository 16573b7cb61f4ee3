// A file's version resource as the shared library reads it: the whole block, the translation
// whose strings are read, the fixed file information and the file-version text.
#pragma once
#include <afx.h>
#include <winver.h>

#include <vector>

#include "HelperApi.h"

struct ZXHELPER_API tagVersionBlock {
  std::vector<BYTE> data;     // empty when nothing was read
  DWORD dwTranslation = 0;   // language in the high word, code page in the low word
};

// The translation of "\VarFileInfo\Translation" whose strings are read, as Windows picks
// it: the user's interface language, else English (United States), else language neutral,
// else the first. Language in the high word, code page in the low word; false when the
// block names no translation.
ZXHELPER_API BOOL ChooseVersionTranslation(LPCVOID block, DWORD& translation);
// Reads the block and the translation ChooseVersionTranslation picks; false, with the block
// emptied, when any step fails.
ZXHELPER_API BOOL ReadVersionBlock(LPCTSTR fileName, tagVersionBlock& block);
// Copies the fixed file information found at "\"; false when the block has none.
ZXHELPER_API BOOL GetFixedFileInfo(const tagVersionBlock& block, VS_FIXEDFILEINFO& info);
ZXHELPER_API void FreeVersionBlock(tagVersionBlock& block);
// The file version as four numbers joined by dots ("6.1.0.12"); empty without fixed information.
ZXHELPER_API CString GetFileVersionString(const tagVersionBlock& block);
