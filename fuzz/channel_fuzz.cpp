// Fuzz target: hostile bytes on the window channel between processes, cut into frames as a
// process's channel reads them (in two pieces, the first byte telling where to cut) and each
// frame's body read as the receiver reads it: window lists, messages with their parameters
// (texts and WM_COPYDATA blocks made into the receiver's own copies), queries, injected input
// and picture requests (read back only as the sender writes them). A WM_COPYDATA block is
// then read as the running program reads a second start's hand-off.
// Nothing may crash or read past a body; a parameter unpacked must point into its own copy.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "../foundation/HalvoranApp.h"
#include "../platform/user/src/drive.h"
#include "../platform/user/src/marshal.h"
#include "../platform/user/src/queue.h"
#include "../platform/user/src/wire.h"

namespace {

using zx::user::wire::Op;

void ReadMessage(zx::user::wire::Reader& in, UINT message, WPARAM wParam) {
  LPARAM lParam = 0;
  std::shared_ptr<zx::user::Payload> payload;
  zx::user::ParamKind kind = zx::user::ParamKind::kValue;
  if (!zx::user::UnpackParam(message, wParam, in, &lParam, &payload, &kind)) return;
  if (kind == zx::user::ParamKind::kCopyData) {
    if (!payload || lParam != reinterpret_cast<LPARAM>(&payload->copyData)) std::abort();
    if (payload->copyData.cbData != payload->bytes.size()) std::abort();
    CString text;
    if (ReadRunningInstanceText(lParam, text) && text.GetLength() * sizeof(WCHAR) > payload->bytes.size())
      std::abort();
  } else if (kind == zx::user::ParamKind::kRect) {
    if (!payload || lParam != reinterpret_cast<LPARAM>(&payload->rect)) std::abort();
  } else if (kind == zx::user::ParamKind::kTextIn) {
    if (!payload || lParam != reinterpret_cast<LPARAM>(payload->text.c_str())) std::abort();
  }
}

void ReadBody(const zx::user::wire::Frame& frame) {
  zx::user::wire::Reader in(frame.body);
  const bool answer = (frame.flags & zx::user::wire::kAnswerFlag) != 0;
  std::uint32_t u32 = 0, message = 0, count = 0;
  std::uint64_t wParam = 0, argument = 0;
  std::int64_t value = 0;
  std::uint8_t u8 = 0;
  std::u16string text;
  std::string bytes;
  switch (frame.op) {
    case Op::kList:
      if (!answer || !in.U32(&count)) return;
      for (std::uint32_t i = 0; i < count && in.ok(); ++i)
        in.U32(&u32) && in.U32(&u32) && in.U32(&u32) && in.U32(&u32) && in.U32(&u32) && in.Text(&text) &&
            in.Text(&text);
      return;
    case Op::kPost:
    case Op::kSend:
      if (answer) {
        in.I64(&value) && in.U8(&u8) && in.Bytes(&bytes);
        return;
      }
      if (in.U32(&u32) && in.U32(&message) && in.U64(&wParam)) ReadMessage(in, message, static_cast<WPARAM>(wParam));
      return;
    case Op::kQuery:
    case Op::kAct:
      if (answer) in.I64(&value) && in.Bytes(&bytes);
      else in.U32(&u32) && in.U32(&u32) && in.U64(&argument);
      return;
    case Op::kBroadcast:
      if (answer) in.U32(&count);
      else if (in.U32(&message) && in.U64(&wParam) && in.U8(&u8)) ReadMessage(in, message, static_cast<WPARAM>(wParam));
      return;
    case Op::kInput:
    case Op::kPicture:
      if (answer) {
        in.I64(&value) && in.Bytes(&bytes);
      } else if (frame.op == Op::kInput) {
        zx::user::drive::InputEvent event;
        // What is read back is what the sender would write for it.
        if (zx::user::drive::DecodeInput(frame.body, &event) && zx::user::drive::EncodeInput(event) != frame.body)
          std::abort();
      } else {
        zx::user::drive::PictureRequest picture;
        if (zx::user::drive::DecodePicture(frame.body, &picture) && zx::user::drive::EncodePicture(picture) != frame.body)
          std::abort();
      }
      return;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t cut = std::min<std::size_t>(data[0], size - 1);
  const char* stream = reinterpret_cast<const char*>(data) + 1;
  zx::user::wire::Parser parser;
  parser.Feed(stream, cut);
  zx::user::wire::Frame frame;
  bool more = true;
  for (int piece = 0; piece < 2 && more; ++piece) {
    if (piece == 1) parser.Feed(stream + cut, size - 1 - cut);
    for (;;) {
      const auto result = parser.Next(&frame);
      if (result == zx::user::wire::Parser::Result::kBad) {
        more = false;
        break;
      }
      if (result == zx::user::wire::Parser::Result::kNeedMore) break;
      if (frame.body.size() > zx::user::wire::kMaxBody) std::abort();
      // A frame read is one the writer writes with the same bytes.
      const std::string encoded = zx::user::wire::Encode(frame);
      if (encoded.size() != zx::user::wire::kHeaderSize + frame.body.size()) std::abort();
      ReadBody(frame);
    }
  }
  return 0;
}
