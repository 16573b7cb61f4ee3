// CDHtmlDialog: loading the page from the resources, the browser over the dialog, the
// document once loaded and the host's answers to the browser.
#include "dhtml_objects.h"
#include "libloaderapi.h"
#include "stringapiset.h"

IMPLEMENT_DYNAMIC(CDHtmlDialog, CDialog)

BEGIN_MESSAGE_MAP(CDHtmlDialog, CDialog)
  ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

// The page's bytes as text: UTF-16 with its byte-order mark, UTF-8 (with or without its
// mark), else Windows-1252.
std::u16string PageText(const BYTE* bytes, DWORD size) {
  if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    std::u16string text((size - 2) / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
      text[i] = static_cast<char16_t>(bytes[2 + 2 * i] | (bytes[3 + 2 * i] << 8));
    return text;
  }
  if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    bytes += 3;
    size -= 3;
  }
  if (size == 0 || size > 0x7FFFFFFF) return {};
  const auto narrow = reinterpret_cast<LPCSTR>(bytes);
  const int length = static_cast<int>(size);
  UINT codePage = CP_UTF8;
  int wide = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, narrow, length, nullptr, 0);
  if (wide <= 0) {
    codePage = 1252;
    wide = MultiByteToWideChar(codePage, 0, narrow, length, nullptr, 0);
  }
  std::u16string text(static_cast<std::size_t>(std::max(wide, 0)), u'\0');
  if (wide > 0) MultiByteToWideChar(codePage, 0, narrow, length, text.data(), wide);
  return text;
}

std::u16string Decimal(UINT n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

CDHtmlDialog::CDHtmlDialog(UINT nIDTemplate, UINT nHtmlResID, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd), m_nHtmlResID(nHtmlResID) {}

CDHtmlDialog::~CDHtmlDialog() {
  if (m_browser) m_browser->Detach();
}

BOOL CDHtmlDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  // The page is the resource module's, else the application's own.
  const LPCTSTR name = MAKEINTRESOURCEW(m_nHtmlResID);
  const HINSTANCE module = AfxFindResourceHandle(name, RT_HTML);
  const HRSRC found = FindResourceW(module, name, RT_HTML);
  const auto* bytes = found ? static_cast<const BYTE*>(LockResource(LoadResource(module, found))) : nullptr;
  if (bytes == nullptr) {
    // Without its page the dialog would have nothing to show and nothing that closes it.
    DestroyWindow();
    return FALSE;
  }
  const std::u16string html = PageText(bytes, SizeofResource(module, found));
  WCHAR file[MAX_PATH] = {};
  GetModuleFileNameW(module, file, MAX_PATH);
  const std::u16string url = u"res://" + std::u16string(file) + u"/" + Decimal(m_nHtmlResID);

  if (m_browser) m_browser->Detach();
  m_spHtmlDoc.Release();
  auto* browser = new zx::html::Browser(this, html, module, url);
  m_browser = browser;
  m_pBrowserApp.Attach(browser);
  if (browser->View()) PostMessageW(browser->View(), zx::html::kDocumentLoaded, 0, 0);
  return TRUE;
}

void CDHtmlDialog::DocumentLoaded() {
  m_spHtmlDoc = m_browser->Document();
  BSTR url = nullptr;
  m_browser->get_LocationURL(&url);
  const CString location(url ? url : u"");
  SysFreeString(url);
  OnDocumentComplete(m_pBrowserApp, location);
}

void CDHtmlDialog::OnDocumentComplete(LPDISPATCH, LPCTSTR szUrl) { m_strCurrentUrl = szUrl; }

const DHtmlEventMapEntry* CDHtmlDialog::GetDHtmlEventMap() { return nullptr; }

HRESULT CDHtmlDialog::GetDHtmlDocument(IHTMLDocument2** pphtmlDoc) {
  if (!pphtmlDoc) return E_POINTER;
  *pphtmlDoc = m_spHtmlDoc;
  if (!*pphtmlDoc) return E_NOINTERFACE;
  (*pphtmlDoc)->AddRef();
  return S_OK;
}

HRESULT CDHtmlDialog::GetElement(LPCTSTR szElementId, IHTMLElement** pphtmlElement) {
  if (!pphtmlElement) return E_POINTER;
  *pphtmlElement = nullptr;
  CComPtr<IHTMLDocument3> document;
  if (!m_spHtmlDoc || FAILED(m_spHtmlDoc.QueryInterface(IID_IHTMLDocument3, &document))) return E_NOINTERFACE;
  BSTR id = SysAllocString(szElementId ? szElementId : u"");
  const HRESULT hr = document->getElementById(id, pphtmlElement);
  SysFreeString(id);
  return SUCCEEDED(hr) && !*pphtmlElement ? E_NOINTERFACE : hr;
}

HRESULT CDHtmlDialog::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_FALSE; }

HRESULT CDHtmlDialog::GetDropTarget(IDropTarget*, IDropTarget** ppDropTarget) {
  if (ppDropTarget) *ppDropTarget = nullptr;
  return E_NOTIMPL;
}

void CDHtmlDialog::OnSize(UINT nType, int cx, int cy) {
  CDialog::OnSize(nType, cx, cy);
  if (m_browser && m_browser->View()) ::MoveWindow(m_browser->View(), 0, 0, cx, cy, TRUE);
}

BOOL CDHtmlDialog::OnAmbientProperty(COleControlSite*, DISPID, VARIANT*) { return FALSE; }
