// Security descriptors kept with registry keys, for the security component. The registry
// stores each key's own descriptor as bytes it does not read (the security component gives
// them their form); the bytes live in the hive with the key and go with it.
#pragma once
#include <vector>

#include "wintypes.h"

namespace zx::registry {

struct KeySecurityChain {
  // The key lies in the current user's hive (HKCU), not in HKLM or HKU.
  bool userHive = false;
  // The stored descriptors of the key, its parent and so on up to the hive's root (an empty
  // one where a key has none).
  std::vector<std::vector<BYTE>> descriptors;
};

// Reads the chain of an open key; the handle must carry `needed` (ERROR_ACCESS_DENIED).
// Answers the registry's error code for a bad or deleted key.
LONG ReadKeySecurity(HKEY key, REGSAM needed, KeySecurityChain& chain);
// Replaces the key's own descriptor (empty: none), durable like any change of the hive.
LONG WriteKeySecurity(HKEY key, REGSAM needed, const std::vector<BYTE>& descriptor);

}  // namespace zx::registry
