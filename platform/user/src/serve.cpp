// Requests from other processes about this process's windows. Questions about a window's
// state are answered at once on the channel thread; messages and actions go to the thread
// that owns the window, which answers when it has handled them.
#include <atomic>

#include "channel.h"
#include "marshal.h"
#include "processthreadsapi.h"
#include "queue.h"
#include "remote.h"
#include "window.h"

namespace zx::user::channel {
namespace {

using remote::Action;
using remote::Query;

std::string ValueAnswer(std::int64_t value, std::string_view bytes = {}) {
  wire::Writer out;
  out.I64(value).Bytes(bytes);
  return out.Take();
}

void Fail(const ConnectionRef& connection, const wire::Frame& request, DWORD error) {
  Answer(connection, request, error, {});
}

// What a message of the connection's process carries in: its data, if any, and its sender.
std::shared_ptr<Payload> FromPeer(const ConnectionRef& connection, std::shared_ptr<Payload> payload) {
  if (!payload) payload = std::make_shared<Payload>();
  payload->senderProcess = PeerProcessId(connection);
  return payload;
}

// Only the request's header is kept for answering later.
wire::Frame Header(const wire::Frame& request) { return wire::Frame{request.op, 0, request.id, 0, {}}; }

std::string ListTopLevelWindows() {
  wire::Writer items;
  std::uint32_t count = 0;
  {
    std::lock_guard<std::mutex> guard(TableLock());
    for (HWND handle : TopLevelLocked()) {
      const Window* w = FindLocked(handle);
      items.U32(HandleValue(handle)).U32(w->style).U32(w->exStyle).U32(GetCurrentProcessId());
      items.U32(w->threadId).Text(w->windowClass->name).Text(w->text);
      ++count;
    }
  }
  wire::Writer out;
  out.U32(count);
  return out.Take() + items.Take();
}

bool IsNumericLong(int index) {
  return index == GWL_STYLE || index == GWL_EXSTYLE || index == GWLP_ID ||
         index == GWLP_USERDATA || index == GWLP_HWNDPARENT;
}

void AnswerQuery(const ConnectionRef& connection, const wire::Frame& request, HWND window,
                 Query what, std::uint64_t argument) {
  std::int64_t value = 1;
  std::string bytes;
  switch (what) {
    case Query::kExists: break;
    case Query::kEnabled: value = IsWindowEnabled(window); break;
    case Query::kVisible: value = IsWindowVisible(window); break;
    case Query::kIconic: value = IsIconic(window); break;
    case Query::kZoomed: value = IsZoomed(window); break;
    case Query::kThreadProcess: {
      DWORD process = 0;
      const DWORD thread = GetWindowThreadProcessId(window, &process);
      value = static_cast<std::int64_t>((static_cast<std::uint64_t>(process) << 32) | thread);
      break;
    }
    case Query::kLong:
      if (!IsNumericLong(static_cast<int>(argument))) return Fail(connection, request, ERROR_ACCESS_DENIED);
      value = GetWindowLongPtrW(window, static_cast<int>(argument));
      break;
    case Query::kText:
    case Query::kClassName: {
      std::lock_guard<std::mutex> guard(TableLock());
      const Window* w = FindLocked(window);
      if (!w) return Fail(connection, request, ERROR_INVALID_WINDOW_HANDLE);
      bytes = wire::Utf16Bytes(what == Query::kText ? w->text : w->windowClass->name);
      break;
    }
    case Query::kRect: {
      RECT r{};
      GetWindowRect(window, &r);
      wire::Writer out;
      out.U32(static_cast<std::uint32_t>(r.left)).U32(static_cast<std::uint32_t>(r.top));
      out.U32(static_cast<std::uint32_t>(r.right)).U32(static_cast<std::uint32_t>(r.bottom));
      bytes = out.Take();
      break;
    }
    case Query::kLastActivePopup:
      value = HandleValue(GetLastActivePopup(window));
      break;
    case Query::kRelative:
      value = HandleValue(GetWindow(window, static_cast<UINT>(argument)));
      break;
    case Query::kClientOrigin: {
      POINT origin{0, 0};
      ClientToScreen(window, &origin);
      value = static_cast<std::int64_t>((static_cast<std::uint64_t>(static_cast<std::uint32_t>(origin.x)) << 32) |
                                        static_cast<std::uint32_t>(origin.y));
      break;
    }
    default:
      return Fail(connection, request, ERROR_INVALID_PARAMETER);
  }
  Answer(connection, request, 0, ValueAnswer(value, bytes));
}

std::function<LRESULT()> ActionWork(HWND window, Action what, std::uint64_t argument) {
  switch (what) {
    case Action::kEnable:
      return [=] { return static_cast<LRESULT>(EnableWindow(window, argument != 0)); };
    case Action::kShow:
      return [=] { return static_cast<LRESULT>(ShowWindow(window, static_cast<int>(argument))); };
    case Action::kSetForeground:
      return [=] { return static_cast<LRESULT>(SetForegroundWindow(window)); };
    case Action::kBringToTop:
      return [=] { return static_cast<LRESULT>(BringWindowToTop(window)); };
  }
  return nullptr;
}

// Hands a message or an action to the window's thread; the answer is written when it is done.
void HandOver(const ConnectionRef& connection, const wire::Frame& request,
              const std::shared_ptr<Window>& target, std::shared_ptr<SentMessage> item,
              ParamKind kind) {
  const wire::Frame header = Header(request);
  const Payload* payload = item->payload.get();
  item->onDone = [connection, header, kind, payload](LRESULT result, bool delivered) {
    if (!delivered) return Fail(connection, header, ERROR_INVALID_WINDOW_HANDLE);
    wire::Writer out;
    if (header.op == wire::Op::kSend)
      PackAnswer(kind, payload, result, out);
    else
      out.I64(result).Bytes(nullptr, 0);
    Answer(connection, header, 0, out.Take());
  };
  HandTo(*target->queue, item);
}

void ServeMessage(const ConnectionRef& connection, const wire::Frame& request, wire::Reader& in) {
  std::uint32_t handle, message;
  std::uint64_t wParam;
  if (!in.U32(&handle) || !in.U32(&message) || !in.U64(&wParam))
    return Fail(connection, request, ERROR_INVALID_PARAMETER);
  LPARAM lParam;
  std::shared_ptr<Payload> payload;
  ParamKind kind;
  if (!UnpackParam(message, static_cast<WPARAM>(wParam), in, &lParam, &payload, &kind))
    return Fail(connection, request, ERROR_INVALID_PARAMETER);
  payload = FromPeer(connection, std::move(payload));
  const HWND window = MakeHandle(handle);
  const auto target = Find(window);
  if (!target) return Fail(connection, request, ERROR_INVALID_WINDOW_HANDLE);
  if (request.op == wire::Op::kPost) {
    if (kind == ParamKind::kCopyData || kind == ParamKind::kTextOut || kind == ParamKind::kRect ||
        message == WM_SETTEXT)
      return Fail(connection, request, ERROR_MESSAGE_SYNC_ONLY);
    const MSG msg{window, message, static_cast<WPARAM>(wParam), lParam, 0, {}};
    if (!PostTo(*target->queue, msg, std::move(payload)))
      return Fail(connection, request, ERROR_INVALID_WINDOW_HANDLE);
    return Answer(connection, request, 0, {});
  }
  auto item = std::make_shared<SentMessage>();
  item->window = window;
  item->message = message;
  item->wParam = static_cast<WPARAM>(wParam);
  item->lParam = lParam;
  item->payload = std::move(payload);
  HandOver(connection, request, target, std::move(item), kind);
}

void ServeBroadcast(const ConnectionRef& connection, const wire::Frame& request, wire::Reader& in) {
  std::uint32_t message;
  std::uint64_t wParam;
  std::uint8_t post;
  LPARAM lParam;
  std::shared_ptr<Payload> payload;
  ParamKind kind;
  if (!in.U32(&message) || !in.U64(&wParam) || !in.U8(&post) ||
      !UnpackParam(message, static_cast<WPARAM>(wParam), in, &lParam, &payload, &kind) ||
      kind == ParamKind::kTextOut || kind == ParamKind::kRect)
    return Fail(connection, request, ERROR_INVALID_PARAMETER);
  payload = FromPeer(connection, std::move(payload));
  std::vector<std::shared_ptr<Window>> targets;
  std::vector<HWND> handles;
  {
    std::lock_guard<std::mutex> guard(TableLock());
    handles = TopLevelLocked();
  }
  for (HWND handle : handles)
    if (auto w = Find(handle)) targets.push_back(std::move(w));
  const auto count = static_cast<std::uint32_t>(targets.size());
  wire::Writer reached;
  reached.U32(count);
  const std::string answer = reached.Take();
  if (post || targets.empty()) {
    for (const auto& w : targets)
      PostTo(*w->queue, MSG{w->handle, message, static_cast<WPARAM>(wParam), lParam, 0, {}}, payload);
    return Answer(connection, request, 0, answer);
  }
  // Sent to every window; answered when the last one has handled it.
  auto remaining = std::make_shared<std::atomic<std::uint32_t>>(count);
  const wire::Frame header = Header(request);
  for (const auto& w : targets) {
    auto item = std::make_shared<SentMessage>();
    item->window = w->handle;
    item->message = message;
    item->wParam = static_cast<WPARAM>(wParam);
    item->lParam = lParam;
    item->payload = payload;
    item->onDone = [connection, header, remaining, answer](LRESULT, bool) {
      if (--*remaining == 0) Answer(connection, header, 0, answer);
    };
    HandTo(*w->queue, item);
  }
}

}  // namespace

void Serve(const ConnectionRef& connection, wire::Frame request) {
  wire::Reader in(request.body);
  switch (request.op) {
    case wire::Op::kList:
      return Answer(connection, request, 0, ListTopLevelWindows());
    case wire::Op::kPost:
    case wire::Op::kSend:
      return ServeMessage(connection, request, in);
    case wire::Op::kBroadcast:
      return ServeBroadcast(connection, request, in);
    case wire::Op::kInput:
    case wire::Op::kPicture:
      return ServeDrive(connection, request);
    case wire::Op::kQuery:
    case wire::Op::kAct:
      break;
  }
  std::uint32_t handle, what;
  std::uint64_t argument;
  if (!in.U32(&handle) || !in.U32(&what) || !in.U64(&argument) || !in.AtEnd())
    return Fail(connection, request, ERROR_INVALID_PARAMETER);
  const HWND window = MakeHandle(handle);
  const auto target = Find(window);
  if (!target) return Fail(connection, request, ERROR_INVALID_WINDOW_HANDLE);
  if (request.op == wire::Op::kQuery) return AnswerQuery(connection, request, window, static_cast<Query>(what), argument);
  auto work = ActionWork(window, static_cast<Action>(what), argument);
  if (!work) return Fail(connection, request, ERROR_INVALID_PARAMETER);
  auto item = std::make_shared<SentMessage>();
  item->window = window;
  item->work = std::move(work);
  HandOver(connection, request, target, std::move(item), ParamKind::kValue);
}

}  // namespace zx::user::channel
