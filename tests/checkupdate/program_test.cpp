// The update checker program started as another program starts it, with its switches on the
// command line: without administrator rights a hidden or minimised start ends without a word,
// any other start asks in its own message box whether to start again elevated, and ends when
// the answer is No.
#include <gtest/gtest.h>
#include <handleapi.h>
#include <synchapi.h>
#include <winprocess.h>

#include "checkupdate_testing.h"

namespace zx::test {
namespace {

class CheckerProgram : public CheckUpdateTest {
 protected:
  void SetUp() override {
    CheckUpdateTest::SetUp();
    SetMachineValue("Machine", "Administrator", "0");
    WriteHostFile(ProgramFolder() + "/checkupdate.ini",
                  "[CHECKFORUPDATE]\r\nIDS_ADMIN_MODE_XP=Start again as administrator?\r\n");
  }
  // Runs the program with the arguments, answering No to every box it shows; its exit code,
  // standard output and error output, and whether it asked.
  DWORD Run(const std::u16string& arguments, std::string& out, std::string& errors, bool& asked) {
    std::u16string line = u"ZEPHRINKXCheckUpdate.exe " + arguments;
    PROCESS_INFORMATION info{};
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const BOOL started =
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info);
    DWORD code = 99;
    asked = false;
    if (started) {
      for (int wait = 0; wait < 2000 && WaitForSingleObject(info.hProcess, 10) == WAIT_TIMEOUT; ++wait)
        if (AnswerBoxOfProcess(info.dwProcessId, nullptr, 1)) asked = true;
      GetExitCodeProcess(info.hProcess, &code);
      CloseHandle(info.hProcess);
    }
    out = testing::internal::GetCapturedStdout();
    errors = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(started);
    return code;
  }
};

TEST_F(CheckerProgram, TheSwitchesOfTheRealCommandLine) {
  const struct {
    const char16_t* arguments;
    bool asks;            // no hidden or minimised start was read
    const char* console;  // a line the search wrote
  } kCases[] = {
      {u"starthidden=\"1\"", false, "found starthidden=1\r\n"},
      {u"StartHidden=\"1\"", false, "found starthidden=1\r\n"},
      {u"startminimized=\"1\" checkAppUpdateOnly=\"1\"", false, "found checkAppUpdateOnly=1\r\n"},
      {u"starthidden startminimized=\"1\"", false, "found starthidden=1\r\n"},
      {u"xstarthidden=\"1\"", false, "found starthidden=1\r\n"},
      {u"starthidden=\"0\"", true, "found starthidden=0\r\n"},
      {u"starthidden=\"\"", true, "found starthidden=\r\n"},
      {u"starthidden=1", true, "Parmeter : starthidden is not properly quoted \"<value>\"\r\n"},
      {u"starthidden=\"no\"", true, "found starthidden=no\r\n"},
      {u"silent=\"  Yes \"", true, "found silent=Yes\r\n"},
      {u"checkupdate", true, "unable to find parmeter : starthidden in commandline\r\n"},
  };
  for (const auto& c : kCases) {
    std::string out, errors;
    bool asked = false;
    EXPECT_EQ(Run(c.arguments, out, errors, asked), 0u);
    const std::string shown(c.arguments, c.arguments + std::char_traits<char16_t>::length(c.arguments));
    EXPECT_NE(out.find(c.console), std::string::npos) << shown << "\n" << out;
    EXPECT_EQ(asked, c.asks) << shown;
    EXPECT_EQ(errors.find("[message box]"), std::string::npos) << shown << "\n" << errors;
  }
}

TEST_F(CheckerProgram, WithoutArgumentsNothingIsRead) {
  std::string out, errors;
  bool asked = false;
  EXPECT_EQ(Run(u"", out, errors, asked), 0u);
  EXPECT_EQ(out, "");
  EXPECT_TRUE(asked);
}

}  // namespace
}  // namespace zx::test
