// Reg* functions on values: query, set, delete, enumerate, and RegGetValue.
#include <cstring>

#include "keyhandle.h"
#include "valuedata.h"
#include "winreg.h"
#include "zx_shreg.h"

namespace zx::registry {
namespace {

DWORD TypeFlag(DWORD type) {
  switch (type) {
    case REG_NONE: return RRF_RT_REG_NONE;
    case REG_SZ: return RRF_RT_REG_SZ;
    case REG_EXPAND_SZ: return RRF_RT_REG_EXPAND_SZ;
    case REG_BINARY: return RRF_RT_REG_BINARY;
    case REG_DWORD: return RRF_RT_REG_DWORD;
    case REG_MULTI_SZ: return RRF_RT_REG_MULTI_SZ;
    case REG_QWORD: return RRF_RT_REG_QWORD;
    default: return 0;
  }
}

bool EndsWithNullUnit(const std::vector<BYTE>& data, std::size_t fromEnd) {
  const std::size_t at = data.size() - 2 * fromEnd;
  return data.size() >= 2 * fromEnd && data[at] == 0 && data[at + 1] == 0;
}

// Checks the value against RegGetValue's type restriction; strings come back terminated.
LONG Restrict(DWORD types, DWORD type, std::vector<BYTE>& data) {
  if ((types & TypeFlag(type)) == 0) return ERROR_UNSUPPORTED_TYPE;
  if ((type == REG_DWORD && data.size() != 4) || (type == REG_QWORD && data.size() != 8) ||
      (type == REG_BINARY && types == RRF_RT_DWORD && data.size() != 4) ||
      (type == REG_BINARY && types == RRF_RT_QWORD && data.size() != 8))
    return ERROR_DATATYPE_MISMATCH;
  if (IsTextType(type)) {
    if (data.size() % 2 != 0) data.push_back(0);
    if (!EndsWithNullUnit(data, 1)) data.insert(data.end(), 2, 0);
    if (type == REG_MULTI_SZ && !EndsWithNullUnit(data, 2)) data.insert(data.end(), 2, 0);
  }
  return ERROR_SUCCESS;
}

LONG ReadSubkeyValue(HKEY hKey, LPCWSTR subKey, LPCWSTR name, DWORD& type, std::vector<BYTE>& data) {
  if (subKey == nullptr || *subKey == 0) return ReadValue(hKey, name, type, data);
  HKEY sub;
  if (const LONG error = RegOpenKeyExW(hKey, subKey, 0, KEY_QUERY_VALUE, &sub); error != ERROR_SUCCESS)
    return error;
  const LONG error = ReadValue(sub, name, type, data);
  RegCloseKey(sub);
  return error;
}

}  // namespace

LONG CopyData(const BYTE* data, std::size_t size, LPBYTE out, LPDWORD outSize) {
  const DWORD capacity = *outSize;
  *outSize = static_cast<DWORD>(size);
  if (out == nullptr) return ERROR_SUCCESS;
  if (capacity < size) return ERROR_MORE_DATA;
  if (size != 0) std::memcpy(out, data, size);
  return ERROR_SUCCESS;
}

LONG ReadValue(HKEY hKey, LPCWSTR name, DWORD& type, std::vector<BYTE>& data) {
  KeyAccess key(hKey, HiveStore::Access::kRead, KEY_QUERY_VALUE);
  if (key.status() != ERROR_SUCCESS) return key.status();
  const Value* value = key.key()->FindValue(name != nullptr ? name : u"");
  if (value == nullptr) return ERROR_FILE_NOT_FOUND;
  type = value->type;
  data = value->data;
  return ERROR_SUCCESS;
}

bool IsTextType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

}  // namespace zx::registry

using namespace zx::registry;

LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData) {
  if (lpData != nullptr && lpcbData == nullptr) return ERROR_INVALID_PARAMETER;
  KeyAccess key(hKey, HiveStore::Access::kRead, KEY_QUERY_VALUE);
  if (key.status() != ERROR_SUCCESS) return key.status();
  const Value* value = key.key()->FindValue(lpValueName != nullptr ? lpValueName : u"");
  if (value == nullptr) return ERROR_FILE_NOT_FOUND;
  StoreOut(lpType, value->type);
  return lpcbData == nullptr ? ERROR_SUCCESS
                             : CopyData(value->data.data(), value->data.size(), lpData, lpcbData);
}

LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData,
                    DWORD cbData) {
  if (lpData == nullptr && cbData != 0) return ERROR_NOACCESS;
  const std::u16string_view name = lpValueName != nullptr ? lpValueName : u"";
  if (name.size() > kMaxValueNameLength) return ERROR_INVALID_PARAMETER;
  KeyAccess key(hKey, HiveStore::Access::kWrite, KEY_SET_VALUE);
  if (key.status() != ERROR_SUCCESS) return key.status();
  return key.hive().Commit(Change{ChangeOp::SetValue, std::u16string(key.path()), std::u16string(name),
                                  dwType, std::vector<BYTE>(lpData, lpData + cbData)});
}

LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
  const std::u16string_view name = lpValueName != nullptr ? lpValueName : u"";
  KeyAccess key(hKey, HiveStore::Access::kWrite, KEY_SET_VALUE);
  if (key.status() != ERROR_SUCCESS) return key.status();
  if (key.key()->FindValue(name) == nullptr) return ERROR_FILE_NOT_FOUND;
  return key.hive().Commit(
      Change{ChangeOp::DeleteValue, std::u16string(key.path()), std::u16string(name), 0, {}});
}

LONG SHDeleteValueW(HKEY hkey, LPCWSTR pszSubKey, LPCWSTR pszValue) {
  HKEY key;
  if (const LONG error = RegOpenKeyExW(hkey, pszSubKey, 0, KEY_SET_VALUE, &key); error != ERROR_SUCCESS)
    return error;
  const LONG error = RegDeleteValueW(key, pszValue);
  RegCloseKey(key);
  return error;
}

LONG RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName, LPDWORD,
                   LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
  if (lpValueName == nullptr || lpcchValueName == nullptr || (lpData != nullptr && lpcbData == nullptr))
    return ERROR_INVALID_PARAMETER;
  KeyAccess key(hKey, HiveStore::Access::kRead, KEY_QUERY_VALUE);
  if (key.status() != ERROR_SUCCESS) return key.status();
  const std::vector<Value>& values = key.key()->values();
  if (dwIndex >= values.size()) return ERROR_NO_MORE_ITEMS;
  const Value& value = values[dwIndex];
  if (value.name.size() >= *lpcchValueName) return ERROR_MORE_DATA;
  std::memcpy(lpValueName, value.name.data(), value.name.size() * sizeof(WCHAR));
  lpValueName[value.name.size()] = 0;
  *lpcchValueName = static_cast<DWORD>(value.name.size());
  StoreOut(lpType, value.type);
  return lpcbData == nullptr ? ERROR_SUCCESS
                             : CopyData(value.data.data(), value.data.size(), lpData, lpcbData);
}

LONG RegGetValueW(HKEY hkey, LPCWSTR lpSubKey, LPCWSTR lpValue, DWORD dwFlags, LPDWORD pdwType,
                  PVOID pvData, LPDWORD pcbData) {
  const DWORD types = dwFlags & RRF_RT_ANY;
  if (types == 0 || (pvData != nullptr && pcbData == nullptr) ||
      (types == RRF_RT_REG_EXPAND_SZ && (dwFlags & RRF_NOEXPAND) == 0))
    return ERROR_INVALID_PARAMETER;
  const DWORD capacity = pvData != nullptr ? *pcbData : 0;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  LONG error = ReadSubkeyValue(hkey, lpSubKey, lpValue, type, data);
  if (error == ERROR_SUCCESS) error = Restrict(types, type, data);
  if (error == ERROR_SUCCESS) {
    StoreOut(pdwType, type);
    if (pcbData != nullptr) error = CopyData(data.data(), data.size(), static_cast<LPBYTE>(pvData), pcbData);
  }
  if (error != ERROR_SUCCESS && (dwFlags & RRF_ZEROONFAILURE) != 0 && pvData != nullptr)
    std::memset(pvData, 0, capacity);
  return error;
}
