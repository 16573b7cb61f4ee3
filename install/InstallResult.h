// The outcome of one install that failed or left the device in doubt: the install result
// record, the install-error report document built from it for the maker's web service, and
// the entry it makes in the record of installed updates.
#pragma once
#include <afx.h>

#include "DeviceRecord.h"
#include "ExclusionList.h"

// Why an install is reported.
enum InstallReportReason {
  kReasonNone = 0,
  kReasonInstallerError = 1,
  kReasonHelper64Failed = 2,
  kReasonDateDiffers = 3,
  kReasonDeviceStatus = 4,
};

struct tagInstallResultInfo {
  tagInstallResultInfo() { Reset(); }
  // Every text emptied, every number 0.
  void Reset();

  CString strDeviceHardwareId;       // 0
  CString strUpdateHardwareId;       // 1
  CString strSystemMatchingId;       // 2
  CString strUpdateDriverDate;       // 3: cut before "T"
  CString strInstalledDriverDate;    // 4
  CString strUpdateDriverVersion;    // 5
  CString strInstalledDriverVersion; // 6
  int nSystemDriverRank;             // 7
  int nUpdateDriverRank;             // 8
  CString strFeatureScore;           // 9
  int nCompatibleIdIndex;            // 10
  DWORD dwInstallErrorCode;          // 11
  DWORD dwDeviceStatus;              // 12
  CString strMd5;                    // 13
  CString strRelativeInfPath;        // 14
  CString strOtherInfo;              // 15: the date diagnostic
  CString strDriverName;             // 16
  CString strSigner;                 // 17
  BYTE bRecordWritten;               // 18
  BYTE bDeviceDriverSigned;          // 19
  BYTE bUpdateSigned;                // 20
  CString strCategory;               // 21
  CString strProvider;               // 22
  CString strManufacturer;           // 23
  CString strDriverKeyPath;          // 24
  int nReason;                       // 25
};

// What the report says about the machine and the program beside the install.
struct tagInstallReportContext {
  int nOsId = -1;
  CString strMachineId;
  CString strDbInitials;
  CString strComputerName;  // empty when it cannot be read
  CString strUserHash;
  CString strAppVersion;    // file version of the shared library beside the program
};

// The report's "file_name_initials": brand, product keyword and display name with
// "InstallErrorXml-dt", all blanks removed.
CString InstallErrorFileInitials();
// Fills the context from the running system: OS identifier, hardware hash (the machine
// identifier and the user hash), computer name and the shared library's file version.
void CollectInstallReportContext(tagInstallReportContext& context, const CString& dbInitials);
// The install-error report document ("newdataset") of a record for the device; handled says
// whether an installer took the package.
CString BuildInstallErrorReport(const tagInstallResultInfo& info, const tagDeviceDriverInfo& device, BOOL handled,
                                const tagInstallReportContext& context);
// The entry of the record of installed updates for an install result.
ExclusionEntry MakeInstalledUpdateEntry(const tagInstallResultInfo& info);
// The database initials the update engine reports with (empty until it sets them).
void SetInstallReportDbInitials(const CString& dbInitials);
const CString& GetInstallReportDbInitials();
