// CFileVersionInfo: the version resource of a file, through the version API.
#include "FileVersionInfo.h"

#include <winver.h>

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
  LPVOID translation = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), _T("\\VarFileInfo\\Translation"), &translation, &length) ||
      length < sizeof(DWORD))
    return false;
  const BYTE* pair = static_cast<const BYTE*>(translation);
  m_language = static_cast<WORD>(pair[0] | pair[1] << 8);
  m_codePage = static_cast<WORD>(pair[2] | pair[3] << 8);
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
