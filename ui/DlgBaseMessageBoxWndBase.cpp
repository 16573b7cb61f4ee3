// CDlgBaseMessageBoxWndBase: button sets and results, the box's layout and painting, the
// check box and its record.
#include "DlgBaseMessageBoxWndBase.h"

#include <qhtm.h>
#include <winresource.h>

#include <algorithm>

#include "DlgBaseShared.h"
#include "DrawingHelpers.h"
#include "HalvoranApp.h"
#include "IniReader.h"
#include "OSVersionInfo.h"
#include "PopupFrame.h"
#include "ProcessControl.h"
#include "Registry.h"
#include "XTMemDC.h"

IMPLEMENT_DYNAMIC(CDlgBaseMessageBoxWndBase, CDlgBaseWnd)
IMPLEMENT_DYNAMIC(CQVXMessageBox, CDlgBaseMessageBoxWndBase)

BEGIN_MESSAGE_MAP(CDlgBaseMessageBoxWndBase, CDlgBaseWnd)
  ON_WM_PAINT()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_COMMAND(IDOK, &CDlgBaseMessageBoxWndBase::OnOK)
  ON_COMMAND(IDCANCEL, &CDlgBaseMessageBoxWndBase::OnCancel)
  ON_COMMAND(1184, &CDlgBaseMessageBoxWndBase::OnCloseButton)
  ON_COMMAND_RANGE(kMessageBoxFirstButton, kMessageBoxFirstButton + kMessageBoxMaxButtons - 1,
                   &CDlgBaseMessageBoxWndBase::OnButton)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CQVXMessageBox, CDlgBaseMessageBoxWndBase)
END_MESSAGE_MAP()

namespace {

constexpr TCHAR kSection[] = _T("QVX");
constexpr int kDefaultBoxWidth = 300;
constexpr int kDefaultBoxHeight = 160;
constexpr COLORREF kCaptionColour = 0xFCFCFC;
constexpr COLORREF kTextColour = 0x5A5148;
constexpr COLORREF kDefaultCaption = 0xFFFCFC;
constexpr COLORREF kOtherCaption = 0x5A5148;
constexpr UINT kStrip = 1103;
constexpr UINT kLargeStrip = 1461;
constexpr UINT kCloseBitmap = 1064;
constexpr TCHAR kStatusKey[] = _T("MessageBoxStatus");
constexpr TCHAR kStatusValue[] = _T("DontShowMessageBox");
// The box never grows past this height for a long text.
constexpr int kMostBoxHeight = 700;

UINT BackdropForIcon(UINT icon) {
  switch (icon) {
    case 1113: return 1117;
    case 1114: return 1112;
    case 1116: return 1118;
    default: return 1102;
  }
}

// The text as HTML text: the markup characters of the text stand for themselves.
CString EscapeHtml(const CString& text) {
  CString escaped = text;
  escaped.Replace(_T("&"), _T("&amp;"));
  return escaped;
}

}  // namespace

CDlgBaseMessageBoxWndBase::CDlgBaseMessageBoxWndBase(UINT nIDTemplate, CWnd* pParentWnd, BOOL bHtmlWrap)
    : CDlgBaseWnd(nIDTemplate, pParentWnd), m_bHtmlWrap(bHtmlWrap ? TRUE : FALSE) {
  m_strOk = GetLangString(_T("IDS_OK"), kSection);
  m_strCancel = GetLangString(_T("IDS_CANCEL"), kSection);
  m_strYes = GetLangString(_T("IDS_YES"), kSection);
  m_strNo = GetLangString(_T("IDS_NO"), kSection);
  m_strCheck = GetLangString(_T("IDS_CHK_MSGBOX"), kSection);
}

CDlgBaseMessageBoxWndBase::~CDlgBaseMessageBoxWndBase() {
  if (m_hIcon) ::DestroyIcon(m_hIcon);
}

void CDlgBaseMessageBoxWndBase::SetButtons(int nKind, int nCount, const CStringArray* pTexts, int nDefault,
                                           int nLargeButtons) {
  m_nButtonKind = nKind;
  m_nLargeButtons = nLargeButtons;
  m_arrButtonTexts.RemoveAll();
  m_nDefaultButton = 0;
  switch (nKind) {
    case kMessageBoxYesNo:
      m_arrButtonTexts.Add(m_strYes);
      m_arrButtonTexts.Add(m_strNo);
      break;
    case kMessageBoxOkCancel:
      m_arrButtonTexts.Add(m_strOk);
      m_arrButtonTexts.Add(m_strCancel);
      break;
    case kMessageBoxCustomWithCheck:
    case kMessageBoxCustom: {
      // Never more buttons than the box has or the caller gave texts for.
      const INT_PTR given = pTexts ? pTexts->GetSize() : 0;
      for (INT_PTR i = 0; i < nCount && i < given && i < kMessageBoxMaxButtons; ++i) m_arrButtonTexts.Add(pTexts->GetAt(i));
      m_nDefaultButton = nDefault;
      break;
    }
    case kMessageBoxOk:
      m_arrButtonTexts.Add(m_strOk);
      break;
    default:
      m_arrButtonTexts.Add(m_strOk);
      m_nDefaultButton = 1;
      break;
  }
  m_nButtonCount = static_cast<int>(m_arrButtonTexts.GetSize());
  m_bCloseButton = (nKind == kMessageBoxYesNo || nKind == kMessageBoxOkCancel) ? FALSE : TRUE;
}

void CDlgBaseMessageBoxWndBase::SetIcon(UINT nIconId) {
  m_nIconId = nIconId;
  if (m_hIcon) ::DestroyIcon(m_hIcon);
  const LPCTSTR name = MAKEINTRESOURCEW(nIconId);
  const HINSTANCE module = AfxFindResourceHandle(name, RT_GROUP_ICON);
  m_hIcon = module ? static_cast<HICON>(::LoadImageW(module, name, IMAGE_ICON, 32, 32, 0)) : nullptr;
  m_bIcon = m_hIcon != nullptr;
  m_bmpTitleBackdrop.DeleteObject();
  m_bmpTitleBackdrop.Load(BackdropForIcon(nIconId));
}

void CDlgBaseMessageBoxWndBase::SetHeaderBitmap(UINT nID) {
  m_bmpHeader.DeleteObject();
  m_bHeaderBitmap = m_bmpHeader.Load(nID);
}

void CDlgBaseMessageBoxWndBase::SetPictureBitmap(UINT nID) {
  m_bmpPicture.DeleteObject();
  m_bPictureBitmap = m_bmpPicture.Load(nID);
}

CString MakeMessageBoxText(LPCTSTR lpszText, BOOL bHtmlWrap) {
  const CString text = lpszText ? lpszText : _T("");
  if (!bHtmlWrap || text.Find(_T('<')) >= 0 || text.Find(_T('>')) >= 0) return text;
  const int points = GetOSMajorVersion() >= 6 ? 9 : 8;
  CString wrapped;
  wrapped.Format(_T("<font face=\"%s\" size=%dpt>%s</font>"), static_cast<LPCTSTR>(GetFontFaceName()), points,
                 static_cast<LPCTSTR>(EscapeHtml(text)));
  return wrapped;
}

void CDlgBaseMessageBoxWndBase::SetText(LPCTSTR lpszText) { m_strText = MakeMessageBoxText(lpszText, m_bHtmlWrap); }

CRect CDlgBaseMessageBoxWndBase::TextArea() const {
  CRect client;
  GetClientRect(&client);
  return CRect(CPoint(53 + m_nTextOffset, 55), CSize(client.Width() - 70, client.Height() - 100));
}

void CDlgBaseMessageBoxWndBase::LayOutBox() {
  int width = m_rcBox.IsRectEmpty() ? kDefaultBoxWidth : m_rcBox.Width();
  int height = m_rcBox.IsRectEmpty() ? kDefaultBoxHeight : m_rcBox.Height();
  if (m_bPictureBitmap) {
    width = std::max(width, m_bmpPicture.GetWidth() + 12);
    height = std::max(height, m_bmpPicture.GetHeight() + 78);
  }
  if (m_bHeaderBitmap) {
    height = std::max(height, m_bmpHeader.GetHeight() + 78);
    m_nTextOffset = m_bmpHeader.GetWidth() - 47;
  }
  // A text taller than its area makes the box taller, up to a limit.
  if (CDC* dc = GetDC()) {
    const HGDIOBJ old = ::SelectObject(dc->GetSafeHdc(), GetSharedDialogFont());
    const int textWidth = std::max(1, width - 70);
    const int needed = m_bHtmlWrap ? static_cast<int>(QHTM_GetHTMLHeight(dc->GetSafeHdc(), m_strText, AfxGetInstanceHandle(),
                                                                          QHTM_SOURCE_TEXT, static_cast<UINT>(textWidth)))
                                   : [&] {
                                       CRect measure(0, 0, textWidth, 0);
                                       dc->DrawText(m_strText, m_strText.GetLength(), &measure,
                                                    DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
                                       return measure.Height();
                                     }();
    ::SelectObject(dc->GetSafeHdc(), old);
    ReleaseDC(dc);
    if (needed > height - 100) height = std::min(needed + 100, kMostBoxHeight);
  }
  SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (const HRGN region = ::CreateRoundRectRgn(0, 0, width + 1, height + 1, 9, 9)) ::SetWindowRgn(m_hWnd, region, FALSE);
  CenterWindow(AfxGetMainWnd());
}

BOOL CDlgBaseMessageBoxWndBase::OnInitDialog() {
  CDlgBaseWnd::OnInitDialog();
  if (g_hAppIcon) {
    SetWindowText(LoadResString(0xE000));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_hAppIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_hAppIcon));
  } else {
    SetWindowText(GetAppName());
  }
  if (m_bmpTitleBackdrop.GetSafeHandle() == nullptr) m_bmpTitleBackdrop.Load(BackdropForIcon(m_nIconId));
  LayOutBox();
  CreateButtons(m_nButtonCount, m_arrButtonTexts, m_nDefaultButton);
  // The box keeps the focus, so Enter and Escape give the box's own answers.
  SetFocus();
  return FALSE;
}

void CDlgBaseMessageBoxWndBase::CreateButtons(int nCount, const CStringArray& texts, int nDefault) {
  CRect client;
  GetClientRect(&client);
  const int W = client.Width();
  const int H = client.Height();
  const bool large = m_nLargeButtons != 0;
  const int width = large ? 120 : 79;
  const int height = large ? 28 : 23;
  const int top = large ? H - 44 : H - 34;
  for (int i = 0; i < nCount && i < kMessageBoxMaxButtons; ++i) {
    CHoverButtonWithText& button = m_buttons[i];
    const int left = W - 15 - width - i * (width + 5);
    const bool isDefault = i == nDefault;
    button.Create(texts[i], WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(left, top, left + width, top + height),
                  this, kMessageBoxFirstButton + static_cast<UINT>(i));
    button.SetFourState(large);
    button.LoadBitmap(large ? (isDefault ? 1074 : 1076) : (isDefault ? 1051 : 1065));
    const COLORREF colour = isDefault ? kDefaultCaption : kOtherCaption;
    button.SetColours(colour, colour, colour);
    button.SetBoldAlways(TRUE);
  }
  if (m_bCloseButton) {
    m_btnClose.Create(_T(""), WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(W - 51, 2, W - 8, 20), this, 1184);
    m_btnClose.LoadBitmap(kCloseBitmap);
  }
  if (m_nButtonKind == kMessageBoxCustomWithCheck) {
    m_checkBox.Create(_T(""), WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(22, H - 30, 35, H - 17), this,
                      kMessageBoxCheckBox);
    m_checkBox.SetFont(CFont::FromHandle(GetSharedDialogFont()));
    CRect measure(0, 0, W, 0);
    if (CDC* dc = GetDC()) {
      const HGDIOBJ old = ::SelectObject(dc->GetSafeHdc(), GetSharedDialogFont());
      dc->DrawText(m_strCheck, m_strCheck.GetLength(), &measure, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
      ::SelectObject(dc->GetSafeHdc(), old);
      ReleaseDC(dc);
    }
    m_rcCheck.SetRect(40, H - 31, 40 + measure.Width(), H - 31 + std::max(measure.Height(), 14));
  }
}

void CDlgBaseMessageBoxWndBase::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  CXTMemDC dc(&paint, client, kDialogBackColour);
  const PopupFrameEdges edges = GetPopupFrameEdges();
  PaintTitleStrip(&dc, client);
  DrawColumns(&dc, m_bmpTitleBackdrop, client.left + edges.left, client.right - edges.right, client.top + edges.top);

  dc.SetBkMode(TRANSPARENT);
  const HGDIOBJ oldFont = ::SelectObject(dc.GetSafeHdc(), GetSharedCaptionFont());
  dc.SetTextColor(kCaptionColour);
  static const CRect captionRect(6, 12, client.Width() - 55, 32);
  CRect caption(captionRect);
  const CString appName = GetAppName();
  dc.DrawText(appName, appName.GetLength(), &caption, DT_WORDBREAK | DT_NOPREFIX);

  ::SelectObject(dc.GetSafeHdc(), GetSharedDialogFont());
  dc.SetTextColor(kTextColour);
  CRect text = TextArea();
  if (m_bHtmlWrap) RenderHTML(this, &dc, &text, m_strText, TRUE);
  else dc.DrawText(m_strText, m_strText.GetLength(), &text, DT_WORDBREAK | DT_NOPREFIX);

  if (m_bIcon) ::DrawIconEx(dc.GetSafeHdc(), 18, 58, m_hIcon, 32, 32, 0, nullptr, DI_NORMAL);
  if (m_bHeaderBitmap) DrawWhole(&dc, m_bmpHeader, 6, 36);
  else if (m_bPictureBitmap) DrawWhole(&dc, m_bmpPicture, (client.Width() - m_bmpPicture.GetWidth()) / 2, m_rcCheck.bottom);

  const CHVBitmap& strip = SharedBitmap(m_nLargeButtons ? kLargeStrip : kStrip);
  DrawColumns(&dc, strip, client.left + edges.left, client.right - edges.right,
              client.bottom - edges.bottom - strip.GetHeight());

  if (!m_rcCheck.IsRectEmpty()) {
    CRect check(m_rcCheck);
    dc.DrawText(m_strCheck, m_strCheck.GetLength(), &check, DT_SINGLELINE | DT_NOPREFIX);
  }
  ::SelectObject(dc.GetSafeHdc(), oldFont);
}

void CDlgBaseMessageBoxWndBase::OnMouseMove(UINT, CPoint point) {
  static const HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
  ::SetCursor(m_rcCheck.PtInRect(point) ? hand : ::LoadCursorW(nullptr, IDC_ARROW));
}

void CDlgBaseMessageBoxWndBase::OnLButtonDown(UINT, CPoint point) { DragByCaptionBand(this, point); }

void CDlgBaseMessageBoxWndBase::OnLButtonUp(UINT, CPoint point) {
  if (m_checkBox.GetSafeHwnd() && m_rcCheck.PtInRect(point))
    m_checkBox.SetCheck(m_checkBox.GetCheck() == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
}

void CDlgBaseMessageBoxWndBase::SetResultFrom(int nSource) {
  switch (m_nButtonKind) {
    case kMessageBoxYesNo:
      m_nResult = (nSource == 0 || nSource == kByEnter) ? IDYES : IDNO;
      break;
    case kMessageBoxOkCancel:
      m_nResult = (nSource == 0 || nSource == kByEnter) ? IDOK : IDCANCEL;
      break;
    case kMessageBoxCustomWithCheck:
    case kMessageBoxCustom:
      m_nResult = nSource == kByEnter ? 1 : nSource == kByEscape ? 2 : nSource;
      if (m_nButtonKind == kMessageBoxCustomWithCheck) RecordCheckState();
      break;
    default:
      m_nResult = IDOK;
      break;
  }
}

void CDlgBaseMessageBoxWndBase::RecordCheckState() {
  CRegistry key;
  CString path = GetAppRegistryKey();
  path += _T("\\");
  path += kStatusKey;
  if (!key.Open(HKEY_CURRENT_USER, path, TRUE)) return;
  CString name;
  for (DWORD n = 0;; ++n) {
    name.Format(_T("%s%u"), kStatusValue, n);
    if (!key.ValueExists(name)) break;
  }
  const DWORD checked = m_checkBox.GetSafeHwnd() && m_checkBox.GetCheck() == BST_CHECKED ? 1 : 0;
  key.WriteDWORDValue(name, checked);
}

void CDlgBaseMessageBoxWndBase::OnButton(UINT nID) {
  SetResultFrom(static_cast<int>(nID - kMessageBoxFirstButton));
  CDialog::OnOK();
}

void CDlgBaseMessageBoxWndBase::OnOK() {
  if (IsEnterIgnored()) return;
  SetResultFrom(kByEnter);
  CDialog::OnOK();
}

void CDlgBaseMessageBoxWndBase::OnCancel() {
  if (IsEscapeIgnored()) return;
  SetResultFrom(kByEscape);
  CDialog::OnCancel();
}

void CDlgBaseMessageBoxWndBase::OnCloseButton() {
  SetResultFrom(kByEscape);
  CDialog::OnCancel();
}
