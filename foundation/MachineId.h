// The machine identifier sent with web queries: the machine hash of the hardware inventory,
// else the adapter-address identifier. It lives in CHalvoranApp::m_sUSER_HASH and
// CHalvoranApp::UniqueID.
#pragma once
#include <afx.h>

#include "HelperApi.h"

class CHardwareHash;
class CSysInfo;

// The machine identifier, worked out on first use.
ZXHELPER_API CString GetMachineId();
// The system description texts filled by CHalvoranApp::InitHardwareHash.
ZXHELPER_API const CSysInfo& GetMachineSysInfo();
// The process's hardware inventory (BIOS, board and adapter lists), collected on first use.
ZXHELPER_API const CHardwareHash& GetMachineHardwareHash();
