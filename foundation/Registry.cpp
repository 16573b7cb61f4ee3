// Registry access: CRegistry and the one-value helpers.
#include "Registry.h"

#include <vector>

IMPLEMENT_DYNCREATE(CRegistry, CObject)

namespace {
constexpr REGSAM kReadOnly = 0x20019;
constexpr DWORD kArrayBufferBytes = 4096 * sizeof(WCHAR);
}  // namespace

CRegistry::CRegistry() : m_hKey(HKEY_CURRENT_USER) {}

CRegistry::CRegistry(HKEY root) : m_hKey(root) {}

CRegistry::~CRegistry() { Close(); }

BOOL CRegistry::IsOpen() const {
  // The predefined roots are not ours to close; anything else was opened here.
  return m_hKey != nullptr && (reinterpret_cast<ULONG_PTR>(m_hKey) & 0x80000000u) == 0;
}

BOOL CRegistry::Open(HKEY root, LPCTSTR path, BOOL create) {
  Close();
  m_hKey = root;
  m_strSubKey = path;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path, 0, m_dwAccess, &key) == ERROR_SUCCESS) {
    m_hKey = key;
    return TRUE;
  }
  if (!create || m_dwAccess == kReadOnly) return FALSE;
  return CreateKey(root, path);
}

BOOL CRegistry::OpenOrCreate(LPCTSTR path) {
  HKEY root = m_hKey != nullptr && !IsOpen() ? m_hKey : HKEY_CURRENT_USER;
  if (Open(root, path, FALSE)) return TRUE;
  return CreateKey(root, path);
}

BOOL CRegistry::OpenSubKey(HKEY root, LPCTSTR path) {
  Close();
  m_strSubKey = path;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path, 0, m_dwAccess, &key) != ERROR_SUCCESS) return FALSE;
  m_hKey = key;
  return TRUE;
}

BOOL CRegistry::OpenSubKey(LPCTSTR path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(m_hKey, path, 0, m_dwAccess, &key) != ERROR_SUCCESS) return FALSE;
  Close();
  m_hKey = key;
  m_strSubKey = path;
  return TRUE;
}

BOOL CRegistry::CreateKey(HKEY root, LPCTSTR path, DWORD options) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyExW(root, path, 0, nullptr, options, m_dwAccess, nullptr, &key, &disposition) !=
      ERROR_SUCCESS)
    return FALSE;
  Close();
  m_hKey = key;
  m_strSubKey = path;
  return TRUE;
}

void CRegistry::Close() {
  if (IsOpen()) RegCloseKey(m_hKey);
  m_hKey = nullptr;
}

BOOL CRegistry::DeleteKey(HKEY root, LPCTSTR path) {
  return RegDeleteKeyW(root, path) == ERROR_SUCCESS;
}

BOOL CRegistry::DeleteValue(LPCTSTR name) { return RegDeleteValueW(m_hKey, name) == ERROR_SUCCESS; }

BOOL CRegistry::ValueExists(LPCTSTR name) {
  return RegQueryValueExW(m_hKey, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

BOOL CRegistry::WriteString(LPCTSTR name, LPCTSTR text, BOOL expand) {
  const CString value = text ? text : _T("");
  return RegSetValueExW(m_hKey, name, 0, expand ? REG_EXPAND_SZ : REG_SZ,
                        reinterpret_cast<const BYTE*>(value.GetString()),
                        static_cast<DWORD>((value.GetLength() + 1) * sizeof(WCHAR))) == ERROR_SUCCESS;
}

BOOL CRegistry::ReadStringEx(LPCTSTR name, CString& text, BOOL& expand) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(m_hKey, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return FALSE;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return FALSE;
  // Room for the length plus a terminator, whatever the stored bytes hold.
  const DWORD characters = size / sizeof(WCHAR) + 1;
  std::vector<WCHAR> buffer(characters + 1, 0);
  DWORD bytes = characters * sizeof(WCHAR);
  if (RegQueryValueExW(m_hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) !=
      ERROR_SUCCESS)
    return FALSE;
  text = buffer.data();
  expand = type == REG_EXPAND_SZ;
  return TRUE;
}

BOOL CRegistry::ReadString(LPCTSTR name, CString& text) {
  BOOL expand = FALSE;
  return ReadStringEx(name, text, expand);
}

BOOL CRegistry::WriteDWORD(LPCTSTR name, const DWORD* value) {
  return value && WriteDWORDValue(name, *value);
}

BOOL CRegistry::WriteDWORDValue(LPCTSTR name, DWORD value) {
  return RegSetValueExW(m_hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                        sizeof(value)) == ERROR_SUCCESS;
}

BOOL CRegistry::WriteByteValue(LPCTSTR name, DWORD value) { return WriteDWORDValue(name, value % 256); }

BOOL CRegistry::ReadDWORD(LPCTSTR name, DWORD& value) {
  DWORD type = 0;
  DWORD read = 0;
  DWORD size = sizeof(read);
  if (RegQueryValueExW(m_hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(&read), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(DWORD))
    return FALSE;
  value = read;
  return TRUE;
}

BOOL CRegistry::ReadDWORDKeep(LPCTSTR name, DWORD& value) { return ReadDWORD(name, value); }

BOOL CRegistry::ReadBool(LPCTSTR name, BOOL& flag) {
  DWORD value = 0;
  if (!ReadDWORD(name, value)) return FALSE;
  flag = value != 0;
  return TRUE;
}

BOOL CRegistry::WriteBinary(LPCTSTR name, const BYTE* bytes, DWORD length) {
  return RegSetValueExW(m_hKey, name, 0, REG_BINARY, bytes, length) == ERROR_SUCCESS;
}

BOOL CRegistry::ReadBinary(LPCTSTR name, BYTE* buffer, DWORD& length) {
  DWORD type = 0;
  DWORD size = length;
  if (RegQueryValueExW(m_hKey, name, nullptr, &type, buffer, &size) != ERROR_SUCCESS ||
      type != REG_BINARY)
    return FALSE;
  length = size;
  return TRUE;
}

BOOL CRegistry::EnumNames(LPCTSTR path, CStringArray& names, bool values) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(m_hKey, path, 0, m_dwAccess, &key) != ERROR_SUCCESS) return FALSE;
  DWORD subKeys = 0, valueCount = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &valueCount,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    RegCloseKey(key);
    return FALSE;
  }
  names.RemoveAll();
  const DWORD count = values ? valueCount : subKeys;
  const DWORD limit = values ? 512 : 200;
  std::vector<WCHAR> name(limit + 1, 0);
  for (DWORD i = 0; i < count; ++i) {
    DWORD length = limit;
    const LONG result =
        values ? RegEnumValueW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr)
               : RegEnumKeyExW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (result != ERROR_SUCCESS) break;
    names.Add(CString(name.data(), static_cast<int>(length)));
  }
  RegCloseKey(key);
  return TRUE;
}

BOOL CRegistry::EnumSubKeys(LPCTSTR path, CStringArray& names) { return EnumNames(path, names, false); }

BOOL CRegistry::EnumValueNames(LPCTSTR path, CStringArray& names) { return EnumNames(path, names, true); }

DWORD CRegistry::GetSubKeyCount() {
  DWORD count = 0;
  RegQueryInfoKeyW(m_hKey, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                   nullptr, nullptr, nullptr);
  return count;
}

DWORD CRegistry::GetValueCount() {
  DWORD count = 0;
  RegQueryInfoKeyW(m_hKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                   nullptr, nullptr, nullptr);
  return count;
}

DWORD CRegistry::GetMaxSubKeyLength() {
  DWORD length = 0;
  RegQueryInfoKeyW(m_hKey, nullptr, nullptr, nullptr, nullptr, &length, nullptr, nullptr, nullptr,
                   nullptr, nullptr, nullptr);
  return length;
}

BOOL CRegistry::EnumSubKey(DWORD index, LPTSTR buffer, DWORD& length) {
  return RegEnumKeyExW(m_hKey, index, buffer, &length, nullptr, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

BOOL CRegistry::StoreArchive(LPCTSTR name, CObject& object, DWORD type) {
  m_dwLastType = type;
  try {
    CMemFile file(16);
    {
      CArchive archive(&file, CArchive::store);
      object.Serialize(archive);
      archive.Close();
    }
    const DWORD length = static_cast<DWORD>(file.GetLength());
    std::vector<BYTE> bytes(length);
    file.SeekToBegin();
    file.Read(bytes.data(), length);
    m_dwLastLength = length;
    m_dwLastError = static_cast<DWORD>(
        RegSetValueExW(m_hKey, name, 0, REG_BINARY, bytes.data(), length));
  } catch (CException* e) {
    e->Delete();
    m_dwLastError = ERROR_INVALID_DATA;
  }
  return m_dwLastError == ERROR_SUCCESS;
}

BOOL CRegistry::LoadArchive(LPCTSTR name, CObject& object) {
  std::vector<BYTE> bytes(kArrayBufferBytes);
  DWORD type = 0;
  DWORD length = kArrayBufferBytes;
  m_dwLastError = static_cast<DWORD>(RegQueryValueExW(m_hKey, name, nullptr, &type, bytes.data(), &length));
  m_dwLastType = type;
  m_dwLastLength = length;
  if (m_dwLastError != ERROR_SUCCESS) return FALSE;
  if (type != REG_BINARY) {
    m_dwLastError = ERROR_INVALID_DATA;
    return FALSE;
  }
  try {
    CMemFile file;
    file.Attach(bytes.data(), length);
    {
      CArchive archive(&file, CArchive::load);
      object.Serialize(archive);
      archive.Close();
    }
    file.Detach();
  } catch (CException* e) {
    e->Delete();
    m_dwLastError = ERROR_INVALID_DATA;
    return FALSE;
  }
  return TRUE;
}

BOOL CRegistry::WriteObject(LPCTSTR name, CObject& object) {
  return StoreArchive(name, object, kRegArchiveObject);
}

BOOL CRegistry::WriteList(LPCTSTR name, CObject& list) {
  return StoreArchive(name, list, kRegArchiveObject);
}

BOOL CRegistry::ReadObject(LPCTSTR name, CObject& object) { return LoadArchive(name, object); }

template <class Array>
BOOL CRegistry::ReadArrayKeepingSize(LPCTSTR name, Array& array) {
  // Callers size the array to what they expect; the stored list fills that many slots.
  const INT_PTR expected = array.GetSize();
  const BOOL read = LoadArchive(name, array);
  array.SetSize(expected);
  return read;
}

BOOL CRegistry::ReadByteArray(LPCTSTR name, CByteArray& array) { return ReadArrayKeepingSize(name, array); }
BOOL CRegistry::ReadDWordArray(LPCTSTR name, CDWordArray& array) { return ReadArrayKeepingSize(name, array); }
BOOL CRegistry::ReadWordArray(LPCTSTR name, CWordArray& array) { return ReadArrayKeepingSize(name, array); }
BOOL CRegistry::ReadStringArray(LPCTSTR name, CStringArray& array) { return ReadArrayKeepingSize(name, array); }

BOOL CRegistry::WriteRect(LPCTSTR name, const RECT& rect) {
  CDWordArray numbers;
  numbers.SetSize(5);
  numbers[0] = static_cast<DWORD>(rect.top);
  numbers[1] = static_cast<DWORD>(rect.bottom);
  numbers[2] = static_cast<DWORD>(rect.left);
  numbers[3] = static_cast<DWORD>(rect.right);
  return StoreArchive(name, numbers, kRegArchiveRect);
}

BOOL CRegistry::WritePoint(LPCTSTR name, const POINT& point) {
  CDWordArray numbers;
  numbers.SetSize(5);
  numbers[0] = static_cast<DWORD>(point.x);
  numbers[1] = static_cast<DWORD>(point.y);
  return StoreArchive(name, numbers, kRegArchivePoint);
}

BOOL CRegistry::ReadFiveNumbers(LPCTSTR name, DWORD (&numbers)[5]) {
  CDWordArray array;
  array.SetSize(5);
  if (!ReadDWordArray(name, array)) return FALSE;
  for (int i = 0; i < 5; ++i) numbers[i] = array[i];
  return TRUE;
}

BOOL CRegistry::ReadRect(LPCTSTR name, RECT& rect) {
  DWORD numbers[5];
  if (!ReadFiveNumbers(name, numbers)) return FALSE;
  rect.top = static_cast<LONG>(numbers[0]);
  rect.bottom = static_cast<LONG>(numbers[1]);
  rect.left = static_cast<LONG>(numbers[2]);
  rect.right = static_cast<LONG>(numbers[3]);
  return TRUE;
}

BOOL CRegistry::ReadPoint(LPCTSTR name, POINT& point) {
  DWORD numbers[5];
  if (!ReadFiveNumbers(name, numbers)) return FALSE;
  point.x = static_cast<LONG>(numbers[0]);
  point.y = static_cast<LONG>(numbers[1]);
  return TRUE;
}

// One-value helpers -----------------------------------------------------------------------

BOOL RegExistsValue(HKEY root, LPCTSTR path, LPCTSTR name) {
  CRegistry registry;
  registry.m_dwAccess = kReadOnly;
  return registry.Open(root, path) && registry.ValueExists(name);
}

BOOL RegWriteString(HKEY root, LPCTSTR path, LPCTSTR name, LPCTSTR text) {
  CRegistry registry;
  return registry.Open(root, path, TRUE) && registry.WriteString(name, text);
}

BOOL RegReadString(HKEY root, LPCTSTR path, LPCTSTR name, LPTSTR buffer, DWORD characters) {
  CRegistry registry;
  registry.m_dwAccess = kReadOnly;
  CString value;
  if (!buffer || !registry.Open(root, path) || !registry.ReadString(name, value)) return FALSE;
  if (static_cast<DWORD>(value.GetLength()) >= characters) return FALSE;
  for (int i = 0; i <= value.GetLength(); ++i) buffer[i] = value.GetString()[i];
  return TRUE;
}

BOOL RegWriteDWORD(HKEY root, LPCTSTR path, LPCTSTR name, DWORD value) {
  CRegistry registry;
  return registry.Open(root, path, TRUE) && registry.WriteDWORDValue(name, value);
}

DWORD RegReadDWORD(HKEY root, LPCTSTR path, LPCTSTR name) {
  CRegistry registry;
  DWORD value = 0;
  if (registry.Open(root, path, TRUE)) registry.ReadDWORD(name, value);
  return value;
}

int RegEnumValueNames(HKEY key, CStringArray& names) {
  names.RemoveAll();
  DWORD count = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                       nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
    WCHAR name[256];
    for (DWORD i = 0; i < count; ++i) {
      DWORD length = 255;
      if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
        names.Add(CString(name, static_cast<int>(length)));
    }
  }
  return static_cast<int>(names.GetSize());
}

LPCTSTR GetProductRegistryKeyText() {
  static const CString path = CString(_T("Software")) + _T("\\") + _T("Corvash Vozivuved") + _T("\\") +
                              _T("Zephrin Tunevo");
  return path.GetString();
}

void GetProductRegistryKey(CString& path) { path = GetProductRegistryKeyText(); }
