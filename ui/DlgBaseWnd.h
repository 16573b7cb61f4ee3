// CDlgBaseWnd: the root of every dialog of every program. White background and the dialog
// text colour for every control, the shared dialog font sent to all children, Enter and
// Escape not acted on while the key is still held, tooltips on request, and a paint callback
// that an owner can put in place of the window's own painting.
#pragma once
#include <afxcmn.h>
#include <afxdlg.h>
#include <afxwin.h>

#include "DlgFontScaler.h"
#include "HelperApi.h"

class CDlgBaseWnd;
// Called as (window, user value, device context, client rectangle) in place of the painting.
using DlgPaintCallback = void (*)(CWnd* pWnd, DWORD_PTR dwUser, CDC* pDC, const CRect& client);

class ZXHELPER_API CDlgBaseWnd : public CDialog {
  DECLARE_DYNAMIC(CDlgBaseWnd)

 public:
  CDlgBaseWnd();
  CDlgBaseWnd(UINT nIDTemplate, CWnd* pParentWnd);
  ~CDlgBaseWnd() override;
  CDlgBaseWnd(const CDlgBaseWnd&) = delete;
  CDlgBaseWnd& operator=(const CDlgBaseWnd&) = delete;

  void SetPaintCallback(DlgPaintCallback pCallback, BOOL bOn, DWORD_PTR dwUser);
  void SetBottomStrip(BOOL bOn) { m_bBottomStrip = bOn ? TRUE : FALSE; }
  UINT GetTemplateId() const { return m_nTemplateId; }
  CMFCToolTipCtrl& GetToolTip() { return m_toolTip; }

  // The modeless dialog of this template.
  BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr) override;
  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg LRESULT OnHelpInfo(WPARAM wParam, LPARAM lParam);
  afx_msg void OnHelp();
  // 0, or default processing while the default-processing flag is set.
  afx_msg LRESULT OnDefaultOrZero(WPARAM wParam, LPARAM lParam);

 protected:
  void OnOK() override;
  void OnCancel() override;
  // Whether OnOK (OnCancel) would be ignored now: its key is still held and the guard is on.
  BOOL IsEnterIgnored() const;
  BOOL IsEscapeIgnored() const;
  // Calls the paint callback when one is on; whether it painted.
  BOOL PaintThroughCallback(CDC* pDC, const CRect& client);

  UINT m_nTemplateId = 0;
  CDlgFontScaler m_fontScaler;
  BYTE m_bDefaultProcessing = FALSE;
  BYTE m_bIgnoreHeldEnter = TRUE;
  BYTE m_bIgnoreHeldEsc = TRUE;
  CMFCToolTipCtrl m_toolTip;
  DlgPaintCallback m_pPaintCallback = nullptr;
  BYTE m_bPaintCallbackOn = FALSE;
  DWORD_PTR m_dwPaintUser = 0;
  BYTE m_bBottomStrip = FALSE;

  DECLARE_MESSAGE_MAP()
};

// Sends WM_SETFONT with the font (redraw on) to every descendant of the window.
ZXHELPER_API void SendFontToDescendants(HWND hWnd, HFONT hFont);
