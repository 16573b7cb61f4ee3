// The date and time picker window "SysDateTimePick32": its time and format, painting (the
// fields on the window colour, the chosen field highlighted while focused, up-down buttons or
// a drop-down button at the right), the arrow keys and clicks that choose and move fields,
// and DTN_DATETIMECHANGE to the parent after each change the user makes.
#include <algorithm>

#include "control.h"
#include "datetime.h"
#include "sysinfoapi.h"
#include "windraw.h"

namespace zx::comctl {
namespace {

using dtp::Field;
using dtp::Segment;

struct Picker {
  SYSTEMTIME time{};
  bool none = false;
  std::u16string format;  // empty: the style's default
  int chosen = -1;        // index of the chosen segment
  HFONT font = nullptr;
  bool focused = false;
};

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)); }

std::vector<Segment> SegmentsOf(HWND window, const Picker& p) {
  return dtp::Render(p.format.empty() ? dtp::DefaultFormat(StyleOf(window)) : p.format, p.time);
}

bool Editable(const Segment& s) { return s.field != Field::kLiteral; }

// The editable segment next to `from` in a direction (from itself with step 0); -1 if none.
int NextEditable(const std::vector<Segment>& segments, int from, int step) {
  const int n = static_cast<int>(segments.size());
  for (int i = from + step; i >= 0 && i < n; i += step ? step : 1)
    if (Editable(segments[i])) return i;
  return -1;
}

RECT ButtonArea(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  r.left = std::max(r.left, r.right - GetSystemMetrics(SM_CXVSCROLL));
  return r;
}

constexpr int kTextLeft = 2;

// The left edge of each segment (and one past the last).
std::vector<int> Edges(const Picker& p, const std::vector<Segment>& segments) {
  std::vector<int> edges{kTextLeft};
  for (const Segment& s : segments) edges.push_back(edges.back() + TextWidth(p.font, s.text));
  return edges;
}

void Changed(HWND window, Picker& p, const SYSTEMTIME& time) {
  p.time = time;
  InvalidateRect(window, nullptr, TRUE);
  NMDATETIMECHANGE change{};
  change.dwFlags = p.none ? GDT_NONE : GDT_VALID;
  change.st = p.time;
  Notify(window, DTN_DATETIMECHANGE, &change.nmhdr);
}

void Step(HWND window, Picker& p, int delta) {
  const std::vector<Segment> segments = SegmentsOf(window, p);
  if (p.chosen < 0 || p.chosen >= static_cast<int>(segments.size())) p.chosen = NextEditable(segments, 0, 0);
  if (p.chosen < 0) return;
  Changed(window, p, dtp::Stepped(p.time, segments[p.chosen].field, delta));
}

void Choose(HWND window, Picker& p, int index) {
  if (index < 0 || index == p.chosen) return;
  p.chosen = index;
  InvalidateRect(window, nullptr, TRUE);
}

void OnKey(HWND window, Picker& p, WPARAM key) {
  const std::vector<Segment> segments = SegmentsOf(window, p);
  switch (key) {
    case VK_LEFT: Choose(window, p, NextEditable(segments, std::max(p.chosen, 0), -1)); break;
    case VK_RIGHT: Choose(window, p, NextEditable(segments, std::max(p.chosen, 0), 1)); break;
    case VK_UP: Step(window, p, 1); break;
    case VK_DOWN: Step(window, p, -1); break;
    case VK_HOME: Choose(window, p, NextEditable(segments, 0, 0)); break;
    case VK_END: Choose(window, p, NextEditable(segments, static_cast<int>(segments.size()), -1)); break;
    default: break;
  }
}

void OnClick(HWND window, Picker& p, POINT at) {
  SetFocus(window);
  const RECT buttons = ButtonArea(window);
  if (at.x >= buttons.left) {
    // The up-down pair steps the chosen field; the drop-down button opens no calendar.
    if (StyleOf(window) & DTS_UPDOWN) Step(window, p, at.y < (buttons.top + buttons.bottom) / 2 ? 1 : -1);
    return;
  }
  const std::vector<Segment> segments = SegmentsOf(window, p);
  const std::vector<int> edges = Edges(p, segments);
  int hit = -1;
  for (int i = 0; i < static_cast<int>(segments.size()); ++i)
    if (Editable(segments[i]) && at.x >= edges[i] - 2) hit = i;  // the last field starting at or before the point
  Choose(window, p, hit >= 0 ? hit : NextEditable(segments, 0, 0));
}

void Triangle(HDC dc, const RECT& r, bool up, COLORREF colour) {
  const LONG cx = (r.left + r.right) / 2;
  const LONG cy = (r.top + r.bottom) / 2;
  const POINT p[3] = {{cx - 3, up ? cy + 1 : cy - 1}, {cx + 3, up ? cy + 1 : cy - 1}, {cx, up ? cy - 2 : cy + 2}};
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HBRUSH brush = CreateSolidBrush(colour);
  const HGDIOBJ oldPen = SelectObject(dc, pen);
  const HGDIOBJ oldBrush = SelectObject(dc, brush);
  Polygon(dc, p, 3);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

void Button(HDC dc, RECT r, bool up, bool enabled) {
  FillRect(dc, &r, GetSysColorBrush(COLOR_3DFACE));
  DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
  Triangle(dc, r, up, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
}

void Paint(HWND window, const Picker& p) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (!dc) return;
  const bool enabled = IsWindowEnabled(window);
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_3DFACE));
  const HGDIOBJ oldFont = SelectObject(dc, p.font ? p.font : DefaultFont());
  SetBkMode(dc, TRANSPARENT);
  const std::vector<Segment> segments = SegmentsOf(window, p);
  const std::vector<int> edges = Edges(p, segments);
  const int lineHeight = LineHeight(p.font);
  const int top = (client.bottom - lineHeight) / 2;
  for (int i = 0; i < static_cast<int>(segments.size()); ++i) {
    const bool chosen = p.focused && i == p.chosen;
    if (chosen) {
      const RECT cell{edges[i], top, edges[i + 1], top + lineHeight};
      FillRect(dc, &cell, GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    SetTextColor(dc, GetSysColor(!enabled ? COLOR_GRAYTEXT : chosen ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    TextOutW(dc, edges[i], top, segments[i].text.c_str(), static_cast<int>(segments[i].text.size()));
  }
  SelectObject(dc, oldFont);
  const RECT buttons = ButtonArea(window);
  if (StyleOf(window) & DTS_UPDOWN) {
    const LONG middle = (buttons.top + buttons.bottom) / 2;
    Button(dc, RECT{buttons.left, buttons.top, buttons.right, middle}, true, enabled);
    Button(dc, RECT{buttons.left, middle, buttons.right, buttons.bottom}, false, enabled);
  } else {
    Button(dc, buttons, false, enabled);
  }
  EndPaint(window, &ps);
}

LRESULT SetTime(HWND window, Picker& p, WPARAM flag, const SYSTEMTIME* time) {
  if (flag == GDT_NONE) {
    if (!(StyleOf(window) & DTS_SHOWNONE)) return FALSE;
    p.none = true;
  } else if (flag == GDT_VALID && time && dtp::IsValidTime(*time)) {
    p.none = false;
    p.time = dtp::Completed(*time);
  } else {
    return FALSE;
  }
  InvalidateRect(window, nullptr, TRUE);
  return TRUE;
}

LRESULT PickerMessage(HWND window, Picker& p, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFONT:
      p.font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(p.font);
    case WM_PAINT: Paint(window, p); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      p.focused = message == WM_SETFOCUS;
      if (p.focused && p.chosen < 0) p.chosen = NextEditable(SegmentsOf(window, p), 0, 0);
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_KEYDOWN:
      if (IsWindowEnabled(window)) OnKey(window, p, wParam);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnClick(window, p, POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))});
      return 0;
    case WM_GETTEXT:
      return CopyText(dtp::Joined(SegmentsOf(window, p)), reinterpret_cast<LPWSTR>(lParam),
                      wParam > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(dtp::Joined(SegmentsOf(window, p)).size());
    case DTM_GETSYSTEMTIME: {
      auto* time = reinterpret_cast<SYSTEMTIME*>(lParam);
      if (!time) return GDT_ERROR;
      if (p.none) return GDT_NONE;
      *time = p.time;
      return GDT_VALID;
    }
    case DTM_SETSYSTEMTIME:
      return SetTime(window, p, wParam, reinterpret_cast<const SYSTEMTIME*>(lParam));
    case DTM_SETFORMATW: {
      std::u16string format;
      if (lParam && !ReadText(reinterpret_cast<LPCWSTR>(lParam), format)) return FALSE;
      p.format = format;
      p.chosen = p.focused ? NextEditable(SegmentsOf(window, p), 0, 0) : -1;
      InvalidateRect(window, nullptr, TRUE);
      return TRUE;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK PickerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Picker* p = StateOf<Picker>(window);
  if (message == WM_NCCREATE) {
    auto* made = new Picker;
    GetLocalTime(&made->time);
    made->time = dtp::Completed(made->time);
    AttachState(window, made);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (!p) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    AttachState<Picker>(window, nullptr);
    delete p;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return PickerMessage(window, *p, message, wParam, lParam);
}

}  // namespace

bool RegisterDateTimeClass() { return RegisterControlClass(DATETIMEPICK_CLASSW, PickerProc, CS_DBLCLKS); }

}  // namespace zx::comctl
