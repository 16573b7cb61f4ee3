// Fuzz target: hostile bytes as a user's key container record. Opening the container and
// asking for its key pairs must never crash; a record that opens answers the same pairs on
// every look, and a key pair made in it is found afterwards.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "fuzz_support.h"
#include "wincrypt.h"

namespace {

bool HasKey(HCRYPTPROV provider, DWORD spec) {
  HCRYPTKEY key = 0;
  if (!CryptGetUserKey(provider, spec, &key)) return false;
  CryptDestroyKey(key);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zx::fuzz::ScratchRoot();
  zx::fuzz::WriteHostFile(zx::machine::Root() + "/crypto-" + std::to_string(::geteuid()) + "/fuzz", data, size);
  HCRYPTPROV provider = 0;
  if (!CryptAcquireContextW(&provider, u"fuzz", MS_DEF_PROV_W, PROV_RSA_FULL, 0)) return 0;
  const bool signature = HasKey(provider, AT_SIGNATURE);
  const bool exchange = HasKey(provider, AT_KEYEXCHANGE);
  if (HasKey(provider, AT_SIGNATURE) != signature || HasKey(provider, AT_KEYEXCHANGE) != exchange) std::abort();
  HCRYPTKEY key = 0;
  if (!CryptGenKey(provider, AT_KEYEXCHANGE, 0, &key)) std::abort();
  CryptDestroyKey(key);
  if (!HasKey(provider, AT_KEYEXCHANGE) || HasKey(provider, AT_SIGNATURE) != signature) std::abort();
  CryptReleaseContext(provider, 0);
  return 0;
}
