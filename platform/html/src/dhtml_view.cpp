// The browser window of an HTML dialog ("Internet Explorer_Server"): fills the dialog, draws
// the page's layout on white, finds the element under the mouse in the same layout, and tells
// the browser when the posted "page loaded" message arrives.
#include <litehtml/litehtml.h>

#include <cstdlib>
#include <mutex>

#include "dhtml_objects.h"
#include "windraw.h"
#include "winuser.h"

namespace zx::html {
namespace {

const WCHAR kClassName[] = u"Internet Explorer_Server";
const char kMark[] = "data-zxel";

Browser* BrowserOf(HWND window) { return reinterpret_cast<Browser*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

int ClientWidth(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return client.right - client.left;
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
  if (browser && client.right > client.left && client.bottom > client.top)
    browser->State().Layout(client.right - client.left).Draw(dc, 0, 0, client);
  EndPaint(window, &ps);
}

// The node a marked element of the layout shows, or null.
const Node* NodeOfMark(PageState& state, const char* mark) {
  char* end = nullptr;
  const unsigned long index = std::strtoul(mark, &end, 10);
  return end != mark && !*end ? state.Shown(index) : nullptr;
}

// The innermost element under the client point.
Node* ElementAt(HWND window, Browser& browser, POINT point) {
  PageState& state = browser.State();
  for (auto element = state.Layout(ClientWidth(window)).ElementAt(point.x, point.y); element;
       element = element->parent())
    if (const char* mark = element->get_attr(kMark)) return const_cast<Node*>(NodeOfMark(state, mark));  // the page's own node
  return nullptr;
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
  PageState& state = browser.State();
  bool found = false;
  state.Layout(ClientWidth(view)).ForEachWith(kMark, [&](litehtml::element& shown, const char* mark) {
    if (!found && NodeOfMark(state, mark) == &element) found = PageLayout::BoxOf(shown, box);
  });
  return found;
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
