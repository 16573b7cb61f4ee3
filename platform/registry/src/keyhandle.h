// Key handles: what an HKEY names, and a key resolved for one operation.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hives.h"
#include "zx/handles.h"

namespace zx::registry {

// The object behind an opened HKEY: a key of a hive, reached again by its path when the
// hive was reloaded.
struct KeyObject : zx::KernelObject {
  std::shared_ptr<HiveStore> hive;
  std::u16string path;  // from the hive root, names as stored
  REGSAM access = 0;
  std::shared_ptr<Key> key;  // as found in tree epoch `epoch`
  std::uint64_t epoch = 0;
};

// Resolves hKey (predefined or opened) and holds its hive for one operation. Fails with
// ERROR_INVALID_HANDLE, ERROR_ACCESS_DENIED (the handle lacks `needed`), ERROR_KEY_DELETED
// or the hive's I/O error.
class KeyAccess {
 public:
  KeyAccess(HKEY hKey, HiveStore::Access::Mode mode, REGSAM needed = 0);
  LONG status() const { return status_; }
  const std::shared_ptr<Key>& key() const { return key_; }
  std::u16string_view path() const { return path_; }
  // True for the predefined keys, which cannot be deleted.
  bool predefined() const { return object_ == nullptr; }
  REGSAM rights() const { return rights_; }
  // The hive's name: HKCU, HKLM or HKU.
  const std::string& hiveName() const { return store_->name(); }
  HiveStore::Access& hive() { return *access_; }
  // A new handle on a key below this one (path from the hive root).
  HKEY NewHandle(std::u16string path, REGSAM access, std::shared_ptr<Key> key) const;

 private:
  std::shared_ptr<HiveStore> store_;
  std::shared_ptr<KeyObject> object_;
  std::u16string_view path_;
  std::optional<HiveStore::Access> access_;
  std::shared_ptr<Key> key_;
  REGSAM rights_ = 0;
  LONG status_ = 0;
};

// Stores an optional out-parameter of the API.
template <class T>
void StoreOut(T* target, T value) {
  if (target != nullptr) *target = value;
}

// Checks a sub-key path given to the API and splits it into names: no leading '\', no empty
// name, names up to 255 units, one trailing '\' allowed. A null path has no names.
LONG SplitSubKey(LPCWSTR subKey, std::vector<std::u16string_view>& names);
// Appends a name to a path from the hive root.
void AppendName(std::u16string& path, std::u16string_view name);
// Number of names in a path from the hive root.
std::size_t Depth(std::u16string_view path);

}  // namespace zx::registry
