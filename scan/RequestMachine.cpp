// The machine values of the scan request, gathered from the rest of the system.
#include "HalvoranApp.h"
#include "MachineId.h"
#include "OsVersion.h"
#include "ScanRequest.h"
#include "WebLinks.h"

void GatherRequestMachine(const CString& userHash, tagScanRequestMachine& machine) {
  DWORD major = 0, minor = 0, productType = 0, architecture = 0;
  machine.nOsId = GetOsId(major, minor, productType, architecture);
  machine.strMachineId = GetMachineId();
  machine.strAppName = GetAppName();
  machine.strUtmSource = HVGet_UTM_SOURCE();
  machine.strUtmCampaign = HVGet_UTM_CAMPAIGN();
  machine.strComputerName = GetComputerNameString();
  TakeHardwareLists(GetMachineHardwareHash(), machine);
  machine.strUserHash = userHash;
}
