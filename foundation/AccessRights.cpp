// What the current user (or an account) may do with files, folders and keys.
#include "AccessRights.h"

#include <lm.h>
#include <lmaccess.h>
#include <sddl.h>
#include <securitybaseapi.h>

#include "FileInventory.h"
#include "SecurityErrors.h"

namespace {

constexpr DWORD kFileWrite = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_ATTRIBUTES | FILE_WRITE_EA;
constexpr DWORD kFileRead = FILE_READ_DATA | FILE_READ_ATTRIBUTES | FILE_READ_EA;
constexpr DWORD kDeleteChild = 0x40;

// Process-heap and local blocks, freed when the scope ends.
struct HeapBlock {
  ~HeapBlock() { HeapFree(GetProcessHeap(), 0, memory); }
  void* memory = nullptr;
};
struct LocalBlock {
  ~LocalBlock() { LocalFree(memory); }
  void* memory = nullptr;
};

// Read and write as the summary sees them, then the bits every object has.
DWORD Summary(DWORD mask, bool read, bool write, BOOL explicitGroupEntry, bool withExecute) {
  DWORD flags = 0;
  if (write) flags |= kAccessWrite;
  if (read) flags |= kAccessRead;
  if (read && write) flags |= kAccessModify;
  if ((mask & DELETE) != 0) flags |= kAccessDelete;
  if ((mask & kDeleteChild) != 0) flags |= kAccessDeleteChild;
  const bool erase = (mask & DELETE) != 0;
  if (read && !write && !erase) flags |= kAccessNoWriteNoDelete;
  if ((write || erase) && !read) flags |= kAccessNoRead;
  if (!read && !write && !erase) flags |= kAccessNoWriteNoDelete | kAccessNoRead;
  flags &= 0xFF;
  if (withExecute && (mask & FILE_EXECUTE) != 0) flags |= kAccessExecute;
  if ((mask & WRITE_DAC) != 0) flags |= kAccessWriteDac;
  if ((mask & WRITE_OWNER) != 0) flags |= kAccessWriteOwner;
  if (explicitGroupEntry) flags |= kAccessExplicitGroupEntry;
  return flags;
}

DWORD FileSummary(DWORD mask, BOOL explicitGroupEntry) {
  return Summary(mask, (mask & kFileRead) == kFileRead, (mask & kFileWrite) == kFileWrite, explicitGroupEntry,
                 true);
}

DWORD KeySummary(DWORD mask, BOOL explicitGroupEntry) {
  return Summary(mask, (mask & KEY_READ) != 0, (mask & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY)) != 0,
                 explicitGroupEntry, false);
}

// Whether an explicit entry of the list names one of the current user's groups.
bool NamesUserGroup(PACL dacl) {
  ULONG count = 0;
  EXPLICIT_ACCESS_W* entries = nullptr;
  if (GetExplicitEntriesFromAclW(dacl, &count, &entries) != ERROR_SUCCESS) return false;
  const CStringArray& groups = CurrentUserGroups();
  bool found = false;
  for (ULONG i = 0; i < count && !found; ++i) {
    const ACCESS_MODE mode = entries[i].grfAccessMode;
    LPWSTR text = nullptr;
    if ((mode != GRANT_ACCESS && mode != SET_ACCESS && mode != DENY_ACCESS) ||
        entries[i].Trustee.TrusteeForm != TRUSTEE_IS_SID ||
        !ConvertSidToStringSidW(entries[i].Trustee.ptstrName, &text))
      continue;
    for (INT_PTR g = 0; g < groups.GetSize() && !found; ++g) found = groups[g] == text;
    LocalFree(text);
  }
  LocalFree(entries);
  return found;
}

// The current user's rights on a path: false when there are none or they cannot be read.
// A path without a DACL gives every right.
bool FileAccess(LPCTSTR path, DWORD& mask, BOOL& explicitGroupEntry) {
  mask = 0;
  explicitGroupEntry = FALSE;
  if (path == nullptr || *path == 0) {
    AddSecurityError(_T("No file name specified."));
    return false;
  }
  try {
    HeapBlock sid;
    if (!GetCurrentUserSid(reinterpret_cast<PSID*>(&sid.memory))) {
      AddSecurityError(_T("Failed to get user SID."));
      AddSecurityError(_T("Failed to get user's SID."));
      return false;
    }
    PACL dacl = nullptr;
    LocalBlock descriptor;
    if (!GetFileDacl(path, &dacl, &descriptor.memory)) {
      AddSecurityError(_T("Failed to get file's DACL and SD."));
      return false;
    }
    if (dacl == nullptr) {
      mask = FILE_ALL_ACCESS;
      return true;
    }
    mask = GetEffectiveRights(sid.memory, dacl, &explicitGroupEntry);
    return mask != 0;
  } catch (CException* error) {
    error->Delete();
    AddSecurityError(_T("Exception thrown during DACL find operation."));
    AddSecurityError(_T("Failed to get file's DACL."));
    return false;
  }
}

}  // namespace

BOOL IsNtfsVolume(LPCTSTR rootPath) {
  WCHAR fileSystem[12] = {};
  return GetVolumeInformationW(rootPath, nullptr, 0, nullptr, nullptr, nullptr, fileSystem, 12) &&
         CString(fileSystem) == _T("NTFS");
}

BOOL GetCurrentUserSid(PSID* sid) {
  if (sid == nullptr) return FALSE;
  *sid = nullptr;
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return FALSE;
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  HeapBlock user;
  user.memory = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
  const bool read = user.memory != nullptr && GetTokenInformation(token, TokenUser, user.memory, size, &size);
  CloseHandle(token);
  PSID found = read ? static_cast<TOKEN_USER*>(user.memory)->User.Sid : nullptr;
  if (!read || !IsValidSid(found)) return FALSE;
  const DWORD length = GetLengthSid(found);
  *sid = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, length);
  return *sid != nullptr && CopySid(length, *sid, found);
}

BOOL GetAccountSid(LPCTSTR accountName, LPCTSTR domainName, PSID* sid) {
  if (sid == nullptr) return FALSE;
  *sid = nullptr;
  if (accountName == nullptr || *accountName == 0) {
    AddSecurityError(_T("Empty user name specified."));
    return FALSE;
  }
  CString account = accountName;
  LPBYTE controller = nullptr;
  if (domainName != nullptr && *domainName != 0) {
    // A domain's accounts are asked of its controller, when one is found.
    NetGetDCName(nullptr, domainName, &controller);
    account = CString(domainName) + _T("\\") + accountName;
  }
  const LPCWSTR system = reinterpret_cast<LPCWSTR>(controller);
  DWORD sidSize = 0, domainSize = 0;
  SID_NAME_USE use;
  BOOL found = FALSE;
  if (LookupAccountNameW(system, account, nullptr, &sidSize, nullptr, &domainSize, &use) ||
      GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
    AddSystemError(GetLastError());
  } else if ((*sid = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sidSize)) == nullptr) {
    AddSecurityError(_T("Failed to allocate memory for SID buffer."));
  } else {
    HeapBlock domain;
    domain.memory = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, domainSize * sizeof(WCHAR));
    if (domain.memory == nullptr) {
      AddSecurityError(_T("Failed to allocate memory for domain name buffer."));
    } else if (!(found = LookupAccountNameW(system, account, *sid, &sidSize,
                                            static_cast<LPWSTR>(domain.memory), &domainSize, &use))) {
      AddSystemError(GetLastError());
    }
  }
  if (controller != nullptr) NetApiBufferFree(controller);
  if (!found) {
    HeapFree(GetProcessHeap(), 0, *sid);
    *sid = nullptr;
  }
  return found;
}

BOOL GetFileDacl(LPCTSTR path, PACL* dacl, PSECURITY_DESCRIPTOR* descriptor) {
  if (dacl == nullptr || descriptor == nullptr) return FALSE;
  if (path == nullptr || *path == 0) {
    AddSecurityError(_T("Empty file name specified."));
    return FALSE;
  }
  HANDLE file = CreateFileW(path, READ_CONTROL, 0, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS | FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    AddSystemError(GetLastError());
    return FALSE;
  }
  const DWORD error = GetSecurityInfo(file, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, dacl,
                                      nullptr, descriptor);
  CloseHandle(file);
  if (error != ERROR_SUCCESS) AddSystemError(error);
  return error == ERROR_SUCCESS;
}

DWORD GetEffectiveRights(PSID sid, PACL dacl, BOOL* explicitGroupEntry) {
  if (explicitGroupEntry != nullptr) *explicitGroupEntry = FALSE;
  if (sid == nullptr) {
    AddSecurityError(_T("Null User SID specified."));
    return 0;
  }
  if (dacl == nullptr) {
    AddSecurityError(_T("Null ACL specified."));
    return 0;
  }
  TRUSTEE_W trustee;
  BuildTrusteeWithSidW(&trustee, sid);
  DWORD mask = 0;
  if (const DWORD error = GetEffectiveRightsFromAclW(dacl, &trustee, &mask); error != ERROR_SUCCESS) {
    AddSystemError(error);
    return 0;
  }
  if (explicitGroupEntry != nullptr) *explicitGroupEntry = NamesUserGroup(dacl);
  return mask;
}

BOOL GetFileAccessForUser(LPCTSTR path, BOOL* explicitGroupEntry) {
  DWORD mask;
  BOOL group;
  const bool access = FileAccess(path, mask, group);
  if (explicitGroupEntry != nullptr) *explicitGroupEntry = group;
  return access;
}

DWORD GetFileRightFlags(LPCTSTR path, DWORD walkFlags) {
  if (path == nullptr || *path == 0) return 0;
  DWORD mask;
  BOOL group;
  if (!FileAccess(path, mask, group)) return 0;
  const DWORD attributes = GetFileAttributesW(path);
  const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (folder && (walkFlags & kAccessWalkFolder) != 0) {
    CFileInfoArray files;
    files.ScanFolder(path, _T("*.*"), TRUE, kFileInfoAppend, FALSE, nullptr, nullptr);
    const bool every = (walkFlags & kAccessWalkEvery) != 0;
    if (!every) mask &= ~(DELETE | kDeleteChild);
    for (INT_PTR i = 0; i < files.GetSize(); ++i) {
      DWORD fileMask;
      BOOL fileGroup;
      FileAccess(files[i].GetFilePath(), fileMask, fileGroup);
      mask &= fileMask;
      group = group || fileGroup;
      if (!every) break;
    }
  }
  return mask == 0 ? 0 : FileSummary(mask, group);
}

BOOL HasFileAccess(LPCTSTR path) { return (GetFileRightFlags(path, 0) & kAccessWrite) != 0; }

DWORD GetRegistryKeyRightFlags(HKEY root, LPCTSTR subKey, LPCTSTR accountName) {
  HKEY key;
  if (const LONG error = RegOpenKeyExW(root, subKey, 0, READ_CONTROL, &key); error != ERROR_SUCCESS) {
    AddSystemError(static_cast<DWORD>(error));
    return 0;
  }
  DWORD size = 0;
  LocalBlock descriptor;
  DWORD flags = 0;
  if (RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size) != ERROR_INSUFFICIENT_BUFFER) {
    AddSecurityError(_T("RegGetKeySecurity failed"));
  } else if ((descriptor.memory = LocalAlloc(LPTR, size)) == nullptr) {
    AddSecurityError(_T("LocalAlloc failed"));
  } else if (RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor.memory, &size) != ERROR_SUCCESS) {
    AddSecurityError(_T("RegGetKeySecurity failed"));
  } else {
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    HeapBlock sid;
    if (GetSecurityDescriptorDacl(descriptor.memory, &present, &dacl, &defaulted) &&
        GetAccountSid(accountName, nullptr, reinterpret_cast<PSID*>(&sid.memory))) {
      BOOL group = FALSE;
      const DWORD mask = dacl == nullptr ? KEY_ALL_ACCESS : GetEffectiveRights(sid.memory, dacl, &group);
      flags = mask == 0 ? 0 : KeySummary(mask, group);
    }
  }
  RegCloseKey(key);
  return flags;
}

BOOL CanDeletePath(LPCTSTR path) {
  const DWORD flags = GetFileRightFlags(path, 0);
  if (flags != 0) return (flags & kAccessDelete) != 0;
  const DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && SetFileAttributesW(path, attributes);
}
