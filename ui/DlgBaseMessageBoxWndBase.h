// CDlgBaseMessageBoxWndBase: the library's own message box, a framed box with an icon, a
// text drawn as HTML, one to five text buttons and, for custom button sets, a "do not show
// again" check box whose state is recorded under "MessageBoxStatus". CQVXMessageBox is the
// box of template 1273 that the entry points run.
#pragma once
#include <afxcoll.h>

#include "DlgBaseWnd.h"
#include "HVBitmap.h"
#include "HoverButton.h"
#include "HoverButtonWithText.h"

// Button sets of SetButtons.
enum MessageBoxKind : int {
  kMessageBoxOk = 0,
  kMessageBoxYesNo = 1,
  kMessageBoxOkCancel = 2,
  kMessageBoxCustomWithCheck = 3,
  kMessageBoxCustom = 4,
};

inline constexpr int kMessageBoxMaxButtons = 5;
inline constexpr UINT kMessageBoxFirstButton = 1185;
inline constexpr UINT kMessageBoxCheckBox = 1231;

class ZXHELPER_API CDlgBaseMessageBoxWndBase : public CDlgBaseWnd {
  DECLARE_DYNAMIC(CDlgBaseMessageBoxWndBase)

 public:
  CDlgBaseMessageBoxWndBase(UINT nIDTemplate, CWnd* pParentWnd, BOOL bHtmlWrap);
  ~CDlgBaseMessageBoxWndBase() override;

  // The button set; texts and count are the caller's for the custom kinds (at most five).
  void SetButtons(int nKind, int nCount, const CStringArray* pTexts, int nDefault, int nLargeButtons);
  void SetBoxRect(const CRect& rect) { m_rcBox = rect; }
  // The icon and the title backdrop that goes with it.
  void SetIcon(UINT nIconId);
  void SetHeaderBitmap(UINT nID);
  void SetPictureBitmap(UINT nID);
  // The text, wrapped in the font markup unless it holds markup of its own.
  void SetText(LPCTSTR lpszText);

  int GetResult() const { return m_nResult; }
  UINT GetIconId() const { return m_nIconId; }
  int GetButtonKind() const { return m_nButtonKind; }
  const CString& GetText() const { return m_strText; }
  int GetButtonCount() const { return m_nButtonCount; }
  CRect GetCheckRect() const { return m_rcCheck; }

  BOOL OnInitDialog() override;

 protected:
  void OnOK() override;
  void OnCancel() override;

  afx_msg void OnPaint();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnCloseButton();
  afx_msg void OnButton(UINT nID);

 private:
  // Where the answer comes from: a button by its place, Enter, or Escape and the close button.
  static constexpr int kByEnter = -1;
  static constexpr int kByEscape = -2;
  void SetResultFrom(int nSource);
  void RecordCheckState();
  void CreateButtons(int nCount, const CStringArray& texts, int nDefault);
  void LayOutBox();
  CRect TextArea() const;

  int m_nButtonCount = 0;
  CStringArray m_arrButtonTexts;
  int m_nDefaultButton = 0;
  CRect m_rcBox;
  CRect m_rcCheck;
  CString m_strText;
  BYTE m_bHeaderBitmap = FALSE;
  BYTE m_bPictureBitmap = FALSE;
  BYTE m_bIcon = FALSE;
  CHVBitmap m_bmpHeader;
  CHVBitmap m_bmpPicture;
  HICON m_hIcon = nullptr;
  UINT m_nIconId = 0;
  CHVBitmap m_bmpTitleBackdrop;
  BYTE m_bHtmlWrap = TRUE;
  int m_nButtonKind = kMessageBoxOk;
  CHoverButtonWithText m_buttons[kMessageBoxMaxButtons];
  CHoverButton m_btnClose;
  BYTE m_bCloseButton = TRUE;
  CString m_strOk, m_strCancel, m_strYes, m_strNo, m_strCheck;
  CButton m_checkBox;
  int m_nResult = 0;
  int m_nLargeButtons = 0;
  int m_nTextOffset = 0;

  DECLARE_MESSAGE_MAP()
};

class ZXHELPER_API CQVXMessageBox : public CDlgBaseMessageBoxWndBase {
  DECLARE_DYNAMIC(CQVXMessageBox)

 public:
  static constexpr UINT kTemplateId = 1273;
  CQVXMessageBox(CWnd* pParentWnd, BOOL bHtmlWrap) : CDlgBaseMessageBoxWndBase(kTemplateId, pParentWnd, bHtmlWrap) {}

  DECLARE_MESSAGE_MAP()
};

// The text a box shows: wrapped in the font markup of the shared font (its "&" escaped) when
// asked and when it holds no markup character of its own, else as given.
ZXHELPER_API CString MakeMessageBoxText(LPCTSTR lpszText, BOOL bHtmlWrap);

// The entry points every program calls in place of the system's message box. Each answers
// the result of the pressed button (see the tables of SetButtons' kinds), or -1 when the box
// could not be made.
ZXHELPER_API int AppMessageBox(LPCTSTR lpszText, UINT nType, CWnd* pParent = nullptr, const CRect* pBoxRect = nullptr,
                               BYTE bHtmlWrap = 1);
ZXHELPER_API int AppMessageBoxEx(LPCTSTR lpszText, UINT nIconFlag, int nCount, const CStringArray& texts,
                                 const CRect& boxRect, BOOL bCheckBox, int nLargeButtons, CWnd* pParent);
ZXHELPER_API int AppMessageBoxCustom(LPCTSTR lpszText, UINT nBitmapId, int nCount, const CStringArray& texts,
                                     const CRect& boxRect, BOOL bHeader, CWnd* pParent);
