// CryptoAPI key containers as records of the machine root: contexts and keys are handles of
// the kernel's table; a container's record lists its key pairs, one kind per line
// ("signature", "exchange"), and is replaced whole when it changes.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "errhandlingapi.h"
#include "wincrypt.h"
#include "zx/handles.h"
#include "zx/machine.h"
#include "zx/winfolders.h"

namespace {

namespace fs = std::filesystem;

struct ContextObject : zx::KernelObject {
  fs::path record;  // empty for a verify-only context
};

struct KeyObject : zx::KernelObject {
  DWORD spec = 0;
};

BOOL Fail(HRESULT code) {
  SetLastError(static_cast<DWORD>(code));
  return FALSE;
}

std::string Narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    // Names become file names: anything but letters, digits, '-', '_' and '.' is escaped.
    const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
                       c == u'-' || c == u'_';
    if (plain) {
      out += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "%%%04X", static_cast<unsigned>(c));
      out += escaped;
    }
  }
  return out;
}

fs::path RecordOf(std::u16string_view container) {
  return fs::path(zx::machine::Root()) / ("crypto-" + std::to_string(::geteuid())) / Narrow(container);
}

const char* KindName(DWORD spec) { return spec == AT_SIGNATURE ? "signature" : "exchange"; }

// The kinds of key pair a record lists; false for a damaged record.
bool ReadKinds(const fs::path& record, std::set<std::string>& kinds) {
  std::ifstream in(record);
  std::string line;
  if (!std::getline(in, line) || line != "ZXKEYS 1") return false;
  while (std::getline(in, line)) {
    if (line != "signature" && line != "exchange") return false;
    kinds.insert(line);
  }
  return true;
}

bool WriteKinds(const fs::path& record, const std::set<std::string>& kinds) {
  std::error_code ec;
  fs::create_directories(record.parent_path(), ec);
  const fs::path temporary = record.string() + ".new";
  {
    std::ofstream out(temporary, std::ios::trunc);
    out << "ZXKEYS 1\n";
    for (const std::string& kind : kinds) out << kind << "\n";
    if (!out.flush()) return false;
  }
  fs::rename(temporary, record, ec);
  return !ec;
}

std::shared_ptr<ContextObject> Context(HCRYPTPROV provider) {
  return zx::ReferenceHandleAs<ContextObject>(reinterpret_cast<HANDLE>(provider));
}

}  // namespace

BOOL CryptAcquireContextW(HCRYPTPROV* provider, LPCWSTR container, LPCWSTR providerName, DWORD providerType,
                          DWORD flags) {
  if (provider == nullptr) return Fail(E_INVALIDARG);
  *provider = 0;
  if (providerType != PROV_RSA_FULL) return Fail(NTE_PROV_TYPE_NOT_DEF);
  if (providerName != nullptr && std::u16string_view(providerName) != MS_DEF_PROV_W) return Fail(NTE_KEYSET_NOT_DEF);
  if ((flags & ~(CRYPT_VERIFYCONTEXT | CRYPT_NEWKEYSET | CRYPT_DELETEKEYSET | CRYPT_MACHINE_KEYSET | CRYPT_SILENT)) != 0)
    return Fail(NTE_BAD_FLAGS);
  auto context = std::make_shared<ContextObject>();
  if ((flags & CRYPT_VERIFYCONTEXT) == 0) {
    const std::u16string name = container != nullptr && container[0] != 0 ? container : zx::folders::UserName();
    context->record = RecordOf(name);
    std::error_code ec;
    const bool exists = fs::exists(context->record, ec);
    std::set<std::string> kinds;
    if ((flags & CRYPT_DELETEKEYSET) != 0) {
      if (!exists) return Fail(NTE_BAD_KEYSET);
      fs::remove(context->record, ec);
      return ec ? Fail(NTE_BAD_KEYSET) : TRUE;
    }
    if ((flags & CRYPT_NEWKEYSET) != 0) {
      if (exists) return Fail(NTE_EXISTS);
      if (!WriteKinds(context->record, kinds)) return Fail(NTE_BAD_KEYSET);
    } else if (!exists) {
      return Fail(NTE_BAD_KEYSET);
    } else if (!ReadKinds(context->record, kinds)) {
      return Fail(NTE_KEYSET_ENTRY_BAD);
    }
  }
  *provider = reinterpret_cast<HCRYPTPROV>(zx::InsertHandle(std::move(context)));
  return TRUE;
}

BOOL CryptReleaseContext(HCRYPTPROV provider, DWORD flags) {
  if (flags != 0) return Fail(NTE_BAD_FLAGS);
  if (!Context(provider)) return Fail(NTE_BAD_UID);
  zx::RemoveHandle(reinterpret_cast<HANDLE>(provider));
  return TRUE;
}

BOOL CryptGetUserKey(HCRYPTPROV provider, DWORD keySpec, HCRYPTKEY* key) {
  const auto context = Context(provider);
  if (!context || key == nullptr) return Fail(NTE_BAD_UID);
  if (keySpec != AT_KEYEXCHANGE && keySpec != AT_SIGNATURE) return Fail(NTE_BAD_ALGID);
  std::set<std::string> kinds;
  if (context->record.empty() || !ReadKinds(context->record, kinds) || kinds.count(KindName(keySpec)) == 0)
    return Fail(NTE_NO_KEY);
  auto object = std::make_shared<KeyObject>();
  object->spec = keySpec;
  *key = reinterpret_cast<HCRYPTKEY>(zx::InsertHandle(std::move(object)));
  return TRUE;
}

BOOL CryptGenKey(HCRYPTPROV provider, ALG_ID algorithm, DWORD, HCRYPTKEY* key) {
  const auto context = Context(provider);
  if (!context || key == nullptr) return Fail(NTE_BAD_UID);
  const DWORD spec = algorithm == AT_SIGNATURE || algorithm == CALG_RSA_SIGN ? AT_SIGNATURE
                     : algorithm == AT_KEYEXCHANGE || algorithm == CALG_RSA_KEYX ? AT_KEYEXCHANGE
                                                                                 : 0;
  if (spec == 0) return Fail(NTE_BAD_ALGID);
  std::set<std::string> kinds;
  if (!context->record.empty()) {
    if (!ReadKinds(context->record, kinds)) return Fail(NTE_KEYSET_ENTRY_BAD);
    kinds.insert(KindName(spec));
    if (!WriteKinds(context->record, kinds)) return Fail(NTE_BAD_KEYSET);
  }
  auto object = std::make_shared<KeyObject>();
  object->spec = spec;
  *key = reinterpret_cast<HCRYPTKEY>(zx::InsertHandle(std::move(object)));
  return TRUE;
}

BOOL CryptDestroyKey(HCRYPTKEY key) {
  if (!zx::ReferenceHandleAs<KeyObject>(reinterpret_cast<HANDLE>(key))) return Fail(NTE_BAD_UID);
  zx::RemoveHandle(reinterpret_cast<HANDLE>(key));
  return TRUE;
}
