// The animation control "SysAnimate32": opens a clip from an "AVI" resource, records play
// and stop (telling the parent ACN_START and ACN_STOP) and paints the clip's first frame,
// or a placeholder of its size when the frame is in a form that is not decoded.
#include "avi.h"
#include "control.h"
#include "windraw.h"
#include "winresource.h"
#include "zx/comctl.h"
#include "zx/gdi.h"

namespace zx::comctl {
namespace {

constexpr COLORREF kPlaceholder = RGB(0xC8, 0xC8, 0xC8);
constexpr WORD kLastFrame = 0xFFFF;

struct Animation {
  AnimationState state;
  HBITMAP frame = nullptr;
};

DWORD Style(HWND window) { return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)); }

void Stop(HWND window, Animation& a) {
  if (!a.state.playing) return;
  a.state.playing = false;
  NotifyCommand(window, ACN_STOP);
}

void Close(HWND window, Animation& a) {
  Stop(window, a);
  if (a.frame) DeleteObject(a.frame);
  a.frame = nullptr;
  a.state = AnimationState{};
  InvalidateRect(window, nullptr, TRUE);
}

BOOL Play(HWND window, Animation& a, UINT repeat, WORD from, WORD to) {
  if (!a.state.open || a.state.frames < 1) return FALSE;
  const int last = a.state.frames - 1;
  const int end = to == kLastFrame ? last : to;
  if (from > end || end > last) return FALSE;
  const bool wasPlaying = a.state.playing;
  a.state.playing = true;
  a.state.repeat = repeat;
  a.state.from = from;
  a.state.to = end;
  if (!wasPlaying) NotifyCommand(window, ACN_START);
  return TRUE;
}

BOOL Open(HWND window, Animation& a, HINSTANCE instance, LPCWSTR name) {
  Close(window, a);
  if (!name) return TRUE;
  HRSRC found = FindResourceW(instance, name, u"AVI");
  HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
  const auto* bytes = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
  AviClip clip;
  if (!bytes || !ReadAvi(bytes, SizeofResource(instance, found), clip)) return FALSE;
  a.state.open = true;
  a.state.frames = clip.frames;
  a.state.frameSize = SIZE{clip.width, clip.height};
  if (!clip.firstFrame.empty()) a.frame = zx::gdi::CreateBitmapFromPackedDib(clip.firstFrame.data(), clip.firstFrame.size());
  a.state.decoded = a.frame != nullptr;
  // Without ACS_CENTER the control takes the clip's size.
  if (!(Style(window) & ACS_CENTER))
    SetWindowPos(window, nullptr, 0, 0, clip.width, clip.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window, nullptr, TRUE);
  if (Style(window) & ACS_AUTOPLAY) Play(window, a, 0xFFFFFFFFu, 0, kLastFrame);
  return TRUE;
}

void Paint(HWND window, const Animation& a) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (!dc) return;
  RECT client{};
  GetClientRect(window, &client);
  // A transparent control lets the parent's colour for statics show around the frame.
  HBRUSH back = GetSysColorBrush(COLOR_BTNFACE);
  if (Style(window) & ACS_TRANSPARENT) {
    HWND parent = GetParent(window);
    const LRESULT brush = parent ? SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                reinterpret_cast<LPARAM>(window))
                                 : 0;
    back = brush ? reinterpret_cast<HBRUSH>(brush) : GetSysColorBrush(COLOR_WINDOW);
  }
  FillRect(dc, &client, back);
  if (a.state.open) {
    const SIZE size = a.state.frameSize;
    const bool centre = (Style(window) & ACS_CENTER) != 0;
    const int x = centre ? (client.right - size.cx) / 2 : 0;
    const int y = centre ? (client.bottom - size.cy) / 2 : 0;
    if (a.frame) {
      HDC memory = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(memory, a.frame);
      BitBlt(dc, x, y, size.cx, size.cy, memory, 0, 0, SRCCOPY);
      SelectObject(memory, old);
      DeleteDC(memory);
    } else {
      const RECT box{x, y, x + size.cx, y + size.cy};
      HBRUSH fill = CreateSolidBrush(kPlaceholder);
      FillRect(dc, &box, fill);
      DeleteObject(fill);
      FrameRect(dc, &box, GetSysColorBrush(COLOR_BTNSHADOW));
    }
  }
  EndPaint(window, &ps);
}

LRESULT CALLBACK AnimateProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Animation* a = StateOf<Animation>(window);
  if (message == WM_NCCREATE) {
    AttachState(window, new Animation);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (!a) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_DESTROY:
      Close(window, *a);
      return 0;
    case WM_NCDESTROY:
      AttachState<Animation>(window, nullptr);
      if (a->frame) DeleteObject(a->frame);
      delete a;
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_PAINT:
      Paint(window, *a);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case ACM_OPENW:
      return Open(window, *a, reinterpret_cast<HINSTANCE>(wParam), reinterpret_cast<LPCWSTR>(lParam));
    case ACM_PLAY:
      return Play(window, *a, static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    case ACM_STOP:
      Stop(window, *a);
      return TRUE;
    case ACM_ISPLAYING:
      return a->state.playing;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

bool RegisterAnimateClass() { return RegisterControlClass(ANIMATE_CLASSW, AnimateProc, 0); }

bool GetAnimationState(HWND animation, AnimationState& state) {
  WCHAR name[32] = {};
  if (!GetClassNameW(animation, name, 32) || std::u16string(name) != ANIMATE_CLASSW) return false;
  const Animation* a = StateOf<Animation>(animation);
  if (!a) return false;
  state = a->state;
  return true;
}

}  // namespace zx::comctl
