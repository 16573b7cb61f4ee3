// CDlgAbout: its texts, painting and links.
#include "DlgAbout.h"

#include "CheckedFormat.h"
#include "DlgBaseShared.h"
#include "DlgButtonStyles.h"
#include "DlgParentTransculent.h"
#include "DrawingHelpers.h"
#include "GlobalConstants.h"
#include "IniReader.h"
#include "ProcessControl.h"
#include "WebLinks.h"
#include "XTMemDC.h"

IMPLEMENT_DYNAMIC(CDlgAbout, CDlgBaseWndPopupNagBase)

BEGIN_MESSAGE_MAP(CDlgAbout, CDlgBaseWndPopupNagBase)
  ON_WM_PAINT()
  ON_COMMAND(IDOK, &CDlgAbout::OnOK)
  ON_COMMAND(1017, &CDlgAbout::OnWebsite)
  ON_COMMAND(1457, &CDlgAbout::OnSupport)
END_MESSAGE_MAP()

namespace {

constexpr TCHAR kSection[] = _T("QVX");
constexpr UINT kWebsite = 1017;
constexpr UINT kSupport = 1457;
constexpr UINT kLogo = 1502;
constexpr UINT kHeaderPicture = 1018;
constexpr UINT kBottomStrip = 1019;
constexpr COLORREF kTitleShadow = 0xE1D8D8;
constexpr COLORREF kTitleColour = 0x483F36;
constexpr COLORREF kRuleColour = 0xE1E1E1;
constexpr UINT kWrapped = DT_WORDBREAK | DT_NOPREFIX;
constexpr TCHAR kRightsNotice[] = _T("Copyright (C) Zephrin Software. All rights reserved.");

CString QvxText(LPCTSTR id) { return GetLangString(id, kSection); }

// The version shown: the main program's shared library beside it; any other program (the
// scheduler, the update checker) shows its own file's version. Empty when the file cannot be
// read.
CString ShownVersion() {
  CString path = GetProgramFilePath();
  path.MakeLower();
  path.Replace(_T("zephrinkx.exe"), _T("zephrinkxhelper.dll"));
  return GetFileVersionText(path);
}

}  // namespace

CDlgAbout::CDlgAbout(CWnd* pParentWnd) : CDlgBaseWndPopupNagBase(kTemplateId, pParentWnd) {
  SetShape(TRUE, kWidth, kHeight);
  m_bFrameBottomStrip = FALSE;
  // The frame's bitmap close button (command 1184) closes the box like OK.
  m_bHasCloseButton = TRUE;
}

BOOL CDlgAbout::OnInitDialog() {
  CDlgBaseWndPopupNagBase::OnInitDialog();
  SetWindowText(QvxText(_T("IDD_DLG_ABOUT")));
  m_btnOk.SubclassDlgItem(IDOK, this);
  m_btnWebsite.SubclassDlgItem(kWebsite, this);
  m_btnSupport.SubclassDlgItem(kSupport, this);
  ApplyLightTextButtonStyle(m_btnOk);
  m_btnOk.SetWindowText(QvxText(_T("IDOK")));
  m_btnWebsite.SetLinkText(QvxText(_T("ID_OPENWEBSITE")));
  m_btnSupport.SetLinkText(QvxText(_T("IDC_BTN_SUPPORT")));

  // Language texts are formats; one whose conversions do not fit is shown as it stands.
  FormatChecked(m_strDescription, QvxText(_T("IDS_QVX_DESC")), {GetProductName()});
  const CString version = ShownVersion();
  FormatChecked(m_strVersion, QvxText(_T("IDS_QVX_VERSION")), {version});
  m_strTrademark = QvxText(_T("IDS_TRAD_OWNERS"));
  m_strWarning = QvxText(_T("IDS_QVX_WARNING"));
  m_strLegal = kRightsNotice;
  m_strVersionBlock = _T("<html><body><font face=\"Tahoma\" size=\"8pt\" color=\"#000000\">") + QvxText(_T("IDS_VERSION")) +
                      _T(" : ") + version + _T("</font></body></html>");
  return TRUE;
}

void CDlgAbout::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  CXTMemDC dc(&paint, client, kDialogBackColour);
  DrawWhole(&dc, SharedBitmap(kLogo), 12, 0);
  DrawWhole(&dc, SharedBitmap(kHeaderPicture), 6, 30);

  dc.SetBkMode(TRANSPARENT);
  const HGDIOBJ oldFont = ::SelectObject(dc.GetSafeHdc(), GetSharedTitleFont(-20, FW_BOLD));
  CString product;
  product.Format(_T("%s"), static_cast<LPCTSTR>(GetProductName()));
  CRect title(135, 50, 600, 90);
  CRect shadow(title);
  shadow.OffsetRect(-1, -1);
  dc.SetTextColor(kTitleShadow);
  DrawWrapped(dc, product, shadow);
  dc.SetTextColor(kTitleColour);
  DrawWrapped(dc, product, title);

  ::SelectObject(dc.GetSafeHdc(), GetSharedDialogFont());
  dc.SetTextColor(kDialogTextColour);
  DrawWrapped(dc, m_strDescription, CRect(135, 81, 558, 144));
  dc.FillSolidRect(135, 129, client.Width() - 30 - 135, 1, kRuleColour);
  dc.FillSolidRect(135, 234, client.Width() - 30 - 135, 1, kRuleColour);
  CRect block(139, 144, 589, 234);
  RenderHTML(this, &dc, &block, m_strVersionBlock, TRUE);
  DrawWrapped(dc, m_strTrademark, CRect(135, 247, 500, 293));
  DrawWrapped(dc, m_strWarning, CRect(135, 265, 600, 341));
  CRect legal(135, 310, 570, 310);
  dc.DrawText(m_strLegal, m_strLegal.GetLength(), &legal, kWrapped | DT_CALCRECT);
  DrawWrapped(dc, m_strLegal, legal);
  ::SelectObject(dc.GetSafeHdc(), oldFont);

  const CHVBitmap& strip = SharedBitmap(kBottomStrip);
  TileAcross(&dc, strip, 6, client.Width() - 6, client.bottom - 6 - strip.GetHeight());
}

void CDlgAbout::OnOK() { OnCloseRequest(); }

void CDlgAbout::OnCloseRequest() {
  m_nResult = IDOK;
  CloseParentDialog(this);
}

void CDlgAbout::OnWebsite() {
  OpenAboutPage();
  OnCloseRequest();
}

void CDlgAbout::OnSupport() { OpenSupportMail(); }

void ShowAboutDialog(CWnd* pParentWnd) {
  g_strDialogTemplateName = _T("ABOUT");
  {
    CDlgAbout dialog(pParentWnd);
    RunModalWithBackdrop(pParentWnd, &dialog, CDlgAbout::kTemplateId);
  }
  g_strDialogTemplateName.Empty();
}
