// Helpers of the archive tests: fixtures copied into the machine root, and a list of every
// file below the root so a test sees whatever an extraction wrote, wherever it went.
#pragma once
#include <afx.h>

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
};

}  // namespace zx::test
