// Test support of the install helper: copies of the stand-in program under the names of the
// product's programs, and the jobs, log-on tasks and Run values that the helper removes.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "setuphelper_testing.h"

namespace zx::test {

// Copies of the stand-in program in the test's folder under one name ("zephrinkx" is listed
// as "zephrinkx.exe"); the copies it started are ended and the file removed with it.
class StandInProgram {
 public:
  explicit StandInProgram(const std::string& name);
  ~StandInProgram();
  StandInProgram(const StandInProgram&) = delete;
  StandInProgram& operator=(const StandInProgram&) = delete;

  // Starts one more copy; its process handle (owned by this object).
  HANDLE Start();
  // TRUE when the started process has ended by now.
  static bool HasEnded(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

 private:
  std::string path_;
  std::vector<HANDLE> started_;
};

// The product's start-up entries, and others beside them, on the test's machine.
class InstallHelperTest : public SetupHelperTest {
 protected:
  // Jobs of C:\Windows\Tasks and log-on tasks of C:\Windows\System32\Tasks, by name.
  void WriteJob(const std::string& name) const;
  bool JobExists(const std::string& name) const;
  void WriteTask(const std::string& name) const;
  bool TaskExists(const std::string& name) const;
  // A value of the Run key of HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER.
  static void WriteRunValue(HKEY root, const std::u16string& name);
  static bool RunValueExists(HKEY root, const std::u16string& name);

  // Every job, task and Run value that the product has made in its versions: three jobs,
  // three tasks, two Run values.
  static constexpr int kProductEntryCount = 8;
  void WriteProductEntries() const;
  // How many of them are left.
  int ProductEntriesLeft() const;
  // Entries of other programs, which the helper leaves alone.
  void WriteOtherEntries() const;
  bool OtherEntriesKept() const;
};

}  // namespace zx::test
