// Test support: a fresh machine root per test, removed afterwards.
#pragma once
#include <gtest/gtest.h>

#include <string>

namespace zx::test {

// Makes a new empty folder under the temporary folder and removes it when destroyed.
class TempFolder {
 public:
  // Where the folder is made: the temporary folder, or memory-backed storage where the host has
  // it. Reading a sparse file's holes on a disk fills the page cache page by page (seconds per
  // gigabyte on a virtual machine); in memory the holes read as the one zero page.
  enum class Storage { kTemporary, kMemory };
  explicit TempFolder(Storage storage = Storage::kTemporary);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The host path of a Windows path of the machine ("" when it names no place of the machine).
std::string HostPath(const char16_t* windowsPath);

// Sets a value of the machine root's profile (machine.ini's [section]).
void SetMachineValue(const std::string& root, const std::string& section, const std::string& key,
                     const std::string& value);

// Fixture: every test runs on its own machine root.
class MachineTest : public ::testing::Test {
 protected:
  explicit MachineTest(TempFolder::Storage storage = TempFolder::Storage::kTemporary) : folder_(storage) {}
  void SetUp() override;
  // A failed test's machine root is copied into the folder ZX_FAILED_ROOTS names, when set,
  // before the root goes: the stress script keeps it beside the run's output.
  void TearDown() override;
  const std::string& root() const { return folder_.path(); }
  // Writes a host file (parents created), bytes as given.
  static void WriteHostFile(const std::string& path, const std::string& bytes);
  static std::string ReadHostFile(const std::string& path);
  // A value of this machine's profile (machine.ini's [section]).
  void SetMachineValue(const std::string& section, const std::string& key, const std::string& value) const {
    test::SetMachineValue(root(), section, key, value);
  }
  // The bytes of the first file of that name anywhere under the machine root ("" when none).
  std::string FindInRoot(const char* name) const;

 private:
  TempFolder folder_;
};

}  // namespace zx::test
