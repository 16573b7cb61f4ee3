// The security error list and the current user's groups.
#include "SecurityErrors.h"

#include <securitybaseapi.h>
#include <sddl.h>

#include <cstddef>

#include "AccessRights.h"

namespace {

constexpr INT_PTR kKeptErrors = 100;

CStringArray& Errors() {
  static CStringArray errors;
  return errors;
}

}  // namespace

const CStringArray& GetSecurityErrorList() { return Errors(); }

void AddSecurityError(LPCTSTR text) {
  CStringArray& errors = Errors();
  if (errors.GetSize() == kKeptErrors) errors.RemoveAt(0);
  errors.Add(text);
}

void AddSystemError(DWORD code) {
  LPWSTR text = nullptr;
  const DWORD flags =
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  if (FormatMessageW(flags, nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                     reinterpret_cast<LPWSTR>(&text), 0, nullptr) == 0) {
    CString fallback;
    fallback.Format(_T("Error %u."), code);
    AddSecurityError(fallback);
    return;
  }
  CString message = text;
  LocalFree(text);
  message.TrimRight();
  AddSecurityError(message);
}

void ClearSecurityErrors() { Errors().RemoveAll(); }

int IsVirtualizationEnabled() {
  ClearSecurityErrors();
  return -1;
}

const CStringArray& CurrentUserGroups() {
  struct Groups {
    Groups() {
      HANDLE token = nullptr;
      if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return;
      DWORD size = 0;
      GetTokenInformation(token, TokenGroups, nullptr, 0, &size);
      auto* buffer = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, size));
      if (buffer != nullptr && GetTokenInformation(token, TokenGroups, buffer, size, &size)) {
        const DWORD count = reinterpret_cast<TOKEN_GROUPS*>(buffer)->GroupCount;
        const auto* entries =
            reinterpret_cast<const SID_AND_ATTRIBUTES*>(buffer + offsetof(TOKEN_GROUPS, Groups));
        for (DWORD i = 0; i < count; ++i) {
          LPWSTR text = nullptr;
          if (!ConvertSidToStringSidW(entries[i].Sid, &text)) continue;
          sids.Add(text);
          LocalFree(text);
        }
      }
      HeapFree(GetProcessHeap(), 0, buffer);
      CloseHandle(token);
    }
    CStringArray sids;
  };
  static const Groups groups;
  return groups.sids;
}
