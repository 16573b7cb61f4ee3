// The update checker's start-up state: the seven switch flags and the parent window, set once
// from the command line before the window exists and read by the check and the window.
#pragma once
#include <afx.h>
#include <windows.h>

struct tagCheckUpdateSwitches {
  BOOL bSilent = FALSE;
  BOOL bIsQuarnelParent = FALSE;  // the parent is the sibling program: notifications, watch, database check
  BOOL bStartMinimized = FALSE;
  BOOL bDownloadCompleteDbOnly = FALSE;
  BOOL bStartHidden = FALSE;
  BOOL bCheckAppUpdateOnly = FALSE;
  BOOL bShowIfAvailable = FALSE;
  HWND hParentWnd = nullptr;  // a live window named by "parentwnd", else none
};

// The process-wide state.
tagCheckUpdateSwitches& CheckUpdateSwitches();

// Fills the state from a command line: all flags off and no parent, then each switch of the
// table that carries a quoted non-empty value applied in table order. A flag is on when its
// value reads as an integer above 0; "parentwnd" is taken when it names a live window.
void ParseSwitches(LPCTSTR commandLine, tagCheckUpdateSwitches& switches);
