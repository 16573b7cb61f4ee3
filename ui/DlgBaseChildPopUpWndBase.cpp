// CDlgBaseChildPopUpWndBase: the popup frame's creation, layout, painting, caption drag,
// maximising and closing.
#include "DlgBaseChildPopUpWndBase.h"

#include <winmetrics.h>

#include "DlgBaseShared.h"
#include "DlgParentTransculent.h"
#include "HalvoranApp.h"
#include "IniReader.h"
#include "PopupFrame.h"
#include "XTMemDC.h"

IMPLEMENT_DYNAMIC(CDlgBaseChildPopUpWndBase, CDlgBaseWnd)

BEGIN_MESSAGE_MAP(CDlgBaseChildPopUpWndBase, CDlgBaseWnd)
  ON_WM_PAINT()
  ON_WM_SIZE()
  ON_WM_GETMINMAXINFO()
  ON_WM_SYSCOMMAND()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_COMMAND(kPopupMaximiseCommand, &CDlgBaseChildPopUpWndBase::OnToggleMaximize)
  ON_COMMAND(kPopupCloseCommand, &CDlgBaseChildPopUpWndBase::OnCloseButton)
END_MESSAGE_MAP()

namespace {

constexpr UINT kApplicationTitle = 0xE000;
constexpr UINT kBottomStrip = 1019;
constexpr UINT kHeaderRule = 1098;
constexpr UINT kCloseResizable = 1038;
constexpr UINT kClose = 1064;
constexpr UINT kMaximise = 1063;
constexpr UINT kRestore = 1062;
constexpr COLORREF kCaptionColour = 0xFCFCFC;
constexpr COLORREF kTitleShadow = 0xD8C6BD;
constexpr COLORREF kTitleColour = 0x323232;
// The update checker's dialog shows its own caption in place of its window text.
constexpr TCHAR kUpdateCheckerDialogClass[] = _T("CDlgCheckForUpdate");
constexpr TCHAR kUpdateCheckerCaption[] = _T("Checking for Updates");

void MakeTitleButton(CHoverButton& button, CWnd* parent, UINT command, UINT bitmap) {
  if (button.GetSafeHwnd() == nullptr)
    button.Create(_T(""), WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 1, 1), parent, command);
  if (button.GetStateWidth() == 0) button.LoadBitmap(bitmap);
}

}  // namespace

CDlgBaseChildPopUpWndBase::CDlgBaseChildPopUpWndBase() = default;

CDlgBaseChildPopUpWndBase::CDlgBaseChildPopUpWndBase(UINT nIDTemplate, CWnd* pParentWnd)
    : CDlgBaseWnd(nIDTemplate, pParentWnd) {}

void CDlgBaseChildPopUpWndBase::SetShape(BOOL bRound, int nWidth, int nHeight) {
  m_bRoundShape = bRound ? TRUE : FALSE;
  m_nShapeWidth = nWidth;
  m_nShapeHeight = nHeight;
}

void CDlgBaseChildPopUpWndBase::SetCloseCallback(PopupCloseCallback pCallback, BOOL bOn) {
  m_pCloseCallback = pCallback;
  m_bCloseCallbackOn = bOn ? TRUE : FALSE;
}

void CDlgBaseChildPopUpWndBase::SetHeader(BOOL bHeader, BOOL bRule) {
  m_bHeader = bHeader ? TRUE : FALSE;
  m_bHeaderRule = bRule ? TRUE : FALSE;
}

void CDlgBaseChildPopUpWndBase::ApplyShape() {
  if (m_nShapeWidth == 0 || m_nShapeHeight == 0) return;
  MoveWindow(0, 0, m_nShapeWidth, m_nShapeHeight, FALSE);
  if (m_bRoundShape) {
    const HRGN region = ::CreateRoundRectRgn(0, 0, m_nShapeWidth + 1, m_nShapeHeight + 1, 9, 9);
    if (region) ::SetWindowRgn(m_hWnd, region, TRUE);
  }
}

BOOL CDlgBaseChildPopUpWndBase::OnInitDialog() {
  // Dialogs are attached after their creation message, so the shape is given here.
  ApplyShape();
  CDlgBaseWnd::OnInitDialog();
  if (g_hAppIcon) {
    SetWindowText(LoadResString(kApplicationTitle));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_hAppIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_hAppIcon));
  } else {
    SetWindowText(GetAppName());
  }
  if (m_bHasCloseButton) MakeTitleButton(m_btnClose, this, kPopupCloseCommand, m_bResizable ? kCloseResizable : kClose);
  else m_bResizable = FALSE;
  if (m_bResizable) {
    MakeTitleButton(m_btnMaximise, this, kPopupMaximiseCommand, kMaximise);
    MakeTitleButton(m_btnRestore, this, kPopupMaximiseCommand, kRestore);
    m_bMaximised = FALSE;
    m_btnMaximise.ShowWindow(SW_SHOW);
    m_btnRestore.ShowWindow(SW_HIDE);
  }
  CRect client;
  GetClientRect(&client);
  PlaceTitleButtons(client.Width());
  LoadBackdrop(m_nBackdropKind);
  return TRUE;
}

void CDlgBaseChildPopUpWndBase::PlaceTitleButtons(int nClientWidth) {
  const int top = 0;
  if (m_btnClose.GetSafeHwnd())
    m_btnClose.MoveWindow(nClientWidth - 50, top + 2, 43, 18);
  if (m_bResizable) {
    if (m_btnMaximise.GetSafeHwnd()) m_btnMaximise.MoveWindow(nClientWidth - 75, top + 2, 25, 18);
    if (m_btnRestore.GetSafeHwnd()) m_btnRestore.MoveWindow(nClientWidth - 75, top + 2, 25, 18);
  }
}

void CDlgBaseChildPopUpWndBase::LoadBackdrop(int nKind) {
  UINT id = 1118;
  if (nKind == 1) id = 1102;
  else if (nKind == 2) id = 1112;
  else if (nKind == 3) id = 1117;
  m_bmpBackdrop.DeleteObject();
  m_bmpBackdrop.Load(id);
  m_nBackdropWidth = m_bmpBackdrop.GetWidth();
  m_nBackdropHeight = m_bmpBackdrop.GetHeight();
}

void CDlgBaseChildPopUpWndBase::OnSize(UINT nType, int cx, int cy) { OnSizeLayout(nType, cx, cy); }

void CDlgBaseChildPopUpWndBase::OnSizeLayout(UINT, int cx, int) {
  Default();
  PlaceTitleButtons(cx);
}

void CDlgBaseChildPopUpWndBase::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  CXTMemDC memory(&paint, client, kDialogBackColour);
  PaintFrame(&memory, client);
}

int CDlgBaseChildPopUpWndBase::DrawWrapped(CDC& dc, const CString& text, CRect place) {
  return dc.DrawText(text, text.GetLength(), &place, DT_WORDBREAK | DT_NOPREFIX);
}

void CDlgBaseChildPopUpWndBase::PaintFramed(COLORREF crHeading,
                                            const std::function<void(CDC& dc, const CRect& client)>& body) {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  CXTMemDC memory(&paint, client, kDialogBackColour);
  PaintFrame(&memory, client);
  const int oldMode = memory.SetBkMode(TRANSPARENT);
  const HGDIOBJ oldFont = ::SelectObject(memory.GetSafeHdc(), GetSharedTitleFont(-15, FW_BOLD));
  const COLORREF oldColour = memory.SetTextColor(crHeading);
  body(memory, client);
  memory.SetTextColor(oldColour);
  ::SelectObject(memory.GetSafeHdc(), oldFont);
  memory.SetBkMode(oldMode);
}

void CDlgBaseChildPopUpWndBase::PaintFrame(CDC* pDC, const CRect& rect) {
  const PopupFrameEdges edges = GetPopupFrameEdges();
  if (m_bFrameBottomStrip) {
    const CHVBitmap& strip = SharedBitmap(kBottomStrip);
    TileAcross(pDC, strip, rect.left + edges.left, rect.right - edges.right,
               rect.bottom - edges.bottom - strip.GetHeight());
  }
  PaintTitleStrip(pDC, rect);
  DrawColumns(pDC, m_bmpBackdrop, rect.left + edges.left, rect.right - edges.right, rect.top + edges.top);

  CString caption;
  GetWindowText(caption);
  if (caption.IsEmpty()) caption = GetAppName();
  if (caption.CompareNoCase(kUpdateCheckerDialogClass) == 0) caption = kUpdateCheckerCaption;
  static const CRect captionRect(rect.left + 6, rect.top + 12, rect.left + 306, rect.top + 32);
  CRect place(captionRect);
  const HGDIOBJ oldFont = ::SelectObject(pDC->GetSafeHdc(), GetSharedCaptionFont());
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  const COLORREF oldColour = pDC->SetTextColor(kCaptionColour);
  pDC->DrawText(caption, caption.GetLength(), &place, DT_WORDBREAK | DT_NOPREFIX);
  pDC->SetTextColor(oldColour);
  pDC->SetBkMode(oldMode);
  ::SelectObject(pDC->GetSafeHdc(), oldFont);

  if (m_bHeader) PaintPopupHeader(pDC, rect, m_bHeaderRule);
}

void CDlgBaseChildPopUpWndBase::PaintHeading(CDC* pDC, const CString& text, const CRect& rect, COLORREF colour) {
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  const HGDIOBJ oldFont = ::SelectObject(pDC->GetSafeHdc(), GetSharedTitleFont(-15, FW_BOLD));
  const COLORREF oldColour = pDC->SetTextColor(colour);
  CRect place = rect;
  pDC->DrawText(text, text.GetLength(), &place, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  pDC->SetTextColor(oldColour);
  ::SelectObject(pDC->GetSafeHdc(), oldFont);
  pDC->SetBkMode(oldMode);
}

void CDlgBaseChildPopUpWndBase::PaintPopupHeader(CDC* pDC, const CRect& rect, BOOL bWithRule) {
  CString title;
  GetWindowText(title);
  DrawShadowedText(pDC, title, CRect(28, 54, 568, 74), GetSharedTitleFont(-15, FW_BOLD), kTitleShadow, kTitleColour,
                   DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOPREFIX);
  if (bWithRule) DrawColumns(pDC, SharedBitmap(kHeaderRule), 28, rect.Width() - 28, 82);
}

void CDlgBaseChildPopUpWndBase::OnLButtonDown(UINT, CPoint point) {
  if (m_bEmbedded || m_bMaximised) return;
  DragByCaptionBand(this, point);
}

void CDlgBaseChildPopUpWndBase::OnLButtonDblClk(UINT, CPoint point) {
  if (m_bResizable && IsInCaptionBand(this, point)) OnToggleMaximize();
}

void CDlgBaseChildPopUpWndBase::OnToggleMaximize() {
  m_bMaximised = m_bMaximised ? FALSE : TRUE;
  CPoint cursor;
  ::GetCursorPos(&cursor);
  PostMessage(WM_SYSCOMMAND, m_bMaximised ? SC_MAXIMIZE : SC_RESTORE, MAKELPARAM(cursor.x, cursor.y));
  if (m_btnMaximise.GetSafeHwnd()) m_btnMaximise.ShowWindow(m_bMaximised ? SW_HIDE : SW_SHOW);
  if (m_btnRestore.GetSafeHwnd()) m_btnRestore.ShowWindow(m_bMaximised ? SW_SHOW : SW_HIDE);
  CHoverButton& shown = m_bMaximised ? m_btnRestore : m_btnMaximise;
  if (shown.GetSafeHwnd()) shown.SetFocus();
}

void CDlgBaseChildPopUpWndBase::OnSysCommand(UINT nID, LPARAM) {
  switch (nID & 0xFFF0) {
    case SC_CLOSE:
      // The close request ends the popup; the default close would end it a second time.
      OnCloseRequest();
      return;
    case SC_RESTORE:
      ShowWindow(SW_RESTORE);
      break;
    case SC_MAXIMIZE:
      ShowWindow(SW_MAXIMIZE);
      break;
    default:
      break;
  }
  Default();
}

void CDlgBaseChildPopUpWndBase::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
  lpMMI->ptMinTrackSize.x = m_nMinTrackWidth;
  lpMMI->ptMinTrackSize.y = m_nMinTrackHeight;
  lpMMI->ptMaxTrackSize.x = ::GetSystemMetrics(SM_CXMAXTRACK);
  int trayHeight = 0;
  if (const HWND tray = ::FindWindowW(_T("Shell_TrayWnd"), nullptr)) {
    RECT trayClient{};
    ::GetClientRect(tray, &trayClient);
    trayHeight = trayClient.bottom - trayClient.top;
  }
  lpMMI->ptMaxTrackSize.y = ::GetSystemMetrics(SM_CYMAXTRACK) - 5 - trayHeight;
  Default();
}

void CDlgBaseChildPopUpWndBase::OnCloseButton() { OnCloseRequest(); }

void CDlgBaseChildPopUpWndBase::OnCloseRequest() {
  if (m_bCloseCallbackOn && m_pCloseCallback) {
    m_pCloseCallback(this);
  } else if (m_bEmbedded) {
    CloseParentDialog(this);
  } else {
    CDlgBaseWnd::OnCancel();
  }
}

void CDlgBaseChildPopUpWndBase::OnOK() { CDlgBaseWnd::OnOK(); }

void CDlgBaseChildPopUpWndBase::OnCancel() { CDlgBaseWnd::OnCancel(); }
