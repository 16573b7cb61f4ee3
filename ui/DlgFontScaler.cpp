// CDlgFontScaler: reads the dialog's template (header, font, items; extended or plain layout,
// every read checked against the resource's size), makes the template's font at the given
// pixels per inch, and moves and re-fonts the window and its controls in dialog units of
// that font.
#include "DlgFontScaler.h"

#include <winresource.h>
#include <winuser.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr DWORD kSetFont = 0x40;  // DS_SETFONT
constexpr char16_t kAlphabet[] = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

struct TemplateItem {
  DWORD id = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  short cx = 0, cy = 0;
  bool hasMenu = false;
  WORD pointSize = 8;
  WORD weight = FW_NORMAL;
  BYTE italic = 0;
  std::u16string face = u"Tahoma";
  std::vector<TemplateItem> items;
};

// Little-endian reads over the template bytes; any read past the end marks it damaged.
class TemplateReader {
 public:
  TemplateReader(const BYTE* bytes, size_t size) : m_bytes(bytes), m_size(size) {}
  bool ok() const { return m_ok; }
  size_t pos() const { return m_pos; }

  WORD Word() {
    if (!Need(2)) return 0;
    const WORD v = static_cast<WORD>(m_bytes[m_pos] | (m_bytes[m_pos + 1] << 8));
    m_pos += 2;
    return v;
  }
  DWORD Dword() {
    const DWORD low = Word();
    return low | (static_cast<DWORD>(Word()) << 16);
  }
  short Short() { return static_cast<short>(Word()); }
  BYTE Byte() {
    if (!Need(1)) return 0;
    return m_bytes[m_pos++];
  }
  std::u16string String() {
    std::u16string text;
    for (WORD c = Word(); m_ok && c != 0; c = Word()) text.push_back(static_cast<char16_t>(c));
    return text;
  }
  // A name field: none (0), an ordinal (0xFFFF, number) or a string. True when present.
  bool NameOrOrdinal() {
    const WORD first = Word();
    if (first == 0) return false;
    if (first == 0xFFFF) {
      Word();
      return true;
    }
    for (WORD c = Word(); m_ok && c != 0; c = Word()) {
    }
    return true;
  }
  void Skip(size_t n) {
    if (Need(n)) m_pos += n;
  }
  void AlignDword() { Skip((4 - m_pos % 4) % 4 <= m_size - m_pos ? (4 - m_pos % 4) % 4 : 0); }

 private:
  bool Need(size_t n) {
    if (!m_ok || n > m_size - m_pos) m_ok = false;
    return m_ok;
  }
  const BYTE* m_bytes;
  size_t m_size;
  size_t m_pos = 0;
  bool m_ok = true;
};

bool ParseTemplate(const BYTE* bytes, size_t size, DialogTemplate& out) {
  TemplateReader r(bytes, size);
  const bool extended = size >= 4 && bytes[2] == 0xFF && bytes[3] == 0xFF;
  WORD count;
  if (extended) {
    r.Skip(4);  // version, signature
    r.Dword();  // help id
    out.exStyle = r.Dword();
    out.style = r.Dword();
  } else {
    out.style = r.Dword();
    out.exStyle = r.Dword();
  }
  count = r.Word();
  r.Short();
  r.Short();
  out.cx = r.Short();
  out.cy = r.Short();
  out.hasMenu = r.NameOrOrdinal();
  r.NameOrOrdinal();  // window class
  r.String();         // title
  if (out.style & kSetFont) {
    WORD points = r.Word();
    if (points >= 0x8000) points = static_cast<WORD>(0x10000 - points);
    out.pointSize = points;
    out.weight = 0;
    out.italic = 0;
    if (extended) {
      out.weight = r.Word();
      out.italic = r.Byte();
      r.Byte();  // character set
    }
    out.face = r.String();
  }
  if (!r.ok()) return false;
  for (WORD i = 0; i < count; ++i) {
    r.AlignDword();
    TemplateItem item;
    if (extended) {
      r.Dword();  // help id
      r.Dword();  // extended style
      r.Dword();  // style
    } else {
      r.Dword();
      r.Dword();
    }
    item.x = r.Short();
    item.y = r.Short();
    item.cx = r.Short();
    item.cy = r.Short();
    item.id = extended ? r.Dword() : r.Word();
    r.NameOrOrdinal();  // class
    r.NameOrOrdinal();  // title
    r.Skip(r.Word());   // extra data
    if (!r.ok()) return false;
    out.items.push_back(item);
  }
  return true;
}

bool LoadTemplate(HINSTANCE module, int id, DialogTemplate& out) {
  const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
  if (found == nullptr) return false;
  const DWORD size = ::SizeofResource(module, found);
  const HGLOBAL loaded = ::LoadResource(module, found);
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  return bytes && size && ParseTemplate(static_cast<const BYTE*>(bytes), size, out);
}

int Round(double value) { return static_cast<int>(value + 0.5); }

// Walks the children in order, matching each template item from after the previous match;
// the pass ends at the first item without a window.
template <typename Visit>
void ForEachMatchedChild(HWND hWnd, const DialogTemplate& dlg, Visit visit) {
  HWND start = ::GetWindow(hWnd, GW_CHILD);
  for (const TemplateItem& item : dlg.items) {
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
  DialogTemplate dlg;
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

  ForEachMatchedChild(hWnd, dlg, [&](HWND child, const TemplateItem& item) {
    ::MoveWindow(child, dluX(item.x), dluY(item.y), dluX(item.cx), dluY(item.cy), TRUE);
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  });
  return TRUE;
}

void CDlgFontScaler::Restore() {
  if (m_hWnd == nullptr) return;
  if (::IsWindow(m_hWnd)) {
    ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_hOldFont), TRUE);
    DialogTemplate dlg;
    if (LoadTemplate(m_hInstance, m_nTemplateId, dlg)) {
      ForEachMatchedChild(m_hWnd, dlg, [&](HWND child, const TemplateItem&) {
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(m_hOldFont), TRUE);
      });
    }
  }
  ::DeleteObject(m_hFont);
  m_hWnd = nullptr;
  m_hFont = nullptr;
  m_hOldFont = nullptr;
}
