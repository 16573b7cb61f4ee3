// CDlg_INFO_HTM: the driver-age levels page, its texts, its two closing elements and its keys.
#include "Dlg_INFO_HTM.h"

#include <wininput.h>

#include "DlgParentTransculent.h"
#include "IniReader.h"

namespace {

constexpr TCHAR kSection[] = _T("QVX");

// The keys of the texts, in the order of the page's "settext" parameters.
constexpr LPCTSTR kTextKeys[] = {
    _T("IDS_HWOLD_DRIVER"),          _T("IDS_STATUS_BAR_UPDATE"),     _T("IDS_LEVELS"),
    _T("IDS_OLD"),                   _T("IDS_DRIVRERECENTLY_INSTALL"), _T("IDS_VERY_OLD"),
    _T("IDS_LVL_UPDATE_REQUUIRED"),  _T("IDS_ANCIENT"),               _T("IDS_LVL_UPDATE_IMMEDIATELY"),
    _T("IDS_LVL_CRITERIA"),          _T("IDS_LVL_CRITERIA_DESC1"),    _T("IDS_LVL_CRITERIA_DESC2"),
    _T("IDS_LVL_CRITERIA_DESC3"),
};

}  // namespace

// The page's two closing elements first; the base's selection, dragging and context menu
// entries are joined after them.
const DHtmlEventMapEntry* CDlg_INFO_HTM::GetDHtmlEventMap() {
  static const DHtmlEventMapEntry own[] = {
      {DHTMLEVENTMAPENTRY_NAME, DISPID_HTMLELEMENTEVENTS_ONCLICK, _T("ButtonCancel"),
       static_cast<DHEVTFUNCCONTROL>(&CDlg_INFO_HTM::OnButtonCancel)},
      {DHTMLEVENTMAPENTRY_NAME, DISPID_HTMLELEMENTEVENTS_ONCLICK, _T("btnclose"),
       static_cast<DHEVTFUNCCONTROL>(&CDlg_INFO_HTM::OnBtnClose)},
      {DHTMLEVENTMAPENTRY_END, 0, nullptr, nullptr},
  };
  static const std::vector<DHtmlEventMapEntry> entries = CombineEventMaps(own);
  return entries.data();
}

CDlg_INFO_HTM::CDlg_INFO_HTM(CWnd* pParentWnd, CWnd* pMainWnd)
    : CChildHtmlDialognew(kTemplateId, kHtmlId, pParentWnd), m_pMainWnd(pMainWnd) {}

CDlg_INFO_HTM::~CDlg_INFO_HTM() = default;

BOOL CDlg_INFO_HTM::OnInitDialog() {
  CChildHtmlDialognew::OnInitDialog();
  if (GetSafeHwnd() == nullptr) return FALSE;  // its page was not found
  MoveWindow(0, 0, kWidth, kHeight);
  CenterWindow(m_pMainWnd);
  return TRUE;
}

std::vector<CString> CDlg_INFO_HTM::LevelTexts() {
  std::vector<CString> texts;
  for (LPCTSTR key : kTextKeys) texts.push_back(GetLangString(key, kSection));
  return texts;
}

void CDlg_INFO_HTM::OnDocumentComplete(LPDISPATCH pDisp, LPCTSTR szUrl) {
  CChildHtmlDialognew::OnDocumentComplete(pDisp, szUrl);
  m_webPage.AttachDocument(m_spHtmlDoc);
  // A page without the function keeps its own texts; the error stays with the web page object.
  m_webPage.CallJScript(_T("settext"), LevelTexts(), nullptr);
}

BOOL CDlg_INFO_HTM::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN) {
    switch (pMsg->wParam) {
      case VK_RETURN:
      case VK_ESCAPE:
      case VK_F4:
      case VK_SPACE:
      case VK_F5:
        pMsg->wParam = 0;  // reaches the page, but as no key
        break;
      default:
        break;
    }
    return FALSE;  // no key closes, reloads or moves the focus of the dialog
  }
  if ((pMsg->message == WM_SYSKEYDOWN || pMsg->message == WM_SYSKEYUP) && pMsg->wParam == VK_F4)
    pMsg->wParam = 0;  // Alt+F4 closes nothing
  else if (pMsg->wParam == VK_SPACE || pMsg->wParam == VK_ESCAPE)
    return FALSE;
  return CChildHtmlDialognew::PreTranslateMessage(pMsg);
}

HRESULT CDlg_INFO_HTM::OnButtonCancel(IHTMLElement*) {
  EndDialog(IDOK);
  CloseParentDialog(this);
  return S_OK;
}

HRESULT CDlg_INFO_HTM::OnBtnClose(IHTMLElement*) {
  EndDialog(IDCANCEL);
  CloseParentDialog(this);
  return S_OK;
}
