// Security of files, folders and registry keys for the current user (or a named account):
// what the user may do with them, and granting rights on them. Failures leave texts on the
// process-wide security error list (the newest 100 are kept) instead of being returned.
#pragma once
#include <afx.h>
#include <aclapi.h>

#include "HelperApi.h"

// The summary of rights the queries answer and the grants take.
enum AccessRightFlags : DWORD {
  kAccessWrite =
      0x1,            // files: write data, append, write attributes and EA; keys: set value or create sub-key
  kAccessRead = 0x2,  // files: read data, attributes and EA; keys: any of KEY_READ
  kAccessModify = 0x4,               // read and write
  kAccessDelete = 0x8,               // DELETE
  kAccessDeleteChild = 0x10,         // delete child (0x40)
  kAccessNoWriteNoDelete = 0x20,     // read, but neither write nor delete
  kAccessNoRead = 0x40,              // write or delete, but no read (with 0x20: none of the three)
  kAccessExplicitGroupEntry = 0x80,  // an explicit entry names one of the user's groups
  kAccessExecute = 0x400,            // files only: FILE_EXECUTE
  kAccessWriteDac = 0x800,
  kAccessWriteOwner = 0x1000,
};

// Walk flags of GetFileRightFlags for a folder.
enum AccessWalkFlags : DWORD {
  kAccessWalkFolder = 0x1,   // test the files below the folder too; the rights are those all of them give
  kAccessWalkEvery = 0x100,  // test every file; without it only the first, and the folder's rights
                             // then leave out DELETE and delete-child
};

// The texts left by failures, oldest first.
ZXHELPER_API const CStringArray& GetSecurityErrorList();

// True when the volume's file system is named exactly "NTFS".
ZXHELPER_API BOOL IsNtfsVolume(LPCTSTR rootPath);
// The current user's SID in a zeroed process-heap block (free it with HeapFree).
ZXHELPER_API BOOL GetCurrentUserSid(PSID* sid);
// An account's SID ("name", or with a domain) in a process-heap block (free it with HeapFree).
ZXHELPER_API BOOL GetAccountSid(LPCTSTR accountName, LPCTSTR domainName, PSID* sid);
// The DACL of a file or folder and the descriptor that holds it (free it with LocalFree).
ZXHELPER_API BOOL GetFileDacl(LPCTSTR path, PACL* dacl, PSECURITY_DESCRIPTOR* descriptor);
// The rights the DACL gives the SID; *explicitGroupEntry tells whether an explicit entry names
// one of the current user's groups.
ZXHELPER_API DWORD GetEffectiveRights(PSID sid, PACL dacl, BOOL* explicitGroupEntry);
// True when the current user has any right on the path (also when it has no DACL).
ZXHELPER_API BOOL GetFileAccessForUser(LPCTSTR path, BOOL* explicitGroupEntry);
// The current user's rights on the path as AccessRightFlags; 0 when there are none.
ZXHELPER_API DWORD GetFileRightFlags(LPCTSTR path, DWORD walkFlags);
// True when the current user may write the path.
ZXHELPER_API BOOL HasFileAccess(LPCTSTR path);
// The account's rights on a key as AccessRightFlags (no execute bit).
ZXHELPER_API DWORD GetRegistryKeyRightFlags(HKEY root, LPCTSTR subKey, LPCTSTR accountName);
// Gives the current user the rights (AccessRightFlags) on the path, replacing the user's own
// entries and keeping everyone else's; inherit > 0 lets sub-folders and files inherit them.
ZXHELPER_API BOOL GrantFileAccess(DWORD rightFlags, LPCTSTR path, int inherit);
// The same for an account on a key; the low two bits of inheritance are the entry's
// OBJECT_INHERIT_ACE / CONTAINER_INHERIT_ACE.
ZXHELPER_API BOOL GrantRegistryKeyAccess(HKEY root, LPCTSTR subKey, LPCTSTR accountName, DWORD rightFlags,
                                         DWORD inheritance);
// True when the current user may delete the path.
ZXHELPER_API BOOL CanDeletePath(LPCTSTR path);
// Clears the error list; answers -1 (the machine has no registry virtualization to tell of).
ZXHELPER_API int IsVirtualizationEnabled();
