// Fuzz target: hostile bytes as the security descriptor a file keeps of its own (its
// "user.zx.security" attribute). Reading must never crash; a descriptor that reads must
// write back as read; once written (generic rights made specific), reading and writing it
// again changes nothing.
#include <sys/xattr.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "aclapi.h"
#include "heapapi.h"
#include "fuzz_support.h"
#include "zx/machine.h"

namespace {

constexpr LPCWSTR kFile = u"C:\\fuzz.txt";

// A scratch machine root of the run's own with the one file.
struct Machine {
  Machine() {
    zx::fuzz::ScratchRoot();
    host = zx::machine::DriveCFolder() + "/fuzz.txt";
    std::ofstream(host) << "x";
  }
  std::string host;
};

struct Read {
  DWORD error = 0;
  std::vector<BYTE> owner;
  std::vector<EXPLICIT_ACCESS_W> entries;  // trustees point into `sids`
  std::vector<std::vector<BYTE>> sids;
};

Read ReadBack() {
  Read read;
  PSID owner = nullptr;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  read.error = GetNamedSecurityInfoW(kFile, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                     &owner, nullptr, &dacl, nullptr, &descriptor);
  if (read.error != ERROR_SUCCESS) return read;
  read.owner.assign(static_cast<BYTE*>(owner), static_cast<BYTE*>(owner) + GetLengthSid(owner));
  ULONG count = 0;
  EXPLICIT_ACCESS_W* entries = nullptr;
  if (GetExplicitEntriesFromAclW(dacl, &count, &entries) != ERROR_SUCCESS) std::abort();
  for (ULONG i = 0; i < count; ++i) {
    read.entries.push_back(entries[i]);
    const auto* sid = reinterpret_cast<BYTE*>(entries[i].Trustee.ptstrName);
    read.sids.emplace_back(sid, sid + GetLengthSid(entries[i].Trustee.ptstrName));
  }
  TRUSTEE_W trustee;
  BuildTrusteeWithSidW(&trustee, owner);
  DWORD rights = 0;
  if (dacl != nullptr && GetEffectiveRightsFromAclW(dacl, &trustee, &rights) != ERROR_SUCCESS) std::abort();
  if (dacl != nullptr) {
    SECURITY_INFORMATION info = DACL_SECURITY_INFORMATION | OWNER_SECURITY_INFORMATION;
    if (SetNamedSecurityInfoW(const_cast<LPWSTR>(kFile), SE_FILE_OBJECT, info, owner, nullptr, dacl, nullptr) !=
        ERROR_SUCCESS)
      std::abort();
  }
  LocalFree(entries);
  LocalFree(descriptor);
  return read;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Machine machine;
  if (::setxattr(machine.host.c_str(), "user.zx.security", data, size, 0) != 0) return 0;
  if (ReadBack().error != ERROR_SUCCESS) return 0;
  const Read first = ReadBack();
  const Read second = ReadBack();
  if (first.error != ERROR_SUCCESS || second.error != ERROR_SUCCESS || second.owner != first.owner || second.sids != first.sids ||
      second.entries.size() != first.entries.size())
    std::abort();
  for (std::size_t i = 0; i < first.entries.size(); ++i)
    if (second.entries[i].grfAccessPermissions != first.entries[i].grfAccessPermissions ||
        second.entries[i].grfAccessMode != first.entries[i].grfAccessMode ||
        second.entries[i].grfInheritance != first.entries[i].grfInheritance)
      std::abort();
  return 0;
}
