// The security of the machine's files, folders and registry keys: what a reader sees (the
// object's own parts, defaults, inherited entries) and how a write is stored (see aclapi.h).
// Component-internal.
#pragma once
#include <string>

#include "descriptorform.h"

namespace zx::security {

// Host paths: the file or folder must exist.
DWORD ReadFileSecurity(const std::string& hostPath, Parts& parts);
DWORD WriteFileSecurity(const std::string& hostPath, SECURITY_INFORMATION info, const Parts& given);

// Open key handles; reading needs READ_CONTROL on the handle, writing the DACL WRITE_DAC and
// the owner or group WRITE_OWNER.
DWORD ReadKeySecurity(HKEY key, Parts& parts);
DWORD WriteKeySecurity(HKEY key, SECURITY_INFORMATION info, const Parts& given);

}  // namespace zx::security
