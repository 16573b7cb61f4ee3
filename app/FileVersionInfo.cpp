// CFileVersionInfo: the version resource of a file, through the version API, with the
// translation Windows would show.
#include "FileVersionInfo.h"

#include <winver.h>

#include "VersionBlock.h"

namespace {

const LPCTSTR kStringNames[CFileVersionInfo::kStringCount] = {
    _T("CompanyName"),     _T("FileDescription"), _T("FileVersion"),    _T("InternalName"),
    _T("LegalCopyRight"),  _T("OriginalFileName"), _T("ProductName"),    _T("ProductVersion"),
    _T("Comments"),        _T("LegalTrademarks"), _T("PrivateBuild"),   _T("SpecialBuild")};

}  // namespace

bool CFileVersionInfo::Load(LPCTSTR path) {
  Reset();
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(path, &handle);
  if (size == 0) return false;
  std::vector<BYTE> data(size);
  if (!GetFileVersionInfoW(path, handle, size, data.data())) return false;
  DWORD translation = 0;
  if (!ChooseVersionTranslation(data.data(), translation)) return false;
  m_language = HIWORD(translation);
  m_codePage = LOWORD(translation);
  m_data = std::move(data);
  return true;
}

void CFileVersionInfo::Reset() {
  m_data.clear();
  m_language = m_codePage = 0;
}

bool CFileVersionInfo::QueryString(LPCTSTR name, CString& value) const {
  if (m_data.empty()) return false;
  CString path;
  path.Format(_T("\\StringFileInfo\\%04x%04x\\%s"), m_language, m_codePage, name);
  LPVOID text = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(m_data.data(), path, &text, &length)) return false;
  // The text ends at its terminator or at the length the resource gives, whichever is first.
  const LPCWSTR chars = static_cast<LPCWSTR>(text);
  UINT used = 0;
  while (used < length && chars[used] != 0) ++used;
  value = CString(chars, static_cast<int>(used));
  return true;
}

CString CFileVersionInfo::GetCompanyName() const {
  CString company;
  QueryString(_T("CompanyName"), company);
  return company;
}

bool CFileVersionInfo::HasStringValue(int index) const {
  CString value;
  return index >= 0 && index < kStringCount && QueryString(kStringNames[index], value);
}
