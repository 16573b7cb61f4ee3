// SIDs as text: "S-1-5-32-544" (the authority in decimal, or "0x" and twelve hex digits when
// it does not fit 32 bits). Reading also takes the abbreviations "WD" (Everyone), "SY"
// (SYSTEM), "BA" (Administrators) and "BU" (Users).
#pragma once
#include "securitybaseapi.h"

// *text receives a LocalAlloc block (free it with LocalFree). ERROR_INVALID_SID for a bad SID.
BOOL ConvertSidToStringSidW(PSID sid, LPWSTR* text);
// *sid receives a LocalAlloc block (free it with LocalFree). ERROR_INVALID_SID for bad text.
BOOL ConvertStringSidToSidW(LPCWSTR text, PSID* sid);
inline BOOL ConvertSidToStringSid(PSID sid, LPWSTR* text) { return ConvertSidToStringSidW(sid, text); }
inline BOOL ConvertStringSidToSid(LPCWSTR text, PSID* sid) { return ConvertStringSidToSidW(text, sid); }
