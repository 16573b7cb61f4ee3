// Granting rights on files, folders and keys: the new entry is merged into the object's
// access list, replacing only the trustee's own entries.
#include "AccessRights.h"

#include <securitybaseapi.h>

#include "SecurityErrors.h"

namespace {

constexpr DWORD kDeleteChild = 0x40;
constexpr DWORD kKeyWrite = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK;

// A SID from the process heap and the local blocks of one grant, freed when it ends.
struct GrantBlocks {
  ~GrantBlocks() {
    HeapFree(GetProcessHeap(), 0, sid);
    LocalFree(descriptor);
    LocalFree(newDacl);
  }
  PSID sid = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  PACL newDacl = nullptr;
};

DWORD FileRights(DWORD flags) {
  DWORD mask = 0;
  if ((flags & kAccessModify) != 0) {
    mask = GENERIC_READ | GENERIC_WRITE;
  } else {
    if ((flags & kAccessWrite) != 0) mask |= GENERIC_WRITE;
    if ((flags & kAccessRead) != 0) mask |= GENERIC_READ;
  }
  if ((flags & kAccessDelete) != 0) mask |= DELETE;
  if ((flags & kAccessDeleteChild) != 0) mask |= kDeleteChild;
  if ((flags & kAccessExecute) != 0) mask |= GENERIC_EXECUTE;
  if ((flags & kAccessWriteDac) != 0) mask |= WRITE_DAC;
  if ((flags & kAccessWriteOwner) != 0) mask |= WRITE_OWNER;
  return mask;
}

DWORD KeyRights(DWORD flags) {
  const bool both = (flags & kAccessModify) != 0;
  DWORD mask = 0;
  if (both || (flags & kAccessWrite) != 0) mask |= kKeyWrite;
  if (both || (flags & kAccessRead) != 0) mask |= KEY_READ;
  if ((flags & kAccessDelete) != 0) mask |= DELETE;
  if ((flags & kAccessDeleteChild) != 0) mask |= kDeleteChild;
  if ((flags & kAccessWriteDac) != 0) mask |= WRITE_DAC;
  if ((flags & kAccessWriteOwner) != 0) mask |= WRITE_OWNER;
  return mask;
}

EXPLICIT_ACCESS_W Entry(DWORD mask, DWORD inheritance, PSID sid) {
  EXPLICIT_ACCESS_W entry{};
  entry.grfAccessPermissions = mask;
  entry.grfAccessMode = SET_ACCESS;
  entry.grfInheritance = inheritance;
  BuildTrusteeWithSidW(&entry.Trustee, sid);
  return entry;
}

// The name SetNamedSecurityInfo knows a key by: "MACHINE\sub-key" and the like.
CString KeyObjectName(HKEY root, LPCTSTR subKey) {
  LPCTSTR rootName = root == HKEY_CLASSES_ROOT    ? _T("CLASSES_ROOT")
                     : root == HKEY_CURRENT_USER  ? _T("CURRENT_USER")
                     : root == HKEY_LOCAL_MACHINE ? _T("MACHINE")
                     : root == HKEY_USERS         ? _T("USERS")
                                                  : _T("");
  CString name;
  name.Format(_T("%s\\%s"), rootName, subKey != nullptr ? subKey : _T(""));
  return name;
}

}  // namespace

BOOL GrantFileAccess(DWORD rightFlags, LPCTSTR path, int inherit) {
  ClearSecurityErrors();
  if (path == nullptr || *path == 0) {
    AddSecurityError(_T("No file name specified."));
    return FALSE;
  }
  GrantBlocks blocks;
  if (!GetCurrentUserSid(&blocks.sid)) {
    AddSecurityError(_T("Failed to get user's SID."));
    return FALSE;
  }
  EXPLICIT_ACCESS_W entry = Entry(
      FileRights(rightFlags), inherit > 0 ? SUB_CONTAINERS_AND_OBJECTS_INHERIT : NO_INHERITANCE, blocks.sid);
  PACL oldDacl = nullptr;
  DWORD error = GetNamedSecurityInfoW(path, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                      &oldDacl, nullptr, &blocks.descriptor);
  if (error == ERROR_SUCCESS) error = SetEntriesInAclW(1, &entry, oldDacl, &blocks.newDacl);
  if (error == ERROR_SUCCESS)
    error = SetNamedSecurityInfoW(const_cast<LPWSTR>(path), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                  nullptr, nullptr, blocks.newDacl, nullptr);
  if (error != ERROR_SUCCESS) AddSystemError(error);
  return error == ERROR_SUCCESS;
}

BOOL GrantRegistryKeyAccess(HKEY root, LPCTSTR subKey, LPCTSTR accountName, DWORD rightFlags,
                            DWORD inheritance) {
  ClearSecurityErrors();
  HKEY key;
  if (RegOpenKeyExW(root, subKey, 0, READ_CONTROL | WRITE_DAC, &key) != ERROR_SUCCESS) {
    AddSecurityError(_T("Could not set permissions"));
    return FALSE;
  }
  GrantBlocks blocks;
  bool written = false;
  if (GetAccountSid(accountName, nullptr, &blocks.sid)) {
    EXPLICIT_ACCESS_W entry =
        Entry(KeyRights(rightFlags), inheritance & SUB_CONTAINERS_AND_OBJECTS_INHERIT, blocks.sid);
    // The key's own list is read and the entry merged into it, as for files.
    PACL oldDacl = nullptr;
    SECURITY_DESCRIPTOR descriptor;
    written = GetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &oldDacl,
                              nullptr, &blocks.descriptor) == ERROR_SUCCESS &&
              SetEntriesInAclW(1, &entry, oldDacl, &blocks.newDacl) == ERROR_SUCCESS &&
              InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
              SetSecurityDescriptorDacl(&descriptor, TRUE, blocks.newDacl, FALSE) &&
              RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
    if (!written) {
      AddSecurityError(_T("Could not set permissions"));
    } else if (SetNamedSecurityInfoW(KeyObjectName(root, subKey).GetBuffer(), SE_REGISTRY_KEY,
                                     DACL_SECURITY_INFORMATION, nullptr, nullptr, blocks.newDacl,
                                     nullptr) != ERROR_SUCCESS) {
      AddSecurityError(_T("Error setting named security info."));
      written = false;
    }
  }
  RegCloseKey(key);
  return written;
}
