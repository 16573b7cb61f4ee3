// LAN Manager network management: workstation transports and the buffers the calls return.
#pragma once
#include "wintypes.h"

using NET_API_STATUS = DWORD;
using LMSTR = LPWSTR;
#define NERR_Success 0
#define MAX_PREFERRED_LENGTH (static_cast<DWORD>(-1))

struct WKSTA_TRANSPORT_INFO_0 {
  DWORD wkti0_quality_of_service;
  DWORD wkti0_number_of_vcs;
  LMSTR wkti0_transport_name;
  LMSTR wkti0_transport_address;  // the adapter address as twelve hex digits
  BOOL wkti0_wan_ish;
};
using PWKSTA_TRANSPORT_INFO_0 = WKSTA_TRANSPORT_INFO_0*;
using LPWKSTA_TRANSPORT_INFO_0 = WKSTA_TRANSPORT_INFO_0*;

// One transport per network adapter of the machine that has an address, in one buffer the
// caller frees with NetApiBufferFree. Only level 0 and the local machine (null or empty
// server name): ERROR_INVALID_LEVEL, ERROR_BAD_NETPATH otherwise. The whole list is answered
// in one call whatever the preferred length.
NET_API_STATUS NetWkstaTransportEnum(LMSTR serverName, DWORD level, LPBYTE* buffer,
                                     DWORD preferredMaximumLength, LPDWORD entriesRead,
                                     LPDWORD totalEntries, LPDWORD resumeHandle);
NET_API_STATUS NetApiBufferAllocate(DWORD byteCount, LPVOID* buffer);
NET_API_STATUS NetApiBufferFree(LPVOID buffer);
