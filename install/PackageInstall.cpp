// The install of one downloaded driver package: unpacking by type, the installers in their
// order, the read-back judgement, the report and record of the outcome, and the clean-up of
// the unpacked files.
#include "PackageInstall.h"

#include <setupapi.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <windows.h>
#include <winprocess.h>

#include "ArchivePaths.h"
#include "CabExtractor.h"
#include "DeviceScanner.h"
#include "DriverInstallEngine.h"
#include "DriverRestore.h"
#include "ExtractionBound.h"
#include "LogFile.h"
#include "EngineCallbacks.h"
#include "IniReader.h"
#include "InstallResult.h"
#include "OsVersion.h"
#include "PathHelpers.h"
#include "RarArchive.h"
#include "Registry.h"
#include "SevenZip.h"
#include "ZipArchive.h"
#include "ZipExtract.h"

namespace {

constexpr DWORD kErrorInWow64 = 0xE0000235;
// The code a failed install is recorded and reported with when no installer gave one
// (ERROR_INSTALL_FAILURE).
constexpr DWORD kUnknownInstallFailure = 1603;
constexpr double kHalfSecondInDays = 5.787037037037037e-6;

CString Text(LPCTSTR id) { return GetLangString(id, _T("QVX")); }

// The text telling which link entries were passed over; "%s" takes their names.
constexpr LPCTSTR kSkippedLinksTextId = _T("IDS_STRING_INSTALL_LINKS_SKIPPED");

// The last path component of a Windows path.
CString FileNameOf(const CString& path) {
  const int slash = path.ReverseFind(_T('\\'));
  return slash >= 0 ? path.Mid(slash + 1) : path;
}

// Three decimal numbers separated by "-"; false for anything else.
bool ReadDateParts(const CString& text, int (&parts)[3]) {
  int index = 0;
  bool digits = false;
  parts[0] = parts[1] = parts[2] = 0;
  for (int i = 0; i < text.GetLength(); ++i) {
    const WCHAR c = text[i];
    if (c >= u'0' && c <= u'9') {
      if (parts[index] > 100000) return false;
      parts[index] = parts[index] * 10 + (c - u'0');
      digits = true;
    } else if (c == u'-' && digits && index < 2) {
      ++index;
      digits = false;
    } else {
      return false;
    }
  }
  return index == 2 && digits;
}

// Days since 1899-12-30 of a calendar date; false when the date does not exist.
bool DayNumber(int year, int month, int day, double& days) {
  static constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (day > kMonthDays[month - 1] + (month == 2 && leap ? 1 : 0)) return false;
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(year);
  time.wMonth = static_cast<WORD>(month);
  time.wDay = static_cast<WORD>(day);
  FILETIME file{};
  if (!SystemTimeToFileTime(&time, &file)) return false;
  const ULONGLONG ticks = (static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
  days = static_cast<double>(ticks / 10000000ull) / 86400.0;
  return true;
}

// Whether the text is a decimal number above 0.
bool PositiveNumber(const CString& text) {
  CString digits = text;
  digits.Trim();
  bool positive = false;
  for (int i = 0; i < digits.GetLength(); ++i) {
    if (digits[i] < u'0' || digits[i] > u'9') return false;
    positive = positive || digits[i] != u'0';
  }
  return positive;
}

bool IsOwnFolderEntry(const WIN32_FIND_DATAW& found) {
  return (found.cFileName[0] == u'.' && found.cFileName[1] == 0) ||
         (found.cFileName[0] == u'.' && found.cFileName[1] == u'.' && found.cFileName[2] == 0);
}

}  // namespace

PackageKind PackageKindOf(const CString& packagePath) {
  const CString name = FileNameOf(packagePath);
  const int dot = name.ReverseFind(_T('.'));
  if (dot < 0) return kPackageUnknown;
  CString extension = name.Mid(dot + 1);
  extension.MakeLower();
  if (extension == _T("exe") || extension == _T("msi")) return kPackageProgram;
  if (extension == _T("zip")) return kPackageZip;
  if (extension == _T("rar")) return kPackageRar;
  if (extension == _T("cab")) return kPackageCab;
  if (extension == _T("7z")) return kPackage7z;
  return kPackageUnknown;
}

CString PackageExtractionFolder(const CString& packagePath) {
  const int slash = packagePath.ReverseFind(_T('\\'));
  if (slash <= 0) return CString();
  CString name = packagePath.Mid(slash + 1);
  const int dot = name.ReverseFind(_T('.'));
  if (dot >= 0) name = name.Left(dot);
  name.TrimRight(_T(" "));
  if (name.IsEmpty() || name == _T(".") || name == _T("..")) return CString();
  return packagePath.Left(slash + 1) + name + _T("\\");
}

bool DriverDatesMatch(const CString& updateDate, const CString& installedDate, CString& diagnostic) {
  CString update = updateDate;
  const int t = update.Find(_T('T'));
  if (t >= 0) update = update.Left(t);
  int updateParts[3], installedParts[3];
  double updateDays = 0, installedDays = 0;
  if (update.IsEmpty() || !ReadDateParts(update, updateParts) || !ReadDateParts(installedDate, installedParts) ||
      !DayNumber(updateParts[0], updateParts[1], updateParts[2], updateDays) ||
      !DayNumber(installedParts[2], installedParts[0], installedParts[1], installedDays))
    return true;
  const double span = updateDays - installedDays;
  const long long days = static_cast<long long>(span + (span < 0 ? -kHalfSecondInDays : kHalfSecondInDays));
  if (days == 0) return true;
  diagnostic.Format(_T("Installed: %d-%d-%d, UpdateDate:%d-%d-%d, strUpdateRecordDeviceDrvDate=%s, ")
                    _T("strUpdatedDeviceDrvDate=%s"),
                    installedParts[0], installedParts[1], installedParts[2], updateParts[0], updateParts[1],
                    updateParts[2], update.GetString(), installedDate.GetString());
  return false;
}

bool DeleteFolderTree(const CString& folder) {
  CString base = folder;
  base.TrimRight(_T('\\'));
  if (base.IsEmpty()) return false;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(base + _T("\\*"), &found);
  bool whole = true;
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (IsOwnFolderEntry(found)) continue;
      const CString path = base + _T("\\") + found.cFileName;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        // A link to a folder goes as the link (the folder it names stays); an empty folder
        // goes at once; a full one is emptied first.
        whole = (RemoveDirectoryW(path) || DeleteFolderTree(path)) && whole;
      } else {
        SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
        whole = (DeleteFileW(path) || RemoveDirectoryW(path)) && whole;
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  return RemoveDirectoryW(base) != FALSE && whole;
}

// Removes the package's unpacking folder, only ever a folder inside the package's own folder.
static void RemoveExtractionFolder(const CString& packagePath, const CString& folder) {
  const CString packageFolder = packagePath.Left(packagePath.ReverseFind(_T('\\')));
  if (!packageFolder.IsEmpty() && IsPathInsideFolder(packageFolder, folder) && IsFolder(folder) == 1)
    DeleteFolderTree(folder);
}

static CPackageInstall::PauseFn& DefaultPause() {
  static CPackageInstall::PauseFn pause;
  return pause;
}

// What one install keeps while it runs.
struct CPackageInstall::State {
  bool handled = false;
  bool report = false;
  bool record = false;
  // An installer said it failed, or its outcome is unknown: only the read-back can confirm.
  bool needsConfirmation = false;
  bool confirmed = false;
  // The device's driver was read back after the installers ran.
  bool readBack = false;
  bool setupStillRunning = false;
  bool setupRan = false;
  int reason = kReasonNone;
  DWORD errorCode = 0;
  DWORD deviceStatus = 0;
  BOOL restart = FALSE;
  CString dateDiagnostic;
  CString installedDate;
  CString installedVersion;

  // What a setup program's end says: 0 handled it, anything else waits for the read-back,
  // and a failure code of its own is reported and recorded.
  void NoteSetupExit(int exitCode) {
    setupStillRunning = exitCode == -2;
    handled = exitCode == 0;
    needsConfirmation = exitCode != 0;
    if (exitCode > 0) {
      report = record = true;
      reason = kReasonInstallerError;
      errorCode = static_cast<DWORD>(exitCode);
    }
  }
};

CPackageInstall::CPackageInstall(CDriverInstallEngine& engine)
    : m_engine(engine),
      m_progress([](int, LPCTSTR text, int flag) {
        return text != nullptr ? InstallStatusCallback(text, nullptr, flag) : 7;
      }),
      m_pause(DefaultPause() ? DefaultPause() : PauseFn([](DWORD ms) { Sleep(ms); })) {}

void CPackageInstall::SetDefaultPause(PauseFn pause) { DefaultPause() = std::move(pause); }

int CPackageInstall::Report(int percent, LPCTSTR textId, int flag) {
  if (textId == nullptr) return m_progress(percent, nullptr, flag);
  const CString text = Text(textId);
  return m_progress(percent, text.IsEmpty() ? textId : text.GetString(), flag);
}

void CPackageInstall::ReportSkippedLinks(const std::vector<CString>& links, int percent) {
  if (links.empty()) return;
  CString names;
  for (const CString& link : links) names += (names.IsEmpty() ? _T("") : _T(", ")) + link;
  WriteLog(_T("Link entries of the package not extracted: ") + names);
  CString format = Text(kSkippedLinksTextId);
  if (format.IsEmpty()) format = CString(kSkippedLinksTextId) + _T(" %s");
  CString text;
  text.Format(format, names.GetString());
  m_progress(percent, text, 0);
}

int CPackageInstall::Fail(LPCTSTR textId, int percent) {
  Report(percent, textId);
  return kInstallFailed;
}

int CPackageInstall::RunAndWait(const CString& program, LPCTSTR parameters) {
  SHELLEXECUTEINFOW execute{};
  execute.cbSize = sizeof execute;
  execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  execute.lpVerb = _T("open");
  execute.lpFile = program;
  execute.lpParameters = parameters;
  execute.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&execute) || execute.hProcess == nullptr) return -1;
  DWORD exitCode = 0;
  const bool ended = WaitForSingleObject(execute.hProcess, kSetupWaitMs) == WAIT_OBJECT_0 &&
                     GetExitCodeProcess(execute.hProcess, &exitCode);
  CloseHandle(execute.hProcess);
  return ended ? static_cast<int>(exitCode & 0x7FFFFFFF) : -2;
}

namespace {

// Why a zip package could not be unpacked, as the text to show.
LPCTSTR ZipFailureText() {
  return ZipLastError() == kZipOutputBound ? kExtractionBoundTextId : _T("IDS_STRING_INSTALL_FILE_CORRUPT");
}

// Unpacks with the 7-Zip program; null when it did, else the text to show.
LPCTSTR UnpackWithSevenZip(const CString& folderName, const CString& packagePath, const CString& toolFolder) {
  CString error;
  bool passedBound = false;
  if (RunSevenZip(folderName, packagePath, toolFolder, error, &passedBound) == kInstallDone) return nullptr;
  return passedBound ? kExtractionBoundTextId : _T("IDS_STRING_INSTALL_FILE_CORRUPT");
}

}  // namespace

bool CPackageInstall::ExtractZip(const CString& packagePath, const CString& folder) {
  int entries = 0;
  return ExtractWholeZip(packagePath, folder, entries);
}

int CPackageInstall::Unpack(PackageKind kind, const CString& packagePath, const CString& folder,
                            const CString& deviceClass, const CString& toolFolder, int silent, int selfExtractor,
                            State& state) {
  CMapStringToString classes;
  FillNoInstallClassMap(classes);
  if (IsClassInMap(classes, deviceClass)) return Fail(_T("IDS_STRING_INSTALL_FILE_CATEGORY"), 0);
  if (!CreateFolderPath(folder)) return Fail(_T("IDS_STRING_UNKWN_FILE_PATH"), 0);
  CString folderName = folder.Left(folder.GetLength() - 1);
  folderName = FileNameOf(folderName);
  switch (kind) {
    case kPackageProgram: {
      m_pause(100);
      // A self-extracting zip is unpacked like a zip.
      if (HZIP zip = ZipArchiveOpen(packagePath); zip != nullptr) {
        ZipArchiveClose(zip);
        Report(25);
        if (!ExtractZip(packagePath, folder)) return Fail(ZipFailureText(), 25);
        break;
      }
      Report(25);
      m_pause(100);
      if (selfExtractor != 0) {
        if (const LPCTSTR failure = UnpackWithSevenZip(folderName, packagePath, toolFolder)) return Fail(failure, 25);
        break;
      }
      // The package is the setup program itself: it installs on its own.
      const int exitCode = RunAndWait(packagePath, silent != 0 ? _T("cmd -overall -overide -overwrite") : nullptr);
      if (exitCode == -1) return Fail(_T("IDS_STRING_LAUNCH_SETUP"), 65);
      state.setupRan = true;
      state.NoteSetupExit(exitCode);
      break;
    }
    case kPackageZip:
      Report(15);
      m_pause(2000);
      Report(30);
      m_pause(3000);
      if (!ExtractZip(packagePath, folder)) return Fail(ZipFailureText(), 25);
      break;
    case kPackageRar: {
      Report(15);
      m_pause(2000);
      Report(30);
      m_pause(3000);
      CRarArchive rar;
      if (!rar.LoadLibrary() || !rar.ListEntries(packagePath))
        return Fail(_T("IDS_STRING_INSTALL_RAR_FILE_CORRUPT"), 25);
      rar.SetDestination(folder);
      const bool extracted = rar.ExtractAll();
      rar.FreeLibrary();
      ReportSkippedLinks(rar.GetSkippedLinks(), 25);
      if (!extracted) return Fail(rar.PassedBound() ? kExtractionBoundTextId : _T("IDS_STRING_INSTALL_RAR_FILE_CORRUPT"), 25);
      break;
    }
    case kPackageCab: {
      Report(25);
      CCabExtractor cabinet;
      const CStringA narrowFolder(folder), narrowPackage(packagePath);
      if (CString(narrowFolder) != folder || CString(narrowPackage) != packagePath || !cabinet.Init() ||
          !cabinet.ExtractCabinet(narrowFolder, narrowPackage))
        return Fail(cabinet.GetErrorCode() == CCabExtractor::kErrorOutputBound ? kExtractionBoundTextId
                                                                             : _T("IDS_STRING_INSTALL_CAB_FILE_CORRUPT"),
                    25);
      break;
    }
    case kPackage7z:
      Report(25);
      if (const LPCTSTR failure = UnpackWithSevenZip(folderName, packagePath, toolFolder)) return Fail(failure, 25);
      break;
    case kPackageUnknown:
      return Fail(_T("IDS_STRING_INSTALL_FILE_CORRUPT"), 0);
  }
  Report(65);
  return kInstallDone;
}

void CPackageInstall::RunInstallers(const CString& infPath, const CString& toolFolder,
                                    const CString& updateHardwareId, const CString& deviceClass, State& state) {
  DWORD major = 0, minor = 0, productType = 0, architecture = 0;
  GetOsId(major, minor, productType, architecture);
  const bool xpDisplay =
      major == 5 && minor == 1 && architecture == 0 && deviceClass.CompareNoCase(_T("Display adapters")) == 0;
  if (!xpDisplay && !m_engine.IsWow64()) {
    if (UpdateDriverForPlugAndPlayDevicesW(nullptr, updateHardwareId, infPath, 0, &state.restart)) {
      state.handled = true;
      return;
    }
    const DWORD error = GetLastError();
    if (error != kErrorInWow64) {
      // Recorded and not retried with another installer; only the read-back can still
      // show that the device took the driver.
      state.report = state.record = state.handled = state.needsConfirmation = true;
      state.errorCode = error;
      state.reason = kReasonInstallerError;
      return;
    }
    CDifxApiLibrary& difx = m_engine.GetDifxLibrary();
    if (difx.IsLoaded() && difx.InstallInf(infPath) == 0) {
      state.handled = true;
      state.restart = difx.NeedsRestart();
      return;
    }
  } else if (!xpDisplay) {
    CString key;
    GetProductRegistryKey(key);
    const CString root = _T("HKEY_CURRENT_USER");
    const CString names[] = {_T("IsUpdateSuccessFull"), _T("UpdatePnPErrorCode"), _T("DifxErrorCode")};
    if (!m_engine.RunHelper64(toolFolder, updateHardwareId, infPath, root, key, names[0], names[1], names[2])) {
      state.errorCode = CDriverInstallEngine::ReadHelperResultDword(root, key, names[1]);
      state.report = state.record = state.needsConfirmation = true;
      state.reason = kReasonHelper64Failed;
    }
    state.handled = true;
    for (const CString& name : names) CDriverInstallEngine::DeleteHelperResultValue(root, key, name);
    return;
  }
  // The driver restore program, whose outcome only the read-back tells.
  if (deviceClass.CompareNoCase(_T("Sound, video and game controllers")) == 0) return;
  if (toolFolder.IsEmpty()) {
    state.record = false;
    return;
  }
  state.handled = RunRestoreProgram(updateHardwareId, infPath, toolFolder);
  state.needsConfirmation = true;
  if (!state.handled) state.record = false;
}

void CPackageInstall::JudgeAndReport(const CString& relativeInf, const CString& updateHardwareId,
                                     const CString& updateMd5, const CString& deviceHardwareId,
                                     CDeviceRecordArray* records, int index, State& state) {
  const tagDeviceDriverInfo empty;
  const tagDeviceDriverInfo* device = records != nullptr ? records->GetAt(index) : nullptr;
  if (device == nullptr) device = &empty;
  const tagDeviceDriverInfo* first = records != nullptr ? records->GetAt(0) : nullptr;
  const tagDeviceDriverInfo* update = first != nullptr && first->pLinked ? first->pLinked->GetAt(index) : nullptr;
  if (update == nullptr) update = &empty;

  CString updateDate = update->szText[kSlotDriverDate].Text();
  if (const int t = updateDate.Find(_T('T')); t >= 0) updateDate = updateDate.Left(t);
  const CString updateVersion = update->szText[kSlotDriverVersion].Text();
  const CString driverKey = device->szText[kSlotDriverKey].Text();
  if (!driverKey.IsEmpty()) {
    CDeviceScanner scanner;
    int problem = 0;
    const bool found = scanner.ReadDeviceDriverDateVersion(driverKey, deviceHardwareId, state.installedDate,
                                                           state.installedVersion, problem) == 1;
    state.deviceStatus = static_cast<DWORD>(problem);
    state.readBack = found;
    if (found) {
      const bool dateMatch = DriverDatesMatch(updateDate, state.installedDate, state.dateDiagnostic);
      if (!dateMatch) {
        if (!state.report) state.reason = kReasonDateDiffers;
        state.report = true;
        if (state.handled) state.record = true;
      }
      if (problem != 0) {
        if (!state.report) state.reason = kReasonDeviceStatus;
        state.report = true;
      }
      state.confirmed = dateMatch && problem == 0 &&
                        (updateVersion.IsEmpty() || state.installedVersion.CompareNoCase(updateVersion) == 0);
    }
  }
  // The device decides: read back, it must show the new driver, whatever the installer said
  // (an INF for other hardware is "installed" into the driver store and changes no device).
  // Not read back, a failing installer is a failure.
  if ((state.readBack || state.needsConfirmation) && !state.confirmed) state.handled = false;
  if (state.readBack && !state.confirmed && !state.report) {
    // Same day and a sound device, but another version.
    state.reason = kReasonDateDiffers;
    state.report = true;
  }
  if (state.handled) state.record = true;
  // A failure is never recorded as an install: its entry carries a code.
  if (!state.handled && state.errorCode == 0) state.errorCode = kUnknownInstallFailure;

  tagInstallResultInfo info;
  info.strDeviceHardwareId = deviceHardwareId;
  info.strUpdateHardwareId = updateHardwareId;
  info.strSystemMatchingId = device->szMatchingDeviceId.Text();
  info.strUpdateDriverDate = updateDate;
  info.strInstalledDriverDate = state.installedDate;
  info.strUpdateDriverVersion = updateVersion;
  info.strInstalledDriverVersion = state.installedVersion;
  info.nSystemDriverRank = device->nDriverRank;
  info.nUpdateDriverRank = update->nDriverRank;
  info.strFeatureScore = update->szExtraText.Text();
  info.dwInstallErrorCode = state.errorCode;
  info.dwDeviceStatus = state.deviceStatus;
  info.strMd5 = updateMd5;
  info.strRelativeInfPath = relativeInf;
  if (state.reason == kReasonDateDiffers) info.strOtherInfo = state.dateDiagnostic;
  info.strDriverName = device->szText[kSlotDeviceName].Text();
  info.strSigner = device->szText[kSlotSigner].Text();
  info.bRecordWritten = state.record ? 1 : 0;
  info.bDeviceDriverSigned = info.strSigner.IsEmpty() ? 0 : 1;
  info.bUpdateSigned = PositiveNumber(update->szText[kSlotSigner].Text()) ? 1 : 0;
  info.strCategory = device->szText[kSlotClassName].Text();
  info.strProvider = device->szText[kSlotProvider].Text();
  info.strManufacturer = device->szText[kSlotManufacturer].Text();
  info.strDriverKeyPath = driverKey;
  info.nReason = state.reason;
  if (state.report) m_engine.ReportInstallError(index, records, state.handled ? TRUE : FALSE, info);
  if (state.record) m_engine.RecordInstalledUpdate(info);
}

int CPackageInstall::Install(const CString& relativeInf, const CString& toolFolder, const CString& packagePath,
                             int silent, const CString& updateHardwareId, const CString& deviceClass,
                             int selfExtractor, const CString& updateMd5, const CString& deviceHardwareId,
                             CDeviceRecordArray* records, int index) {
  if (relativeInf.IsEmpty() || packagePath.IsEmpty()) return kInstallMissingInput;
  try {
    if (PathFileExistsW(packagePath) == FALSE || IsFolder(packagePath) == 1) {
      Report(0, _T("IDS_STRING_UNKWN_FILE_PATH"));
      return kInstallMissingInput;
    }
    // The INF must stay inside the unpacked package.
    const CString folder = PackageExtractionFolder(packagePath);
    const CString infPath = folder + MakeSafeEntryName(relativeInf);
    if (folder.IsEmpty() || MakeSafeEntryName(relativeInf).IsEmpty()) return Fail(_T("IDS_STRING_UNKWN_FILE_PATH"), 0);
    Report(0);
    State state;
    const int unpacked =
        Unpack(PackageKindOf(packagePath), packagePath, folder, deviceClass, toolFolder, silent, selfExtractor, state);
    if (unpacked != kInstallDone) {
      RemoveExtractionFolder(packagePath, folder);
      return unpacked;
    }

    {
      CDriverInstallEngine::CRedirectionOff redirection(m_engine);
      m_pause(1000);
      m_pause(1000);
      if (!state.setupRan && selfExtractor == 0 && PathFileExistsW(folder + _T("Setup.exe"))) {
        const int exitCode = RunAndWait(folder + _T("Setup.exe"), nullptr);
        state.setupRan = exitCode != -1;
        state.NoteSetupExit(exitCode);
      }
      if (!state.setupRan) RunInstallers(infPath, toolFolder, updateHardwareId, deviceClass, state);
      JudgeAndReport(relativeInf, updateHardwareId, updateMd5, deviceHardwareId, records, index, state);
    }
    // A setup program still running may still read the unpacked files.
    if (!state.setupStillRunning) RemoveExtractionFolder(packagePath, folder);
    if (!state.handled) return Fail(_T("IDS_STRING_INSTALL_FAILED"), 65);
    // Answer 6 (yes) to the restart question restarts Windows at once.
    if (state.restart && Report(100, _T("IDS_STRING_RESTART"), 6) == IDYES) {
      CDriverInstallEngine::RebootSystem();
      return kInstallDone;
    }
    Report(100);
    return kInstallDone;
  } catch (CException* e) {
    e->Delete();
  } catch (...) {
  }
  return kInstallFailed;
}

int InstallDriverPackage(const CString& relativeInf, const CString& toolFolder, CDriverInstallEngine& engine,
                         const CString& packagePath, int silent, const CString& updateHardwareId,
                         const CString& deviceClass, int selfExtractor, const CString& updateMd5,
                         const CString& deviceHardwareId, CDeviceRecordArray* records, int index) {
  CDriverInstallEngine::COperation running(engine);
  CPackageInstall install(engine);
  const int result = install.Install(relativeInf, toolFolder, packagePath, silent, updateHardwareId, deviceClass,
                                     selfExtractor, updateMd5, deviceHardwareId, records, index);
  engine.SetStepCode(kStepIdle);
  return result;
}
