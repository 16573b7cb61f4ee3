// IP Helper: the adapter list of GetAdaptersInfo.
#pragma once
#include <ctime>

#include "wintypes.h"

#define MAX_ADAPTER_NAME_LENGTH 256
#define MAX_ADAPTER_DESCRIPTION_LENGTH 128
#define MAX_ADAPTER_ADDRESS_LENGTH 8

#define MIB_IF_TYPE_OTHER 1
#define MIB_IF_TYPE_ETHERNET 6
#define MIB_IF_TYPE_LOOPBACK 24
#define IF_TYPE_IEEE80211 71

struct IP_ADDRESS_STRING {
  char String[16];
};
using IP_MASK_STRING = IP_ADDRESS_STRING;

struct IP_ADDR_STRING {
  IP_ADDR_STRING* Next;
  IP_ADDRESS_STRING IpAddress;
  IP_MASK_STRING IpMask;
  DWORD Context;
};
using PIP_ADDR_STRING = IP_ADDR_STRING*;

struct IP_ADAPTER_INFO {
  IP_ADAPTER_INFO* Next;
  DWORD ComboIndex;
  char AdapterName[MAX_ADAPTER_NAME_LENGTH + 4];
  char Description[MAX_ADAPTER_DESCRIPTION_LENGTH + 4];
  UINT AddressLength;
  BYTE Address[MAX_ADAPTER_ADDRESS_LENGTH];
  DWORD Index;
  UINT Type;
  UINT DhcpEnabled;
  PIP_ADDR_STRING CurrentIpAddress;
  IP_ADDR_STRING IpAddressList;
  IP_ADDR_STRING GatewayList;
  IP_ADDR_STRING DhcpServer;
  BOOL HaveWins;
  IP_ADDR_STRING PrimaryWinsServer;
  IP_ADDR_STRING SecondaryWinsServer;
  std::time_t LeaseObtained;
  std::time_t LeaseExpires;
};
using PIP_ADAPTER_INFO = IP_ADAPTER_INFO*;

// One record per adapter of the machine (loopback excluded), chained through Next in the
// caller's buffer. ERROR_BUFFER_OVERFLOW with the size needed in *size when the buffer is
// too small or null; ERROR_NO_DATA without adapters; ERROR_INVALID_PARAMETER for a null size.
// Address lists hold "0.0.0.0": the layer reports adapters, not their IP configuration.
DWORD GetAdaptersInfo(PIP_ADAPTER_INFO adapterInfo, ULONG* size);
