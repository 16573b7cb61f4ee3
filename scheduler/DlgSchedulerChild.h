// CDlgSchedulerChild: the scheduler's left pane: the column of tool buttons, of which only the
// product's is shown, and the schedule pane on their right, which every tool command opens on
// the chosen tool's job.
#pragma once
#include <memory>

#include "DlgLeftDlgBase.h"
#include "DlgSchedule.h"
#include "LeftSideBtns.h"
#include "NewSchedulerApp.h"

class CDlgSchedulerChild : public CDlgLeftDlgBase {
 public:
  static constexpr UINT kProductCommand = kFirstButtonCommand + 2;
  static constexpr int kToolCount = 8;

  explicit CDlgSchedulerChild(CWnd* pParent);
  ~CDlgSchedulerChild() override;

  BOOL OnInitDialog() override;

  // The schedule pane (null until a tool was chosen).
  CDlgSchedule* GetSchedulePane() { return m_pSchedule.get(); }
  // How often a tool's pane was opened.
  int GetOpenCount() const { return m_nOpenCount; }
  // The tool whose job the pane edits.
  const SchedulerTool& GetTool() const { return m_tool; }

 protected:
  void OnOK() override {}
  void OnCancel() override {}

  afx_msg void OnTool(UINT nID);

 private:
  // Makes the schedule pane afresh, so that it reads the current tool's job.
  void OpenSchedulePane();

  CLeftSideBtns m_btnTools[kToolCount];
  std::unique_ptr<CDlgSchedule> m_pSchedule;
  SchedulerTool m_tool;
  int m_nOpenCount = 0;

  DECLARE_MESSAGE_MAP()
};
