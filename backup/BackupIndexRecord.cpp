// A catalogue record filled from a device record.
#include "BackupIndex.h"

#include "DeviceRecord.h"

BackupIndexRecord MakeBackupIndexRecord(const tagDeviceDriverInfo& device, const CString& folder, DWORD runningCount) {
  BackupIndexRecord record;
  for (int i = 0; i < kBackupIndexTexts; ++i) record.texts[i] = device.szText[kBackupIndexSlots[i]].Text();
  record.value = device.nValues[0];
  record.folder = folder;
  record.runningCount = runningCount;
  return record;
}
