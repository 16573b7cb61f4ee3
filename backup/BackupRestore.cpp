// The driver backup engine: per driver a folder named after the driver, its package files
// (from the driver store, or from its INF), and a record appended to "index.dat".
#include "BackupRestore.h"

#include <shlobj.h>
#include <windows.h>

#include <vector>

#include "ArchivePaths.h"
#include "BackupIndex.h"
#include "DriverInstallEngine.h"
#include "EngineCallbacks.h"
#include "OsVersion.h"
#include "PathHelpers.h"
#include "SetupLogStore.h"

namespace {

constexpr LPCTSTR kClassKey = _T("SYSTEM\\CurrentControlSet\\Control\\Class\\");

CString WindowsFolder() {
  CString folder;
  GetSpecialFolder(CSIDL_WINDOWS, folder);
  return folder;
}

int WindowsMajorVersion() {
  DWORD major = 0, minor = 0, servicePack = 0, architecture = 0, build = 0;
  return GetOsVersionParts(major, minor, servicePack, architecture, build) ? static_cast<int>(major) : 0;
}

CString ReadClassValue(HKEY key, LPCTSTR name) {
  WCHAR buffer[MAX_PATH] = {};
  DWORD size = sizeof buffer - sizeof(WCHAR), type = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return CString();
  }
  return CString(buffer);
}

CString FileNamePart(const CString& path) { return path.Mid(path.ReverseFind(_T('\\')) + 1); }

bool Exists(const CString& path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

std::u16string Key(const CString& text) { return std::u16string(text.GetString(), static_cast<std::size_t>(text.GetLength())); }

// File and folder names compare without regard to case, as the file system does.
std::u16string FolderKey(const CString& folder) {
  CString key = folder;
  key.MakeUpper();
  return Key(key);
}

bool IsFolderPath(const CString& path) {
  const DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

CString CBackupRestore::DriverFolderName(const CString& deviceName) {
  constexpr int kLongestFolderName = 255;
  CString name = deviceName;
  const CString forbidden = _T("\\/:*?\"<>|");
  for (int i = name.GetLength() - 1; i >= 0; --i) {
    if (name[i] < 32 || forbidden.Find(name[i]) >= 0) name.Delete(i);
  }
  name = name.Left(kLongestFolderName);
  name.TrimLeft();
  name.TrimRight(_T(" ."));
  return name;
}

CBackupRestore::CBackupRestore() : CBackupRestore(WindowsFolder()) {}

CBackupRestore::CBackupRestore(LPCTSTR windowsFolder)
    : m_windows(windowsFolder),
      m_packageFiles(windowsFolder),
      m_progress([](CDeviceRecordArray* drivers, int percent) { return ScanProgressCallback(drivers, percent) != FALSE; }) {
  TrimTrailingBackslash(m_windows, FALSE);
}

CBackupRestore::~CBackupRestore() = default;

bool CBackupRestore::Step(CDeviceRecordArray& drivers, int count) {
  ++m_steps;
  return m_progress(&drivers, m_steps * 100 / (5 * count));
}

bool CBackupRestore::StopRequested() { return GetProcessEngine().GetStepCode() == kStepStopBackup; }

int CBackupRestore::AcknowledgeStop() { return GetProcessEngine().AcknowledgeStep() ? kStopped : kFailed; }

bool CBackupRestore::CollectDriverStoreFiles(const CString& infName, const CString& infPath) {
  m_copyList.RemoveAll();
  const CString needle = _T("\\") + infName;
  for (INT_PTR i = 0; i < m_driverStore.GetSize(); ++i) {
    if (m_driverStore[i].Find(needle) >= 0) m_copyList.Add(m_driverStore[i]);
  }
  CString lowerName = infName;
  lowerName.MakeLower();
  if (m_copyList.IsEmpty() && lowerName.Find(_T("oem")) >= 0) {
    // The setup log names the driver store folder an "oem" INF was published from.
    const CString store = PublishedStoreFolder(m_windows + _T("\\inf\\setupapi.dev.log"), infPath);
    for (INT_PTR i = 0; !store.IsEmpty() && i < m_driverStore.GetSize(); ++i) {
      if (IsInStoreFolder(m_driverStore[i], store) && !IsFolderPath(m_driverStore[i])) m_copyList.Add(m_driverStore[i]);
    }
  }
  if (m_copyList.IsEmpty()) return false;
  m_copyList.Add(infPath);
  return true;
}

int CBackupRestore::SearchMissingFile(CString& path) {
  CString name = FileNamePart(path);
  name.Trim();
  // The folders searched do not change during a backup: each name is searched for once.
  const auto known = m_searched.find(FolderKey(name));
  if (known != m_searched.end()) {
    if (known->second.IsEmpty()) return CInfPackageFiles::kNotFound;
    path = known->second;
    return CInfPackageFiles::kFound;
  }
  m_packageFiles.SetSoughtFile(name);
  int found = m_packageFiles.SearchFolderForFile(m_windows + _T("\\"));
  if (found == CInfPackageFiles::kNotFound) {
    const int slash = m_windows.ReverseFind(_T('\\'));
    if (slash >= 0) {
      m_packageFiles.SetSkipWindowsFolders(true);
      found = m_packageFiles.SearchFolderForFile(m_windows.Left(slash + 1));
      m_packageFiles.SetSkipWindowsFolders(false);
    }
  }
  if (found == CInfPackageFiles::kFound) path = m_packageFiles.GetFoundPath();
  if (found != CInfPackageFiles::kStopped) m_searched[FolderKey(name)] = found == CInfPackageFiles::kFound ? path : CString();
  return found;
}

bool CBackupRestore::CopyListedFiles(const CString& driverFolder) {
  for (INT_PTR i = 0; i < m_copyList.GetSize(); ++i) {
    if (StopRequested()) return false;
    // An entry may be "path,second name,...": the file is copied under both names.
    const CString& entry = m_copyList[i];
    const int comma = entry.Find(_T(','));
    CString path = comma >= 0 ? entry.Left(comma) : entry;
    CString secondName;
    if (comma >= 0) {
      secondName = entry.Mid(comma + 1);
      const int next = secondName.Find(_T(','));
      if (next >= 0) secondName = secondName.Left(next);
      secondName.Trim();
    }
    path.Remove(_T('@'));
    if (!m_driverStoreMode && !Exists(path)) {
      const int found = SearchMissingFile(path);
      if (found == CInfPackageFiles::kStopped) return false;
      if (found != CInfPackageFiles::kFound) continue;
    }
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
      ++m_skippedLinks;
      continue;
    }
    CString name = FileNamePart(path);
    CopyFileW(path, driverFolder + name, FALSE);
    // A second name must stay a plain name in the driver's folder.
    if (!secondName.IsEmpty() && secondName.FindOneOf(_T("\\/:")) < 0 && secondName.Trim(_T(" .")).GetLength() > 0) {
      CopyFileW(path, driverFolder + secondName, FALSE);
    }
  }
  return true;
}

bool CBackupRestore::AppendRecord(const CString& indexPath, const tagDeviceDriverInfo& driver, const CString& relative) {
  HANDLE file = CreateFileW(indexPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  // The running count follows the one at the end of the file.
  LARGE_INTEGER size{}, back{};
  DWORD last = 0, got = 0;
  if (GetFileSizeEx(file, &size) && size.QuadPart >= 8) {
    back.QuadPart = -4;
    BYTE bytes[4] = {};
    if (SetFilePointerEx(file, back, nullptr, FILE_END) && ReadFile(file, bytes, 4, &got, nullptr) && got == 4) {
      last = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<DWORD>(bytes[3]) << 24;
      m_runningCount = last;
    }
  }
  ++m_runningCount;
  // An empty catalogue (new, or left empty by a full disk) begins with the mark.
  std::string bytes = size.QuadPart == 0 ? BackupIndexMarkBytes() : std::string();
  bytes += BackupIndexRecordBytes(MakeBackupIndexRecord(driver, relative, m_runningCount));
  LARGE_INTEGER end{};
  DWORD written = 0;
  const bool ok = SetFilePointerEx(file, LARGE_INTEGER{}, &end, FILE_END) &&
                  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  // A record written in part (a full disk) is cut off again, so the catalogue stays readable.
  if (!ok && written != 0 && SetFilePointerEx(file, end, nullptr, FILE_BEGIN)) SetEndOfFile(file);
  CloseHandle(file);
  return ok;
}

int CBackupRestore::BackupDriver(LPCTSTR folder, CDeviceRecordArray& drivers, int count) {
  const CString staging = WithTrailingBackslash(folder);
  const CString indexPath = staging + _T("index.dat");
  m_recordedFolders.clear();
  m_recordedNames.clear();
  m_searched.clear();
  std::vector<BackupIndexRecord> records;
  DWORD declared = 0;
  ReadBackupIndexFile(indexPath, records, declared);
  for (const BackupIndexRecord& record : records) {
    m_recordedFolders.insert(FolderKey(record.folder));
    m_recordedNames.insert(Key(record.texts[0]));
  }
  m_steps = 0;
  m_skippedLinks = 0;
  m_runningCount = 0;
  m_newerWindows = WindowsMajorVersion() > 5;
  if (m_newerWindows && m_driverStore.IsEmpty()) {
    CString system;
    GetSpecialFolder(CSIDL_SYSTEM, system);
    const CString store = system + _T("\\DriverStore\\FileRepository\\");
    if (IsFolderPath(store)) {
      CInfPackageFiles listing(m_windows);
      listing.SetCollectAll(true);
      listing.SearchFolderForFile(store);
      m_driverStore.Copy(listing.GetFoundList());
    }
  }

  for (int i = 0; i < count; ++i) {
    const int answer = BackupOneDriver(staging, indexPath, drivers, count, i);
    if (answer != kContinue) return answer;
    if (i == count - 1) m_progress(&drivers, 100);
  }
  return kDone;
}

int CBackupRestore::BackupOneDriver(const CString& staging, const CString& indexPath, CDeviceRecordArray& drivers,
                                    int count, int i) {
  // A stop is looked for before every step of a driver, and a refused progress step ends the
  // backup: at the driver's first step with 0, at any later one with 33.
  // A stop asked for during a progress report is seen before anything else is done.
  const auto stepOr = [&](int refused) {
    if (StopRequested()) return AcknowledgeStop();
    if (!Step(drivers, count)) return refused;
    return StopRequested() ? AcknowledgeStop() : static_cast<int>(kContinue);
  };
  const auto stop = [&] { return StopRequested() ? AcknowledgeStop() : static_cast<int>(kContinue); };

  if (const int answer = stop(); answer != kContinue) return answer;
  // The driver store is the newer systems' source of package files for every driver, even
  // when an earlier driver's files had to come from its INF or no store was found.
  m_driverStoreMode = m_newerWindows;
  const tagDeviceDriverInfo* driver = drivers.GetAt(i);
  const CString deviceName = driver != nullptr ? driver->szText[kSlotDeviceName].Text() : _T("");
  const CString driverKey = driver != nullptr ? driver->szText[kSlotDriverKey].Text() : _T("");
  const bool skipped = deviceName.IsEmpty() && driverKey.IsEmpty();
  if (!skipped && m_shown) m_shown(deviceName, driver->szText[kSlotClassName].Text());
  if (const int answer = stepOr(kRefusedFirstStep); answer != kContinue) return answer;
  if (skipped) return kContinue;
  if (const int answer = stop(); answer != kContinue) return answer;
  const CString name = DriverFolderName(deviceName);
  const CString driverFolder = staging + name + _T("\\");
  const CString relative = name + _T("\\");
  CreateDirectoryTree(driverFolder);

  // The driver as it is installed now, which an install since the scan may have changed:
  // its INF and the texts its record is written with come from its Class key; the scan's
  // record only fills in what the key lacks.
  if (const int answer = stop(); answer != kContinue) return answer;
  tagDeviceDriverInfo current;
  current.CopyFrom(*driver);
  CString infName, infSection, infSectionExt;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kClassKey + driverKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    infName = ReadClassValue(key, _T("InfPath"));
    infSection = ReadClassValue(key, _T("InfSection"));
    infSectionExt = ReadClassValue(key, _T("InfSectionExt"));
    for (const auto& [slot, valueName] : {std::pair{kSlotDriverVersion, _T("DriverVersion")},
                                          std::pair{kSlotDriverDate, _T("DriverDate")},
                                          std::pair{kSlotProvider, _T("ProviderName")}}) {
      const CString value = ReadClassValue(key, valueName);
      if (!value.IsEmpty()) current.szText[slot].Set(value);
    }
    RegCloseKey(key);
  }
  // A published "oem" INF is not in the driver store under that name: the scan's INF path
  // leads to the package there, while the driver is still the one the scan saw. After an
  // install since the scan that path names the old package, so the published INF is kept.
  const CString scanInf = driver->szText[kSlotInfPath].Text();
  const bool sameAsScanned =
      CString(current.szText[kSlotDriverVersion].Text()) == driver->szText[kSlotDriverVersion].Text() &&
      CString(current.szText[kSlotDriverDate].Text()) == driver->szText[kSlotDriverDate].Text();
  if (m_driverStoreMode && infName.Find(_T("oem")) >= 0 && !scanInf.IsEmpty() && sameAsScanned) infName.Empty();
  const bool infFromClassKey = !infName.IsEmpty();
  if (!infFromClassKey) infName = scanInf;
  if (const int answer = stop(); answer != kContinue) return answer;
  CString infPath;
  if (!infName.IsEmpty() && infName.Find(_T('\\')) >= 0 && Exists(infName)) {
    infPath = infName;
    infName = FileNamePart(infName);
  } else if (!infName.IsEmpty()) {
    if (infName.GetLength() > 1) infName = FileNamePart(infName);
    infPath = m_windows + _T("\\inf\\") + infName;
    if (!Exists(infPath)) infName = FileNamePart(driver->szText[kSlotInfPath].Text());
  }
  if (infFromClassKey && !infPath.IsEmpty() && Exists(infPath)) current.szText[kSlotInfPath].Set(infPath);
  if (!infName.IsEmpty() && !name.IsEmpty()) {
    if (const int answer = stop(); answer != kContinue) return answer;
    if (!m_driverStoreMode || !CollectDriverStoreFiles(infName, infPath)) {
      m_driverStoreMode = false;
      m_packageFiles.CollectInfPackageFiles(infSection, infSectionExt, infName);
      m_copyList.Copy(m_packageFiles.GetFiles());
    }
    if (const int answer = stepOr(kFailed); answer != kContinue) return answer;
    if (!CopyListedFiles(driverFolder)) return AcknowledgeStop();
    if (const int answer = stepOr(kFailed); answer != kContinue) return answer;
    // Drivers that share a folder share its record, the first one's; a record already naming
    // the driver is not written again either.
    if (m_recordedNames.count(Key(name)) == 0 && m_recordedFolders.insert(FolderKey(relative)).second) {
      if (const int answer = stepOr(kFailed); answer != kContinue) return answer;
      if (AppendRecord(indexPath, current, relative)) {
        m_recordedNames.insert(Key(deviceName));
      } else {
        m_recordedFolders.erase(FolderKey(relative));
      }
    }
  }
  if (const int answer = stepOr(kFailed); answer != kContinue) return answer;
  return kContinue;
}
