// The update checker's quoted switches read from command lines: quoted values, names inside
// other words, case, missing quotes, flags from their integer values, the parent window; and
// the console lines the search writes.
#include <gtest/gtest.h>
#include <winuser.h>

#include "CheckForUpdateApp.h"
#include "CheckUpdateSwitches.h"
#include "CmdLineParamParser.h"
#include "cstring_printer.h"

namespace {

constexpr LPCTSTR kProgram = _T("\"C:\\Program Files\\Zephrin\\ZEPHRINKXCheckUpdate.exe\" ");

// The flags as a word of letters: s silent, q isQuarnelParent, m startminimized, d dwnlCompDbOnly,
// h starthidden, a checkAppUpdateOnly, v m_bShowIfAvailable.
std::string Flags(const tagCheckUpdateSwitches& s) {
  std::string word;
  if (s.bSilent) word += 's';
  if (s.bIsQuarnelParent) word += 'q';
  if (s.bStartMinimized) word += 'm';
  if (s.bDownloadCompleteDbOnly) word += 'd';
  if (s.bStartHidden) word += 'h';
  if (s.bCheckAppUpdateOnly) word += 'a';
  if (s.bShowIfAvailable) word += 'v';
  return word;
}

TEST(CheckUpdateSwitches, FlagsFromTheCommandLine) {
  const struct {
    const char16_t* arguments;
    const char* flags;
  } kCases[] = {
      {u"", ""},
      {u"checkupdate", ""},
      {u"silent=\"1\"", "s"},
      {u"silent=\"0\"", ""},
      {u"silent=\"\"", ""},
      {u"silent=1", ""},                          // not quoted: absent
      {u"silent=\"no\"", ""},
      {u"silent=\" 2 \"", "s"},                   // trimmed, then above 0
      {u"silent=\"-1\"", ""},
      {u"xsilent=\"1\"", "s"},                    // a name inside another word counts
      {u"StartHidden=\"1\"", "h"},                // names match without regard to case
      {u"starthidden startminimized=\"1\"", "mh"},  // the first quoted text after the name
      {u"starthidden=\"1\" startminimized=\"1\" checkAppUpdateOnly=\"1\"", "mha"},
      {u"isQuarnelParent=\"1\" dwnlCompDbOnly=\"1\" m_bShowIfAvailable=\"1\"", "qdv"},
      {u"silent=\"1", ""},                        // no closing quote
  };
  for (const auto& c : kCases) {
    tagCheckUpdateSwitches switches;
    switches.bSilent = TRUE;  // every parse starts from nothing
    testing::internal::CaptureStdout();
    ParseSwitches(CString(kProgram) + c.arguments, switches);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(Flags(switches), c.flags) << CStringA(CString(c.arguments)).GetString();
    EXPECT_EQ(switches.hParentWnd, nullptr);
  }
}

TEST(CheckUpdateSwitches, ValuesKeepTheirCaseAndLoseTheirBlanks) {
  CString value;
  testing::internal::CaptureStdout();
  EXPECT_TRUE(GetQuotedParamValue(_T("prog PARENTWND=\"  AbC \" x"), _T("parentwnd"), value));
  EXPECT_FALSE(GetQuotedParamValue(_T("prog silent=1"), _T("silent"), value));
  EXPECT_FALSE(GetQuotedParamValue(_T("prog"), _T("silent"), value));
  const std::string said = testing::internal::GetCapturedStdout();
  EXPECT_EQ(value, CString(_T("AbC")));
  EXPECT_EQ(said,
            "found parentwnd=AbC\r\n"
            "Parmeter : silent is not properly quoted \"<value>\"\r\n"
            "unable to find parmeter : silent in commandline\r\n");
}

TEST(CheckUpdateSwitches, TheParserFillsOnlyFoundEntries) {
  testing::internal::CaptureStdout();
  CCmdLineParamParser parser(_T("prog silent=\"1\" starthidden=\"\""));
  parser.ParseCommandLine();
  testing::internal::GetCapturedStdout();
  ASSERT_EQ(parser.GetCount(), kSwitchCount);
  EXPECT_EQ(parser.GetAt(kSwitchSilent).bNotFound, 0);
  EXPECT_EQ(parser.GetAt(kSwitchSilent).strValue, CString(_T("1")));
  EXPECT_EQ(parser.GetAt(kSwitchStartHidden).bNotFound, 1);  // empty value: still missing
  EXPECT_EQ(parser.GetAt(kSwitchParentWnd).strName, CString(_T("parentwnd")));
  EXPECT_EQ(parser.GetAt(kSwitchShowIfAvailable).strName, CString(_T("m_bShowIfAvailable")));
}

TEST(CheckUpdateSwitches, TheParentIsALiveWindowOnly) {
  const HWND window = CreateWindowExW(0, _T("#32770"), _T("parent"), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  CString live;
  live.Format(_T("prog parentwnd=\"%d\" isQuarnelParent=\"1\""), static_cast<int>(reinterpret_cast<INT_PTR>(window)));
  testing::internal::CaptureStdout();
  tagCheckUpdateSwitches switches;
  ParseSwitches(live, switches);
  EXPECT_EQ(switches.hParentWnd, window);
  ParseSwitches(_T("prog parentwnd=\"abc\""), switches);
  EXPECT_EQ(switches.hParentWnd, nullptr);
  ParseSwitches(_T("prog parentwnd=\"0\""), switches);
  EXPECT_EQ(switches.hParentWnd, nullptr);
  DestroyWindow(window);
  ParseSwitches(live, switches);  // the window no longer exists
  EXPECT_EQ(switches.hParentWnd, nullptr);
  EXPECT_TRUE(switches.bIsQuarnelParent);
  testing::internal::GetCapturedStdout();
}

TEST(CheckUpdateSwitches, ArgumentsFollowTheProgramName) {
  EXPECT_EQ(CCheckForUpdateApp::GetArgumentsText(_T("\"C:\\a b\\x.exe\"  silent=\"1\" ")), CString(_T("silent=\"1\"")));
  EXPECT_EQ(CCheckForUpdateApp::GetArgumentsText(_T("x.exe")), CString());
  EXPECT_EQ(CCheckForUpdateApp::GetArgumentsText(_T("  x.exe checkupdate")), CString(_T("checkupdate")));
  EXPECT_EQ(CCheckForUpdateApp::GetArgumentsText(nullptr), CString());
}

}  // namespace
