// Processes: a started child is listed by "name.exe" through Toolhelp and PSAPI, its handle
// is signalled when it ends, TerminateProcess ends it with the given code, and bad handles,
// sizes and ids fail cleanly.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "errhandlingapi.h"
#include "handleapi.h"
#include "machine_fixture.h"
#include "psapi.h"
#include "synchapi.h"
#include "tlhelp32.h"
#include "winprocess.h"
#include "zx/machine.h"
#include "zx/pathmap.h"

namespace {

class ProcessTest : public zx::test::MachineTest {
 protected:
  void TearDown() override {
    for (HANDLE process : started_) {
      TerminateProcess(process, 0);
      WaitForSingleObject(process, 10000);
      CloseHandle(process);
    }
  }
  PROCESS_INFORMATION Start(std::u16string commandLine) {
    PROCESS_INFORMATION info{};
    EXPECT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, nullptr, &info))
        << GetLastError();
    if (info.hProcess) started_.push_back(info.hProcess);
    return info;
  }
  std::vector<HANDLE> started_;
};

// The ids of the processes a snapshot lists under that name.
std::vector<DWORD> SnapshotIds(const std::u16string& name) {
  std::vector<DWORD> ids;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  EXPECT_NE(snapshot, INVALID_HANDLE_VALUE);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    if (name == entry.szExeFile) ids.push_back(entry.th32ProcessID);
  CloseHandle(snapshot);
  return ids;
}

TEST_F(ProcessTest, SnapshotListsAStartedChildByItsProgramName) {
  const PROCESS_INFORMATION child = Start(u"zxprocesschild.exe wait");
  const auto ids = SnapshotIds(u"zxprocesschild.exe");
  EXPECT_NE(std::find(ids.begin(), ids.end(), child.dwProcessId), ids.end());
  EXPECT_EQ(GetProcessId(child.hProcess), child.dwProcessId);
}

TEST_F(ProcessTest, SnapshotEntryCarriesTheParent) {
  const PROCESS_INFORMATION child = Start(u"zxprocesschild.exe wait");
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (entry.th32ProcessID != child.dwProcessId) continue;
    found = true;
    EXPECT_EQ(entry.th32ParentProcessID, static_cast<DWORD>(::getpid()));
    EXPECT_GE(entry.cntThreads, 1u);
  }
  EXPECT_TRUE(found);
  EXPECT_FALSE(Process32NextW(snapshot, &entry));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  CloseHandle(snapshot);
}

TEST_F(ProcessTest, TerminateEndsTheChildWithTheGivenCode) {
  const PROCESS_INFORMATION child = Start(u"zxprocesschild.exe wait");
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeProcess(child.hProcess, &code));
  EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(WaitForSingleObject(child.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  ASSERT_TRUE(TerminateProcess(child.hProcess, 666));
  EXPECT_EQ(WaitForSingleObject(child.hProcess, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  ASSERT_TRUE(GetExitCodeProcess(child.hProcess, &code));
  EXPECT_EQ(code, 666u);
  const auto ids = SnapshotIds(u"zxprocesschild.exe");
  EXPECT_EQ(std::find(ids.begin(), ids.end(), child.dwProcessId), ids.end());
  EXPECT_FALSE(TerminateProcess(child.hProcess, 1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(ProcessTest, OpenProcessByIdReachesTheSameProcess) {
  const PROCESS_INFORMATION child = Start(u"zxprocesschild.exe wait");
  HANDLE opened = OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, child.dwProcessId);
  ASSERT_NE(opened, nullptr);
  ASSERT_TRUE(TerminateProcess(opened, 9));
  EXPECT_EQ(WaitForSingleObject(child.hProcess, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeProcess(opened, &code));
  EXPECT_EQ(code, 9u);
  CloseHandle(opened);
}

// A process of another parent whose first thread has ended runs on while its second does: it
// can be opened, and a wait on it ends only once that thread has ended too (its stat then
// names one thread, the first one's record, or none).
TEST_F(ProcessTest, AWaitOnAProcessEndsOnlyWithItsLastThread) {
  const std::string pidFile = root() + "/linger.pid";
  // Started through a shell that ends at once: not a child of this process.
  ASSERT_EQ(std::system(("'" + zx::machine::ProgramFolder() + "/zxprocesschild' linger '" + pidFile + "' 700 &").c_str()), 0);
  DWORD id = 0;
  for (int i = 0; i < 500 && id == 0; ++i, ::usleep(10000)) std::ifstream(pidFile) >> id;
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(WaitForSingleObject(process, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  std::string stat;
  std::getline(std::ifstream("/proc/" + std::to_string(id) + "/stat"), stat);
  std::istringstream fields(stat.empty() ? stat : stat.substr(stat.rfind(')') + 2));
  std::string field;
  for (int at = 3; at <= 20 && fields >> field; ++at) {
  }
  EXPECT_TRUE(stat.empty() || field == "1") << stat;
  CloseHandle(process);
}

TEST_F(ProcessTest, ExitCodeOfAChildThatEndsByItself) {
  const PROCESS_INFORMATION child = Start(u"zxprocesschild.exe exit 7");
  ASSERT_EQ(WaitForSingleObject(child.hProcess, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeProcess(child.hProcess, &code));
  EXPECT_EQ(code, 7u);
}

TEST_F(ProcessTest, CommandLineIsSplitAsWindowsSplitsIt) {
  const std::string file = root() + "/args.txt";
  // Arguments reach the child as they are: the child here is a host program, so a host path.
  const std::u16string hostFile(file.begin(), file.end());
  const PROCESS_INFORMATION child =
      Start(u"zxprocesschild.exe args \"" + hostFile + u"\" \"two words\" a\\\\\\\"b c\\d");
  ASSERT_EQ(WaitForSingleObject(child.hProcess, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  std::ifstream in(file);
  std::string one, two, three;
  std::getline(in, one);
  std::getline(in, two);
  std::getline(in, three);
  EXPECT_EQ(one, "two words");
  EXPECT_EQ(two, "a\\\"b");
  EXPECT_EQ(three, "c\\d");
}

TEST_F(ProcessTest, TheChildIsGivenTheCommandLineAsWritten) {
  const std::string file = root() + "/line.txt";
  const std::u16string hostFile(file.begin(), file.end());
  const std::u16string line = u"zxprocesschild.exe line \"" + hostFile + u"\"  silent=\"1\" parentwnd=\"12\"";
  const PROCESS_INFORMATION child = Start(line);
  ASSERT_EQ(WaitForSingleObject(child.hProcess, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  std::ifstream in(file);
  std::string recorded;
  std::getline(in, recorded);
  EXPECT_EQ(std::u16string(recorded.begin(), recorded.end()), line);
}

TEST_F(ProcessTest, AProgramFileWithoutTheExecuteMarkStillRuns) {
  const std::string copy = root() + "/drive_c/plain-child";
  std::filesystem::create_directories(root() + "/drive_c");
  std::filesystem::copy_file(zx::machine::ProgramFolder() + "/zxprocesschild", copy);
  std::filesystem::permissions(copy, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  const PROCESS_INFORMATION child = Start(u"C:\\plain-child exit 5");
  ASSERT_NE(child.hProcess, nullptr);
  ASSERT_EQ(WaitForSingleObject(child.hProcess, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeProcess(child.hProcess, &code));
  EXPECT_EQ(code, 5u);
}

TEST_F(ProcessTest, MissingProgramFailsWithFileNotFound) {
  PROCESS_INFORMATION info{};
  std::u16string line = u"zxnosuchprogram.exe";
  EXPECT_FALSE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              nullptr, &info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(info.hProcess, nullptr);
}

TEST_F(ProcessTest, BadIdsHandlesAndSizesFailCleanly) {
  EXPECT_EQ(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, 0x7FFFFFF0), nullptr);
  DWORD code = 0;
  EXPECT_FALSE(GetExitCodeProcess(reinterpret_cast<HANDLE>(0x7777), &code));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = 100;
  EXPECT_FALSE(Process32FirstW(snapshot, &entry));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_LENGTH));
  CloseHandle(snapshot);
  EXPECT_EQ(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, 0x7FFFFFF0), INVALID_HANDLE_VALUE);
}

TEST_F(ProcessTest, ModuleSnapshotStartsWithTheExecutable) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, 0);
  ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof entry;
  ASSERT_TRUE(Module32FirstW(snapshot, &entry));
  EXPECT_EQ(std::u16string(entry.szModule), u"process_tests");
  EXPECT_EQ(std::u16string(entry.szExePath),
            zx::path::HostToWindows(zx::machine::ProgramFolder() + "/process_tests"));
  EXPECT_GT(entry.modBaseSize, 0u);
  bool libc = false;
  while (Module32NextW(snapshot, &entry)) libc |= std::u16string(entry.szModule).starts_with(u"libc.so");
  EXPECT_TRUE(libc);
  CloseHandle(snapshot);
}

TEST_F(ProcessTest, PsapiListsProcessesAndTheChildsModules) {
  const PROCESS_INFORMATION child = Start(u"zxprocesschild.exe wait");
  std::vector<DWORD> ids(8192);
  DWORD bytes = 0;
  ASSERT_TRUE(EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * 4), &bytes));
  ids.resize(bytes / 4);
  EXPECT_NE(std::find(ids.begin(), ids.end(), child.dwProcessId), ids.end());
  DWORD two[2];
  ASSERT_TRUE(EnumProcesses(two, sizeof two, &bytes));
  EXPECT_EQ(bytes, sizeof two);

  WCHAR name[MAX_PATH];
  ASSERT_GT(GetModuleFileNameExW(child.hProcess, nullptr, name, MAX_PATH), 0u);
  EXPECT_EQ(std::u16string(name),
            zx::path::HostToWindows(zx::machine::ProgramFolder() + "/zxprocesschild"));
  HMODULE first = nullptr;
  DWORD needed = 0;
  ASSERT_TRUE(EnumProcessModules(child.hProcess, &first, sizeof first, &needed));
  EXPECT_GT(needed, sizeof first);
  MODULEINFO info{};
  ASSERT_TRUE(GetModuleInformation(child.hProcess, first, &info, sizeof info));
  EXPECT_EQ(info.lpBaseOfDll, static_cast<LPVOID>(first));
  EXPECT_GT(info.SizeOfImage, 0u);
  EXPECT_FALSE(GetModuleInformation(child.hProcess, first, &info, 4));
}

TEST_F(ProcessTest, ReadProcessMemoryReadsOwnMemory) {
  const char text[] = "MZ-marker";
  char copy[sizeof text] = {};
  SIZE_T read = 0;
  HANDLE self = OpenProcess(PROCESS_VM_READ, FALSE, static_cast<DWORD>(::getpid()));
  ASSERT_NE(self, nullptr);
  ASSERT_TRUE(ReadProcessMemory(self, text, copy, sizeof text, &read));
  EXPECT_EQ(read, sizeof text);
  EXPECT_STREQ(copy, text);
  EXPECT_FALSE(ReadProcessMemory(self, nullptr, copy, 4, &read));
  CloseHandle(self);
}

}  // namespace
