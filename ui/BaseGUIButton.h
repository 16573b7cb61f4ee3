// The root of the owner-drawn push buttons: owner drawing switched on when the button is
// subclassed, hover tracking (hovered after 2 ms over the button, cleared when the pointer
// leaves), the hand cursor 1228 of the language resource library, and the painting of the
// parent's background under the button.
#pragma once
#include <afxwin.h>
#include <afxctrls.h>

#include "HelperApi.h"

class ZXHELPER_API CBaseGUIButton : public CButton {
  DECLARE_DYNAMIC(CBaseGUIButton)

 public:
  CBaseGUIButton();
  ~CBaseGUIButton() override;
  CBaseGUIButton(const CBaseGUIButton&) = delete;
  CBaseGUIButton& operator=(const CBaseGUIButton&) = delete;

  void SetUseHandCursor(BOOL bUse) { m_bUseHandCursor = bUse ? TRUE : FALSE; }
  BOOL IsHovered() const { return m_bHovered; }
  BOOL IsTracking() const { return m_bTracking; }

  // Paints the parent's background under `window` into `dc` (clipped to `rect` when given);
  // answers what the parent's WM_ERASEBKGND answered.
  virtual BOOL DrawParentBackground(CWnd* window, CDC* dc, LPCRECT rect = nullptr);

  // Drawn like hover while set; the owners set it directly.
  BYTE m_bHighlighted = FALSE;

 protected:
  void PreSubclassWindow() override;
  // True while the pointer is over the button or the owner keeps it highlighted.
  BOOL IsHot() const { return m_bHovered || m_bHighlighted; }

  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnMouseHover(UINT nFlags, CPoint point);
  afx_msg void OnMouseLeave();
  DECLARE_MESSAGE_MAP()

 protected:
  BYTE m_bHovered = FALSE;
  BYTE m_bUseHandCursor = TRUE;
  HCURSOR m_hHandCursor = nullptr;
  HCURSOR m_hCurrentCursor = nullptr;
  BYTE m_bTracking = FALSE;
};
