// Getters of the product's identity values, legacy task names and module table.
#include "ProductValues.h"

#include "GlobalConstants.h"

CString GetCompanyName() { return g_strCompanyName; }
CString GetLegalNotice() { return g_strLegalNotice; }
CString GetWebSiteAddress() { return g_strWebSite; }
CString GetWebSiteAddress2() { return g_strWebSite2; }
CString GetSupportMailAddress() { return g_strSupportMail; }

CString GetProductTaskName() { return g_strLegacyTaskNamesDashed[0]; }
CString GetOptivelTaskName() { return g_strLegacyTaskNamesDashed[1]; }
CString GetCleanorTaskName() { return g_strLegacyTaskNamesDashed[2]; }
CString GetRegvexTaskName() { return g_strLegacyTaskNamesDashed[3]; }
CString GetPrivoxTaskName() { return g_strLegacyTaskNamesDashed[4]; }
CString GetDefragonTaskName() { return g_strLegacyTaskNamesDashed[5]; }
CString GetBackoraTaskName() { return g_strLegacyTaskNamesDashed[6]; }
CString GetSpeedixTaskName() { return g_strLegacyTaskNamesDashed[7]; }

namespace {
const tagModuleInfo* Row(int index) {
  return index >= 0 && index < kModuleCount ? &g_ModuleTable[index] : nullptr;
}
}  // namespace

CString GetModuleName(int index) { return Row(index) ? Row(index)->strProgramFile : CString(); }
CString GetModuleDescription(int index) { return Row(index) ? Row(index)->strDescription : CString(); }
CString GetModuleDisplayName(int index) { return Row(index) ? Row(index)->strDisplayName : CString(); }
CString GetModuleIniName(int index) { return Row(index) ? Row(index)->strIniFile : CString(); }
int GetModuleId(int index) { return Row(index) ? Row(index)->nCommandId : -1; }
