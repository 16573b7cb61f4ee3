// CNewSchedulerDlg: the scheduler's main window, a main window of the shared look with the
// "Schedule" caption button and the left pane of tools whose schedule pane sits on its right.
// It answers "SHOWSCHEDULE_MESSAGE" from a second start by showing the asked tool's pane, and
// its view-all command shows the list of every scheduled tool.
#pragma once
#include "DlgMainWnd.h"
#include "DlgSchedulerChild.h"
#include "HoverButtonWithText.h"

class CNewSchedulerDlg : public CDlgMainWnd {
 public:
  static constexpr UINT kTemplateId = 5083;
  static constexpr UINT kIconId = 5073;
  static constexpr UINT kViewAllId = 5075;
  static constexpr UINT kCaptionButtonId = 5101;
  static constexpr int kWindowWidth = 773;
  static constexpr int kWindowHeight = 584;

  CNewSchedulerDlg();

  BOOL OnInitDialog() override;

  CDlgSchedulerChild& GetLeftPane() { return m_leftPane; }

 protected:
  void OnOK() override {}

  afx_msg LRESULT OnShowSchedule(WPARAM wParam, LPARAM lParam);
  afx_msg void OnCloseButton();
  // A press anywhere on the window's own surface drags it.
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  // The list of all scheduled tools over a backdrop on this window.
  afx_msg void OnViewAll();

 private:
  CDlgSchedulerChild m_leftPane;
  CHoverButtonWithText m_btnCaption;
  CButton m_btnViewAll;
  HICON m_hIcon = nullptr;

  DECLARE_MESSAGE_MAP()
};
