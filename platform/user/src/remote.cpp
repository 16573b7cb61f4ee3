// Calls on windows of other processes: requests written as wire frames to the process whose
// slot the handle carries.
#include "remote.h"

#include "channel.h"
#include "errhandlingapi.h"
#include "marshal.h"
#include "window.h"

namespace zx::user::remote {
namespace {

// Queries of window state are answered by the other process's channel thread at once;
// they wait this long (on the layer's clock) for a process that stopped reading.
constexpr DWORD kQueryTimeoutMs = 5000;

bool Request(HWND window, wire::Op op, std::string body, std::string* answer,
             DWORD timeoutMs = kQueryTimeoutMs) {
  if (!IsForeign(window)) return BadWindow();
  return channel::Call(SlotOf(window), op, std::move(body), answer, timeoutMs);
}

bool Malformed() {
  SetLastError(ERROR_INVALID_DATA);
  return false;
}

// A request answered with a value and bytes.
bool AskWith(HWND window, wire::Op op, std::string body, std::int64_t* value, std::string* bytes,
             DWORD timeoutMs) {
  std::string answer;
  if (!Request(window, op, std::move(body), &answer, timeoutMs)) return false;
  wire::Reader in(answer);
  if (!in.I64(value) || !in.Bytes(bytes) || !in.AtEnd()) return Malformed();
  return true;
}

bool Ask(HWND window, wire::Op op, std::uint32_t what, std::uint64_t argument,
         std::int64_t* value, std::string* bytes, DWORD timeoutMs = kQueryTimeoutMs) {
  wire::Writer out;
  out.U32(HandleValue(window)).U32(what).U64(argument);
  return AskWith(window, op, out.Take(), value, bytes, timeoutMs);
}

}  // namespace

bool IsForeign(HWND window) {
  if (!IsHandleShaped(window) || SlotOf(window) == 0 || Find(window)) return false;
  return SlotOf(window) != channel::LocalSlot();
}

bool QueryValue(HWND window, Query what, std::int64_t* value, std::uint64_t argument) {
  std::string bytes;
  return Ask(window, wire::Op::kQuery, static_cast<std::uint32_t>(what), argument, value, &bytes);
}

bool QueryText(HWND window, Query what, std::u16string* text) {
  std::int64_t value;
  std::string bytes;
  if (!Ask(window, wire::Op::kQuery, static_cast<std::uint32_t>(what), 0, &value, &bytes))
    return false;
  return wire::FromUtf16Bytes(bytes, text) || Malformed();
}

bool QueryRect(HWND window, RECT* rect) {
  std::int64_t value;
  std::string bytes;
  if (!Ask(window, wire::Op::kQuery, static_cast<std::uint32_t>(Query::kRect), 0, &value, &bytes))
    return false;
  wire::Reader in(bytes);
  std::uint32_t v[4];
  for (auto& part : v)
    if (!in.U32(&part)) return Malformed();
  *rect = RECT{static_cast<LONG>(v[0]), static_cast<LONG>(v[1]), static_cast<LONG>(v[2]),
               static_cast<LONG>(v[3])};
  return true;
}

bool QueryClientOrigin(HWND window, POINT* origin) {
  std::int64_t value = 0;
  if (!QueryValue(window, Query::kClientOrigin, &value)) return false;
  const auto packed = static_cast<std::uint64_t>(value);
  *origin = POINT{static_cast<LONG>(static_cast<std::int32_t>(packed >> 32)),
                  static_cast<LONG>(static_cast<std::int32_t>(packed & 0xFFFFFFFFu))};
  return true;
}

bool Act(HWND window, Action what, std::uint64_t argument, std::int64_t* value) {
  std::string bytes;
  return Ask(window, wire::Op::kAct, static_cast<std::uint32_t>(what), argument, value, &bytes,
             INFINITE);
}

bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  wire::Writer out;
  out.U32(HandleValue(window)).U32(message).U64(wParam);
  if (!PackParam(message, wParam, lParam, out)) return false;
  std::string answer;
  return Request(window, wire::Op::kPost, out.Take(), &answer);
}

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs,
          LRESULT* result) {
  wire::Writer out;
  out.U32(HandleValue(window)).U32(message).U64(wParam);
  if (!PackParam(message, wParam, lParam, out)) return false;
  std::string answer;
  if (!Request(window, wire::Op::kSend, out.Take(), &answer, timeoutMs)) return false;
  wire::Reader in(answer);
  std::int64_t value;
  if (!in.I64(&value) || !UnpackAnswer(message, wParam, lParam, in)) return Malformed();
  *result = static_cast<LRESULT>(value);
  return true;
}

bool Input(const drive::InputEvent& event, HWND* reached) {
  std::int64_t value = 0;
  std::string bytes;
  if (!AskWith(event.window, wire::Op::kInput, drive::EncodeInput(event), &value, &bytes, INFINITE)) return false;
  *reached = MakeHandle(static_cast<std::uint32_t>(value));
  return true;
}

bool Picture(HWND window, bool redrawn, std::string* png) {
  std::int64_t value = 0;
  return AskWith(window, wire::Op::kPicture, drive::EncodePicture({window, redrawn}), &value, png, INFINITE);
}

std::vector<TopLevel> ListTopLevel() {
  std::vector<TopLevel> out;
  for (int slot : channel::PeerSlots()) {
    std::string answer;
    if (!channel::Call(slot, wire::Op::kList, {}, &answer, kQueryTimeoutMs)) continue;
    wire::Reader in(answer);
    std::uint32_t count = 0;
    in.U32(&count);
    for (std::uint32_t i = 0; i < count && in.ok(); ++i) {
      TopLevel w{};
      std::uint32_t handle = 0;
      if (in.U32(&handle) && in.U32(&w.style) && in.U32(&w.exStyle) && in.U32(&w.processId) &&
          in.U32(&w.threadId) && in.Text(&w.className) && in.Text(&w.text) &&
          SlotOf(MakeHandle(handle)) == slot) {
        w.window = MakeHandle(handle);
        out.push_back(std::move(w));
      }
    }
  }
  return out;
}

std::uint32_t Broadcast(UINT message, WPARAM wParam, LPARAM lParam, bool post, DWORD timeoutMs) {
  wire::Writer out;
  out.U32(message).U64(wParam).U8(post ? 1 : 0);
  if (!PackParam(message, wParam, lParam, out)) return 0;
  const std::string body = out.Take();
  std::uint32_t reached = 0;
  for (int slot : channel::PeerSlots()) {
    std::string answer;
    std::uint32_t count = 0;
    // A post is answered as soon as it is queued; only a send waits for the windows.
    if (!channel::Call(slot, wire::Op::kBroadcast, body, &answer, post ? kQueryTimeoutMs : timeoutMs))
      continue;
    wire::Reader in(answer);
    if (in.U32(&count)) reached += count;
  }
  return reached;
}

}  // namespace zx::user::remote
