// CDlgFontScaler: makes the font of the dialog's template at the given pixels per inch, and
// moves and re-fonts the window and its controls in dialog units of that font.
#include "DlgFontScaler.h"

#include <winresource.h>
#include <winuser.h>

#include "DialogTemplateLayout.h"

namespace {

constexpr char16_t kAlphabet[] = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

bool LoadTemplate(HINSTANCE module, int id, DialogTemplateLayout& out) {
  const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
  if (found == nullptr) return false;
  const DWORD size = ::SizeofResource(module, found);
  const HGLOBAL loaded = ::LoadResource(module, found);
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  return bytes && size && ReadDialogTemplateLayout(static_cast<const BYTE*>(bytes), size, out);
}

int Round(double value) { return static_cast<int>(value + 0.5); }

// Walks the children in order, matching each template item from after the previous match;
// the pass ends at the first item without a window.
template <typename Visit>
void ForEachMatchedChild(HWND hWnd, const DialogTemplateLayout& dlg, Visit visit) {
  HWND start = ::GetWindow(hWnd, GW_CHILD);
  for (const DialogTemplateItem& item : dlg.items) {
    HWND child = start;
    while (child && static_cast<DWORD>(::GetDlgCtrlID(child)) != item.id)
      child = ::GetWindow(child, GW_HWNDNEXT);
    if (child == nullptr) return;
    visit(child, item);
    start = ::GetWindow(child, GW_HWNDNEXT);
  }
}

}  // namespace

CDlgFontScaler::~CDlgFontScaler() { Restore(); }

BOOL CDlgFontScaler::Apply(HINSTANCE hInstance, HWND hWnd, int nTemplateId,
                           double dPixelsPerInch) {
  if (m_hWnd) Restore();
  DialogTemplateLayout dlg;
  if (hWnd == nullptr || !LoadTemplate(hInstance, nTemplateId, dlg)) return FALSE;
  const int height = -Round(dlg.pointSize * dPixelsPerInch / 72.0);
  const HFONT font = ::CreateFontW(height, 0, 0, 0, dlg.weight, dlg.italic, FALSE, FALSE,
                                   DEFAULT_CHARSET, 0, 0, 0, 0,
                                   reinterpret_cast<LPCWSTR>(dlg.face.c_str()));
  if (font == nullptr) return FALSE;
  m_nTemplateId = nTemplateId;
  m_hInstance = hInstance;
  m_hWnd = hWnd;
  m_hFont = font;
  m_hOldFont = reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0));
  ::SendMessageW(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);

  // Dialog base units of the new font; a window DC, so no pending paint is lost.
  int baseWidth = 0;
  int baseHeight = 0;
  if (const HDC dc = ::GetDC(hWnd)) {
    const HGDIOBJ old = ::SelectObject(dc, font);
    TEXTMETRICW metrics{};
    SIZE extent{};
    ::GetTextMetricsW(dc, &metrics);
    ::GetTextExtentPoint32W(dc, reinterpret_cast<LPCWSTR>(kAlphabet), 52, &extent);
    baseWidth = (extent.cx / 26 + 1) / 2;
    baseHeight = metrics.tmHeight;
    ::SelectObject(dc, old);
    ::ReleaseDC(hWnd, dc);
  }
  const auto dluX = [&](int v) { return Round(v * baseWidth / 4.0); };
  const auto dluY = [&](int v) { return Round(v * baseHeight / 8.0); };

  RECT client{};
  ::GetClientRect(hWnd, &client);
  POINT corners[2] = {{client.left, client.top},
                      {client.left + dluX(dlg.cx), client.top + dluY(dlg.cy)}};
  // Corners in the coordinates MoveWindow takes: the parent's client area for a child.
  const HWND parent = (dlg.style & WS_CHILD) ? ::GetParent(hWnd) : nullptr;
  ::MapWindowPoints(hWnd, parent, corners, 2);
  RECT frame{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
  ::AdjustWindowRectEx(&frame, dlg.style, dlg.hasMenu, dlg.exStyle);
  ::MoveWindow(hWnd, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
               TRUE);

  ForEachMatchedChild(hWnd, dlg, [&](HWND child, const DialogTemplateItem& item) {
    ::MoveWindow(child, dluX(item.x), dluY(item.y), dluX(item.cx), dluY(item.cy), TRUE);
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  });
  return TRUE;
}

void CDlgFontScaler::Restore() {
  if (m_hWnd == nullptr) return;
  if (::IsWindow(m_hWnd)) {
    ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_hOldFont), TRUE);
    DialogTemplateLayout dlg;
    if (LoadTemplate(m_hInstance, m_nTemplateId, dlg)) {
      ForEachMatchedChild(m_hWnd, dlg, [&](HWND child, const DialogTemplateItem&) {
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(m_hOldFont), TRUE);
      });
    }
  }
  ::DeleteObject(m_hFont);
  m_hWnd = nullptr;
  m_hFont = nullptr;
  m_hOldFont = nullptr;
}
