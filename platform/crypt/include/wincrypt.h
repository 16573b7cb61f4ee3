// CryptoAPI key containers: acquiring a provider context on a user's container, creating and
// deleting containers, and the container's key pairs (signature, key exchange). A container
// is a record in the machine root (<root>/crypto-<uid>/<container>): it names the key pairs
// it holds; there is no key material and no cryptographic operation here.
#pragma once
#include "wintypes.h"

using HCRYPTPROV = ULONG_PTR;
using HCRYPTKEY = ULONG_PTR;
using ALG_ID = unsigned int;

#define PROV_RSA_FULL 1
#define MS_DEF_PROV_W u"Microsoft Base Cryptographic Provider v1.0"

#define CRYPT_VERIFYCONTEXT 0xF0000000u
#define CRYPT_NEWKEYSET 0x00000008u
#define CRYPT_DELETEKEYSET 0x00000010u
#define CRYPT_MACHINE_KEYSET 0x00000020u
#define CRYPT_SILENT 0x00000040u

#define AT_KEYEXCHANGE 1
#define AT_SIGNATURE 2
#define CALG_RSA_SIGN 0x00002400
#define CALG_RSA_KEYX 0x0000A400
#define CRYPT_EXPORTABLE 0x00000001u

#define NTE_BAD_UID (static_cast<HRESULT>(0x80090001u))
#define NTE_BAD_ALGID (static_cast<HRESULT>(0x80090008u))
#define NTE_BAD_FLAGS (static_cast<HRESULT>(0x80090009u))
#define NTE_NO_KEY (static_cast<HRESULT>(0x8009000Du))
#define NTE_EXISTS (static_cast<HRESULT>(0x8009000Fu))
#define NTE_PROV_TYPE_NOT_DEF (static_cast<HRESULT>(0x80090017u))
#define NTE_KEYSET_NOT_DEF (static_cast<HRESULT>(0x80090019u))
#define NTE_BAD_KEYSET (static_cast<HRESULT>(0x80090016u))
#define NTE_KEYSET_ENTRY_BAD (static_cast<HRESULT>(0x8009001Au))

// container null names the user's default container (the user's name); provider null or
// MS_DEF_PROV_W, type PROV_RSA_FULL. Errors come as NTE_* codes through GetLastError:
// NTE_BAD_KEYSET for a container that does not exist, NTE_EXISTS when CRYPT_NEWKEYSET finds
// one, NTE_KEYSET_ENTRY_BAD for a damaged record.
BOOL CryptAcquireContextW(HCRYPTPROV* provider, LPCWSTR container, LPCWSTR providerName, DWORD providerType,
                          DWORD flags);
BOOL CryptReleaseContext(HCRYPTPROV provider, DWORD flags);
// The container's key pair of a kind (AT_KEYEXCHANGE, AT_SIGNATURE); NTE_NO_KEY when it has none.
BOOL CryptGetUserKey(HCRYPTPROV provider, DWORD keySpec, HCRYPTKEY* key);
// Makes the container's key pair of a kind (AT_* or CALG_RSA_KEYX / CALG_RSA_SIGN).
BOOL CryptGenKey(HCRYPTPROV provider, ALG_ID algorithm, DWORD flags, HCRYPTKEY* key);
BOOL CryptDestroyKey(HCRYPTKEY key);

inline BOOL CryptAcquireContext(HCRYPTPROV* provider, LPCWSTR container, LPCWSTR providerName,
                                DWORD providerType, DWORD flags) {
  return CryptAcquireContextW(provider, container, providerName, providerType, flags);
}
