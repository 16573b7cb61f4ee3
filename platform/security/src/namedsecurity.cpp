// Reading and writing the security of files, folders and keys by name or handle, and the
// registry's key-security calls.
#include <cstring>
#include <string_view>

#include "aclapi.h"
#include "errhandlingapi.h"
#include "objectsecurity.h"
#include "winreg.h"
#include "zx/casefold.h"
#include "zx/fileobject.h"
#include "zx/pathmap.h"

namespace {

using zx::security::Parts;

constexpr SECURITY_INFORMATION kParts =
    OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

// "MACHINE\Software\x" -> HKEY_LOCAL_MACHINE and "Software\x", opened with `access`.
DWORD OpenNamedKey(LPCWSTR name, REGSAM access, HKEY& key) {
  struct Root {
    std::u16string_view name;
    HKEY key;
  };
  static const Root kRoots[] = {{u"CLASSES_ROOT", HKEY_CLASSES_ROOT},
                                {u"CURRENT_USER", HKEY_CURRENT_USER},
                                {u"MACHINE", HKEY_LOCAL_MACHINE},
                                {u"USERS", HKEY_USERS}};
  const std::u16string_view text(name);
  const std::size_t cut = text.find(u'\\');
  const std::u16string root(text.substr(0, cut));
  const std::u16string sub(cut == std::u16string_view::npos ? u"" : text.substr(cut + 1));
  for (const Root& r : kRoots)
    if (zx::EqualNoCase(root.c_str(), std::u16string(r.name).c_str()))
      return static_cast<DWORD>(RegOpenKeyExW(r.key, sub.empty() ? nullptr : sub.c_str(), 0, access, &key));
  return ERROR_FILE_NOT_FOUND;
}

// Gives the caller the parts asked in one LocalAlloc block.
DWORD Answer(const Parts& parts, SECURITY_INFORMATION info, PSID* owner, PSID* group, PACL* dacl,
             PSECURITY_DESCRIPTOR* descriptor) {
  void* block = zx::security::LocalCopy(zx::security::SelfRelative(parts, info));
  if (block == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
  zx::security::DescriptorView view;
  zx::security::ViewDescriptor(block, view);
  if (owner != nullptr) *owner = view.owner;
  if (group != nullptr) *group = view.group;
  if (dacl != nullptr) *dacl = view.dacl;
  *descriptor = block;
  return ERROR_SUCCESS;
}

DWORD CheckRead(SECURITY_INFORMATION info, PSID* owner, PSID* group, PACL* dacl, PACL* sacl,
                PSECURITY_DESCRIPTOR* descriptor) {
  if ((info & SACL_SECURITY_INFORMATION) != 0) return ERROR_NOT_SUPPORTED;
  if (descriptor == nullptr) return ERROR_INVALID_PARAMETER;
  for (PSID* out : {owner, group})
    if (out != nullptr) *out = nullptr;
  for (PACL* out : {dacl, sacl})
    if (out != nullptr) *out = nullptr;
  *descriptor = nullptr;
  return ERROR_SUCCESS;
}

DWORD ReadKey(HKEY key, Parts& parts) { return zx::security::ReadKeySecurity(key, parts); }

DWORD ReadNamed(LPCWSTR name, SE_OBJECT_TYPE type, Parts& parts) {
  if (type == SE_FILE_OBJECT) {
    std::string host;
    DWORD error = ERROR_INVALID_NAME;
    if (!zx::path::WindowsToHost(name, host, &error)) return error;
    return zx::security::ReadFileSecurity(host, parts);
  }
  HKEY key;
  if (const DWORD error = OpenNamedKey(name, READ_CONTROL, key); error != ERROR_SUCCESS) return error;
  const DWORD error = ReadKey(key, parts);
  RegCloseKey(key);
  return error;
}

// The parts a write gives, checked.
DWORD GivenParts(SECURITY_INFORMATION info, PSID owner, PSID group, PACL dacl, Parts& given) {
  const auto sidOf = [](PSID sid) {
    const auto* bytes = static_cast<const BYTE*>(sid);
    return IsValidSid(sid) ? zx::security::Sid(bytes, bytes + GetLengthSid(sid)) : zx::security::Sid{};
  };
  if ((info & OWNER_SECURITY_INFORMATION) != 0) given.owner = sidOf(owner);
  if ((info & GROUP_SECURITY_INFORMATION) != 0) given.group = sidOf(group);
  given.daclPresent = true;
  given.daclNull = dacl == nullptr;
  if (dacl != nullptr && !zx::security::ReadAcl(dacl, dacl->AclSize, given.dacl)) return ERROR_INVALID_ACL;
  return ERROR_SUCCESS;
}

}  // namespace

DWORD GetNamedSecurityInfoW(LPCWSTR objectName, SE_OBJECT_TYPE objectType, SECURITY_INFORMATION info,
                            PSID* owner, PSID* group, PACL* dacl, PACL* sacl,
                            PSECURITY_DESCRIPTOR* descriptor) {
  if (const DWORD error = CheckRead(info, owner, group, dacl, sacl, descriptor); error != ERROR_SUCCESS)
    return error;
  if (objectName == nullptr) return ERROR_INVALID_PARAMETER;
  if (objectType != SE_FILE_OBJECT && objectType != SE_REGISTRY_KEY) return ERROR_NOT_SUPPORTED;
  Parts parts;
  if (const DWORD error = ReadNamed(objectName, objectType, parts); error != ERROR_SUCCESS) return error;
  return Answer(parts, info & kParts, owner, group, dacl, descriptor);
}

DWORD GetSecurityInfo(HANDLE handle, SE_OBJECT_TYPE objectType, SECURITY_INFORMATION info, PSID* owner,
                      PSID* group, PACL* dacl, PACL* sacl, PSECURITY_DESCRIPTOR* descriptor) {
  if (const DWORD error = CheckRead(info, owner, group, dacl, sacl, descriptor); error != ERROR_SUCCESS)
    return error;
  Parts parts;
  DWORD error = ERROR_NOT_SUPPORTED;
  if (objectType == SE_FILE_OBJECT) {
    const auto file = zx::ReferenceHandleAs<zx::FileObject>(handle);
    error = !file || file->hostPath().empty() ? ERROR_INVALID_HANDLE
                                              : zx::security::ReadFileSecurity(file->hostPath(), parts);
  } else if (objectType == SE_REGISTRY_KEY) {
    error = ReadKey(static_cast<HKEY>(handle), parts);
  }
  if (error != ERROR_SUCCESS) return error;
  return Answer(parts, info & kParts, owner, group, dacl, descriptor);
}

DWORD SetNamedSecurityInfoW(LPWSTR objectName, SE_OBJECT_TYPE objectType, SECURITY_INFORMATION info,
                            PSID owner, PSID group, PACL dacl, PACL) {
  if (objectName == nullptr) return ERROR_INVALID_PARAMETER;
  if (objectType != SE_FILE_OBJECT && objectType != SE_REGISTRY_KEY) return ERROR_NOT_SUPPORTED;
  Parts given;
  if (const DWORD error = GivenParts(info, owner, group, dacl, given); error != ERROR_SUCCESS) return error;
  if (objectType == SE_FILE_OBJECT) {
    std::string host;
    DWORD error = ERROR_INVALID_NAME;
    if (!zx::path::WindowsToHost(objectName, host, &error)) return error;
    return zx::security::WriteFileSecurity(host, info, given);
  }
  const REGSAM access =
      ((info & DACL_SECURITY_INFORMATION) != 0 ? WRITE_DAC : 0u) |
      ((info & (OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION)) != 0 ? WRITE_OWNER : 0u);
  HKEY key;
  if (const DWORD error = OpenNamedKey(objectName, access, key); error != ERROR_SUCCESS) return error;
  const DWORD error = zx::security::WriteKeySecurity(key, info, given);
  RegCloseKey(key);
  return error;
}

LONG RegGetKeySecurity(HKEY key, SECURITY_INFORMATION info, PSECURITY_DESCRIPTOR descriptor, LPDWORD size) {
  if (size == nullptr) return ERROR_INVALID_PARAMETER;
  if ((info & SACL_SECURITY_INFORMATION) != 0) return ERROR_NOT_SUPPORTED;
  Parts parts;
  if (const DWORD error = ReadKey(key, parts); error != ERROR_SUCCESS) return static_cast<LONG>(error);
  const std::vector<BYTE> bytes = zx::security::SelfRelative(parts, info & kParts);
  const DWORD capacity = *size;
  *size = static_cast<DWORD>(bytes.size());
  if (descriptor == nullptr || capacity < bytes.size()) return ERROR_INSUFFICIENT_BUFFER;
  std::memcpy(descriptor, bytes.data(), bytes.size());
  return ERROR_SUCCESS;
}

LONG RegSetKeySecurity(HKEY key, SECURITY_INFORMATION info, PSECURITY_DESCRIPTOR descriptor) {
  Parts given;
  if (!zx::security::ReadDescriptor(descriptor, given)) return ERROR_INVALID_SECURITY_DESCR;
  // Here the descriptor's own control says whether the list inherits.
  const SECURITY_INFORMATION protection =
      (info & (PROTECTED_DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION)) != 0 ? 0u
      : given.daclProtected ? PROTECTED_DACL_SECURITY_INFORMATION
                            : UNPROTECTED_DACL_SECURITY_INFORMATION;
  return static_cast<LONG>(zx::security::WriteKeySecurity(key, info | protection, given));
}
