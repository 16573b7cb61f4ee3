// The browser window of an HTML dialog ("Internet Explorer_Server"): fills the dialog, draws
// the page through the HTML text control on white, finds the element under the mouse from
// the same layout, and tells the browser when the posted "page loaded" message arrives.
#include <mutex>

#include "dhtml_objects.h"
#include "htmltext.h"
#include "qhtm.h"
#include "windraw.h"
#include "winuser.h"

namespace zx::html {
namespace {

constexpr int kMargin = 8;
const WCHAR kClassName[] = u"Internet Explorer_Server";

Browser* BrowserOf(HWND window) { return reinterpret_cast<Browser*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

// The page's font and colour selected into a DC for the time of a paint or a hit test.
class PageFont {
 public:
  explicit PageFont(HDC dc) : dc_(dc) {
    LOGFONTW lf{};
    lf.lfHeight = -16;
    lf.lfWeight = FW_NORMAL;
    font_ = CreateFontIndirectW(&lf);
    old_ = SelectObject(dc, font_);
    SetTextColor(dc, RGB(0, 0, 0));
  }
  ~PageFont() {
    SelectObject(dc_, old_);
    DeleteObject(font_);
  }
  PageFont(const PageFont&) = delete;
  PageFont& operator=(const PageFont&) = delete;

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ old_;
};

// Where the page is laid out in the window.
RECT PageRect(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return RECT{client.left + kMargin, client.top + kMargin, client.right - kMargin, client.bottom - kMargin};
}

void Paint(HWND window, Browser* browser) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (!dc) return;
  RECT client;
  GetClientRect(window, &client);
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  FillRect(dc, &client, white);
  DeleteObject(white);
  const RECT inside = PageRect(window);
  if (browser && inside.right > inside.left && inside.bottom > inside.top) {
    PageFont font(dc);
    std::vector<const Node*> elements;
    const std::u16string html = DisplayHtml(browser->State().page.Root(), &elements);
    QHTM_RenderHTMLRect(dc, html.c_str(), nullptr, QHTM_SOURCE_TEXT | QHTM_RENDER_TRANSPARENT, &inside);
  }
  EndPaint(window, &ps);
}

// Calls `visit` with each placed piece of the page, laid out as Paint draws it, its box in
// client coordinates and the innermost element it shows (or null).
template <class Visit>
void VisitPieces(HWND window, Browser& browser, Visit visit) {
  const RECT inside = PageRect(window);
  if (inside.right <= inside.left) return;
  HDC dc = GetDC(window);
  if (!dc) return;
  {
    PageFont font(dc);
    std::vector<const Node*> elements;
    const std::vector<Piece> pieces = Parse(DisplayHtml(browser.State().page.Root(), &elements), BaseStyle(dc));
    const Layout layout = Arrange(dc, pieces, inside.right - inside.left);
    for (const Placed& p : layout.placed) {
      const auto element = static_cast<std::size_t>(p.piece->style.element);
      const RECT box{inside.left + p.x, inside.top + p.top, inside.left + p.x + p.width, inside.top + p.bottom};
      visit(box, element < elements.size() ? elements[element] : nullptr);
    }
  }
  ReleaseDC(window, dc);
}

// The innermost element whose text lies under the client point.
Node* ElementAt(HWND window, Browser& browser, POINT point) {
  const Node* found = nullptr;
  VisitPieces(window, browser, [&](const RECT& box, const Node* element) {
    if (element && PtInRect(&box, point)) found = element;
  });
  return const_cast<Node*>(found);  // the page's own node
}

POINT PointOf(LPARAM lParam) { return POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))}; }

LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Browser* browser = BrowserOf(window);
  switch (message) {
    case WM_PAINT:
      Paint(window, browser);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (browser) browser->Mouse(message, ElementAt(window, *browser, PointOf(lParam)), PointOf(lParam));
      return 0;
    case kDocumentLoaded:
      if (browser) browser->Complete();
      return 0;
    case WM_NCDESTROY:
      if (browser) browser->ViewGone();
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterViewClass() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ViewProc;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);
  });
}

}  // namespace

BOOL ElementBox(HWND view, Browser& browser, const Node& element, RECT* box) {
  RECT all{};
  bool any = false;
  VisitPieces(view, browser, [&](const RECT& piece, const Node* shown) {
    for (const Node* n = shown; n; n = n->parent)
      if (n == &element) {
        if (!any) all = piece;
        UnionRect(&all, &all, &piece);
        any = true;
        break;
      }
  });
  if (any) *box = all;
  return any;
}

HWND CreateView(HWND dialog, Browser* browser) {
  if (!dialog) return nullptr;
  RegisterViewClass();
  RECT client;
  GetClientRect(dialog, &client);
  HWND view = CreateWindowExW(0, kClassName, u"", WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom,
                              dialog, nullptr, nullptr, nullptr);
  if (view) SetWindowLongPtrW(view, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(browser));
  return view;
}

}  // namespace zx::html
