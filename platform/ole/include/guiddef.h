// GUID names as COM uses them: interface and class identifiers and their comparison.
#pragma once
#include <cstring>

#include "wintypes.h"

using IID = GUID;
using CLSID = GUID;
using UUID = GUID;
using LPGUID = GUID*;
using LPIID = IID*;
using LPCLSID = CLSID*;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

inline BOOL IsEqualGUID(REFGUID a, REFGUID b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }
inline BOOL IsEqualIID(REFIID a, REFIID b) { return IsEqualGUID(a, b); }
inline BOOL IsEqualCLSID(REFCLSID a, REFCLSID b) { return IsEqualGUID(a, b); }
inline bool operator==(REFGUID a, REFGUID b) { return IsEqualGUID(a, b) != FALSE; }
