// The main program's own command-line switches.
#include "StartSwitches.h"

namespace {

bool IsBlank(TCHAR c) { return c == _T(' ') || c == _T('\t'); }

// Reads the word that starts at or after `at` into `word`; the position after it, or -1 when
// only blanks are left.
int ReadWord(const CString& line, int at, CString& word) {
  word.Empty();
  const int length = line.GetLength();
  while (at < length && IsBlank(line[at])) ++at;
  if (at == length) return -1;
  bool quoted = false;
  for (; at < length; ++at) {
    const TCHAR c = line[at];
    if (c == _T('"')) quoted = !quoted;
    else if (!quoted && IsBlank(c)) break;
    else word += c;
  }
  return at;
}

}  // namespace

int SplitFirstArgument(LPCTSTR arguments, CString& first) {
  const CString line = arguments ? arguments : _T("");
  int count = 0;
  CString word;
  for (int at = ReadWord(line, 0, first); at >= 0; at = ReadWord(line, at, word)) ++count;
  if (count == 0) first.Empty();
  return count;
}

CString ArgumentsAfterProgram(LPCTSTR commandLine) {
  const CString line = commandLine ? commandLine : _T("");
  CString program;
  const int at = ReadWord(line, 0, program);
  if (at < 0) return CString();
  CString arguments = line.Mid(at);
  return arguments.Trim(_T(" \t"));
}

CString CleanStartArgument(LPCTSTR argument) {
  CString cleaned = argument ? argument : _T("");
  cleaned.Remove(_T('\\'));
  cleaned.Remove(_T('/'));
  cleaned.Remove(_T('-'));
  return cleaned;
}

tagStartSwitch ReadStartSwitch(const CString& cleaned) {
  tagStartSwitch result;
  if (cleaned.CompareNoCase(_T("runhiddenScan")) == 0) result.hiddenScan = TRUE;
  else if (cleaned.CompareNoCase(_T("firstinstall")) == 0) result.firstInstall = TRUE;
  else if (cleaned.CompareNoCase(_T("verysilentinstall")) == 0) result.verySilentInstall = TRUE;
  // The scheduled job's auto-fix and shut-down words are scheduled starts as well: without
  // them the job would open the program without scanning.
  else if (cleaned.CompareNoCase(_T("schedule")) == 0 || cleaned.CompareNoCase(_T("autofix")) == 0 ||
           cleaned.CompareNoCase(_T("shutdown")) == 0)
    result.schedule = TRUE;
  return result;
}

int ChooseStartPage(BOOL scheduleMode, const CString& cleaned) {
  if (scheduleMode) return kStartPageSchedule;
  // Leading blanks and digits as a decimal number; a long run of digits stays out of range
  // instead of overflowing.
  int at = 0;
  while (at < cleaned.GetLength() && (cleaned[at] == _T(' ') || cleaned[at] == _T('\t'))) ++at;
  long long number = 0;
  for (; at < cleaned.GetLength() && cleaned[at] >= _T('0') && cleaned[at] <= _T('9'); ++at) {
    number = number * 10 + (cleaned[at] - _T('0'));
    if (number > 1000) break;
  }
  switch (number) {
    case kStartPageSchedule:
    case kStartPageBackup:
    case kStartPageRestore:
    case kStartPageScanNow:
      return static_cast<int>(number);
    default:
      return kStartPageScanHome;
  }
}
