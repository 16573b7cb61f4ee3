// The 7-Zip run: its command line, its start hidden, the two waits, the end of a run that
// takes too long and the check of what it unpacked.
#include "SevenZip.h"

#include <windows.h>
#include <winprocess.h>

#include <algorithm>

#include "ArchivePaths.h"
#include "ExtractionBound.h"

#include "GlobalConstants.h"
#include "IniReader.h"
#include "PackageInstall.h"
#include "PathHelpers.h"

#ifndef STARTF_USESHOWWINDOW
#define STARTF_USESHOWWINDOW 0x00000001
#endif

namespace {

// How often the output folder is measured while the program runs.
constexpr DWORD kBoundCheckMs = 100;

// The output folder with what it held before the run and what the run may add to it.
struct BoundWatch {
  CString folder;
  ULONGLONG before;
  ULONGLONG bound;
  bool Passed() const {
    const ULONGLONG now = FolderContentSize(folder);
    return now > before && now - before > bound;
  }
};

// Waits up to `ms` for the program to end, measuring its output as it goes: WAIT_OBJECT_0
// when it ended, WAIT_TIMEOUT when it still runs, WAIT_ABANDONED once it wrote past the bound.
DWORD WaitWithinBound(HANDLE process, DWORD ms, const BoundWatch& watch) {
  for (DWORD waited = 0;;) {
    const DWORD slice = std::min(kBoundCheckMs, ms - waited);
    const DWORD wait = WaitForSingleObject(process, slice);
    if (wait != WAIT_TIMEOUT) return wait;
    if (watch.Passed()) return WAIT_ABANDONED;
    waited += slice;
    if (waited >= ms) return WAIT_TIMEOUT;
  }
}

}  // namespace

int RunSevenZip(LPCTSTR folderName, LPCTSTR archivePath, LPCTSTR toolFolder, CString& errorText, bool* passedBound) {
  if (passedBound != nullptr) *passedBound = false;
  // The output folder: the archive's folder joined with the folder name.
  CString output = archivePath;
  const int slash = output.ReverseFind(_T('\\'));
  if (slash < 0) return 33;
  output = output.Left(slash);
  AppendPathComponent(output, folderName);
  if (output.IsEmpty()) return 33;
  if (output[output.GetLength() - 1] != _T('\\')) output += _T('\\');

  CString program = toolFolder;
  TrimTrailingBackslash(program, FALSE);
  RemoveFileSpec(program);
  if (program.IsEmpty() || IsFolder(program) != 1) {
    CString format = GetLangString(_T("IDS_UNABLEFIND"), _T("Tunevo"));
    if (format.IsEmpty()) format = _T("Unable to find %s");
    errorText.Format(format, GetProductName().GetString());
    return 33;
  }
  AppendPathComponent(program, _T("extract\\7z.exe"));

  // A backslash before the closing quote would escape it (the command line would run on to
  // the next word), so the folder goes in without its trailing backslash.
  CString outputSwitch = output;
  TrimTrailingBackslash(outputSwitch, TRUE);
  CString commandLine = CString(_T("7z.exe x -y \"")) + archivePath + _T("\" -o\"") + outputSwitch + _T("\" -r ");
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process = {};
  const BOOL started = CreateProcessW(program, commandLine.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr,
                                      nullptr, &startup, &process);
  commandLine.ReleaseBuffer();
  if (!started) return 33;
  const BoundWatch watch{output, FolderContentSize(output), ExtractionBound(ArchiveFileSize(archivePath), output)};
  DWORD wait = WaitWithinBound(process.hProcess, kSevenZipFirstWaitMs, watch);
  if (wait == WAIT_TIMEOUT) wait = WaitWithinBound(process.hProcess, kSevenZipSecondWaitMs, watch);
  if (wait != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 33);
    WaitForSingleObject(process.hProcess, INFINITE);
  }
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hProcess);
  if (process.hThread != nullptr) CloseHandle(process.hThread);
  // What was written past the bound in the last moments counts as well; such a package is
  // removed whole.
  if (wait == WAIT_ABANDONED || watch.Passed()) {
    DeleteFolderTree(output);
    if (passedBound != nullptr) *passedBound = true;
    return 33;
  }
  // What 7-Zip made is checked as the other archive kinds check their entries: a link could
  // lead whatever reads the folder out of it, so none is kept and the package fails.
  const bool noLinks = RemoveExtractedLinks(output);
  // 7-Zip answers 0 (or 1, warnings) when it unpacked the archive.
  return wait == WAIT_OBJECT_0 && exitCode <= 1 && noLinks ? 32 : 33;
}
