// The "Static" class: text aligned left, centred or right, bitmaps and icons (from the
// template's resource id or STM_SETIMAGE), rectangles, frames and etched lines, owner-drawn
// statics, and STN_CLICKED / STN_DBLCLK with SS_NOTIFY.
#include "ctl_common.h"
#include "winresource.h"
#include "zx/gdi.h"

namespace zx::user::ctl {
namespace {

struct StaticState {
  HFONT font = nullptr;
  HANDLE image = nullptr;
  UINT imageType = IMAGE_BITMAP;
};

UINT TypeOf(HWND window) { return StyleOf(window) & SS_TYPEMASK; }

SIZE ImageSize(HANDLE image, UINT type) {
  SIZE size{};
  if (type == IMAGE_ICON || type == IMAGE_CURSOR) {
    zx::gdi::GetIconSize(static_cast<HICON>(image), size);
  } else {
    BITMAP info{};
    if (GetObjectW(image, sizeof info, &info)) size = SIZE{info.bmWidth, info.bmHeight};
  }
  return size;
}

// A bitmap or icon static takes the size of its picture, unless it centres it.
HANDLE SetImage(HWND window, StaticState& state, UINT type, HANDLE image) {
  const HANDLE old = state.image;
  state.image = image;
  state.imageType = type;
  if (image && !(StyleOf(window) & (SS_CENTERIMAGE | SS_REALSIZEIMAGE))) {
    const SIZE size = ImageSize(image, type);
    if (size.cx > 0 && size.cy > 0)
      SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(window, nullptr, TRUE);
  return old;
}

// A picture static made from a template names its resource by the window name.
void LoadNamedImage(HWND window, StaticState& state, const CREATESTRUCTW& create) {
  const UINT type = TypeOf(window);
  if ((type != SS_BITMAP && type != SS_ICON) || !create.lpszName) return;
  if (!IS_INTRESOURCE(create.lpszName) && !*create.lpszName) return;
  const HANDLE image = type == SS_BITMAP
                           ? static_cast<HANDLE>(LoadBitmapW(create.hInstance, create.lpszName))
                           : static_cast<HANDLE>(LoadIconW(create.hInstance, create.lpszName));
  if (image) SetImage(window, state, type == SS_BITMAP ? IMAGE_BITMAP : IMAGE_ICON, image);
}

void PaintImage(HDC dc, HWND window, const StaticState& state, RECT client) {
  if (!state.image) return;
  const SIZE size = ImageSize(state.image, state.imageType);
  int x = client.left, y = client.top;
  if (StyleOf(window) & SS_CENTERIMAGE) {
    x = (client.left + client.right - size.cx) / 2;
    y = (client.top + client.bottom - size.cy) / 2;
  }
  if (state.imageType == IMAGE_BITMAP) {
    HDC source = CreateCompatibleDC(dc);
    const HGDIOBJ old = SelectObject(source, state.image);
    BitBlt(dc, x, y, size.cx, size.cy, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
  } else {
    DrawIconEx(dc, x, y, static_cast<HICON>(state.image), 0, 0, 0, nullptr, DI_NORMAL);
  }
}

UINT TextFormat(DWORD style) {
  UINT format = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0u;
  switch (style & SS_TYPEMASK) {
    case SS_CENTER: return format | DT_CENTER | DT_WORDBREAK;
    case SS_RIGHT: return format | DT_RIGHT | DT_WORDBREAK;
    case SS_SIMPLE: return format | DT_SINGLELINE;
    case SS_LEFTNOWORDWRAP: return format | DT_EXPANDTABS;
    default: return format | DT_WORDBREAK | DT_EXPANDTABS;
  }
}

void PaintText(HDC dc, HWND window, RECT client, HBRUSH brush) {
  if (brush) FillRect(dc, &client, brush);
  const DWORD style = StyleOf(window);
  UINT format = TextFormat(style);
  if (style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
  if (style & SS_ENDELLIPSIS) format |= DT_END_ELLIPSIS;
  if (!IsWindowEnabled(window)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  const std::u16string text = TextOf(window);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client, format);
}

void PaintShape(HDC dc, UINT type, RECT client) {
  static const int kColours[] = {COLOR_3DDKSHADOW, COLOR_3DSHADOW, COLOR_3DHIGHLIGHT};
  switch (type) {
    case SS_BLACKRECT: case SS_GRAYRECT: case SS_WHITERECT:
      FillRect(dc, &client, GetSysColorBrush(kColours[type - SS_BLACKRECT]));
      break;
    case SS_BLACKFRAME: case SS_GRAYFRAME: case SS_WHITEFRAME:
      FrameRect(dc, &client, GetSysColorBrush(kColours[type - SS_BLACKFRAME]));
      break;
    case SS_ETCHEDHORZ: DrawEdge(dc, &client, EDGE_ETCHED, BF_TOP); break;
    case SS_ETCHEDVERT: DrawEdge(dc, &client, EDGE_ETCHED, BF_LEFT); break;
    case SS_ETCHEDFRAME: DrawEdge(dc, &client, EDGE_ETCHED, BF_RECT); break;
    default: break;
  }
}

void Paint(HWND window, StaticState& state) {
  PaintWith(window, state.font, [&](HDC dc, RECT client) {
    const UINT type = TypeOf(window);
    if (type == SS_OWNERDRAW) {
      DrawItem(window, dc, ODT_STATIC, 0, ODA_DRAWENTIRE,
               IsWindowEnabled(window) ? 0u : ODS_DISABLED, 0);
      return;
    }
    const HBRUSH brush = ParentColours(window, dc, WM_CTLCOLORSTATIC);
    switch (type) {
      case SS_LEFT: case SS_CENTER: case SS_RIGHT: case SS_SIMPLE: case SS_LEFTNOWORDWRAP:
        PaintText(dc, window, client, brush);
        break;
      case SS_BITMAP: case SS_ICON:
        if (brush) FillRect(dc, &client, brush);
        PaintImage(dc, window, state, client);
        break;
      default: PaintShape(dc, type, client); break;
    }
  });
}

}  // namespace

LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  StaticState* state = Track<StaticState>(window, message);
  if (!state) return DefWindowProcW(window, message, wParam, lParam);
  LRESULT result = 0;
  if (HandleFont(window, state->font, message, wParam, lParam, &result)) return result;
  const bool notify = (StyleOf(window) & SS_NOTIFY) != 0;
  switch (message) {
    case WM_CREATE:
      LoadNamedImage(window, *state, *reinterpret_cast<const CREATESTRUCTW*>(lParam));
      return 0;
    case WM_PAINT: Paint(window, *state); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_NCHITTEST: return notify ? HTCLIENT : HTTRANSPARENT;  // clicks go through to the parent
    case WM_LBUTTONUP:
      if (notify) NotifyParent(window, STN_CLICKED);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (notify) NotifyParent(window, STN_DBLCLK);
      return 0;
    case WM_ENABLE:
      if (notify) NotifyParent(window, wParam ? STN_ENABLE : STN_DISABLE);
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_SETTEXT: {
      const LRESULT answer = DefWindowProcW(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, TRUE);
      return answer;
    }
    case STM_SETIMAGE:
      return reinterpret_cast<LRESULT>(
          SetImage(window, *state, static_cast<UINT>(wParam), reinterpret_cast<HANDLE>(lParam)));
    case STM_GETIMAGE:
      return wParam == state->imageType ? reinterpret_cast<LRESULT>(state->image) : 0;
    case STM_SETICON:
      return reinterpret_cast<LRESULT>(
          SetImage(window, *state, IMAGE_ICON, reinterpret_cast<HANDLE>(wParam)));
    case STM_GETICON:
      return state->imageType == IMAGE_ICON ? reinterpret_cast<LRESULT>(state->image) : 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace zx::user::ctl
