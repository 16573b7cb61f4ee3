// The default handling of messages (DefWindowProcW, with Alt+F4 closing the top-level window),
// the dialog class's procedure (DefDlgProcW: the default id, the background, moving the focus)
// and CallWindowProcW.
#include "dialog.h"
#include "errhandlingapi.h"
#include "geometry.h"
#include "input_model.h"
#include "nonclient_paint.h"
#include "scroll.h"
#include "sysmenu.h"
#include "usertext.h"
#include "windraw.h"
#include "zx/windowstate.h"

using namespace zx::user;

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
    case WM_NCACTIVATE:
    case WM_QUERYENDSESSION:
    case WM_QUERYOPEN:
      return TRUE;
    case WM_SETTEXT: {
      {
        std::lock_guard<std::mutex> guard(TableLock());
        Window* w = FindLocked(window);
        if (!w) return FALSE;
        w->text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : u"";
      }
      // A caption the layer draws shows the new text at once.
      if (IsWindowVisible(window)) PaintWindowFrame(window);
      return TRUE;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
      std::lock_guard<std::mutex> guard(TableLock());
      const Window* w = FindLocked(window);
      if (!w) return 0;
      if (message == WM_GETTEXTLENGTH) return static_cast<LRESULT>(w->text.size());
      return CopyOut(w->text, reinterpret_cast<LPWSTR>(lParam),
                     wParam > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(wParam));
    }
    case WM_SETICON:
    case WM_GETICON: {
      std::lock_guard<std::mutex> guard(TableLock());
      Window* w = FindLocked(window);
      if (!w || (wParam != ICON_BIG && wParam != ICON_SMALL)) return 0;
      HICON& slot = wParam == ICON_BIG ? w->bigIcon : w->smallIcon;
      const HICON previous = slot;
      if (message == WM_SETICON) slot = reinterpret_cast<HICON>(lParam);
      return reinterpret_cast<LRESULT>(previous);
    }
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (pos) SendSizeAndMove(window, !(pos->flags & SWP_NOCLIENTSIZE), !(pos->flags & SWP_NOCLIENTMOVE));
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) SetFocus(window);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      if (BeginPaint(window, &paint)) EndPaint(window, &paint);
      else SetUpdatePending(window, false);
      return 0;
    }
    case WM_ERASEBKGND: {
      HBRUSH brush = nullptr;
      {
        std::lock_guard<std::mutex> guard(TableLock());
        const Window* w = FindLocked(window);
        if (w && w->windowClass) brush = w->windowClass->background;
      }
      RECT client{};
      if (!brush || !wParam || !GetClientRect(window, &client)) return 0;
      FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
      return 1;
    }
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE: SendMessageW(window, WM_CLOSE, 0, 0); break;
        case SC_MINIMIZE: ShowWindow(window, SW_MINIMIZE); break;
        case SC_MAXIMIZE: ShowWindow(window, SW_MAXIMIZE); break;
        case SC_RESTORE: ShowWindow(window, SW_RESTORE); break;
        case SC_MOVE: RunMoveLoop(window); break;
        case SC_MOUSEMENU:
          TrackSystemMenu(window, POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))});
          break;
        case SC_KEYMENU:
          // Alt+Space: the system menu at the window's corner.
          if (lParam == u' ') TrackSystemMenu(window, KeyboardSystemMenuPlace(window));
          break;
        default: break;
      }
      return 0;
    case WM_SYSKEYDOWN:
      // Alt+F4 asks the top-level window to close, as its system menu's Close does; Alt+Space
      // opens its system menu.
      if (wParam == VK_F4 && (lParam & (1 << 29)))
        PostMessageW(GetAncestor(window, GA_ROOT), WM_SYSCOMMAND, SC_CLOSE, 0);
      else if (wParam == VK_SPACE && (lParam & (1 << 29)))
        PostMessageW(GetAncestor(window, GA_ROOT), WM_SYSCOMMAND, SC_KEYMENU, u' ');
      return 0;
    case WM_CONTEXTMENU:
      if (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)
        return SendMessageW(GetParent(window), message, wParam, lParam);
      return 0;
    case WM_NCHITTEST: {
      const POINT at{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
      const LRESULT bar = ScrollBarHitTest(window, at);
      if (bar != HTCLIENT) return bar;
      const LRESULT frame = FrameHitTest(window, at);
      return frame != HTNOWHERE ? frame : bar;
    }
    case WM_NCLBUTTONDOWN:
      if (wParam == HTCAPTION) SendMessageW(window, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
      if (wParam == HTSYSMENU) SendMessageW(window, WM_SYSCOMMAND, SC_MOUSEMENU | HTSYSMENU, lParam);
      if (wParam == HTCLOSE) PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      TrackScrollBar(window, wParam, POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))});
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_ACTIVATE;
    case WM_NOTIFYFORMAT:
      return NFR_UNICODE;
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: {
      // Entry fields on the window colour, everything else on the face colour.
      const int back = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX
                           ? COLOR_WINDOW : COLOR_3DFACE;
      const auto dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, GetSysColor(back));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(back));
    }
    default:
      return 0;
  }
}

namespace {

// DM_SETDEFID: the push buttons of the old and the new default id change style.
void SetDefaultId(HWND dialog, int id) {
  const int old = DialogDefaultId(dialog);
  SetDialogDefaultId(dialog, id);
  if (old == id) return;
  const HWND was = old ? GetDlgItem(dialog, old) : nullptr;
  if (was && (SendMessageW(was, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
    SendMessageW(was, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  const HWND now = id ? GetDlgItem(dialog, id) : nullptr;
  if (now && (SendMessageW(now, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON))
    SendMessageW(now, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

LRESULT EraseDialog(HWND dialog, HDC dc) {
  LRESULT brush = SendMessageW(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(dialog));
  if (!brush)
    brush = DefWindowProcW(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(dialog));
  RECT client{};
  if (!dc || !GetClientRect(dialog, &client)) return 0;
  FillRect(dc, &client, reinterpret_cast<HBRUSH>(brush));
  return 1;
}

}  // namespace

LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto procedure = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(dialog, DWLP_DLGPROC));
  if (procedure) {
    const INT_PTR handled = procedure(dialog, message, wParam, lParam);
    if (handled) {
      switch (message) {
        // These answer with the dialog procedure's own result.
        case WM_INITDIALOG: case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN: case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: case WM_COMPAREITEM:
        case WM_QUERYDRAGICON:
          return handled;
        default:
          return GetWindowLongPtrW(dialog, DWLP_MSGRESULT);
      }
    }
  }
  switch (message) {
    case WM_CLOSE:
      PostMessageW(dialog, WM_COMMAND, MAKELONG(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
      return 0;
    case DM_GETDEFID: {
      const int id = DialogDefaultId(dialog);
      return id ? MAKELRESULT(id, DC_HASDEFID) : 0;
    }
    case DM_SETDEFID:
      SetDefaultId(dialog, static_cast<int>(static_cast<WORD>(wParam)));
      return TRUE;
    case WM_ERASEBKGND:
      return EraseDialog(dialog, reinterpret_cast<HDC>(wParam));
    case WM_ACTIVATE:
      // The focused control is kept while another window is active and gets the focus back.
      if (LOWORD(wParam) == WA_INACTIVE) SaveDialogFocus(dialog);
      else if (!HIWORD(wParam) && RestoreDialogFocus(dialog)) return 0;
      return DefWindowProcW(dialog, message, wParam, lParam);
    case WM_NEXTDLGCTL: {
      const HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                       : GetNextDlgTabItem(dialog, GetFocus(), wParam != 0);
      if (next) SetFocus(next);
      return 0;
    }
    default:
      return DefWindowProcW(dialog, message, wParam, lParam);
  }
}

LRESULT CallWindowProcW(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return procedure ? procedure(window, message, wParam, lParam) : 0;
}
