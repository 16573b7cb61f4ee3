// The tooltip control "tooltips_class32": tools (a window, or a rectangle of one) with their
// texts, the mouse and key events relayed to it (kept so a test can read them), and the tip
// shown after the pointer rests on a tool for the initial delay, hidden when it leaves or a
// button or key is pressed.
#include <algorithm>
#include <deque>
#include <vector>

#include "control.h"
#include "windraw.h"
#include "winresource.h"
#include "zx/comctl.h"

namespace zx::comctl {
namespace {

constexpr std::size_t kKeptEvents = 256;
constexpr UINT_PTR kShowTimer = 1;
constexpr int kPadding = 4;
// The smallest TTTOOLINFOW the control reads: up to and with lpszText.
constexpr UINT kMinToolInfo = offsetof(TTTOOLINFOW, lParam);

struct Tool {
  UINT flags = 0;
  HWND window = nullptr;
  UINT_PTR id = 0;
  RECT rect{};
  HINSTANCE instance = nullptr;
  std::u16string text;
  bool callback = false;  // LPSTR_TEXTCALLBACK: the owner is asked when the tip shows
  LPARAM param = 0;
};

struct ToolTip {
  std::vector<Tool> tools;
  std::deque<MSG> relayed;
  bool active = true;
  int maxWidth = -1;
  UINT initialDelay = 500;
  COLORREF background = CLR_DEFAULT;
  COLORREF textColour = CLR_DEFAULT;
  HFONT font = nullptr;
  int hovered = -1;  // the tool under the pointer
  int shown = -1;    // the tool whose tip is shown
};

bool Readable(const TTTOOLINFOW* info) { return info && info->cbSize >= kMinToolInfo; }

std::vector<Tool>::iterator FindTool(ToolTip& t, const TTTOOLINFOW& info) {
  return std::find_if(t.tools.begin(), t.tools.end(),
                      [&](const Tool& tool) { return tool.window == info.hwnd && tool.id == info.uId; });
}

// A string resource of the tool's module.
std::u16string ResourceText(HINSTANCE instance, LPCWSTR id) {
  WCHAR buffer[1024] = {};
  const int n = LoadStringW(instance, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(id)), buffer, 1024);
  return std::u16string(buffer, static_cast<std::size_t>(std::max(n, 0)));
}

// The text a caller gives: a string, a string resource id, or the callback marker.
bool TakeText(const TTTOOLINFOW& info, Tool& tool) {
  tool.callback = info.lpszText == LPSTR_TEXTCALLBACKW;
  tool.text.clear();
  if (!info.lpszText || tool.callback) return true;
  if (IS_INTRESOURCE(info.lpszText)) {
    tool.text = ResourceText(info.hinst, info.lpszText);
    return true;
  }
  return ReadText(info.lpszText, tool.text);
}

std::u16string TextOf(HWND window, const Tool& tool) {
  if (!tool.callback) return tool.text;
  NMTTDISPINFOW info{};
  info.lpszText = info.szText;
  info.uFlags = tool.flags;
  info.lParam = tool.param;
  info.hdr = NMHDR{window, tool.id, TTN_GETDISPINFOW};
  if (tool.window) SendMessageW(tool.window, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(&info));
  std::u16string text;
  if (info.lpszText && IS_INTRESOURCE(info.lpszText)) {
    text = ResourceText(info.hinst, info.lpszText);
  } else if (info.lpszText == info.szText) {
    info.szText[79] = 0;
    text = info.szText;
  } else if (info.lpszText != LPSTR_TEXTCALLBACKW && !ReadText(info.lpszText, text)) {
    text.clear();
  }
  return text;
}

int ToolAt(const ToolTip& t, const MSG& msg) {
  for (std::size_t i = 0; i < t.tools.size(); ++i) {
    const Tool& tool = t.tools[i];
    if (tool.flags & TTF_IDISHWND) {
      if (reinterpret_cast<HWND>(tool.id) == msg.hwnd) return static_cast<int>(i);
      continue;
    }
    if (tool.window != msg.hwnd) continue;
    const POINT pt{static_cast<SHORT>(LOWORD(msg.lParam)), static_cast<SHORT>(HIWORD(msg.lParam))};
    if (PtInRect(&tool.rect, pt)) return static_cast<int>(i);
  }
  return -1;
}

void NotifyOwner(HWND window, const Tool& tool, UINT code) {
  if (!tool.window) return;
  NMHDR nm{window, tool.id, code};
  SendMessageW(tool.window, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(&nm));
}

void Pop(HWND window, ToolTip& t) {
  KillTimer(window, kShowTimer);
  if (t.shown >= 0 && t.shown < static_cast<int>(t.tools.size())) NotifyOwner(window, t.tools[static_cast<std::size_t>(t.shown)], TTN_POP);
  t.shown = -1;
  ShowWindow(window, SW_HIDE);
}

UINT TextFormat(const ToolTip& t) {
  return DT_NOPREFIX | (t.maxWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE);
}

void Show(HWND window, ToolTip& t) {
  if (t.hovered < 0 || t.hovered >= static_cast<int>(t.tools.size()) || !t.active) return;
  const Tool& tool = t.tools[static_cast<std::size_t>(t.hovered)];
  const std::u16string text = TextOf(window, tool);
  if (text.empty()) return;
  SetWindowTextW(window, text.c_str());
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, t.font ? t.font : DefaultFont());
  RECT measure{0, 0, t.maxWidth > 0 ? t.maxWidth : 4096, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure, TextFormat(t) | DT_CALCRECT);
  SelectObject(dc, old);
  DeleteDC(dc);
  POINT at{0, 0};
  RECT toolRect{};
  if (tool.flags & TTF_IDISHWND) GetWindowRect(reinterpret_cast<HWND>(tool.id), &toolRect);
  else {
    toolRect = tool.rect;
    MapWindowPoints(tool.window, nullptr, reinterpret_cast<POINT*>(&toolRect), 2);
  }
  at = POINT{toolRect.left, toolRect.bottom + 2};
  t.shown = t.hovered;
  NotifyOwner(window, tool, TTN_SHOW);
  SetWindowPos(window, HWND_TOPMOST, at.x, at.y, measure.right + 2 * kPadding, measure.bottom + 2 * kPadding,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Relay(HWND window, ToolTip& t, const MSG* msg) {
  if (!msg) return;
  t.relayed.push_back(*msg);
  if (t.relayed.size() > kKeptEvents) t.relayed.pop_front();
  if (msg->message != WM_MOUSEMOVE) {
    Pop(window, t);
    return;
  }
  const int tool = t.active ? ToolAt(t, *msg) : -1;
  if (tool == t.hovered && tool >= 0) return;
  Pop(window, t);
  t.hovered = tool;
  if (tool >= 0) SetTimer(window, kShowTimer, t.initialDelay, nullptr);
}

void Paint(HWND window, const ToolTip& t) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (!dc) return;
  RECT client{};
  GetClientRect(window, &client);
  HBRUSH back = CreateSolidBrush(t.background == CLR_DEFAULT ? GetSysColor(COLOR_INFOBK) : t.background);
  FillRect(dc, &client, back);
  DeleteObject(back);
  FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
  WCHAR text[1024] = {};
  GetWindowTextW(window, text, 1024);
  HGDIOBJ old = SelectObject(dc, t.font ? t.font : DefaultFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, t.textColour == CLR_DEFAULT ? GetSysColor(COLOR_INFOTEXT) : t.textColour);
  RECT inside{kPadding, kPadding, client.right - kPadding, client.bottom - kPadding};
  DrawTextW(dc, text, -1, &inside, TextFormat(t));
  SelectObject(dc, old);
  EndPaint(window, &ps);
}

LRESULT AddTool(ToolTip& t, const TTTOOLINFOW* info) {
  if (!Readable(info)) return FALSE;
  Tool tool;
  tool.flags = info->uFlags;
  tool.window = info->hwnd;
  tool.id = info->uId;
  tool.rect = info->rect;
  tool.instance = info->hinst;
  if (info->cbSize >= offsetof(TTTOOLINFOW, lpReserved)) tool.param = info->lParam;
  if (!TakeText(*info, tool)) return FALSE;
  auto it = FindTool(t, *info);
  if (it != t.tools.end()) *it = std::move(tool);
  else t.tools.push_back(std::move(tool));
  return TRUE;
}

LRESULT ToolMessage(HWND window, ToolTip& t, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* info = reinterpret_cast<TTTOOLINFOW*>(lParam);
  switch (message) {
    case TTM_ADDTOOLW:
      return AddTool(t, info);
    case TTM_DELTOOLW: {
      if (!Readable(info)) return 0;
      auto it = FindTool(t, *info);
      if (it == t.tools.end()) return 0;
      Pop(window, t);
      t.hovered = -1;
      t.tools.erase(it);
      return 0;
    }
    case TTM_UPDATETIPTEXTW: {
      if (!Readable(info)) return 0;
      auto it = FindTool(t, *info);
      if (it == t.tools.end()) return 0;
      Tool updated = *it;
      if (TakeText(*info, updated)) *it = std::move(updated);
      return 0;
    }
    case TTM_GETTOOLINFOW: {
      if (!Readable(info)) return FALSE;
      auto it = FindTool(t, *info);
      if (it == t.tools.end()) return FALSE;
      info->uFlags = it->flags;
      info->rect = it->rect;
      info->hinst = it->instance;
      if (info->cbSize >= offsetof(TTTOOLINFOW, lpReserved)) info->lParam = it->param;
      return TRUE;
    }
    case TTM_GETTEXTW: {
      if (!Readable(info)) return 0;
      auto it = FindTool(t, *info);
      const std::u16string text = it == t.tools.end() ? std::u16string() : it->text;
      // wParam is the buffer's size; without one, the 80 units of old callers.
      const int capacity = wParam ? static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFF)) : 80;
      CopyText(text, info->lpszText == LPSTR_TEXTCALLBACKW ? nullptr : info->lpszText, capacity);
      return 0;
    }
    case TTM_GETTOOLCOUNT:
      return static_cast<LRESULT>(t.tools.size());
    case TTM_ACTIVATE:
      t.active = wParam != 0;
      if (!t.active) Pop(window, t);
      return 0;
    case TTM_RELAYEVENT:
      Relay(window, t, reinterpret_cast<const MSG*>(lParam));
      return 0;
    case TTM_POP:
      Pop(window, t);
      return 0;
    case TTM_SETMAXTIPWIDTH: {
      const int old = t.maxWidth;
      t.maxWidth = static_cast<int>(lParam);
      return old;
    }
    case TTM_GETMAXTIPWIDTH:
      return t.maxWidth;
    case TTM_SETDELAYTIME:
      if (wParam == TTDT_INITIAL || wParam == TTDT_AUTOMATIC) t.initialDelay = LOWORD(lParam);
      return 0;
    case TTM_SETTIPBKCOLOR:
      t.background = static_cast<COLORREF>(wParam);
      return 0;
    case TTM_SETTIPTEXTCOLOR:
      t.textColour = static_cast<COLORREF>(wParam);
      return 0;
    case TTM_UPDATE:
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK ToolTipProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ToolTip* t = StateOf<ToolTip>(window);
  if (message == WM_NCCREATE) {
    AttachState(window, new ToolTip);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (!t) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      AttachState<ToolTip>(window, nullptr);
      delete t;
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_PAINT:
      Paint(window, *t);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_TIMER:
      if (wParam == kShowTimer) {
        KillTimer(window, kShowTimer);
        Show(window, *t);
      }
      return 0;
    case WM_SETFONT:
      t->font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(t->font);
    case WM_MOUSEACTIVATE:
      return 3;  // MA_NOACTIVATE
    default:
      return ToolMessage(window, *t, message, wParam, lParam);
  }
}

}  // namespace

bool RegisterToolTipsClass() { return RegisterControlClass(TOOLTIPS_CLASSW, ToolTipProc, CS_SAVEBITS); }

std::vector<MSG> RelayedEvents(HWND tooltip) {
  WCHAR name[32] = {};
  if (!GetClassNameW(tooltip, name, 32) || std::u16string(name) != TOOLTIPS_CLASSW) return {};
  const ToolTip* t = StateOf<ToolTip>(tooltip);
  return t ? std::vector<MSG>(t->relayed.begin(), t->relayed.end()) : std::vector<MSG>{};
}

}  // namespace zx::comctl
