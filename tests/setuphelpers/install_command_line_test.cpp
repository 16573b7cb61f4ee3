// The install helper's command line: the arguments cut from a whole line the way a Windows
// program's entry receives them, and the switch words that keep the jobs and tasks.
#include <gtest/gtest.h>

#include "InstallCommandLine.h"

namespace {

struct ArgumentsCase {
  const char16_t* line;
  const char16_t* arguments;
};

TEST(InstallCommandLine, ArgumentsFollowTheProgramName) {
  const ArgumentsCase cases[] = {
      {u"C:\\Setup\\installhelper.exe stoponly", u"stoponly"},
      {u"\"C:\\Program Files\\Zephrin\\installhelper.exe\"  /upgrade  -x", u"/upgrade  -x"},
      {u"installhelper.exe\t\t-silent", u"-silent"},
      // A switch word in the program's own folder is no argument.
      {u"\"C:\\stoponly upgrade\\installhelper.exe\"", u""},
      {u"C:\\upgrade\\installhelper.exe", u""},
      {u"\"C:\\never closed stoponly", u""},
      {u"\"\" stoponly", u"stoponly"},
      {u"", u""},
  };
  for (const ArgumentsCase& c : cases)
    EXPECT_EQ(GetArgumentsText(c.line), CString(c.arguments)) << CStringA(c.line).GetString();
  EXPECT_EQ(GetArgumentsText(nullptr), CString());
}

struct SwitchCase {
  const char16_t* arguments;
  BOOL stopOnly;
};

TEST(InstallCommandLine, EitherSwitchWordAnywhereInAnyCaseStopsProgramsOnly) {
  const SwitchCase cases[] = {
      {u"stoponly", TRUE},          {u"UPGRADE", TRUE},          {u"/StopOnly", TRUE},
      {u"-silent upgrade -x", TRUE}, {u"noupgrades", TRUE},       {u"  \tstoponly\t ", TRUE},
      {u"", FALSE},                 {u"   ", FALSE},             {u"stop only", FALSE},
      {u"up-grade", FALSE},         {u"-silent /norestart", FALSE},
  };
  for (const SwitchCase& c : cases)
    EXPECT_EQ(IsStopOnlyCommandLine(c.arguments), c.stopOnly) << CStringA(c.arguments).GetString();
  EXPECT_FALSE(IsStopOnlyCommandLine(nullptr));
}

}  // namespace
