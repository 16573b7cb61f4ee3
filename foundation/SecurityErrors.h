// The security error list and the current user's groups, shared by the access-rights files.
// Internal to the shared library.
#pragma once
#include <afx.h>

void AddSecurityError(LPCTSTR text);
// The system's message text for the error code.
void AddSystemError(DWORD code);
void ClearSecurityErrors();
// The SIDs (as text) of the groups of the process token, read once.
const CStringArray& CurrentUserGroups();
