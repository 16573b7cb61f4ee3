// CRegKeyAccess: the main program's small registry key wrapper, one open key at a time.
#pragma once
#include <afx.h>

#include <vector>

class CRegKeyAccess {
 public:
  // Read, set value and create sub-key; or read only.
  static constexpr REGSAM kReadWrite = 0x2001F;
  static constexpr REGSAM kReadOnly = 0x20019;

  explicit CRegKeyAccess(HKEY root, REGSAM access = kReadWrite);
  ~CRegKeyAccess();
  CRegKeyAccess(const CRegKeyAccess&) = delete;
  CRegKeyAccess& operator=(const CRegKeyAccess&) = delete;

  void SetAccess(REGSAM access) { m_access = access; }
  REGSAM GetAccess() const { return m_access; }
  // Opens root\subKey with the stored access (closing a key open before); when that fails,
  // create is true and the access is not read only, creates it.
  bool Open(HKEY root, LPCTSTR subKey, bool create = false);
  // Opens subKey below the root given at construction.
  bool Open(LPCTSTR subKey) { return Open(m_root, subKey, false); }
  bool Create(HKEY root, LPCTSTR subKey);
  void Close();
  bool IsOpen() const { return m_key != nullptr; }
  const CString& GetSubKey() const { return m_subKey; }

  bool ValueExists(LPCTSTR name) const;
  bool DeleteValue(LPCTSTR name);
  bool WriteString(LPCTSTR name, LPCTSTR text);
  bool WriteDword(LPCTSTR name, DWORD value);
  // REG_SZ or REG_EXPAND_SZ (unexpanded); false when missing or of another type.
  bool ReadString(LPCTSTR name, CString& text) const;
  // A REG_DWORD of four bytes.
  bool ReadDword(LPCTSTR name, DWORD& value) const;
  // REG_MULTI_SZ or REG_EXPAND_SZ: empties the list and appends each string up to the
  // first empty one. Any other type (or no value) appends defaultText and answers false.
  bool ReadMultiString(LPCTSTR name, CStringArray& list, LPCTSTR defaultText = _T("")) const;

 private:
  // The value's type and its text, ending in two zeros whatever the value holds.
  bool Query(LPCTSTR name, DWORD& type, std::vector<WCHAR>& buffer) const;

  HKEY m_root;
  HKEY m_key = nullptr;
  REGSAM m_access;
  CString m_subKey;
};
