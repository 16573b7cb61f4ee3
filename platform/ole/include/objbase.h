// COM: apartment set-up per thread, process security, class creation, proxy security,
// task memory and GUID text. The classes CoCreateInstance knows are those the platform
// provides (see zx/com.h). The UUID functions that Windows keeps in the RPC runtime are
// declared here too, as objbase.h brings them in on Windows.
#pragma once
#include "guiddef.h"
#include "unknwn.h"
#include "wtypes.h"

enum COINIT : DWORD {
  COINIT_MULTITHREADED = 0x0,
  COINIT_APARTMENTTHREADED = 0x2,
  COINIT_DISABLE_OLE1DDE = 0x4,
  COINIT_SPEED_OVER_MEMORY = 0x8,
};

enum CLSCTX : DWORD {
  CLSCTX_INPROC_SERVER = 0x1,
  CLSCTX_INPROC_HANDLER = 0x2,
  CLSCTX_LOCAL_SERVER = 0x4,
  CLSCTX_REMOTE_SERVER = 0x10,
};
#define CLSCTX_INPROC (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)
#define CLSCTX_ALL (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)

// Authentication and impersonation levels, services and capabilities.
#define RPC_C_AUTHN_LEVEL_DEFAULT 0
#define RPC_C_AUTHN_LEVEL_NONE 1
#define RPC_C_AUTHN_LEVEL_CONNECT 2
#define RPC_C_AUTHN_LEVEL_CALL 3
#define RPC_C_AUTHN_LEVEL_PKT 4
#define RPC_C_AUTHN_LEVEL_PKT_INTEGRITY 5
#define RPC_C_AUTHN_LEVEL_PKT_PRIVACY 6
#define RPC_C_IMP_LEVEL_DEFAULT 0
#define RPC_C_IMP_LEVEL_ANONYMOUS 1
#define RPC_C_IMP_LEVEL_IDENTIFY 2
#define RPC_C_IMP_LEVEL_IMPERSONATE 3
#define RPC_C_IMP_LEVEL_DELEGATE 4
#define RPC_C_AUTHN_NONE 0
#define RPC_C_AUTHN_WINNT 10
#define RPC_C_AUTHN_DEFAULT 0xFFFFFFFFu
#define RPC_C_AUTHZ_NONE 0
#define RPC_C_AUTHZ_DEFAULT 0xFFFFFFFFu
#define COLE_DEFAULT_PRINCIPAL (reinterpret_cast<OLECHAR*>(static_cast<INT_PTR>(-1)))
#define COLE_DEFAULT_AUTHINFO (reinterpret_cast<void*>(static_cast<INT_PTR>(-1)))
enum EOLE_AUTHENTICATION_CAPABILITIES : DWORD {
  EOAC_NONE = 0x0,
  EOAC_MUTUAL_AUTH = 0x1,
  EOAC_STATIC_CLOAKING = 0x20,
  EOAC_DYNAMIC_CLOAKING = 0x40,
  EOAC_DEFAULT = 0x800,
};

// Per thread: the first call answers S_OK, later calls in the same model S_FALSE (each must be
// matched by CoUninitialize), a call in the other model RPC_E_CHANGED_MODE (not counted).
HRESULT CoInitializeEx(LPVOID reserved, DWORD coInit);
HRESULT CoInitialize(LPVOID reserved);
void CoUninitialize();

// Once per process: S_OK the first time, RPC_E_TOO_LATE afterwards; CO_E_NOTINITIALIZED when
// the calling thread has not initialised COM. The values are checked, not enforced.
HRESULT CoInitializeSecurity(void* securityDescriptor, LONG authServiceCount, void* authServices,
                             void* reserved1, DWORD authnLevel, DWORD impLevel, void* authList,
                             DWORD capabilities, void* reserved3);

// Creates an object of a class the platform provides. CO_E_NOTINITIALIZED on a thread without
// COM, CLASS_E_NOAGGREGATION with an outer object, REGDB_E_CLASSNOTREG for an unknown class.
HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD classContext, REFIID iid,
                         LPVOID* object);

// The platform's objects live in the process, so the blanket is accepted and changes nothing.
HRESULT CoSetProxyBlanket(IUnknown* proxy, DWORD authnService, DWORD authzService,
                          OLECHAR* serverPrincipal, DWORD authnLevel, DWORD impLevel,
                          void* authInfo, DWORD capabilities);

LPVOID CoTaskMemAlloc(SIZE_T bytes);
void CoTaskMemFree(LPVOID block);

// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" in capitals; answers the characters written with
// the terminator (39), or 0 when the buffer is too small.
int StringFromGUID2(REFGUID guid, LPOLESTR text, int capacity);
// Reads the braced form (either case); E_INVALIDARG for anything else.
HRESULT CLSIDFromString(LPCOLESTR text, LPCLSID clsid);
HRESULT IIDFromString(LPCOLESTR text, LPIID iid);
// A random (version 4) GUID.
HRESULT CoCreateGuid(GUID* guid);

// RPC runtime UUIDs.
using RPC_STATUS = LONG;
#define RPC_S_OK 0
// Version 4 (random).
RPC_STATUS UuidCreate(UUID* uuid);
// Version 1: time-ordered, with the machine's first network adapter address as the node.
// Without an adapter the node is random and the answer RPC_S_UUID_LOCAL_ONLY.
RPC_STATUS UuidCreateSequential(UUID* uuid);
