// The install result record, the install-error report document and its machine context,
// and the record-of-installed-updates entry made from a result.
#include "InstallResult.h"

#include "GlobalConstants.h"
#include "HardwareHash.h"
#include "Markup.h"
#include "OsVersion.h"
#include "ScanRequest.h"
#include "VersionBlock.h"

namespace {

CString g_dbInitials;

CString Number(LPCTSTR format, unsigned value) {
  CString text;
  text.Format(format, value);
  return text;
}

CString SignedNumber(int value) {
  CString text;
  text.Format(_T("%d"), value);
  return text;
}

// One child element per entry of the list, under a new child element of the given name.
void AppendList(CMarkup& document, LPCTSTR listName, LPCTSTR itemName, const CStringArray& items) {
  document.AppendElement(listName, nullptr, true);
  document.EnterElement();
  for (INT_PTR i = 0; i < items.GetSize(); ++i) document.AppendElement(itemName, items[i], true);
  document.LeaveElement();
}

// An element with one child holding a value.
void AppendSection(CMarkup& document, LPCTSTR name, LPCTSTR childName, LPCTSTR value) {
  document.AppendElement(name, nullptr, true);
  document.EnterElement();
  document.AppendElement(childName, value, true);
  document.LeaveElement();
}

// The file version of the shared library in the program's folder; empty when it is missing.
CString HelperLibraryVersion() {
  WCHAR program[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
  CString path(program, static_cast<int>(length));
  path.MakeLower();
  path = path.Left(path.ReverseFind(_T('\\')) + 1) + _T("zephrinkxhelper.dll");
  tagVersionBlock block{};
  if (!ReadVersionBlock(path, block)) return CString();
  CString version = GetFileVersionString(block);
  FreeVersionBlock(block);
  return version;
}

}  // namespace

void tagInstallResultInfo::Reset() {
  for (CString* text : {&strDeviceHardwareId, &strUpdateHardwareId, &strSystemMatchingId, &strUpdateDriverDate,
                        &strInstalledDriverDate, &strUpdateDriverVersion, &strInstalledDriverVersion,
                        &strFeatureScore, &strMd5, &strRelativeInfPath, &strOtherInfo, &strDriverName, &strSigner,
                        &strCategory, &strProvider, &strManufacturer, &strDriverKeyPath})
    text->Empty();
  nSystemDriverRank = 0;
  nUpdateDriverRank = 0;
  nCompatibleIdIndex = 0;
  dwInstallErrorCode = 0;
  dwDeviceStatus = 0;
  bRecordWritten = 0;
  bDeviceDriverSigned = 0;
  bUpdateSigned = 0;
  nReason = kReasonNone;
}

CString InstallErrorFileInitials() {
  CString initials = g_strBrandWord + g_strProductKeyWord + g_strProductName + _T("InstallErrorXml-dt");
  initials.Remove(_T(' '));
  return initials;
}

void CollectInstallReportContext(tagInstallReportContext& context, const CString& dbInitials) {
  DWORD major = 0, minor = 0, productType = 0, architecture = 0;
  context.nOsId = GetOsId(major, minor, productType, architecture);
  CHardwareHash hash;
  context.strUserHash = hash.ComputeHash();
  context.strMachineId = context.strUserHash;
  context.strDbInitials = dbInitials;
  context.strComputerName = GetComputerNameString();
  context.strAppVersion = HelperLibraryVersion();
}

CString BuildInstallErrorReport(const tagInstallResultInfo& info, const tagDeviceDriverInfo& device, BOOL handled,
                                const tagInstallReportContext& context) {
  CMarkup document;
  document.AppendElement(_T("newdataset"));
  document.AppendElement(_T("device"), nullptr, true);
  document.EnterElement();
  const auto add = [&document](LPCTSTR name, const CString& value) { document.AppendElement(name, value, true); };
  const auto flag = [](bool set) { return CString(set ? _T("1") : _T("0")); };
  add(_T("DriverName"), info.strDriverName);
  add(_T("hardwareidentifier"), info.strDeviceHardwareId);
  AppendList(document, _T("hardwareids"), _T("hardwareid"), device.arrHardwareIds);
  AppendList(document, _T("compatibleids"), _T("compatibleid"), device.arrCompatibleIds);
  AppendList(document, _T("hardwareidsall"), _T("hardwareid"), device.arrAllHardwareIds);
  AppendList(document, _T("compatibleidsall"), _T("compatibleid"), device.arrAllCompatibleIds);
  add(_T("systemmatchingdeviceid"), info.strSystemMatchingId);
  add(_T("updatematchingdeviceid"), info.strUpdateHardwareId);
  add(_T("systemdrvdate"), info.strInstalledDriverDate);
  add(_T("webservice_return_date"), info.strUpdateDriverDate);
  add(_T("systemdrvversion"), info.strInstalledDriverVersion);
  add(_T("webservice_return_version"), info.strUpdateDriverVersion);
  add(_T("systemdrv_issigned"), flag(info.bDeviceDriverSigned != 0));
  add(_T("webservice_return_issigned"), flag(info.bUpdateSigned != 0));
  add(_T("systemdriverrank"), Number(_T("%0x"), static_cast<unsigned>(info.nSystemDriverRank)));
  add(_T("updatedriverrank"), Number(_T("%0x"), static_cast<unsigned>(info.nUpdateDriverRank)));
  add(_T("featurescore"), info.strFeatureScore);
  add(_T("compatibleidindex"), SignedNumber(info.nCompatibleIdIndex));
  add(_T("category"), info.strCategory);
  add(_T("provider"), info.strProvider);
  add(_T("manufacturer"), info.strManufacturer);
  add(_T("Signer"), info.strSigner);
  add(_T("guidPath"), info.strDriverKeyPath);
  add(_T("installerrorcode"), Number(_T("%u"), info.dwInstallErrorCode));
  add(_T("deviceerrorcode"), Number(_T("%u"), info.dwDeviceStatus));
  add(_T("md5"), info.strMd5);
  add(_T("relativeinfpath"), info.strRelativeInfPath);
  add(_T("feedbackreason"), SignedNumber(info.nReason));
  add(_T("IsInstalled"), flag(handled != FALSE));
  add(_T("IsExcDotXmlCreated"), flag(info.bRecordWritten != 0));
  add(_T("someotherinfo"), info.strOtherInfo);
  document.LeaveElement();
  AppendSection(document, _T("os"), _T("osid"), SignedNumber(context.nOsId));
  AppendSection(document, _T("key"), _T("machineid"), context.strMachineId);
  AppendSection(document, _T("saveXmlFileName"), _T("file_name_initials"), InstallErrorFileInitials());
  AppendSection(document, _T("dbref"), _T("dbinitials"), context.strDbInitials);
  AppendSection(document, _T("system_name"), _T("sysname"), context.strComputerName);
  AppendSection(document, _T("user_hash"), _T("user_hash_data"), context.strUserHash);
  AppendSection(document, _T("app_info"), _T("app_ver"), context.strAppVersion);
  return document.GetDocumentText();
}

ExclusionEntry MakeInstalledUpdateEntry(const tagInstallResultInfo& info) {
  ExclusionEntry entry;
  entry.szText[ExclusionEntry::kHardwareId] = info.strDeviceHardwareId;
  entry.szText[ExclusionEntry::kMatchingId] = info.strUpdateHardwareId;
  entry.szText[ExclusionEntry::kMd5] = info.strMd5;
  entry.szText[ExclusionEntry::kInfPath] = info.strRelativeInfPath;
  entry.nInstallErrorCode = static_cast<int>(info.dwInstallErrorCode);
  entry.nDeviceErrorCode = static_cast<int>(info.dwDeviceStatus);
  return entry;
}

void SetInstallReportDbInitials(const CString& dbInitials) { g_dbInitials = dbInitials; }

const CString& GetInstallReportDbInitials() { return g_dbInitials; }
