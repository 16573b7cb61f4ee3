// CDlgOneClickDrvUpdateResultsMain: the popup's results page, its rows and its way to the front.
#include "DlgOneClickDrvUpdateResultsMain.h"

#include "DlgScan3Results.h"
#include "DriverScanUpdate.h"

BEGIN_MESSAGE_MAP(CDlgOneClickDrvUpdateResultsMain, CDlgBaseChildPopUpWndBase)
  ON_WM_TIMER()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CDlgOneClickDrvUpdateResultsMain::CDlgOneClickDrvUpdateResultsMain(CResultsPageHost& host, IResultListView* restoreList,
                                                                   CWnd* pParent)
    : CDlgBaseChildPopUpWndBase(kTemplateId, pParent), m_host(host), m_pRestoreList(restoreList) {
  SetShape(TRUE, kWidth, kHeight);
}

CDlgOneClickDrvUpdateResultsMain::~CDlgOneClickDrvUpdateResultsMain() = default;

BOOL CDlgOneClickDrvUpdateResultsMain::OnInitDialog() {
  CDlgBaseChildPopUpWndBase::OnInitDialog();
  // Centred on the screen.
  CRect window;
  GetWindowRect(&window);
  SetWindowPos(nullptr, (::GetSystemMetrics(SM_CXSCREEN) - window.Width()) / 2,
               (::GetSystemMetrics(SM_CYSCREEN) - window.Height()) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  // The popup's list hides its action texts and hands its check clicks on to the main window's.
  velquor::DriverListSwitches() = {TRUE, TRUE};
  m_pPage = std::make_unique<CDlgScan3Results>(m_host, this);
  if (m_pPage->Create(CDlgScan3Results::kTemplateId, this)) {
    m_pPage->MoveWindow(8, 40, 732, 518);
    m_pPage->ShowWindow(SW_SHOW);
    CDriverScanUpdate& engine = m_host.GetScanEngine();
    engine.SetResultList(&m_pPage->GetResultView());
    engine.RebuildResultList();
    for (int row = 0; row < m_pPage->GetList().GetItemCount(); ++row) m_pPage->GetList().SetCheck(row, TRUE);
  }
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetTimer(kFrontTimer, kFrontMs, nullptr);
  return TRUE;
}

void CDlgOneClickDrvUpdateResultsMain::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kFrontTimer) {
    CDlgBaseChildPopUpWndBase::OnTimer(nIDEvent);
    return;
  }
  KillTimer(nIDEvent);
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  BringWindowToTop();
  SetActiveWindow();
  SetForegroundWindow();
}

void CDlgOneClickDrvUpdateResultsMain::OnDestroy() {
  velquor::DriverListSwitches() = {};
  // The engine writes into the main window's list again, which takes the rows back.
  CDriverScanUpdate& engine = m_host.GetScanEngine();
  engine.SetResultList(m_pRestoreList);
  if (m_pRestoreList != nullptr) engine.RebuildResultList();
  if (m_pPage && m_pPage->GetSafeHwnd()) m_pPage->DestroyWindow();
  CDlgBaseChildPopUpWndBase::OnDestroy();
}
