// The main program's own switch: how argument 1 is cleaned and compared, which start page it
// selects, and how the words of a command line are split.
#include <gtest/gtest.h>

#include "StartSwitches.h"

namespace {

TEST(StartSwitches, ArgumentOneSelectsTheStartModeAndPage) {
  const struct {
    const TCHAR* argument;
    bool hidden, firstInstall, verySilent, schedule;
    int page;
  } kCases[] = {
      {_T(""), false, false, false, false, 11},
      {_T("runhiddenScan"), true, false, false, false, 11},
      {_T("-RUNHIDDENSCAN"), true, false, false, false, 11},
      {_T("/runhidden-scan"), true, false, false, false, 11},
      {_T("\\runhiddenscan\\"), true, false, false, false, 11},
      {_T("runhiddenScanx"), false, false, false, false, 11},
      {_T("-firstinstall"), false, true, false, false, 11},
      {_T("/VerySilentInstall"), false, false, true, false, 11},
      {_T("-schedule"), false, false, false, true, 12},
      {_T("-autofix"), false, false, false, true, 12},
      {_T("/SHUTDOWN"), false, false, false, true, 12},
      {_T("-autofixes"), false, false, false, false, 11},
      {_T("autorun"), false, false, false, false, 11},
      {_T("13"), false, false, false, false, 13},
      {_T("-14"), false, false, false, false, 14},
      {_T("/15"), false, false, false, false, 15},
      {_T("12"), false, false, false, false, 12},
      {_T("16"), false, false, false, false, 11},
      {_T("11"), false, false, false, false, 11},
      {_T("abc"), false, false, false, false, 11},
      {_T("13abc"), false, false, false, false, 13},
      {_T("4294967309"), false, false, false, false, 11},  // 13 after a 32-bit wrap
      {_T("99999999999999999999999913"), false, false, false, false, 11},
  };
  for (const auto& c : kCases) {
    const CString cleaned = CleanStartArgument(c.argument);
    const tagStartSwitch start = ReadStartSwitch(cleaned);
    const CStringA shown(c.argument);
    EXPECT_EQ(start.hiddenScan != FALSE, c.hidden) << shown.GetString();
    EXPECT_EQ(start.firstInstall != FALSE, c.firstInstall) << shown.GetString();
    EXPECT_EQ(start.verySilentInstall != FALSE, c.verySilent) << shown.GetString();
    EXPECT_EQ(start.schedule != FALSE, c.schedule) << shown.GetString();
    EXPECT_EQ(ChooseStartPage(start.schedule, cleaned), c.page) << shown.GetString();
  }
}

TEST(StartSwitches, AScheduledStartAlwaysOpensTheScanAtOnce) {
  EXPECT_EQ(ChooseStartPage(TRUE, _T("13")), 12);
  // Schedule mode is off when the switch was handed elsewhere: the number alone counts.
  EXPECT_EQ(ChooseStartPage(FALSE, _T("schedule")), 11);
}

TEST(StartSwitches, WordsOfTheCommandLine) {
  const struct {
    const TCHAR* line;
    int count;
    const TCHAR* first;
    const TCHAR* afterProgram;
  } kCases[] = {
      {_T(""), 0, _T(""), _T("")},
      {_T("   \t "), 0, _T(""), _T("")},
      {_T("zephrinkx.exe"), 1, _T("zephrinkx.exe"), _T("")},
      {_T("\"C:\\Program Files\\zephrinkx.exe\" -13  x"), 3, _T("C:\\Program Files\\zephrinkx.exe"), _T("-13  x")},
      {_T("  -runhiddenScan"), 1, _T("-runhiddenScan"), _T("")},
      {_T("a\"b c\"d e"), 2, _T("ab cd"), _T("e")},
      {_T("\"unclosed quote"), 1, _T("unclosed quote"), _T("")},
      // Only blanks and tabs part words; a form feed is a word of its own.
      {_T("zephrinkx \f -13"), 3, _T("zephrinkx"), _T("\f -13")},
  };
  for (const auto& c : kCases) {
    CString first = _T("stale");
    EXPECT_EQ(SplitFirstArgument(c.line, first), c.count) << CStringA(c.line).GetString();
    EXPECT_EQ(first, CString(c.first)) << CStringA(c.line).GetString();
    EXPECT_EQ(ArgumentsAfterProgram(c.line), CString(c.afterProgram)) << CStringA(c.line).GetString();
  }
  CString first = _T("stale");
  EXPECT_EQ(SplitFirstArgument(nullptr, first), 0);
  EXPECT_TRUE(first.IsEmpty());
}

}  // namespace
