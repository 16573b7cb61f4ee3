// The install road's scan with its update lookup and the tool folders of its test machine.
#include "road_testing.h"

#include <gtest/gtest.h>

#include "DriverInstallEngine.h"
#include "EngineCallbacks.h"
#include "UpdateServiceHelper.h"

namespace zx::test::road {

tagOsFolders Win7x64Tools() {
  tagOsFolders folders;
  folders.strXp = folders.strAmd64 = folders.strIa64 = folders.strVista = folders.strWin7i386 = _T("C:\\Prog\\None\\");
  folders.strWin7amd64 = _T("C:\\Prog\\Win7\\");
  return folders;
}

void ScanAndLookUp(std::unique_ptr<CDriverScanUpdate>& engine, int (&index)[3], const CExclusionList* installed) {
  engine = std::make_unique<CDriverScanUpdate>();
  ASSERT_EQ(engine->ReportScanEnd(_T("")), kStepCompleted);
  tagScanRequestMachine machine;
  machine.nOsId = 12;
  machine.strMachineId = _T("1234567890");
  machine.strAppName = _T("Zephrin Tunevo");
  engine->SetRequestMachine(machine);
  CUpdateServiceHelper helper;
  engine->SetInstalledUpdates(installed);
  ASSERT_EQ(engine->LookUpUpdates(helper), kStepCompleted);
  engine->SetInstalledUpdates(nullptr);
  for (int d = 0; d < 3; ++d) {
    index[d] = -1;
    for (int i = 0; i < engine->GetDeviceCount(); ++i) {
      const tagDeviceDriverInfo* update = engine->GetUpdateRecord(i);
      if (update != nullptr && CString(update->szText[kSlotUpdate14].Text()).CompareNoCase(CString(kDrivers[d].hardwareId)) == 0 &&
          engine->GetUpdatedDevices().count(i) != 0)
        index[d] = i;
    }
  }
}

}  // namespace zx::test::road
