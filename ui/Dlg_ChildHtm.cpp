// CDlg_ChildHtm: page 1404 of the resource library, given its texts once loaded.
#include "Dlg_ChildHtm.h"

#include "HalvoranApp.h"

IMPLEMENT_DYNCREATE(CDlg_ChildHtm, CChildHtmlDialog)

namespace {

// The class library's resource handle switched to the resource library for a scope.
class ResourceLibraryScope {
 public:
  ResourceLibraryScope() : previous_(AfxGetResourceHandle()) {
    if (const HMODULE library = GetResourceModule()) AfxSetResourceHandle(library);
  }
  ~ResourceLibraryScope() { AfxSetResourceHandle(previous_); }
  ResourceLibraryScope(const ResourceLibraryScope&) = delete;
  ResourceLibraryScope& operator=(const ResourceLibraryScope&) = delete;

 private:
  HINSTANCE previous_;
};

}  // namespace

// The pane's own entries are the two buttons; the base's selection, dragging and context
// menu entries are joined after them.
const DHtmlEventMapEntry* CDlg_ChildHtm::GetDHtmlEventMap() {
  static const DHtmlEventMapEntry own[] = {
      {DHTMLEVENTMAPENTRY_NAME, DISPID_HTMLELEMENTEVENTS_ONCLICK, _T("ButtonOK"),
       static_cast<DHEVTFUNCCONTROL>(&CDlg_ChildHtm::OnButtonOK)},
      {DHTMLEVENTMAPENTRY_NAME, DISPID_HTMLELEMENTEVENTS_ONCLICK, _T("ButtonCancel"),
       static_cast<DHEVTFUNCCONTROL>(&CDlg_ChildHtm::OnButtonCancel)},
      {DHTMLEVENTMAPENTRY_END, 0, nullptr, nullptr},
  };
  static const std::vector<DHtmlEventMapEntry> entries = CombineEventMaps(own);
  return entries.data();
}

CDlg_ChildHtm::CDlg_ChildHtm() : CDlg_ChildHtm(nullptr) {}

CDlg_ChildHtm::CDlg_ChildHtm(CWnd* pParentWnd) : CChildHtmlDialog(kTemplateId, kHtmlId, pParentWnd) {}

CDlg_ChildHtm::~CDlg_ChildHtm() = default;

BOOL CDlg_ChildHtm::OnInitDialog() {
  const ResourceLibraryScope scope;
  CChildHtmlDialog::OnInitDialog();
  return TRUE;
}

void CDlg_ChildHtm::OnDocumentComplete(LPDISPATCH pDisp, LPCTSTR szUrl) {
  CChildHtmlDialog::OnDocumentComplete(pDisp, szUrl);
  m_webPage.AttachDocument(m_spHtmlDoc);
  const ResourceLibraryScope scope;
  CString number;
  number.Format(_T("%d"), m_nNumber);
  // A page without the function shows unchanged; the error stays with the web page object.
  m_webPage.CallScriptFunction(_T("SetText"), m_strFirst, m_strSecond, number, nullptr);
}
