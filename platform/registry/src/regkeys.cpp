// Reg* functions on keys: open, create, close, delete, enumerate, describe, flush.
#include <algorithm>
#include <cstring>

#include "keyhandle.h"
#include "winreg.h"
#include "zx_shreg.h"

namespace zx::registry {
namespace {

// Finds the key of names below `from`, extending path with the names as stored.
std::shared_ptr<Key> Walk(std::shared_ptr<Key> from, const std::vector<std::u16string_view>& names,
                          std::u16string& path, std::size_t& found) {
  for (found = 0; found < names.size(); ++found) {
    std::shared_ptr<Key> next = from->FindSubkey(names[found]);
    if (!next) return nullptr;
    AppendName(path, next->name());
    from = std::move(next);
  }
  return from;
}

// Deletes hKey's sub-key (or hKey itself for an empty sub-key); withSubkeys says whether a
// key that has sub-keys goes too, else it is refused as Windows does.
LONG DeleteKey(HKEY hKey, LPCWSTR subKey, bool withSubkeys) {
  if (subKey == nullptr) return ERROR_INVALID_PARAMETER;
  std::vector<std::u16string_view> names;
  if (const LONG error = SplitSubKey(subKey, names); error != ERROR_SUCCESS) return error;
  KeyAccess parent(hKey, HiveStore::Access::kWrite);
  if (parent.status() != ERROR_SUCCESS) return parent.status();
  if (names.empty() && parent.predefined()) return ERROR_ACCESS_DENIED;
  std::u16string path(parent.path());
  std::size_t found;
  const std::shared_ptr<Key> key = Walk(parent.key(), names, path, found);
  if (!key) return ERROR_FILE_NOT_FOUND;
  if (path.empty()) return ERROR_ACCESS_DENIED;  // a hive's root
  if (!withSubkeys && !key->subkeys().empty()) return ERROR_ACCESS_DENIED;
  return parent.hive().Commit(Change{ChangeOp::DeleteTree, std::move(path), {}, 0, {}});
}

// Where this thread's last enumeration of sub-keys stood: a walk by index goes on from there
// instead of counting from the first sub-key each time, while the key's list is unchanged.
struct SubkeyCursor {
  std::weak_ptr<const Key> key;
  std::uint64_t changes = 0;
  DWORD index = 0;
  Key::Subkeys::const_iterator at;
};

Key::Subkeys::const_iterator SubkeyAt(const std::shared_ptr<Key>& key, DWORD index) {
  thread_local SubkeyCursor cursor;
  const bool onward = cursor.key.lock() == key && cursor.changes == key->subkeyChanges() && cursor.index <= index;
  const auto at = onward ? std::next(cursor.at, index - cursor.index) : std::next(key->subkeys().begin(), index);
  cursor = SubkeyCursor{key, key->subkeyChanges(), index, at};
  return at;
}

}  // namespace
}  // namespace zx::registry

using namespace zx::registry;

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
  if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  std::vector<std::u16string_view> names;
  if (const LONG error = SplitSubKey(lpSubKey, names); error != ERROR_SUCCESS) return error;
  KeyAccess parent(hKey, HiveStore::Access::kRead);
  if (parent.status() != ERROR_SUCCESS) return parent.status();
  std::u16string path(parent.path());
  std::size_t found;
  std::shared_ptr<Key> key = Walk(parent.key(), names, path, found);
  if (!key) return ERROR_FILE_NOT_FOUND;
  *phkResult = parent.NewHandle(std::move(path), samDesired, std::move(key));
  return ERROR_SUCCESS;
}

LONG RegOpenKeyW(HKEY hKey, LPCWSTR lpSubKey, PHKEY phkResult) {
  if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
  if (lpSubKey == nullptr || *lpSubKey == 0) {
    *phkResult = hKey;
    return ERROR_SUCCESS;
  }
  return RegOpenKeyExW(hKey, lpSubKey, 0, KEY_ALL_ACCESS, phkResult);
}

LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, LPWSTR, DWORD, REGSAM samDesired,
                     const SECURITY_ATTRIBUTES*, PHKEY phkResult, LPDWORD lpdwDisposition) {
  if (phkResult == nullptr || lpSubKey == nullptr) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  std::vector<std::u16string_view> names;
  if (const LONG error = SplitSubKey(lpSubKey, names); error != ERROR_SUCCESS) return error;
  KeyAccess parent(hKey, HiveStore::Access::kWrite);
  if (parent.status() != ERROR_SUCCESS) return parent.status();
  std::u16string path(parent.path());
  std::size_t found;
  std::shared_ptr<Key> key = Walk(parent.key(), names, path, found);
  DWORD disposition = REG_OPENED_EXISTING_KEY;
  if (!key) {
    if (Depth(path) + names.size() - found > kMaxKeyDepth) return ERROR_INVALID_PARAMETER;
    if ((parent.rights() & KEY_CREATE_SUB_KEY) == 0) return ERROR_ACCESS_DENIED;
    for (std::size_t i = found; i < names.size(); ++i) AppendName(path, names[i]);
    if (const LONG error = parent.hive().Commit(Change{ChangeOp::CreateKey, path, {}, 0, {}});
        error != ERROR_SUCCESS)
      return error;
    key = parent.hive().tree().Find(path);
    disposition = REG_CREATED_NEW_KEY;
  }
  *phkResult = parent.NewHandle(std::move(path), samDesired, std::move(key));
  StoreOut(lpdwDisposition, disposition);
  return ERROR_SUCCESS;
}

LONG RegCreateKeyW(HKEY hKey, LPCWSTR lpSubKey, PHKEY phkResult) {
  if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
  if (lpSubKey == nullptr || *lpSubKey == 0) {
    *phkResult = hKey;
    return ERROR_SUCCESS;
  }
  return RegCreateKeyExW(hKey, lpSubKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                         nullptr, phkResult, nullptr);
}

LONG RegCloseKey(HKEY hKey) {
  if (hKey == HKEY_CLASSES_ROOT || hKey == HKEY_CURRENT_USER || hKey == HKEY_LOCAL_MACHINE ||
      hKey == HKEY_USERS)
    return ERROR_SUCCESS;
  const HANDLE handle = reinterpret_cast<HANDLE>(hKey);
  if (!zx::ReferenceHandleAs<KeyObject>(handle)) return ERROR_INVALID_HANDLE;
  zx::RemoveHandle(handle);
  return ERROR_SUCCESS;
}

LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) { return DeleteKey(hKey, lpSubKey, false); }

LONG RegDeleteKeyExW(HKEY hKey, LPCWSTR lpSubKey, REGSAM, DWORD) {
  return DeleteKey(hKey, lpSubKey, false);
}

LONG SHDeleteKeyW(HKEY hkey, LPCWSTR pszSubKey) { return DeleteKey(hkey, pszSubKey, true); }

LONG RegDeleteTreeW(HKEY hKey, LPCWSTR lpSubKey) {
  if (lpSubKey != nullptr && *lpSubKey != 0) return DeleteKey(hKey, lpSubKey, true);
  KeyAccess key(hKey, HiveStore::Access::kWrite, KEY_SET_VALUE);
  if (key.status() != ERROR_SUCCESS) return key.status();
  return key.hive().Commit(Change{ChangeOp::ClearKey, std::u16string(key.path()), {}, 0, {}});
}

LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD,
                   LPWSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
  if (lpName == nullptr || lpcchName == nullptr) return ERROR_INVALID_PARAMETER;
  KeyAccess key(hKey, HiveStore::Access::kRead, KEY_ENUMERATE_SUB_KEYS);
  if (key.status() != ERROR_SUCCESS) return key.status();
  const Key::Subkeys& subkeys = key.key()->subkeys();
  if (dwIndex >= subkeys.size()) return ERROR_NO_MORE_ITEMS;
  const std::u16string& name = SubkeyAt(key.key(), dwIndex)->second->name();
  if (name.size() >= *lpcchName) return ERROR_MORE_DATA;
  std::copy(name.begin(), name.end(), lpName);
  lpName[name.size()] = 0;
  *lpcchName = static_cast<DWORD>(name.size());
  if (lpClass != nullptr && lpcchClass != nullptr && *lpcchClass > 0) *lpClass = 0;
  StoreOut(lpcchClass, DWORD{0});
  StoreOut(lpftLastWriteTime, FILETIME{0, 0});
  return ERROR_SUCCESS;
}

LONG RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD, LPDWORD lpcSubKeys,
                      LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                      LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen,
                      LPDWORD lpcbSecurityDescriptor, PFILETIME lpftLastWriteTime) {
  KeyAccess key(hKey, HiveStore::Access::kRead, KEY_QUERY_VALUE);
  if (key.status() != ERROR_SUCCESS) return key.status();
  std::size_t maxSubkey = 0, maxName = 0, maxData = 0;
  for (const auto& [folded, subkey] : key.key()->subkeys()) maxSubkey = std::max(maxSubkey, subkey->name().size());
  for (const Value& value : key.key()->values()) {
    maxName = std::max(maxName, value.name.size());
    maxData = std::max(maxData, value.data.size());
  }
  if (lpClass != nullptr && lpcchClass != nullptr && *lpcchClass > 0) *lpClass = 0;
  StoreOut(lpcchClass, DWORD{0});
  StoreOut(lpcSubKeys, static_cast<DWORD>(key.key()->subkeys().size()));
  StoreOut(lpcbMaxSubKeyLen, static_cast<DWORD>(maxSubkey));
  StoreOut(lpcbMaxClassLen, DWORD{0});
  StoreOut(lpcValues, static_cast<DWORD>(key.key()->values().size()));
  StoreOut(lpcbMaxValueNameLen, static_cast<DWORD>(maxName));
  StoreOut(lpcbMaxValueLen, static_cast<DWORD>(maxData));
  StoreOut(lpcbSecurityDescriptor, DWORD{0});
  StoreOut(lpftLastWriteTime, FILETIME{0, 0});
  return ERROR_SUCCESS;
}

LONG RegFlushKey(HKEY hKey) {
  KeyAccess key(hKey, HiveStore::Access::kRead);
  return key.status() != ERROR_SUCCESS ? key.status() : key.hive().Flush();
}
