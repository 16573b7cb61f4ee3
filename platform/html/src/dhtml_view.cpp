// The browser window of an HTML dialog ("Internet Explorer_Server"): fills the dialog, draws
// the page through the HTML text control on white, passes right clicks to the host and
// tells the browser when the posted "page loaded" message arrives.
#include <mutex>

#include "dhtml_objects.h"
#include "qhtm.h"
#include "windraw.h"
#include "winuser.h"

namespace zx::html {
namespace {

constexpr int kMargin = 8;
const WCHAR kClassName[] = u"Internet Explorer_Server";

Browser* BrowserOf(HWND window) { return reinterpret_cast<Browser*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

void Paint(HWND window, Browser* browser) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (!dc) return;
  RECT client;
  GetClientRect(window, &client);
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  FillRect(dc, &client, white);
  DeleteObject(white);
  if (browser) {
    LOGFONTW lf{};
    lf.lfHeight = -16;
    lf.lfWeight = FW_NORMAL;
    HFONT font = CreateFontIndirectW(&lf);
    const HGDIOBJ old = SelectObject(dc, font);
    SetTextColor(dc, RGB(0, 0, 0));
    const std::u16string html = DisplayHtml(browser->State().page.Root());
    RECT inside{client.left + kMargin, client.top + kMargin, client.right - kMargin, client.bottom - kMargin};
    if (inside.right > inside.left && inside.bottom > inside.top)
      QHTM_RenderHTMLRect(dc, html.c_str(), nullptr, QHTM_SOURCE_TEXT | QHTM_RENDER_TRANSPARENT, &inside);
    SelectObject(dc, old);
    DeleteObject(font);
  }
  EndPaint(window, &ps);
}

LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Browser* browser = BrowserOf(window);
  switch (message) {
    case WM_PAINT:
      Paint(window, browser);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_RBUTTONUP:
      if (browser) {
        POINT point{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
        ClientToScreen(window, &point);
        browser->RightClick(point);
      }
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
