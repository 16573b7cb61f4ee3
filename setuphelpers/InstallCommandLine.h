// The install helper's command line: the arguments after the program's name, and the two
// switch words that limit the helper to stopping the product's programs.
#pragma once
#include <afx.h>

// The switch words the product's installer passes when it only needs the programs stopped
// (an upgrade keeps the scheduled jobs and log-on tasks). Either one anywhere in the
// arguments, in any case and even inside a longer word, is enough.
constexpr LPCTSTR kStopOnlySwitch = _T("stoponly");
constexpr LPCTSTR kUpgradeSwitch = _T("upgrade");

// The arguments of a whole command line as a Windows program's entry receives them: the
// program's name (up to its closing quote when it starts with one, else up to the first blank
// or tab) and the blanks and tabs after it are skipped. A null line has no arguments.
CString GetArgumentsText(LPCTSTR commandLine);

// TRUE when the arguments, lower-cased, hold either switch word.
BOOL IsStopOnlyCommandLine(LPCTSTR arguments);
