// Registry access: the key wrapper CRegistry (strings, numbers, binary values, and lists,
// rectangles, points and objects kept as archive values), one-value helpers and the
// product's registry path.
#pragma once
#include <afx.h>
#include <windows.h>

#include "HelperApi.h"

// Archive type codes kept in CRegistry::m_dwLastType after an archive write.
constexpr DWORD kRegArchiveObject = 3;
constexpr DWORD kRegArchiveRect = 1;
constexpr DWORD kRegArchivePoint = 2;

class ZXHELPER_API CRegistry : public CObject {
  DECLARE_DYNCREATE(CRegistry)

 public:
  CRegistry();
  explicit CRegistry(HKEY root);
  ~CRegistry() override;
  CRegistry(const CRegistry&) = delete;
  CRegistry& operator=(const CRegistry&) = delete;

  BOOL Open(HKEY root, LPCTSTR path, BOOL create = FALSE);
  BOOL OpenOrCreate(LPCTSTR path);
  BOOL OpenSubKey(HKEY root, LPCTSTR path);
  BOOL OpenSubKey(LPCTSTR path);
  BOOL CreateKey(HKEY root, LPCTSTR path, DWORD options = REG_OPTION_NON_VOLATILE);
  void Close();
  BOOL DeleteKey(HKEY root, LPCTSTR path);
  BOOL DeleteValue(LPCTSTR name);
  BOOL ValueExists(LPCTSTR name);

  BOOL WriteString(LPCTSTR name, LPCTSTR text, BOOL expand = FALSE);
  BOOL ReadString(LPCTSTR name, CString& text);
  BOOL ReadStringEx(LPCTSTR name, CString& text, BOOL& expand);
  BOOL WriteDWORD(LPCTSTR name, const DWORD* value);
  BOOL WriteDWORDValue(LPCTSTR name, DWORD value);
  BOOL WriteByteValue(LPCTSTR name, DWORD value);
  BOOL ReadDWORD(LPCTSTR name, DWORD& value);
  BOOL ReadDWORDKeep(LPCTSTR name, DWORD& value);
  BOOL ReadBool(LPCTSTR name, BOOL& flag);
  BOOL WriteBinary(LPCTSTR name, const BYTE* bytes, DWORD length);
  BOOL ReadBinary(LPCTSTR name, BYTE* buffer, DWORD& length);

  BOOL EnumSubKeys(LPCTSTR path, CStringArray& names);
  BOOL EnumValueNames(LPCTSTR path, CStringArray& names);
  DWORD GetSubKeyCount();
  DWORD GetValueCount();
  DWORD GetMaxSubKeyLength();
  BOOL EnumSubKey(DWORD index, LPTSTR buffer, DWORD& length);

  BOOL WriteObject(LPCTSTR name, CObject& object);
  BOOL WriteList(LPCTSTR name, CObject& list);
  BOOL WriteRect(LPCTSTR name, const RECT& rect);
  BOOL WritePoint(LPCTSTR name, const POINT& point);
  BOOL ReadObject(LPCTSTR name, CObject& object);
  BOOL ReadByteArray(LPCTSTR name, CByteArray& array);
  BOOL ReadDWordArray(LPCTSTR name, CDWordArray& array);
  BOOL ReadWordArray(LPCTSTR name, CWordArray& array);
  BOOL ReadStringArray(LPCTSTR name, CStringArray& array);
  BOOL ReadRect(LPCTSTR name, RECT& rect);
  BOOL ReadPoint(LPCTSTR name, POINT& point);

  REGSAM m_dwAccess = 0x2001F;  // 0x20019 makes the object read-only
  HKEY m_hKey;
  CString m_strSubKey;
  DWORD m_dwLastError = 0;
  DWORD m_dwLastType = 0;
  DWORD m_dwLastLength = 0;

 private:
  BOOL StoreArchive(LPCTSTR name, CObject& object, DWORD type);
  BOOL LoadArchive(LPCTSTR name, CObject& object);
  template <class Array>
  BOOL ReadArrayKeepingSize(LPCTSTR name, Array& array);
  BOOL ReadFiveNumbers(LPCTSTR name, DWORD (&numbers)[5]);
  BOOL EnumNames(LPCTSTR path, CStringArray& names, bool values);
  BOOL IsOpen() const;
};

// One-value helpers over a temporary CRegistry.
ZXHELPER_API BOOL RegExistsValue(HKEY root, LPCTSTR path, LPCTSTR name);
ZXHELPER_API BOOL RegWriteString(HKEY root, LPCTSTR path, LPCTSTR name, LPCTSTR text);
ZXHELPER_API BOOL RegReadString(HKEY root, LPCTSTR path, LPCTSTR name, LPTSTR buffer, DWORD characters);
ZXHELPER_API BOOL RegWriteDWORD(HKEY root, LPCTSTR path, LPCTSTR name, DWORD value);
ZXHELPER_API DWORD RegReadDWORD(HKEY root, LPCTSTR path, LPCTSTR name);
ZXHELPER_API int RegEnumValueNames(HKEY key, CStringArray& names);

// "Software\Corvash Vozivuved\Zephrin Tunevo", built once for the process.
ZXHELPER_API void GetProductRegistryKey(CString& path);
ZXHELPER_API LPCTSTR GetProductRegistryKeyText();
