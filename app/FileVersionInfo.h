// CFileVersionInfo: reads the version resource of a file and the strings of the translation
// Windows would show (ChooseVersionTranslation, VersionBlock.h).
#pragma once
#include <afx.h>

#include <vector>

class CFileVersionInfo {
 public:
  // The version strings HasStringValue asks about, by index.
  static constexpr int kStringCount = 12;

  // True when the file has a version resource with a "\VarFileInfo\Translation" entry;
  // the language and code page ChooseVersionTranslation picks are kept.
  bool Load(LPCTSTR path);
  void Reset();
  // "CompanyName" of the kept translation; empty when nothing is loaded.
  CString GetCompanyName() const;
  // Whether the resource has string `index` (0 "CompanyName" ... 11 "SpecialBuild");
  // false for an index outside 0..11 or when nothing is loaded.
  bool HasStringValue(int index) const;

 private:
  bool QueryString(LPCTSTR name, CString& value) const;

  std::vector<BYTE> m_data;
  WORD m_language = 0;
  WORD m_codePage = 0;
};
