// Text lookup by string id: the ini reader CIniReader with its process-wide cache, the
// opening of readers by file name, the client-then-language lookup and size texts.
#pragma once
#include <afx.h>

#include "HelperApi.h"

class ZXHELPER_API CIniReader : public CObject {
  DECLARE_DYNCREATE(CIniReader)

 public:
  CIniReader() = default;
  explicit CIniReader(LPCTSTR path);
  void SetFileName(LPCTSTR path);
  // True when a non-empty text was found.
  BOOL ReadString(LPCTSTR stringId, LPCTSTR section, CString& text);

  CString m_strFilePath;
  CString m_strFileName;
};

// A reader of the named file (searched in the language folder, then beside the shared
// library, where "qvx.ini" stands in for a missing file), or null when no file exists.
ZXHELPER_API CIniReader* OpenIniReader(LPCTSTR fileName, BOOL searchLanguageFolder);
ZXHELPER_API void DeleteIniReader(CIniReader* reader);
// The client text (section "client", then the caller's), else the language text; a text
// found nowhere is reported in a message box and answers empty.
ZXHELPER_API CString ReadIniString(CString& text, LPCTSTR stringId, LPCTSTR section,
                                   CIniReader* languageReader, CIniReader* clientReader);
// The same through readers of "client.ini" and "qvx.ini" opened for this one call.
ZXHELPER_API CString GetLangString(LPCTSTR stringId, LPCTSTR section);
// The string-table text of the id in the current resource module (the language resource
// library once the application has loaded it); empty when the id has no text.
ZXHELPER_API CString LoadResString(UINT id);
// The text of a byte count from the language texts "IDS_BYTES", "IDS_KB"/"IDS_KB2",
// "IDS_MB"/"IDS_MB2" and "IDS_PHY_MEM_GB_1".
ZXHELPER_API CString FormatSizeText(CString& text, ULONGLONG bytes, BOOL wholeUnits);
