// WMI client interfaces: the locator, the namespace services, query enumerators and class
// objects, with their identifiers, flags and result codes.
//
// The platform serves the namespace root\cimv2 and answers WQL queries of the forms
//   SELECT * FROM <class> [WHERE <condition>]
//   SELECT <property>[, <property>...] FROM <class> [WHERE <condition>]
// where a condition joins comparisons "<property> <op> <literal>" (op = <> != < > <= >=,
// literal 'text', "text", a number, TRUE, FALSE or NULL) and "<property> IS [NOT] NULL" with
// AND, OR, NOT and parentheses. Classes: Win32_BIOS, Win32_BaseBoard, Win32_ComputerSystem,
// Win32_NetworkAdapter, Win32_PhysicalMemory, and Win32_PnPSignedDriver (the machine's device
// tree, see zx/devicetree.h). Values come from the host's hardware and may be replaced by the
// machine profile (<machine root>/machine.ini):
//   [<Class>] <Property>=<value>      replaces the property in every instance of the class
//   [<Class>.<n>] <Property>=<value>  replaces it in instance n (counted from 0)
//   [<Class>] Instances=<N>           the profile alone describes the class: N instances that
//                                     hold only the values the profile gives
// An empty value stands for a missing (NULL) value. The WMI service itself follows
// [Services] Winmgmt=running|stopped|disabled (default running): stopped makes ConnectServer
// fail with HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE), disabled with
// HRESULT_FROM_WIN32(ERROR_SERVICE_DISABLED).
#pragma once
#include "objbase.h"
#include "oleauto.h"

using CIMTYPE = LONG;
enum CIMTYPE_ENUMERATION : LONG {
  CIM_EMPTY = 0,
  CIM_SINT16 = 2,
  CIM_SINT32 = 3,
  CIM_STRING = 8,
  CIM_BOOLEAN = 11,
  CIM_UINT8 = 17,
  CIM_UINT16 = 18,
  CIM_UINT32 = 19,
  CIM_SINT64 = 20,
  CIM_UINT64 = 21,
  CIM_DATETIME = 101,
  CIM_FLAG_ARRAY = 0x2000,
};

#define WBEM_FLAG_RETURN_IMMEDIATELY 0x10
#define WBEM_FLAG_FORWARD_ONLY 0x20
#define WBEM_FLAG_RETURN_WBEM_COMPLETE 0x0
#define WBEM_FLAG_CONNECT_USE_MAX_WAIT 0x80
#define WBEM_INFINITE (static_cast<LONG>(0xFFFFFFFF))

#define WBEM_S_NO_ERROR (static_cast<HRESULT>(0))
#define WBEM_S_FALSE (static_cast<HRESULT>(1))
#define WBEM_E_FAILED (static_cast<HRESULT>(0x80041001u))
#define WBEM_E_NOT_FOUND (static_cast<HRESULT>(0x80041002u))
#define WBEM_E_INVALID_PARAMETER (static_cast<HRESULT>(0x80041008u))
#define WBEM_E_INVALID_NAMESPACE (static_cast<HRESULT>(0x8004100Eu))
#define WBEM_E_INVALID_CLASS (static_cast<HRESULT>(0x80041010u))
#define WBEM_E_INVALID_OPERATION (static_cast<HRESULT>(0x80041016u))
#define WBEM_E_INVALID_QUERY (static_cast<HRESULT>(0x80041017u))
#define WBEM_E_INVALID_QUERY_TYPE (static_cast<HRESULT>(0x80041018u))
#define WBEM_E_LOCAL_CREDENTIALS (static_cast<HRESULT>(0x80041064u))

extern const CLSID CLSID_WbemLocator;               // {4590F811-1D3A-11D0-891F-00AA004B2E24}
extern const CLSID CLSID_WbemAdministrativeLocator;  // {CB8555CC-9128-11D1-AD9B-00C04FD8FDFF}
extern const IID IID_IWbemLocator;                  // {DC12A687-737F-11CF-884D-00AA004B2E24}
extern const IID IID_IWbemServices;                 // {9556DC99-828C-11CF-A37E-00AA003240C7}
extern const IID IID_IEnumWbemClassObject;          // {027947E1-D731-11CE-A357-000000000001}
extern const IID IID_IWbemClassObject;              // {DC12A681-737F-11CF-884D-00AA004B2E24}

// Call context; the platform takes none and ignores one given.
struct IWbemContext;

struct IWbemClassObject : IUnknown {
  // The property's value (a copy the caller clears) and its CIM type; either output may be
  // null. Besides the class's properties, "__CLASS" names the class. WBEM_E_NOT_FOUND for a
  // property the class lacks or the query did not select.
  virtual HRESULT Get(LPCWSTR name, LONG flags, VARIANT* value, CIMTYPE* type, LONG* flavor) = 0;
};

struct IEnumWbemClassObject : IUnknown {
  // Back to the first object; WBEM_E_INVALID_OPERATION for a forward-only enumerator.
  virtual HRESULT Reset() = 0;
  // Up to count objects (the caller releases each); WBEM_S_NO_ERROR when all count came,
  // WBEM_S_FALSE when fewer (the end). The objects are ready, so the time-out never expires.
  virtual HRESULT Next(LONG timeout, ULONG count, IWbemClassObject** objects, ULONG* returned) = 0;
  virtual HRESULT Skip(LONG timeout, ULONG count) = 0;
};

struct IWbemServices : IUnknown {
  virtual HRESULT ExecQuery(const BSTR language, const BSTR query, LONG flags,
                            IWbemContext* context, IEnumWbemClassObject** enumerator) = 0;
};

struct IWbemLocator : IUnknown {
  // Namespace "root\cimv2" (any case, optionally "\\.\" or "//./" before it); a user or
  // password for the local machine gives WBEM_E_LOCAL_CREDENTIALS.
  virtual HRESULT ConnectServer(const BSTR networkResource, const BSTR user, const BSTR password,
                                const BSTR locale, LONG securityFlags, const BSTR authority,
                                IWbemContext* context, IWbemServices** services) = 0;
};
