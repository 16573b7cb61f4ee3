// The scheduler's left pane: its tool buttons and the schedule pane they open.
#include "DlgSchedulerChild.h"

#include <winuser.h>

#include "DlgMainWnd.h"
#include "NewSchedulerApp.h"
#include "ProductValues.h"

namespace {

constexpr int kButtonLeft = 1;
constexpr int kButtonWidth = 166;
constexpr int kButtonHeight = 31;
constexpr int kMarkedRowShift = 17;
constexpr int kPaneLeft = 169;
constexpr int kPaneWidth = 590;
constexpr int kPaneHeight = 472;

}  // namespace

BEGIN_MESSAGE_MAP(CDlgSchedulerChild, CDlgLeftDlgBase)
  ON_COMMAND_RANGE(CDlgLeftDlgBase::kFirstButtonCommand,
                   CDlgLeftDlgBase::kFirstButtonCommand + CDlgSchedulerChild::kToolCount - 1,
                   &CDlgSchedulerChild::OnTool)
END_MESSAGE_MAP()

CDlgSchedulerChild::CDlgSchedulerChild(CWnd* pParent) : CDlgLeftDlgBase(kTemplateId, pParent) {}

CDlgSchedulerChild::~CDlgSchedulerChild() = default;

BOOL CDlgSchedulerChild::OnInitDialog() {
  CDlgLeftDlgBase::OnInitDialog();
  // The main window shows the program's own command id.
  if (auto* main = dynamic_cast<CDlgMainWnd*>(GetParent()))
    main->SetLogoId(static_cast<UINT>(GetModuleId(CNewSchedulerApp::kModuleIndex)));
  CNewSchedulerApp* app = GetSchedulerApp();
  // The product's row is the only one offered; it sits marked, moved down below the others.
  const int row = static_cast<int>(kProductCommand - kFirstButtonCommand);
  const CRect rect(kButtonLeft, row * kButtonHeight + kMarkedRowShift, kButtonLeft + kButtonWidth,
                   row * kButtonHeight + kMarkedRowShift + kButtonHeight);
  CreateLeftButton(m_btnTools[row], rect, _T("Zephrin Tunevo"), kProductCommand, -1);
  m_btnTools[row].EnableWindow(TRUE);
  const int index = app ? app->m_nToolIndex : CNewSchedulerApp::kProductToolIndex;
  PostMessage(WM_COMMAND, kFirstButtonCommand + (index > 0 ? index - 1 : 0), 0);
  return TRUE;
}

void CDlgSchedulerChild::OnTool(UINT nID) {
  // Every tool command opens the one pane; only the product's row names a tool of its own.
  if (nID == kProductCommand) {
    m_tool = CNewSchedulerApp::ProductTool();
    if (CNewSchedulerApp* app = GetSchedulerApp()) app->ChooseTool(m_tool);
  }
  OpenSchedulePane();
}

void CDlgSchedulerChild::OpenSchedulePane() {
  if (m_pSchedule && m_pSchedule->GetSafeHwnd()) m_pSchedule->DestroyWindow();
  m_pSchedule = std::make_unique<CDlgSchedule>(this, CDlgSchedule::Build::kScheduler);
  if (!m_tool.strJobName.IsEmpty()) m_pSchedule->SetJob(m_tool.strJobName, m_tool.strProgramPath);
  if (!m_pSchedule->Create(m_pSchedule->GetTemplateId(), this)) return;
  m_pSchedule->SetWindowPos(nullptr, kPaneLeft, 0, kPaneWidth, kPaneHeight, SWP_NOZORDER);
  m_pSchedule->ShowWindow(SW_SHOW);
  ++m_nOpenCount;
}
