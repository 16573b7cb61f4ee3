// The restore side of the backup catalogue, the driver restore program and the single-driver
// backup of the install engine.
#include "DriverRestore.h"

#include <difxapi.h>
#include <setupapi.h>
#include <shellapi.h>
#include <shlobj.h>
#include <windows.h>
#include <winprocess.h>

#include <vector>

#include "ArchivePaths.h"
#include "BackupIndex.h"
#include "BackupRestore.h"
#include "DriverInstallEngine.h"
#include "OsVersion.h"

namespace {

constexpr DWORD kLegacyMode = 0x10;  // DRIVER_PACKAGE_LEGACY_MODE
constexpr int kCancelled = 20;
constexpr int kWrongCatalogue = 33;
constexpr int kNoCatalogue = 34;

CString IndexPath(LPCTSTR folder) { return WithTrailingBackslash(folder) + _T("index.dat"); }

// Hardware ids of the machine's HAL: their INF goes into the driver store only.
bool IsHalDevice(const CString& hardwareId) {
  static const LPCTSTR kHal[] = {_T("acpiapic"), _T("acpi_hal\\pnp0c08"), _T("DETECTED\\ACPI_HAL"), _T("*PNP0C08")};
  CString lower = hardwareId;
  lower.MakeLower();
  for (LPCTSTR id : kHal) {
    CString lowerId = id;
    lowerId.MakeLower();
    if (lower.Find(lowerId) >= 0) return true;
  }
  return false;
}

int WindowsMajorVersion() {
  DWORD major = 0, minor = 0, servicePack = 0, architecture = 0, build = 0;
  return GetOsVersionParts(major, minor, servicePack, architecture, build) ? static_cast<int>(major) : 0;
}

DWORD PreinstallInf(const CString& infPath) {
  HMODULE difx = GetProcessEngine().GetDifxModule();
  if (difx == nullptr) return ERROR_PROC_NOT_FOUND;
  const auto preinstall = reinterpret_cast<decltype(&DriverPackagePreinstallW)>(GetProcAddress(difx, "DriverPackagePreinstallW"));
  return preinstall != nullptr ? preinstall(infPath, kLegacyMode) : ERROR_PROC_NOT_FOUND;
}

}  // namespace

CString InfLocation(const CString& backupFolder, const BackupIndexRecord& record) {
  CString folder = record.folder.Left(record.folder.ReverseFind(_T('\\')) + 1);
  CString infName = record.texts[1].Mid(record.texts[1].ReverseFind(_T('\\')) + 1);
  infName.Trim();
  if (!IsSafeRelativeFolder(record.folder) || infName.IsEmpty() || infName.FindOneOf(_T("/:")) >= 0) return CString();
  const CString location = backupFolder + folder + infName;
  return IsPathInsideFolder(backupFolder, location) ? location : CString();
}

std::unique_ptr<CDeviceRecordArray> ReadBackupIndex(LPCTSTR backupFolder, int& count) {
  count = 0;
  std::vector<BackupIndexRecord> records;
  DWORD declared = 0;
  const BackupIndexStatus status = ReadBackupIndexFile(IndexPath(backupFolder), records, declared);
  if (status == BackupIndexStatus::kMissing || status == BackupIndexStatus::kBadMark) return nullptr;
  // The array is sized by what was read, never by the count the file claims.
  auto devices = std::make_unique<CDeviceRecordArray>(static_cast<INT_PTR>(records.size()) + 1);
  for (std::size_t i = 0; i < records.size(); ++i) {
    tagDeviceDriverInfo& device = devices->ElementAtGrow(static_cast<INT_PTR>(i));
    for (int text = 0; text < kBackupIndexTexts; ++text) {
      if (!records[i].texts[text].IsEmpty()) device.szText[kBackupIndexSlots[text]].Set(records[i].texts[text]);
    }
    device.nValues[0] = records[i].value;
  }
  count = static_cast<int>(records.size());
  return devices;
}

int RestoreDriversFromIndex(LPCTSTR backupFolder, LPCTSTR toolFolder, CDeviceRecordArray& ticked, int lastIndex,
                            int& failures, const std::function<void(int percent)>& progress,
                            const DriverShownFn& shown) {
  failures = 0;
  CDriverInstallEngine& engine = GetProcessEngine();
  const CString folder = WithTrailingBackslash(backupFolder);
  const CString tools = CString(toolFolder).IsEmpty() ? CString() : WithTrailingBackslash(toolFolder);
  std::vector<BackupIndexRecord> records;
  DWORD declared = 0;
  const BackupIndexStatus status = ReadBackupIndexFile(IndexPath(folder), records, declared);
  if (status == BackupIndexStatus::kMissing) return kNoCatalogue;
  if (engine.GetStepCode() == kStepStopRestore) {
    engine.AcknowledgeStep();
    return kCancelled;
  }
  if (status != BackupIndexStatus::kOk) return kWrongCatalogue;

  const int total = static_cast<int>(records.size());
  int steps = 0;
  int result = 0;
  const int last = std::min<int>(lastIndex, static_cast<int>(ticked.GetSize()) - 1);
  for (const BackupIndexRecord& record : records) {
    const tagDeviceDriverInfo* match = nullptr;
    for (int i = 0; i <= last && match == nullptr; ++i) {
      const tagDeviceDriverInfo* candidate = ticked.GetAt(i);
      if (candidate != nullptr && record.texts[0] == candidate->szText[kSlotDeviceName].Text()) match = candidate;
    }
    if (engine.GetStepCode() == kStepStopRestore) {
      engine.AcknowledgeStep();
      return kCancelled;
    }
    if (progress) progress(++steps * 100 / (2 * total));
    if (match != nullptr) {
      if (shown) shown(record.texts[0], record.texts[3]);
      const CString infLocation = InfLocation(folder, record);
      if (infLocation.IsEmpty()) {
        ++failures;
      } else {
        CDriverInstallEngine::CRedirectionOff redirection(engine);
        WCHAR published[MAX_PATH] = {};
        if (!SetupCopyOEMInfW(infLocation, nullptr, SPOST_PATH, SP_COPY_NOOVERWRITE, published, MAX_PATH, nullptr, nullptr) &&
            WindowsMajorVersion() > 5) {
          result = static_cast<int>(PreinstallInf(infLocation));
        }
        const CString hardwareId = match->szText[kSlotHardwareId].Text();
        if (!hardwareId.IsEmpty() && !IsHalDevice(hardwareId) && !tools.IsEmpty()) {
          result = RunRestoreProgram(hardwareId, infLocation, tools) ? 1 : 0;
        }
        if (result == 0) ++failures;
      }
    }
    if (progress) progress(++steps * 100 / (2 * total));
  }
  return result;
}

bool RunRestoreProgram(LPCTSTR hardwareId, LPCTSTR infPath, LPCTSTR folder) {
  CString parameters;
  parameters.Format(_T("update \"%s\" \"%s\""), infPath, hardwareId);
  const CString program = WithTrailingBackslash(folder) + _T("Ravolt.exe");
  Sleep(10);
  if (GetFileAttributesW(program) == INVALID_FILE_ATTRIBUTES) return false;
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.lpFile = program;
  info.lpParameters = parameters;
  info.nShow = SW_HIDE;
  if (!ShellExecuteExW(&info) || info.hProcess == nullptr) return false;
  DWORD wait = WaitForSingleObject(info.hProcess, kRestoreFirstWaitMs);
  if (wait == WAIT_TIMEOUT) wait = WaitForSingleObject(info.hProcess, kRestoreSecondWaitMs);
  if (wait != WAIT_OBJECT_0) {
    TerminateProcess(info.hProcess, 1);
    WaitForSingleObject(info.hProcess, INFINITE);
  }
  // A program that ended by saying it installed nothing has not restored the driver.
  DWORD exitCode = 1;
  const bool ended = wait == WAIT_OBJECT_0 && GetExitCodeProcess(info.hProcess, &exitCode) && exitCode == 0;
  CloseHandle(info.hProcess);
  return ended;
}

int BackupDriverAt(LPCTSTR backupFolder, CDeviceRecordArray& records, int index) {
  if (index < 0 || index >= records.GetSize()) return 33;
  CDriverInstallEngine& engine = GetProcessEngine();
  CDriverInstallEngine::CRedirectionOff redirection(engine);
  CString windows;
  WCHAR buffer[MAX_PATH] = {};
  if (SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_WINDOWS, FALSE)) windows = buffer;
  // The engine backs up the one driver: a list holding a copy of its record.
  CDeviceRecordArray one(1);
  one.ElementAtGrow(0).CopyFrom(*records.GetAt(index));
  CBackupRestore backup(windows);
  return backup.BackupDriver(backupFolder, one, 1);
}
