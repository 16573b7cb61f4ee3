// Share modes of open files. Each open holds open-file-description locks on bytes far past
// any data (one byte per access it has and per access it denies), so the check holds
// between handles of this process and between processes alike. Kernel-internal.
#pragma once
#include <string>

#include "wintypes.h"

namespace zx::file {

// Takes the locks of an open through fd (access mask, FILE_SHARE_* mask) and checks them
// against every other open of the file: false when Windows would refuse the open with
// ERROR_SHARING_VIOLATION. Opens without read, write or delete access never conflict.
// Filesystems without these locks, and descriptors that cannot hold them, pass.
bool ClaimShareMode(int fd, DWORD access, DWORD share);
// Whether an open of the file with this access and share mode would be refused now.
bool SharingConflict(const std::string& hostPath, DWORD access, DWORD share);

}  // namespace zx::file
