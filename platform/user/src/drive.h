// Requests that drive a window of another process as a person would: pointer and key events
// injected into that process, and the window's picture. Their bodies (wire.h) are read here,
// bounded and checked, before anything is done with them.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "winuser.h"

namespace zx::user::drive {

struct InputEvent {
  HWND window = nullptr;   // the window whose process and thread perform the event
  UINT message = 0;        // a mouse message, WM_KEYDOWN or WM_KEYUP
  std::int32_t code = 0;   // the virtual key, or the wheel's delta
  POINT screen{};          // where the pointer goes (mouse messages)
};

struct PictureRequest {
  HWND window = nullptr;
  bool redrawn = false;
};

std::string EncodeInput(const InputEvent& event);
// False for a short or overlong body, another message, a key outside 1..255 or a wheel delta
// that does not fit a short.
bool DecodeInput(std::string_view body, InputEvent* event);
std::string EncodePicture(const PictureRequest& request);
bool DecodePicture(std::string_view body, PictureRequest* request);

// Performs the event in this process (on the thread that owns its window); answers the window
// it reached, or null.
HWND PerformInput(const InputEvent& event);

}  // namespace zx::user::drive
