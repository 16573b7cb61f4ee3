// The main program's own command-line switches: how argument 1 chooses the start mode and the
// start page, and how the words of the argument text are split.
#pragma once
#include <afx.h>

// The start page of the main window: scan home, scan at once, backup, restore, scan at once.
constexpr int kStartPageScanHome = 11;
constexpr int kStartPageSchedule = 12;
constexpr int kStartPageBackup = 13;
constexpr int kStartPageRestore = 14;
constexpr int kStartPageScanNow = 15;

// What argument 1 asks for.
struct tagStartSwitch {
  BOOL hiddenScan = FALSE;         // "runhiddenScan": no visible window, on the launcher's behalf
  BOOL firstInstall = FALSE;       // "firstinstall"
  BOOL verySilentInstall = FALSE;  // "verysilentinstall"
  BOOL schedule = FALSE;           // "schedule", or the job's "autofix" or "shutdown"
};

// The first word of the arguments (quotes group blanks into a word and are dropped) and the
// number of words.
int SplitFirstArgument(LPCTSTR arguments, CString& first);
// The command line's words after the program name (empty without arguments).
CString ArgumentsAfterProgram(LPCTSTR commandLine);
// The argument with every "\", "/" and "-" removed.
CString CleanStartArgument(LPCTSTR argument);
// The switch of a cleaned argument, compared without regard to case; unknown words ask for
// nothing.
tagStartSwitch ReadStartSwitch(const CString& cleaned);
// The start page: 12 for a scheduled start, else the leading decimal number of the cleaned
// argument when it is 12, 13, 14 or 15, else 11.
int ChooseStartPage(BOOL scheduleMode, const CString& cleaned);
