// CDlgBaseChildPopUpWndBase: the framed popup every shared popup derives from: a title bar
// painted from bitmap pieces with the caption in light text, close and optional maximise
// buttons, a backdrop picture under the title, the bottom strip, caption drag and rounded
// corners.
#pragma once
#include <functional>

#include "DlgBaseWnd.h"
#include "HVBitmap.h"
#include "HoverButton.h"

class CDlgBaseChildPopUpWndBase;
// Called in place of the close behaviour while it is on.
using PopupCloseCallback = void (*)(CDlgBaseChildPopUpWndBase* pPopup);

// Commands of the title buttons.
inline constexpr UINT kPopupCloseCommand = 1184;
inline constexpr UINT kPopupMaximiseCommand = 1221;

class ZXHELPER_API CDlgBaseChildPopUpWndBase : public CDlgBaseWnd {
  DECLARE_DYNAMIC(CDlgBaseChildPopUpWndBase)

 public:
  CDlgBaseChildPopUpWndBase();
  CDlgBaseChildPopUpWndBase(UINT nIDTemplate, CWnd* pParentWnd);

  // Before creation: rounded corners and a fixed size (0 keeps the template's size).
  void SetShape(BOOL bRound, int nWidth, int nHeight);
  void SetCloseCallback(PopupCloseCallback pCallback, BOOL bOn);
  void SetBackdropKind(int nKind) { m_nBackdropKind = nKind; }
  void SetHeader(BOOL bHeader, BOOL bRule);
  void SetResizable(BOOL bResizable) { m_bResizable = bResizable ? TRUE : FALSE; }
  BOOL IsEmbedded() const { return m_bEmbedded; }
  BOOL IsMaximised() const { return m_bMaximised; }

  void PaintFrame(CDC* pDC, const CRect& rect);
  void PaintPopupHeader(CDC* pDC, const CRect& rect, BOOL bWithRule);
  // A heading in the shared bold title font on one line, cut with an ellipsis.
  static void PaintHeading(CDC* pDC, const CString& text, const CRect& rect, COLORREF colour);
  // The picture under the title: kind 1 bitmap 1102, 2 bitmap 1112, 3 bitmap 1117, else 1118.
  void LoadBackdrop(int nKind);
  afx_msg void OnToggleMaximize();

  BOOL OnInitDialog() override;
  // The close button and SC_CLOSE: the close callback, else the end of the backdrop run when
  // embedded, else the dialog's cancel.
  virtual void OnCloseRequest();
  virtual void OnSizeLayout(UINT nType, int cx, int cy);

 protected:
  void OnOK() override;
  void OnCancel() override;
  // The window made width x height at (0, 0), with the round region when asked.
  void ApplyShape();
  // A derived popup's paint: the frame through a memory DC, then the body with the client
  // rectangle, its text transparent in the shared bold title font (-15) and the heading colour;
  // the DC's mode, font and colour are put back after the body.
  void PaintFramed(COLORREF crHeading, const std::function<void(CDC& dc, const CRect& client)>& body);
  // The text word-wrapped within the rectangle; answers the height drawn.
  static int DrawWrapped(CDC& dc, const CString& text, CRect place);
  void PlaceTitleButtons(int nClientWidth);

  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnCloseButton();

  BYTE m_bRoundShape = FALSE;
  int m_nShapeHeight = 0;
  int m_nShapeWidth = 0;
  int m_nBackdropKind = 0;
  CHVBitmap m_bmpBackdrop;
  int m_nBackdropWidth = 0;
  int m_nBackdropHeight = 0;
  BYTE m_bHasCloseButton = TRUE;
  BYTE m_bFrameBottomStrip = TRUE;
  BYTE m_bEmbedded = FALSE;
  BYTE m_bHeader = FALSE;
  BYTE m_bHeaderRule = FALSE;
  CHoverButton m_btnMaximise;
  CHoverButton m_btnRestore;
  CHoverButton m_btnClose;
  BYTE m_bMaximised = FALSE;
  BYTE m_bResizable = FALSE;
  int m_nMinTrackWidth = 772;
  int m_nMinTrackHeight = 583;
  BYTE m_bCloseCallbackOn = FALSE;
  PopupCloseCallback m_pCloseCallback = nullptr;

  DECLARE_MESSAGE_MAP()
};
