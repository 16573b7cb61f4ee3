// CNewSchedulerApp: the scheduler program's application object. One scheduler runs at a time:
// a second start asks the running one to show the product's pane and ends. The first start
// opens the main window on the product's pane, whatever its command line says.
#pragma once
#include "HalvoranApp.h"

// A row of the tool table: what the schedule pane shows and the job it edits.
struct SchedulerTool {
  CString strTitle;
  CString strProgramPath;
  CString strJobName;
  CString strKey;
};

class CNewSchedulerApp : public CHalvoranApp {
 public:
  // The product's position in the tool table.
  static constexpr int kProductToolIndex = 3;
  // The program's row in the shared program table.
  static constexpr int kModuleIndex = 20;

  // Title and language ini of the program's row.
  CNewSchedulerApp();
  ~CNewSchedulerApp() override;

  // Runs the whole program; always FALSE, so that the class library ends the process when it
  // returns.
  BOOL InitInstance() override;

  // The first word of the arguments without quotes, with every "\", "/" and "-" removed and
  // lower-cased.
  static CString NormaliseFirstArgument(LPCTSTR arguments);
  // The registered "SHOWSCHEDULE_MESSAGE"; its lParam carries a tool index.
  static UINT GetShowScheduleMessage();
  // The name of the mutex that marks a running scheduler.
  static CString GetInstanceMutexName();

  // The product's row: "Zephrin Tunevo", the main program of the program folder, the
  // product's job and the key "tunevo".
  static SchedulerTool ProductTool();
  // The tool members take the row's title, program, job and key.
  void ChooseTool(const SchedulerTool& tool);

  CString m_strFirstArgument;
  int m_nToolIndex = kProductToolIndex;
  BOOL m_bServiceMode = FALSE;
  HANDLE m_hInstanceMutex = nullptr;
  CString m_strToolTitle;
  CString m_strProgramPath;
  CString m_strJobName;
  CString m_strToolKey;
  BOOL m_bAutoFix = FALSE;
  BOOL m_bShutDown = FALSE;

 protected:
  // Whether another scheduler holds the instance mutex (this one keeps its handle).
  BOOL IsAnotherSchedulerRunning();
  // Runs the main window modally.
  virtual void RunMainWindow();

  DECLARE_MESSAGE_MAP()
};

// The running program's application object (null in a process of another program).
CNewSchedulerApp* GetSchedulerApp();
