// Security internals shared by the security component's files.
#pragma once
#include <initializer_list>
#include <memory>
#include <vector>

#include "wintypes.h"

namespace zx::security {

DWORD SidLength(BYTE subAuthorities);
// A SID in its stored form.
std::vector<BYTE> MakeSid(const BYTE (&authority)[6], std::initializer_list<DWORD> subAuthorities);
// The SIDs a token of this process holds: the user first, then its groups.
std::vector<std::vector<BYTE>> ProcessTokenSids();
// Whether the simulated user is an administrator (see securitybaseapi.h).
bool UserIsAdministrator();
// The SIDs of a token handle and whether it is an impersonation token; false for a handle
// that names no token.
bool TokenSids(HANDLE token, std::vector<std::vector<BYTE>>& sids, bool& impersonation);

}  // namespace zx::security
