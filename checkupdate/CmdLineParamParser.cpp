// Reading the update checker's quoted switches out of a command line.
#include "CmdLineParamParser.h"

#include <cstdio>

const LPCTSTR kCheckUpdateSwitchNames[kSwitchCount] = {
    _T("silent"),         _T("parentwnd"),  _T("isQuarnelParent"),    _T("startminimized"),
    _T("dwnlCompDbOnly"), _T("starthidden"), _T("checkAppUpdateOnly"), _T("m_bShowIfAvailable")};

namespace {

// A line on the console's standard output (seen only when a console is attached).
void ConsoleLine(const CString& line) {
  std::fputs(CStringA(line).GetString(), stdout);
  std::fflush(stdout);
}

}  // namespace

BOOL GetQuotedParamValue(LPCTSTR commandLine, LPCTSTR name, CString& value) {
  const CString typed = commandLine ? commandLine : _T("");
  CString lowerLine = typed, lowerName = name ? name : _T("");
  lowerLine.MakeLower();
  lowerName.MakeLower();
  CString line;
  const int at = lowerName.IsEmpty() ? -1 : lowerLine.Find(lowerName);
  if (at < 0) {
    line.Format(_T("unable to find parmeter : %s in commandline\r\n"), name);
    ConsoleLine(line);
    return FALSE;
  }
  const int open = typed.Find(_T('"'), at + 1);
  const int close = open < 0 ? -1 : typed.Find(_T('"'), open + 1);
  if (close < 0) {
    line.Format(_T("Parmeter : %s is not properly quoted \"<value>\"\r\n"), name);
    ConsoleLine(line);
    return FALSE;
  }
  value = typed.Mid(open + 1, close - open - 1);
  value.Trim();
  line.Format(_T("found %s=%s\r\n"), name, value.GetString());
  ConsoleLine(line);
  return value.IsEmpty() ? FALSE : TRUE;
}

CCmdLineParamParser::CCmdLineParamParser(LPCTSTR commandLine) : m_strCommandLine(commandLine ? commandLine : _T("")) {
  for (LPCTSTR name : kCheckUpdateSwitchNames) {
    tagCmdArgValuePair pair;
    pair.strName = name;
    m_arrPairs.Add(pair);
  }
}

void CCmdLineParamParser::ParseCommandLine() {
  for (INT_PTR index = 0; index < m_arrPairs.GetSize(); ++index) {
    tagCmdArgValuePair& pair = m_arrPairs[index];
    CString value;
    if (GetQuotedParamValue(m_strCommandLine, pair.strName, value)) {
      pair.strValue = value;
      pair.bNotFound = 0;
    }
  }
}
