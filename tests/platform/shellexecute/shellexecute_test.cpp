// ShellExecuteEx: a program of the program folder starts with its parameters in the given
// folder, "runas" starts it too and says so, unknown verbs and missing files fail, and web
// addresses and documents reach the desktop's opener (a stand-in script on PATH here).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "errhandlingapi.h"
#include "handleapi.h"
#include "machine_fixture.h"
#include "shellapi.h"
#include "synchapi.h"
#include "winprocess.h"
#include "zx/machine.h"

namespace {

class ShellExecuteTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    const char* path = std::getenv("PATH");
    savedPath_ = path ? path : "";
  }
  void TearDown() override { ::setenv("PATH", savedPath_.c_str(), 1); }
  // Puts an opener on PATH that writes its argument to <root>/opened.txt.
  void InstallOpener() {
    const std::string folder = root() + "/bin";
    WriteHostFile(folder + "/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > '" + root() + "/opened.txt'\n");
    ::chmod((folder + "/xdg-open").c_str(), 0755);
    ::setenv("PATH", folder.c_str(), 1);
  }
  static SHELLEXECUTEINFOW Info(const char16_t* verb, const char16_t* file, const char16_t* parameters = nullptr) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = verb;
    info.lpFile = file;
    info.lpParameters = parameters;
    return info;
  }
  static DWORD Finish(HANDLE process) {
    EXPECT_EQ(WaitForSingleObject(process, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 99;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return code;
  }
  std::string savedPath_;
};

TEST_F(ShellExecuteTest, ProgramStartsWithItsParameters) {
  SHELLEXECUTEINFOW info = Info(u"open", u"zxprocesschild.exe", u"exit 5");
  ASSERT_TRUE(ShellExecuteExW(&info));
  EXPECT_GT(reinterpret_cast<ULONG_PTR>(info.hInstApp), 32u);
  ASSERT_NE(info.hProcess, nullptr);
  EXPECT_EQ(Finish(info.hProcess), 5u);
}

TEST_F(ShellExecuteTest, ProgramStartsInTheGivenFolder) {
  WriteHostFile(root() + "/drive_c/Work/keep.txt", "");
  SHELLEXECUTEINFOW info = Info(nullptr, u"zxprocesschild.exe", u"args out.txt \"two words\"");
  info.lpDirectory = u"C:\\work";
  ASSERT_TRUE(ShellExecuteExW(&info));
  EXPECT_EQ(Finish(info.hProcess), 0u);
  EXPECT_EQ(ReadHostFile(root() + "/drive_c/Work/out.txt"), "two words\n");
}

TEST_F(ShellExecuteTest, RunasStartsWithoutElevationAndSaysSo) {
  SHELLEXECUTEINFOW info = Info(u"runas", u"zxprocesschild.exe", u"exit 0");
  testing::internal::CaptureStderr();
  const BOOL started = ShellExecuteExW(&info);
  const std::string said = testing::internal::GetCapturedStderr();
  ASSERT_TRUE(started);
  EXPECT_NE(said.find("runas: zxprocesschild.exe starts without elevation"), std::string::npos);
  EXPECT_EQ(Finish(info.hProcess), 0u);
}

TEST_F(ShellExecuteTest, AQuotedExeWithoutTheExecuteMarkStarts) {
  // A downloaded program: written as a plain file, named in quotes.
  std::ifstream in(zx::machine::ProgramFolder() + "/zxprocesschild", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  WriteHostFile(root() + "/drive_c/Down/setup.exe", bytes);
  ::chmod((root() + "/drive_c/Down/setup.exe").c_str(), 0644);
  SHELLEXECUTEINFOW info = Info(u"open", u"\"C:\\Down\\setup.exe\"", u"exit 6");
  ASSERT_TRUE(ShellExecuteExW(&info));
  EXPECT_EQ(Finish(info.hProcess), 6u);
}

TEST_F(ShellExecuteTest, UnknownVerbAndMissingFileFail) {
  SHELLEXECUTEINFOW info = Info(u"print", u"zxprocesschild.exe");
  EXPECT_FALSE(ShellExecuteExW(&info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_ASSOCIATION));
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(info.hInstApp), static_cast<ULONG_PTR>(SE_ERR_NOASSOC));
  info = Info(u"open", u"C:\\nowhere\\missing.exe");
  EXPECT_FALSE(ShellExecuteExW(&info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(info.hInstApp), static_cast<ULONG_PTR>(SE_ERR_FNF));
  EXPECT_EQ(info.hProcess, nullptr);
  info.cbSize = 8;
  EXPECT_FALSE(ShellExecuteExW(&info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(ShellExecuteW(nullptr, u"open", u"", nullptr, nullptr, 1)),
            static_cast<ULONG_PTR>(SE_ERR_FNF));
}

TEST_F(ShellExecuteTest, WebAddressGoesToTheDesktopOpener) {
  InstallOpener();
  SHELLEXECUTEINFOW info = Info(u"open", u"https://example.invalid/page?a=1&b=2");
  ASSERT_TRUE(ShellExecuteExW(&info));
  EXPECT_EQ(Finish(info.hProcess), 0u);
  EXPECT_EQ(ReadHostFile(root() + "/opened.txt"), "https://example.invalid/page?a=1&b=2");
}

TEST_F(ShellExecuteTest, DocumentGoesToTheDesktopOpenerAsAHostPath) {
  InstallOpener();
  WriteHostFile(root() + "/drive_c/Docs/readme.txt", "hello");
  SHELLEXECUTEINFOW info = Info(nullptr, u"C:\\Docs\\README.TXT");
  ASSERT_TRUE(ShellExecuteExW(&info));
  EXPECT_EQ(Finish(info.hProcess), 0u);
  EXPECT_EQ(ReadHostFile(root() + "/opened.txt"), root() + "/drive_c/Docs/readme.txt");
}

TEST_F(ShellExecuteTest, WithoutAnOpenerWebAddressesHaveNoAssociation) {
  ::setenv("PATH", (root() + "/empty").c_str(), 1);
  const HINSTANCE result = ShellExecuteW(nullptr, nullptr, u"http://example.invalid/", nullptr, nullptr, 1);
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(result), static_cast<ULONG_PTR>(SE_ERR_NOASSOC));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_ASSOCIATION));
}

}  // namespace
