// Helpers of the archive tests: fixtures copied into the machine root, a list of every file
// below the root so a test sees whatever an extraction wrote, wherever it went, and the
// outside archivers (zip, 7-Zip, bsdtar, unzip, gcab, cabextract) that make archives and
// extract them for comparison.
#pragma once
#include <afx.h>

#include <map>
#include <set>
#include <string>

#include "machine_fixture.h"

namespace zx::test {

class ArchiveTest : public MachineTest {
 protected:
  // The host path of a Windows path of the machine.
  static std::string Host(LPCTSTR windowsPath);
  // Copies the fixture into C:\pkg\<name> and answers that Windows path.
  CString PlaceFixture(const char* name, std::size_t keepBytes = std::string::npos);
  // Every regular file and link below the machine root (host paths, relative to it).
  std::set<std::string> FilesBelowRoot() const;
  // The files written since `before`, relative to the folder's host path; a file written
  // elsewhere is listed with "OUTSIDE:" and its path relative to the root.
  std::set<std::string> NewFilesBelow(const std::set<std::string>& before, LPCTSTR folder) const;

  // Whether the program is on the search path.
  static bool HaveTool(const char* program);
  // Runs a shell command (output discarded); whether it exited with 0.
  static bool Shell(const std::string& command);
  // Every file and folder below a host folder: relative path (folders end in "/") to contents.
  static std::map<std::string, std::string> Tree(const std::string& hostFolder);
  // A fresh host folder for outside tools' work, inside the machine root's own folder.
  std::string WorkFolder(const std::string& name) const;
};

// Archive tests that run the 7-Zip program: its tool folder and the machine root the programs
// it starts find.
class SevenZipArchiveTest : public ArchiveTest {
 protected:
  static constexpr LPCTSTR kToolFolder = _T("C:\\Tools\\Win7\\");
  void SetUp() override;
  void TearDown() override;
  // 7z.exe in the tool folder's "extract" neighbour is the 7-Zip stand-in.
  void UseSevenZip() const;
};

// Skips the test when an outside program it needs is missing.
#define ZX_REQUIRE_TOOL(program) \
  if (!::zx::test::ArchiveTest::HaveTool(program)) GTEST_SKIP() << program << " is not installed"

}  // namespace zx::test
