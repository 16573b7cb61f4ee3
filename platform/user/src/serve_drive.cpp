// Requests from another process that drive one of this process's windows: an injected
// pointer or key event, or the window's picture. Each is performed by the thread that owns
// the window, between its messages as a sent message is, and answered when it is done.
#include <memory>

#include "channel.h"
#include "drive.h"
#include "queue.h"
#include "window.h"
#include "windowdc.h"

namespace zx::user::channel {

void ServeDrive(const ConnectionRef& connection, const wire::Frame& request) {
  drive::InputEvent event;
  drive::PictureRequest picture;
  const bool input = request.op == wire::Op::kInput;
  if (input ? !drive::DecodeInput(request.body, &event) : !drive::DecodePicture(request.body, &picture))
    return Answer(connection, request, ERROR_INVALID_PARAMETER, {});
  const HWND window = input ? event.window : picture.window;
  const auto target = Find(window);
  if (!target) return Answer(connection, request, ERROR_INVALID_WINDOW_HANDLE, {});
  auto png = std::make_shared<std::string>();
  auto item = std::make_shared<SentMessage>();
  item->window = window;
  if (input)
    item->work = [event] { return static_cast<LRESULT>(HandleValue(drive::PerformInput(event))); };
  else
    item->work = [picture, png] { return static_cast<LRESULT>(WindowPngBytes(picture.window, picture.redrawn, png.get())); };
  const wire::Frame header{request.op, 0, request.id, 0, {}};
  item->onDone = [connection, header, png, input](LRESULT result, bool delivered) {
    if (!delivered) return Answer(connection, header, ERROR_INVALID_WINDOW_HANDLE, {});
    if (!input && result == 0) return Answer(connection, header, ERROR_GEN_FAILURE, {});
    wire::Writer out;
    out.I64(result).Bytes(*png);
    Answer(connection, header, 0, out.Take());
  };
  HandTo(*target->queue, item);
}

}  // namespace zx::user::channel
