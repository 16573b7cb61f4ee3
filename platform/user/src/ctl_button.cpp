// The "Button" class: push and default push buttons, owner-drawn buttons (WM_DRAWITEM with
// the ODS_* states), check boxes, three-state boxes, radio buttons and group boxes; BM_*
// messages and BN_CLICKED to the parent.
#include "ctl_common.h"
#include "wininput.h"
#include "winresource.h"
#include "zx/gdi.h"

namespace zx::user::ctl {
namespace {

struct ButtonState {
  HFONT font = nullptr;
  UINT check = BST_UNCHECKED;
  bool pushed = false;    // drawn pressed (mouse or space held over it, or BM_SETSTATE)
  bool tracking = false;  // the left button went down on it and is not up yet
  bool focus = false;
  UINT action = ODA_DRAWENTIRE;  // what changed since the last paint (owner drawing)
  HANDLE image = nullptr;
  UINT imageType = 0;
};

UINT TypeOf(HWND window) { return StyleOf(window) & BS_TYPEMASK; }

bool IsPushType(UINT type) {
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW ||
         type == BS_PUSHBOX || type == BS_USERBUTTON;
}
bool IsRadioType(UINT type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }
bool IsCheckType(UINT type) {
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
         type == BS_AUTO3STATE;
}

void Changed(HWND window, ButtonState& state, UINT action) {
  state.action = action;
  RepaintNow(window);
}

void SetPushed(HWND window, ButtonState& state, bool pushed) {
  if (state.pushed == pushed) return;
  state.pushed = pushed;
  Changed(window, state, ODA_SELECT);
}

void SetCheck(HWND window, ButtonState& state, UINT check) {
  const UINT type = TypeOf(window);
  if (!IsCheckType(type) && !IsRadioType(type)) return;
  if (check == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE)
    check = BST_CHECKED;
  if (state.check == check) return;
  state.check = check;
  Changed(window, state, ODA_DRAWENTIRE);
}

// An automatic radio button clicked: it is checked and the others of its group are not.
void CheckInGroup(HWND window) {
  const HWND parent = GetParent(window);
  for (HWND other = parent ? GetNextDlgGroupItem(parent, window, FALSE) : nullptr;
       other && other != window; other = GetNextDlgGroupItem(parent, other, FALSE)) {
    if ((StyleOf(other) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
      SendMessageW(other, BM_SETCHECK, BST_UNCHECKED, 0);
  }
  SendMessageW(window, BM_SETCHECK, BST_CHECKED, 0);
}

void Click(HWND window, ButtonState& state) {
  switch (TypeOf(window)) {
    case BS_AUTOCHECKBOX:
      SetCheck(window, state, state.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
      break;
    case BS_AUTO3STATE: SetCheck(window, state, (state.check + 1) % 3); break;
    case BS_AUTORADIOBUTTON: CheckInGroup(window); break;
    default: break;
  }
  NotifyParent(window, BN_CLICKED);
}

UINT DialogCode(HWND window) {
  switch (const UINT type = TypeOf(window)) {
    case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_GROUPBOX: return DLGC_STATIC;
    default:
      if (IsRadioType(type)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
      return DLGC_BUTTON | (IsPushType(type) ? DLGC_UNDEFPUSHBUTTON : 0u);
  }
}

// ---- Painting ----------------------------------------------------------------------------

void DrawCaption(HDC dc, HWND window, RECT rect, UINT format) {
  const std::u16string text = TextOf(window);
  if (!IsWindowEnabled(window)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

UINT HorizontalFormat(DWORD style, UINT fallback) {
  switch (style & BS_CENTER) {
    case BS_LEFT: return DT_LEFT;
    case BS_RIGHT: return DT_RIGHT;
    case BS_CENTER: return DT_CENTER;
    default: return fallback;
  }
}

// The picture of a BS_BITMAP or BS_ICON push button, centred on its face.
void PaintImage(HDC dc, const ButtonState& state, RECT face) {
  if (state.imageType == IMAGE_ICON) {
    SIZE size{};
    zx::gdi::GetIconSize(static_cast<HICON>(state.image), size);
    DrawIconEx(dc, (face.left + face.right - size.cx) / 2, (face.top + face.bottom - size.cy) / 2,
               static_cast<HICON>(state.image), 0, 0, 0, nullptr, DI_NORMAL);
    return;
  }
  BITMAP info{};
  if (!GetObjectW(state.image, sizeof info, &info)) return;
  HDC source = CreateCompatibleDC(dc);
  const HGDIOBJ old = SelectObject(source, state.image);
  BitBlt(dc, (face.left + face.right - info.bmWidth) / 2, (face.top + face.bottom - info.bmHeight) / 2,
         info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

void PaintPush(HDC dc, HWND window, const ButtonState& state, RECT client, HBRUSH brush) {
  FillRect(dc, &client, brush);
  const DWORD style = StyleOf(window);
  RECT face = client;
  const bool isDefault = TypeOf(window) == BS_DEFPUSHBUTTON;
  if (isDefault) {
    FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&face, -1, -1);
  }
  if (state.pushed) {
    FrameRect(dc, &face, GetSysColorBrush(COLOR_3DSHADOW));
    InflateRect(&face, -1, -1);
    FillRect(dc, &face, GetSysColorBrush(COLOR_3DFACE));
  } else {
    DrawEdge(dc, &face, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
  }
  RECT text = face;
  if (state.pushed) OffsetRect(&text, 1, 1);
  if (state.image && (style & (BS_BITMAP | BS_ICON))) {
    PaintImage(dc, state, text);
  } else {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawCaption(dc, window, text, HorizontalFormat(style, DT_CENTER) | DT_VCENTER | DT_SINGLELINE);
  }
  if (state.focus) {
    InflateRect(&face, -2, -2);
    DrawFocusRect(dc, &face);
  }
}

// Fills a shape with a solid colour, outlined in another (PS_NULL: no outline).
template <class Shape>
void Solid(HDC dc, COLORREF fill, int penStyle, COLORREF outline, Shape shape) {
  HBRUSH brush = CreateSolidBrush(fill);
  HPEN pen = CreatePen(penStyle, 1, outline);
  const HGDIOBJ oldPen = SelectObject(dc, pen);
  const HGDIOBJ oldBrush = SelectObject(dc, brush);
  shape();
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  DeleteObject(brush);
}

// The 13 x 13 box or circle of a check box or radio button, and its mark: a dot, or a tick
// three pixels thick as the classic check box draws it.
void PaintMark(HDC dc, RECT box, bool radio, UINT check, bool pushed) {
  const COLORREF fill = GetSysColor(pushed ? COLOR_3DFACE : COLOR_WINDOW);
  Solid(dc, fill, PS_SOLID, GetSysColor(COLOR_3DDKSHADOW), [&] {
    if (radio) Ellipse(dc, box.left, box.top, box.right, box.bottom);
    else Rectangle(dc, box.left, box.top, box.right, box.bottom);
  });
  if (check == BST_UNCHECKED) return;
  const COLORREF ink = GetSysColor(check == BST_INDETERMINATE ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
  if (radio) {
    Solid(dc, ink, PS_NULL, 0, [&] { Ellipse(dc, box.left + 4, box.top + 4, box.right - 3, box.bottom - 3); });
    return;
  }
  HPEN pen = CreatePen(PS_SOLID, 1, ink);
  const HGDIOBJ oldPen = SelectObject(dc, pen);
  for (int row = 0; row < 3; ++row) {
    const POINT tick[] = {{box.left + 3, box.top + 5 + row},
                          {box.left + 5, box.top + 7 + row},
                          {box.left + 10, box.top + 2 + row}};
    Polyline(dc, tick, 3);
  }
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void PaintCheck(HDC dc, HWND window, const ButtonState& state, RECT client, HBRUSH brush) {
  FillRect(dc, &client, brush);
  const DWORD style = StyleOf(window);
  const bool leftText = (style & BS_LEFTTEXT) != 0;
  constexpr int kBox = 13;
  const int top = (client.top + client.bottom - kBox) / 2;
  const RECT box = leftText ? RECT{client.right - kBox, top, client.right, top + kBox}
                            : RECT{client.left, top, client.left + kBox, top + kBox};
  PaintMark(dc, box, IsRadioType(TypeOf(window)), state.check, state.pushed);
  RECT text = client;
  if (leftText) text.right = box.left - 4;
  else text.left = box.right + 4;
  SetBkMode(dc, TRANSPARENT);
  DrawCaption(dc, window, text, HorizontalFormat(style, DT_LEFT) | DT_VCENTER | DT_SINGLELINE);
  if (!state.focus) return;
  // The focus frame goes round the caption.
  const std::u16string caption = TextOf(window);
  RECT measured{0, 0, 0, 0};
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured,
            DT_SINGLELINE | DT_CALCRECT);
  const int height = measured.bottom - measured.top;
  const int y = (client.top + client.bottom - height) / 2;
  const RECT focus{text.left - 1, y - 1, text.left + measured.right + 1, y + height + 1};
  DrawFocusRect(dc, &focus);
}

void PaintGroup(HDC dc, HWND window, RECT client, HBRUSH brush) {
  const std::u16string caption = TextOf(window);
  RECT measured{0, 0, 0, 0};
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured,
            DT_SINGLELINE | DT_CALCRECT);
  const int textHeight = measured.bottom - measured.top;
  RECT frame = client;
  frame.top += textHeight / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (caption.empty()) return;
  RECT label{client.left + 8, client.top, client.left + 8 + measured.right + 4,
             client.top + textHeight};
  FillRect(dc, &label, brush);
  label.left += 2;
  SetBkMode(dc, TRANSPARENT);
  DrawCaption(dc, window, label, DT_LEFT | DT_TOP | DT_SINGLELINE);
}

void Paint(HWND window, ButtonState& state) {
  PaintWith(window, state.font, [&](HDC dc, RECT client) {
    const UINT type = TypeOf(window);
    const HBRUSH brush = ParentColours(window, dc, WM_CTLCOLORBTN);
    if (type == BS_OWNERDRAW) {
      // The parent's brush paints the background first, so what the owner leaves undrawn
      // shows no earlier pixels of the place.
      FillRect(dc, &client, brush);
      UINT itemState = 0;
      if (state.pushed) itemState |= ODS_SELECTED;
      if (state.focus) itemState |= ODS_FOCUS;
      if (!IsWindowEnabled(window)) itemState |= ODS_DISABLED;
      const int defaultId = DefaultIdOfParent(window);
      if (defaultId && defaultId == GetDlgCtrlID(window)) itemState |= ODS_DEFAULT;
      DrawItem(window, dc, ODT_BUTTON, 0, state.action, itemState, 0);
      return;
    }
    if (type == BS_GROUPBOX) PaintGroup(dc, window, client, brush);
    else if (IsCheckType(type) || IsRadioType(type)) PaintCheck(dc, window, state, client, brush);
    else PaintPush(dc, window, state, client, brush);
  });
  state.action = ODA_DRAWENTIRE;
}

bool Inside(HWND window, LPARAM lParam) {
  RECT client{};
  GetClientRect(window, &client);
  const POINT at{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
  return PtInRect(&client, at) != FALSE;
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ButtonState* state = Track<ButtonState>(window, message);
  if (!state) return DefWindowProcW(window, message, wParam, lParam);
  LRESULT result = 0;
  if (HandleFont(window, state->font, message, wParam, lParam, &result)) return result;
  const UINT type = TypeOf(window);
  switch (message) {
    case WM_PAINT: Paint(window, *state); return 0;
    case WM_ERASEBKGND: return 1;  // the paint covers the whole button
    case WM_GETDLGCODE: return DialogCode(window);
    case WM_NCHITTEST: return type == BS_GROUPBOX ? HTTRANSPARENT : HTCLIENT;
    case WM_LBUTTONDBLCLK:
      // Radio, user and owner-drawn buttons (any with BS_NOTIFY) take the second click of a
      // double click as BN_DOUBLECLICKED; the others as another press.
      if (type == BS_RADIOBUTTON || type == BS_USERBUTTON || type == BS_OWNERDRAW ||
          (StyleOf(window) & BS_NOTIFY)) {
        NotifyParent(window, BN_DOUBLECLICKED);
        return 0;
      }
      [[fallthrough]];
    case WM_LBUTTONDOWN:
      if (type == BS_GROUPBOX) return 0;
      if (GetFocus() != window) SetFocus(window);
      state->tracking = true;
      SetCapture(window);  // the release reaches the button wherever it happens
      SetPushed(window, *state, true);
      return 0;
    case WM_MOUSEMOVE:
      if (state->tracking) SetPushed(window, *state, Inside(window, lParam));
      return 0;
    case WM_LBUTTONUP: {
      if (!state->tracking) return 0;
      state->tracking = false;
      const bool click = state->pushed && Inside(window, lParam);
      if (GetCapture() == window) ReleaseCapture();
      SetPushed(window, *state, false);
      if (click) Click(window, *state);
      return 0;
    }
    case WM_CAPTURECHANGED:  // taken away while pressed: no click
      if (state->tracking && reinterpret_cast<HWND>(lParam) != window) {
        state->tracking = false;
        SetPushed(window, *state, false);
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE && type != BS_GROUPBOX) SetPushed(window, *state, true);
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE && state->pushed) {
        SetPushed(window, *state, false);
        Click(window, *state);
      }
      return 0;
    case WM_CHAR: return 0;
    case WM_SETFOCUS:
      state->focus = true;
      Changed(window, *state, ODA_FOCUS);
      if (StyleOf(window) & BS_NOTIFY) NotifyParent(window, BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      state->focus = false;
      state->tracking = false;
      state->pushed = false;
      Changed(window, *state, ODA_FOCUS);
      if (StyleOf(window) & BS_NOTIFY) NotifyParent(window, BN_KILLFOCUS);
      return 0;
    case WM_ENABLE:
    case WM_SETTEXT: {
      const LRESULT answer = DefWindowProcW(window, message, wParam, lParam);
      Changed(window, *state, ODA_DRAWENTIRE);
      return answer;
    }
    case BM_GETCHECK: return state->check;
    case BM_SETCHECK: SetCheck(window, *state, static_cast<UINT>(wParam)); return 0;
    case BM_GETSTATE:
      return state->check | (state->pushed ? BST_PUSHED : 0u) | (state->focus ? BST_FOCUS : 0u);
    case BM_SETSTATE: SetPushed(window, *state, wParam != 0); return 0;
    case BM_SETSTYLE: {
      // An owner-drawn button stays one when it becomes (or stops being) the default: it is
      // drawn with ODS_DEFAULT instead.
      DWORD style = (StyleOf(window) & ~0xFFFFu) | static_cast<WORD>(wParam);
      const UINT wanted = style & BS_TYPEMASK;
      if (type == BS_OWNERDRAW && (wanted == BS_PUSHBUTTON || wanted == BS_DEFPUSHBUTTON))
        style = (style & ~BS_TYPEMASK) | BS_OWNERDRAW;
      SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>(style));
      if (LOWORD(lParam)) Changed(window, *state, ODA_DRAWENTIRE);
      return 0;
    }
    case BM_CLICK:
      if (IsWindowEnabled(window)) Click(window, *state);
      return 0;
    case BM_GETIMAGE: return wParam == state->imageType ? reinterpret_cast<LRESULT>(state->image) : 0;
    case BM_SETIMAGE: {
      const HANDLE old = state->image;
      state->image = reinterpret_cast<HANDLE>(lParam);
      state->imageType = static_cast<UINT>(wParam);
      Changed(window, *state, ODA_DRAWENTIRE);
      return reinterpret_cast<LRESULT>(old);
    }
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace zx::user::ctl
