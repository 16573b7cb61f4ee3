// The security descriptors of keys: read with those of the key's parents, written as a
// change of the hive.
#include "zx/keysecurity.h"

#include "keyhandle.h"

namespace zx::registry {

LONG ReadKeySecurity(HKEY hKey, REGSAM needed, KeySecurityChain& chain) {
  KeyAccess key(hKey, HiveStore::Access::kRead, needed);
  if (key.status() != ERROR_SUCCESS) return key.status();
  chain.userHive = key.hiveName() == "HKCU";
  chain.descriptors.clear();
  chain.descriptors.push_back(key.key()->security());
  std::u16string_view path = key.path();
  while (!path.empty()) {
    const std::size_t cut = path.rfind(u'\\');
    path = path.substr(0, cut == std::u16string_view::npos ? 0 : cut);
    const std::shared_ptr<Key> parent = key.hive().tree().Find(path);
    chain.descriptors.push_back(parent ? parent->security() : std::vector<BYTE>{});
  }
  return ERROR_SUCCESS;
}

LONG WriteKeySecurity(HKEY hKey, REGSAM needed, const std::vector<BYTE>& descriptor) {
  KeyAccess key(hKey, HiveStore::Access::kWrite, needed);
  if (key.status() != ERROR_SUCCESS) return key.status();
  return key.hive().Commit(Change{ChangeOp::SetSecurity, std::u16string(key.path()), {}, 0, descriptor});
}

}  // namespace zx::registry
