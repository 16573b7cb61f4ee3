// CDlgScan2Scanning: the scan group's second page. It runs the scan procedure on a worker
// thread started by its one-shot timer, shows the steps as status lines with their time, the
// device scan's progress and the busy animation, and stops the scan on request through a
// short second worker.
#pragma once
#include <afxcmn.h>

#include <memory>

#include "DlgLeftSideChild.h"
#include "HoverButtonWithText.h"
#include "ScanPagesHost.h"

class CDlgScan2Scanning : public CDlgLeftSideChild {
  DECLARE_DYNAMIC(CDlgScan2Scanning)

 public:
  static constexpr UINT kTemplateId = 5094;
  static constexpr UINT kStopId = 5084;
  static constexpr UINT kProgressId = 5082;
  static constexpr UINT kStepLabelId = 5104;
  static constexpr UINT kStatusLabelId = 5101;
  static constexpr UINT kAnimationId = 5248;
  static constexpr UINT kStatusListId = 5264;
  static constexpr UINT kOtherCategoryId = 5119;
  static constexpr UINT_PTR kStartTimer = 100;
  // Sent by the scan thread: a message box to show on the page's thread (lParam a
  // tagScanMessage), the hand-over of the wizard (wParam the results flag) and the filling of
  // the result rows (answers whether it succeeded).
  static constexpr UINT kShowMessage = WM_APP + 0x120;
  static constexpr UINT kFinishMessage = WM_APP + 0x121;
  static constexpr UINT kFillMessage = WM_APP + 0x122;

  explicit CDlgScan2Scanning(CScanPagesHost& host, CWnd* pParent = nullptr);
  ~CDlgScan2Scanning() override;

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  CScanPagesHost& Host() { return m_host; }
  // Starts the scan thread on the next turn of the message loop.
  void StartScanSoon() { SetTimer(kStartTimer, 0, nullptr); }
  bool IsScanRunning() const;
  // The status lines shown (time, text), oldest first.
  int GetStatusLineCount();
  CString GetStatusLine(int line, int column);

  // Called from the scan thread; each reaches the windows through window calls.
  // Status output: the status label (when asked) and a new status line.
  void ShowScanStatusText(const CString& text, BOOL setLabel);
  // The status label alone shows the text, drawn at once.
  void ShowStatusLabel(const CString& text);
  // Clears everything of the previous scan and starts the animation.
  void ResetScanningPage();
  void StopScanAnimation();
  void EnableStopButton(BOOL enable);
  // The own message box on the page's thread, owned by the main window or by the page.
  int ShowScanMessage(LPCTSTR textId, UINT style, bool ownedByPage);
  // Hands the wizard on (results flag 1: to the results page).
  void FinishScanPage(BOOL results);
  // The engine's result rows written into the results list on the list's own thread, in one
  // call rather than a window call for each step of each row.
  BOOL FillResultRows();
  // Lets a test pump turn while the thread waits on the layer's clock.
  void KeepPumpTurning();
  HWND GetProgressWindow() const { return m_progress.GetSafeHwnd(); }
  HWND GetStepLabel() const { return m_stStep.GetSafeHwnd(); }
  HWND GetStatusLabel() const { return m_stStatus.GetSafeHwnd(); }

 protected:
  void OnOK() override {}
  void OnCancel() override {}
  void PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) override;

  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnStopScan();
  afx_msg void OnDestroy();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg LRESULT OnShowMessage(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnFinish(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnFillResults(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnUpdateCount(WPARAM wParam, LPARAM lParam);

 private:
  static UINT ScanThreadProc(LPVOID parameter);
  static UINT StopScanThreadProc(LPVOID parameter);
  void Layout();
  // Waits for a worker to end while serving what other threads send to this one.
  static void JoinWorker(std::unique_ptr<CWinThread>& worker);
  std::unique_ptr<CWinThread> StartWorker(AFX_THREADPROC procedure);

  CScanPagesHost& m_host;
  CHoverButtonWithText m_btnStop;
  CProgressCtrl m_progress;
  CStatic m_stStep;
  CStatic m_stStatus;
  CAnimateCtrl m_animation;
  CListCtrl m_lstStatus;
  std::unique_ptr<CWinThread> m_scanThread;
  std::unique_ptr<CWinThread> m_stopThread;

  DECLARE_MESSAGE_MAP()
};

// A message box the scan thread asks the page to show.
struct tagScanMessage {
  CString text;
  UINT style = 0;
  bool ownedByPage = false;
  CRect box;
};
