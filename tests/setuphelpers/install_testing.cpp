// StandInProgram and InstallHelperTest: named copies of the stand-in program, and the
// start-up entries of the product and of others written on the test's machine.
#include "install_testing.h"

#include <gtest/gtest.h>
#include <winprocess.h>
#include <winreg.h>

#include <filesystem>

#include "zx/jobfile.h"
#include "zx/machine.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

constexpr char16_t kRunKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A log-on task as the main program registers it.
constexpr char kLogonTask[] =
    "[Task]\nAuthor=Zephrin\nDescription=\nUserId=\nGroupId=S-1-5-32-545\nLogonType=4\nRunLevel=1\n"
    "AllowDemandStart=1\nAllowHardTerminate=1\nStartWhenAvailable=1\nExecutionTimeLimit=PT0S\nEnabled=1\n"
    "[Trigger]\nType=9\nId=ZephrinTunevoRunAtStartup\nEnabled=1\nDelay=PT5S\nUserId=\n"
    "[Action]\nType=0\nId=\nPath=C:\\Program Files\\Zephrin\\zephrinkx.exe\nArguments= -schedule\n"
    "WorkingDirectory=\n";

const char* const kProductJobs[] = {"ZEPHRINKX-ZEPHRINKXTunevo", "Tunevo - Zephrin Tunevo", "Zephrin Tunevo"};
const char* const kProductTasks[] = {"ZephrinTunevoRunAtStartup", "Zephrin Tunevo RunAtStartup", "Zephrin Tunevo"};
constexpr char16_t kProductRunValue[] = u"ZEPHRINKXTunevo";
constexpr char kOtherName[] = "ZEPHRINKX-ZEPHRINKXMorvath";
constexpr char16_t kOtherRunValue[] = u"ZEPHRINKXMorvath";

}  // namespace

StandInProgram::StandInProgram(const std::string& name) : path_(zx::machine::ProgramFolder() + "/" + name) {
  std::filesystem::copy_file(ZX_STANDIN_PROGRAM, path_, std::filesystem::copy_options::overwrite_existing);
}

StandInProgram::~StandInProgram() {
  for (HANDLE process : started_) {
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
  }
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
}

HANDLE StandInProgram::Start() {
  std::u16string line = u"\"" + zx::path::HostToWindows(path_) + u"\"";
  PROCESS_INFORMATION info{};
  EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
  if (info.hThread) CloseHandle(info.hThread);
  if (info.hProcess) started_.push_back(info.hProcess);
  return info.hProcess;
}

void InstallHelperTest::WriteJob(const std::string& name) const {
  const std::vector<std::uint8_t> bytes = zx::taskschd::SerializeJob(zx::taskschd::Job{});
  WriteHostFile(root() + "/drive_c/Windows/Tasks/" + name + ".job", std::string(bytes.begin(), bytes.end()));
}

bool InstallHelperTest::JobExists(const std::string& name) const {
  return std::filesystem::exists(root() + "/drive_c/Windows/Tasks/" + name + ".job");
}

void InstallHelperTest::WriteTask(const std::string& name) const {
  WriteHostFile(root() + "/drive_c/Windows/System32/Tasks/" + name, kLogonTask);
}

bool InstallHelperTest::TaskExists(const std::string& name) const {
  return std::filesystem::exists(root() + "/drive_c/Windows/System32/Tasks/" + name);
}

void InstallHelperTest::WriteRunValue(HKEY root, const std::u16string& name) {
  HKEY run = nullptr;
  ASSERT_EQ(RegCreateKeyExW(root, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &run, nullptr), ERROR_SUCCESS);
  const std::u16string data = u"\"C:\\Program Files\\Zephrin\\zephrinkx.exe\" /schedule";
  EXPECT_EQ(RegSetValueExW(run, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                           static_cast<DWORD>((data.size() + 1) * sizeof(char16_t))),
            ERROR_SUCCESS);
  RegCloseKey(run);
}

bool InstallHelperTest::RunValueExists(HKEY root, const std::u16string& name) {
  return RegGetValueW(root, kRunKey, name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void InstallHelperTest::WriteProductEntries() const {
  for (const char* job : kProductJobs) WriteJob(job);
  for (const char* task : kProductTasks) WriteTask(task);
  WriteRunValue(HKEY_LOCAL_MACHINE, kProductRunValue);
  WriteRunValue(HKEY_CURRENT_USER, kProductRunValue);
}

int InstallHelperTest::ProductEntriesLeft() const {
  int left = 0;
  for (const char* job : kProductJobs) left += JobExists(job);
  for (const char* task : kProductTasks) left += TaskExists(task);
  left += RunValueExists(HKEY_LOCAL_MACHINE, kProductRunValue);
  left += RunValueExists(HKEY_CURRENT_USER, kProductRunValue);
  return left;
}

void InstallHelperTest::WriteOtherEntries() const {
  WriteJob(kOtherName);
  WriteTask(kOtherName);
  WriteRunValue(HKEY_LOCAL_MACHINE, kOtherRunValue);
  WriteRunValue(HKEY_CURRENT_USER, kOtherRunValue);
}

bool InstallHelperTest::OtherEntriesKept() const {
  return JobExists(kOtherName) && TaskExists(kOtherName) && RunValueExists(HKEY_LOCAL_MACHINE, kOtherRunValue) &&
         RunValueExists(HKEY_CURRENT_USER, kOtherRunValue);
}

}  // namespace zx::test
