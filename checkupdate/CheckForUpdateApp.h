// CCheckForUpdateApp: the update checker program's application object. Its start-up reads the
// quoted switches, makes sure the program runs with administrator rights (offering to start
// again elevated) and hands over to the update checker window, whose loop is the program's.
#pragma once
#include "HalvoranApp.h"

class CCheckForUpdateApp : public CHalvoranApp {
 public:
  // Title "Checking for Updates", language ini "checkupdate.ini".
  CCheckForUpdateApp();

  // Runs the whole program; always FALSE, so that the class library ends the process when it
  // returns.
  BOOL InitInstance() override;

  // The command line's words after the program name (empty without arguments).
  static CString GetArgumentsText(LPCTSTR commandLine);

 protected:
  // Answers the question of a user without administrator rights whether to start again
  // elevated (IDYES or another button).
  virtual int AskToRestartElevated(const CString& question);
  // Runs the update checker window modally with the parent window (or none) as owner.
  virtual void RunMainWindow(HWND owner);

  DECLARE_MESSAGE_MAP()
};
