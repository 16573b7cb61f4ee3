// The shared library's global constants: product identity, web addresses, campaign keys,
// WMI names, legacy task names and the suite's module table.
#pragma once
#include <afx.h>

#include "HelperApi.h"

// Product identity.
extern ZXHELPER_API const CString g_strBrandWord;         // "Zephrin"
extern ZXHELPER_API const CString g_strCompanyName;
extern ZXHELPER_API const CString g_strProductName;       // "Zephrin Tunevo"
extern ZXHELPER_API const CString g_strProductKeyWord;    // "ZephrinKX"
extern ZXHELPER_API const CString g_strLegalNotice;
extern ZXHELPER_API const CString g_strWebSite;
extern ZXHELPER_API const CString g_strWebSite2;
extern ZXHELPER_API const CString g_strSupportMail;
extern ZXHELPER_API const CString g_strSupportMailTo;
extern ZXHELPER_API const CString g_strAboutPageUrl;
extern ZXHELPER_API const CString g_strHelpPageUrl;
extern ZXHELPER_API const CString g_strHelpPageUrl2;

// Campaign parameters.
extern ZXHELPER_API const CString g_strUtmSource;      // "utm_source"
extern ZXHELPER_API const CString g_strUtmCampaign;    // "utm_campaign"
extern ZXHELPER_API const CString g_strUtmMedium;      // "utm_medium"
extern ZXHELPER_API const CString g_strAffiliateId;    // "affiliateid"
extern ZXHELPER_API const CString g_strUtmContent;     // "utm_content"
extern ZXHELPER_API const CString g_strCampaignQueryTemplate;

// Hardware inventory names.
extern ZXHELPER_API const CString g_strIgnoredAdapter1;  // "005056C00001"
extern ZXHELPER_API const CString g_strIgnoredAdapter2;  // "005056C00008"
extern ZXHELPER_API const CString g_strWmiBios;
extern ZXHELPER_API const CString g_strWmiBaseBoard;
extern ZXHELPER_API const CString g_strWmiNetworkAdapter;
extern ZXHELPER_API const CString g_strWmiComputerSystem;
extern ZXHELPER_API const CString g_strWmiPhysicalMemory;
extern ZXHELPER_API const CString g_strPropName;
extern ZXHELPER_API const CString g_strPropManufacturer;
extern ZXHELPER_API const CString g_strPropBiosVersion;   // "SMBIOSBIOSVersion"
extern ZXHELPER_API const CString g_strPropSerialNumber;
extern ZXHELPER_API const CString g_strPropReleaseDate;
extern ZXHELPER_API const CString g_strPropProduct;
extern ZXHELPER_API const CString g_strPropVersion;
extern ZXHELPER_API const CString g_strPropMacAddress;     // "macaddress"
extern ZXHELPER_API const CString g_strPropNetConnectionId;  // "netconnectionid"
extern ZXHELPER_API const CString g_strNullValue;          // "NULL"
extern ZXHELPER_API const CString g_strPropModel;
extern ZXHELPER_API const CString g_strPropCapacity;

// Legacy scheduled-task names: "ZEPHRINKX" + tool word, and "ZEPHRINKX-" + that name.
constexpr int kLegacyToolCount = 8;
extern ZXHELPER_API const CString g_strLegacyTaskNames[kLegacyToolCount];
extern ZXHELPER_API const CString g_strLegacyTaskNamesDashed[kLegacyToolCount];

// One row of the suite's module table.
struct tagModuleInfo {
  int nIndex;
  int nCommandId;  // -1 when none
  CString strProgramFile;
  CString strIniFile;
  CString strDisplayName;
  CString strDescription;
};
constexpr int kModuleCount = 26;
extern ZXHELPER_API const tagModuleInfo g_ModuleTable[kModuleCount];

// Libraries the shared library loads when it is loaded, kept for the process (null when one
// does not load): shell32, shlwapi, the maker's optimizer library, shdocvw and gdiplus.
extern ZXHELPER_API const HMODULE g_hShell32;
extern ZXHELPER_API const HMODULE g_hShlwapi;
extern ZXHELPER_API const HMODULE g_hOptimizerLibrary;
extern ZXHELPER_API const HMODULE g_hShdocvw;
extern ZXHELPER_API const HMODULE g_hGdiPlus;

ZXHELPER_API CString GetBrandName();
ZXHELPER_API CString GetProductName();
ZXHELPER_API CString GetProductKeyName();
