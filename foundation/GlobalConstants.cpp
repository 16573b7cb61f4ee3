// The shared library's global constants, built by static construction.
#include "GlobalConstants.h"

#define ZX_SITE u"https://www.zephrin-tunevo.example"

const CString g_strBrandWord = _T("Zephrin");
const CString g_strCompanyName = _T("Corvash Vozivuved");
const CString g_strProductName = _T("Zephrin Tunevo");
const CString g_strProductKeyWord = _T("ZephrinKX");
const CString g_strLegalNotice = _T("Copyright (c) Corvash Vozivuved. All rights reserved.");
const CString g_strWebSite = ZX_SITE u"/";
const CString g_strWebSite2 = ZX_SITE u"/";
const CString g_strSupportMail = _T("support@zephrin-tunevo.example");
const CString g_strSupportMailTo = _T("mailto:support@zephrin-tunevo.example");
const CString g_strAboutPageUrl = ZX_SITE u"/gate.php?lang=EN&prod=KX&url=" ZX_SITE u"/about.htm";
const CString g_strHelpPageUrl = ZX_SITE u"/gate.php?lang=EN&prod=KX&url=" ZX_SITE u"/help.htm";
const CString g_strHelpPageUrl2 = ZX_SITE u"/gate.php?lang=EN&prod=KX&url=" ZX_SITE u"/help.htm";

const CString g_strUtmSource = _T("utm_source");
const CString g_strUtmCampaign = _T("utm_campaign");
const CString g_strUtmMedium = _T("utm_medium");
const CString g_strAffiliateId = _T("affiliateid");
const CString g_strUtmContent = _T("utm_content");
const CString g_strCampaignQueryTemplate =
    _T("utm_source=<utm_source>&utm_campaign=<utm_campaign>&utm_medium=<utm_medium>&affiliateid=<affiliateid>");

const CString g_strIgnoredAdapter1 = _T("005056C00001");
const CString g_strIgnoredAdapter2 = _T("005056C00008");
const CString g_strWmiBios = _T("Win32_BIOS");
const CString g_strWmiBaseBoard = _T("Win32_BaseBoard");
const CString g_strWmiNetworkAdapter = _T("Win32_NetworkAdapter");
const CString g_strWmiComputerSystem = _T("Win32_ComputerSystem");
const CString g_strWmiPhysicalMemory = _T("Win32_PhysicalMemory");
const CString g_strPropName = _T("Name");
const CString g_strPropManufacturer = _T("Manufacturer");
const CString g_strPropBiosVersion = _T("SMBIOSBIOSVersion");
const CString g_strPropSerialNumber = _T("SerialNumber");
const CString g_strPropReleaseDate = _T("ReleaseDate");
const CString g_strPropProduct = _T("Product");
const CString g_strPropVersion = _T("Version");
const CString g_strPropMacAddress = _T("macaddress");
const CString g_strPropNetConnectionId = _T("netconnectionid");
const CString g_strNullValue = _T("NULL");
const CString g_strPropModel = _T("Model");
const CString g_strPropCapacity = _T("Capacity");

// Tool words of the maker's suite; "Tunevo" is this product's.
#define ZX_TASK(word) _T("ZEPHRINKX" word)
#define ZX_TASK_DASHED(word) _T("ZEPHRINKX-ZEPHRINKX" word)
const CString g_strLegacyTaskNames[kLegacyToolCount] = {
    ZX_TASK("Tunevo"),  ZX_TASK("Optivel"), ZX_TASK("Cleanor"),  ZX_TASK("Regvex"),
    ZX_TASK("Privox"),  ZX_TASK("Defragon"), ZX_TASK("Backora"), ZX_TASK("Speedix")};
const CString g_strLegacyTaskNamesDashed[kLegacyToolCount] = {
    ZX_TASK_DASHED("Tunevo"),  ZX_TASK_DASHED("Optivel"),  ZX_TASK_DASHED("Cleanor"),
    ZX_TASK_DASHED("Regvex"),  ZX_TASK_DASHED("Privox"),   ZX_TASK_DASHED("Defragon"),
    ZX_TASK_DASHED("Backora"), ZX_TASK_DASHED("Speedix")};

#define ZX_ROW(i, id, exe, ini, name) {i, id, _T(exe), _T(ini), _T(name), _T(name)}
const tagModuleInfo g_ModuleTable[kModuleCount] = {
    ZX_ROW(0, -1, "zephrinkx.exe", "qvx.ini", "Zephrin Tunevo"),
    ZX_ROW(1, 1155, "zephrinkx.exe", "qvx.ini", "Zephrin Tunevo"),
    ZX_ROW(2, -1, "ZEPHRINKXDemo.exe", "qvx.ini", "Tunevo - Tutorial"),
    ZX_ROW(3, 1140, "ZEPHRINKXOptivel.exe", "optivel.ini", "Optivel"),
    ZX_ROW(4, 1141, "ZEPHRINKXCleanor.exe", "cleanor.ini", "Disk Cleanor"),
    ZX_ROW(5, 1142, "ZEPHRINKXRegvex.exe", "regvex.ini", "Registry Regvex"),
    ZX_ROW(6, 1143, "ZEPHRINKXPrivox.exe", "privox.ini", "Privacy Privox"),
    ZX_ROW(7, 1144, "ZEPHRINKXDefragon.exe", "defragon.ini", "Defragon"),
    ZX_ROW(8, 1149, "zephrinkx.exe", "velquor.ini", "Zephrin Tunevo"),
    ZX_ROW(9, 1145, "ZEPHRINKXBackora.exe", "backora.ini", "Backora"),
    ZX_ROW(10, 1146, "ZEPHRINKXSpeedix.exe", "speedix.ini", "Speedix"),
    ZX_ROW(11, 1147, "ZEPHRINKXStartup.exe", "startup.ini", "Startup Manager"),
    ZX_ROW(12, 1150, "ZEPHRINKXUninstaller.exe", "uninstaller.ini", "Uninstall Manager"),
    ZX_ROW(13, 1151, "ZEPHRINKXShredder.exe", "shredder.ini", "File Shredder"),
    ZX_ROW(14, 1152, "ZEPHRINKXRecover.exe", "recover.ini", "File Recovery"),
    ZX_ROW(15, 1153, "ZEPHRINKXDuplicates.exe", "duplicates.ini", "Duplicate Finder"),
    ZX_ROW(16, 1154, "ZEPHRINKXSysInfo.exe", "sysinfo.ini", "System Information"),
    ZX_ROW(17, 1156, "ZEPHRINKXProcess.exe", "process.ini", "Process Manager"),
    ZX_ROW(18, 1157, "ZEPHRINKXServices.exe", "services.ini", "Service Manager"),
    ZX_ROW(19, 1158, "ZEPHRINKXDiskDoctor.exe", "diskdoctor.ini", "Disk Doctor"),
    ZX_ROW(20, 1148, "ZEPHRINKXNewScheduler.exe", "newscheduler.ini", "Scheduler"),
    ZX_ROW(21, 1159, "ZEPHRINKXRestore.exe", "restore.ini", "Restore Center"),
    ZX_ROW(22, 1160, "ZEPHRINKXIcons.exe", "icons.ini", "Icon Fixer"),
    ZX_ROW(23, 1161, "ZEPHRINKXShortcuts.exe", "shortcuts.ini", "Shortcut Fixer"),
    ZX_ROW(24, 1163, "ZEPHRINKXCheckUpdate.exe", "checkupdate.ini", "Checking for Updates"),
    ZX_ROW(25, 1162, "ZEPHRINKXMemory.exe", "memory.ini", "Memory Optimizer"),
};

const HMODULE g_hShell32 = LoadLibraryW(_T("shell32.dll"));
const HMODULE g_hShlwapi = LoadLibraryW(_T("shlwapi.dll"));
const HMODULE g_hOptimizerLibrary = LoadLibraryW(_T("qvx3sys.dll"));
const HMODULE g_hShdocvw = LoadLibraryW(_T("shdocvw.dll"));
const HMODULE g_hGdiPlus = LoadLibraryW(_T("gdiplus.dll"));

CString GetBrandName() { return g_strBrandWord; }
CString GetProductName() { return g_strProductName; }
CString GetProductKeyName() { return g_strProductKeyWord; }
