// The install of one downloaded driver package for one device: the package unpacked by its
// type, its INF handed to the device installer, DIFxAPI, the 64-bit helper, the package's own
// setup program or the driver restore program, the device's driver read back to judge the
// outcome, a failed or doubtful install reported and recorded, the unpacked files removed.
#pragma once
#include <afx.h>

#include <functional>
#include <vector>

#include "DeviceRecord.h"

class CDriverInstallEngine;

// Results of an install: done, failed, missing input (no INF path, no package).
enum PackageInstallResult { kInstallDone = 32, kInstallFailed = 33, kInstallMissingInput = 34 };

// What kind of package a file is, from the extension of its last path component.
enum PackageKind { kPackageUnknown, kPackageProgram, kPackageZip, kPackageRar, kPackageCab, kPackage7z };
PackageKind PackageKindOf(const CString& packagePath);

// The folder a package is unpacked into: the package's folder, a backslash, the file name
// without its extension (the last "." of the file name only) and a trailing backslash
// (C:\dl\pkg.zip gives C:\dl\pkg\). Empty when the path names no folder or the name has
// nothing before its extension.
CString PackageExtractionFolder(const CString& packagePath);

// The update's driver date (year-month-day, cut before "T") against the installed one
// (month-day-year). Match when they name the same day or either does not read; on a
// difference the diagnostic names both.
bool DriverDatesMatch(const CString& updateDate, const CString& installedDate, CString& diagnostic);

// Deletes a folder and everything below it; links inside it are removed, never followed.
bool DeleteFolderTree(const CString& folder);

class CPackageInstall {
 public:
  // Progress: percent, an optional text, a flag; the answer 6 to the restart question
  // restarts Windows. Pause: the settling waits between steps.
  using ProgressFn = std::function<int(int percent, LPCTSTR text, int flag)>;
  using PauseFn = std::function<void(DWORD ms)>;

  // How long the package's own setup program is given.
  static constexpr DWORD kSetupWaitMs = 1800000;

  // Progress goes to the engine's install status callback, pauses to the process's pause
  // (Sleep unless SetDefaultPause replaced it).
  explicit CPackageInstall(CDriverInstallEngine& engine);
  // Replaces the settling waits of every install made afterwards (null: Sleep again).
  static void SetDefaultPause(PauseFn pause);
  void SetProgress(ProgressFn progress) { m_progress = std::move(progress); }
  void SetPause(PauseFn pause) { m_pause = std::move(pause); }

  // Installs the package (see InstallDriverPackage).
  int Install(const CString& relativeInf, const CString& toolFolder, const CString& packagePath, int silent,
              const CString& updateHardwareId, const CString& deviceClass, int selfExtractor, const CString& updateMd5,
              const CString& deviceHardwareId, CDeviceRecordArray* records, int index);

 private:
  struct State;
  int Fail(LPCTSTR textId, int percent);
  // Names the link entries an extraction passed over, in the log and the progress text.
  void ReportSkippedLinks(const std::vector<CString>& links, int percent);
  // The progress callback's answer.
  int Report(int percent, LPCTSTR textId = nullptr, int flag = 0);
  int Unpack(PackageKind kind, const CString& packagePath, const CString& folder, const CString& deviceClass,
             const CString& toolFolder, int silent, int selfExtractor, State& state);
  bool ExtractZip(const CString& packagePath, const CString& folder);
  // Runs a program and waits for it; its exit code, or -1 when it did not start or end.
  static int RunAndWait(const CString& program, LPCTSTR parameters);
  void RunInstallers(const CString& infPath, const CString& toolFolder, const CString& updateHardwareId,
                     const CString& deviceClass, State& state);
  void JudgeAndReport(const CString& relativeInf, const CString& updateHardwareId, const CString& updateMd5,
                      const CString& deviceHardwareId, CDeviceRecordArray* records, int index, State& state);

  CDriverInstallEngine& m_engine;
  ProgressFn m_progress;
  PauseFn m_pause;
};

// Installs one downloaded package for the device at index of the scan's records (the
// update at the same index of the first record's update block). 32 done, 33 failed, 34 no
// INF path or package.
int InstallDriverPackage(const CString& relativeInf, const CString& toolFolder, CDriverInstallEngine& engine,
                         const CString& packagePath, int silent, const CString& updateHardwareId,
                         const CString& deviceClass, int selfExtractor, const CString& updateMd5,
                         const CString& deviceHardwareId, CDeviceRecordArray* records, int index);
