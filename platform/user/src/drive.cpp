// The bodies of the requests that drive another process's windows, and the performing of an
// injected event by the process that owns the window.
#include "drive.h"

#include <limits>

#include "window.h"
#include "wire.h"
#include "zx/input.h"

namespace zx::user::drive {
namespace {

bool IsMouse(UINT message) {
  return (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) || message == WM_MOUSEWHEEL;
}

bool IsKey(UINT message) { return message == WM_KEYDOWN || message == WM_KEYUP; }

}  // namespace

std::string EncodeInput(const InputEvent& event) {
  wire::Writer out;
  out.U32(HandleValue(event.window)).U32(event.message).U32(static_cast<std::uint32_t>(event.code));
  out.U32(static_cast<std::uint32_t>(event.screen.x)).U32(static_cast<std::uint32_t>(event.screen.y));
  return out.Take();
}

bool DecodeInput(std::string_view body, InputEvent* event) {
  wire::Reader in(body);
  std::uint32_t handle = 0, message = 0, code = 0, x = 0, y = 0;
  if (!in.U32(&handle) || !in.U32(&message) || !in.U32(&code) || !in.U32(&x) || !in.U32(&y) || !in.AtEnd())
    return false;
  const auto value = static_cast<std::int32_t>(code);
  if (IsKey(message)) {
    if (value < 1 || value > 0xFF) return false;
  } else if (!IsMouse(message) || value < std::numeric_limits<short>::min() ||
             value > std::numeric_limits<short>::max()) {
    return false;
  }
  *event = InputEvent{MakeHandle(handle), message, value,
                      POINT{static_cast<LONG>(static_cast<std::int32_t>(x)), static_cast<LONG>(static_cast<std::int32_t>(y))}};
  return true;
}

std::string EncodePicture(const PictureRequest& request) {
  wire::Writer out;
  out.U32(HandleValue(request.window)).U8(request.redrawn ? 1 : 0);
  return out.Take();
}

bool DecodePicture(std::string_view body, PictureRequest* request) {
  wire::Reader in(body);
  std::uint32_t handle = 0;
  std::uint8_t redrawn = 0;
  if (!in.U32(&handle) || !in.U8(&redrawn) || !in.AtEnd() || redrawn > 1) return false;
  *request = PictureRequest{MakeHandle(handle), redrawn == 1};
  return true;
}

HWND PerformInput(const InputEvent& event) {
  if (IsKey(event.message)) return InjectKey(event.code, event.message == WM_KEYDOWN);
  return InjectMouse(event.screen, event.message, static_cast<short>(event.code));
}

}  // namespace zx::user::drive
