// Frames of the window channel between processes, and the little-endian writer and bounded
// reader of their bodies.
//
// A frame is a 16-byte header followed by its body:
//   u32 body length | u16 operation | u16 flags (bit 0: answer) | u32 request id | u32 status
// The status of an answer is a Win32 error code (0: success); requests carry 0. Bodies:
//   kList       request: empty
//               answer:  u32 count, then per top-level window: u32 handle, u32 style,
//                        u32 extended style, u32 process id, u32 thread id, text class,
//                        text title
//   kPost/kSend request: u32 handle, u32 message, u64 wParam, u64 lParam, u8 parameter kind,
//                        bytes payload (see marshal.h)
//               answer:  kPost empty; kSend i64 result, u8 kind, bytes payload
//   kQuery/kAct request: u32 handle, u32 what, u64 argument
//               answer:  i64 value, bytes payload
//   kBroadcast  request: u32 message, u64 wParam, u8 post (1) or send (0), u64 lParam,
//                        u8 parameter kind, bytes payload
//               answer:  u32 windows reached
//   kInput      request: u32 handle, u32 message (a mouse message, WM_KEYDOWN or WM_KEYUP),
//                        i32 virtual key or wheel delta, i32 x, i32 y (the pointer's screen
//                        point)
//               answer:  i64 handle of the window reached (0: none), bytes (empty)
//   kPicture    request: u32 handle, u8 drawn afresh first (0 or 1)
//               answer:  i64 1, bytes the window's PNG
// "text" is u32 count of UTF-16 units then the units (UTF-16LE); "bytes" is u32 length then
// the bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "wintypes.h"

namespace zx::user::wire {

enum class Op : std::uint16_t {
  kList = 1,
  kPost = 2,
  kSend = 3,
  kQuery = 4,
  kAct = 5,
  kBroadcast = 6,
  kInput = 7,
  kPicture = 8,
};
constexpr std::uint16_t kAnswerFlag = 1;
constexpr std::size_t kHeaderSize = 16;
constexpr std::uint32_t kMaxBody = 64u << 20;

struct Frame {
  Op op = Op::kList;
  std::uint16_t flags = 0;
  std::uint32_t id = 0;
  std::uint32_t status = 0;
  std::string body;
};

std::string Encode(const Frame& frame);

// Text as UTF-16LE bytes and back (false for an odd count of bytes).
std::string Utf16Bytes(std::u16string_view text);
bool FromUtf16Bytes(std::string_view bytes, std::u16string* text);

// Cuts a byte stream into frames.
class Parser {
 public:
  enum class Result { kFrame, kNeedMore, kBad };
  void Feed(const char* data, std::size_t size);
  // kBad for a body over kMaxBody or an unknown operation; the stream is then unusable.
  Result Next(Frame* frame);

 private:
  std::string buffer_;
  std::size_t offset_ = 0;
};

class Writer {
 public:
  Writer& U8(std::uint8_t v);
  Writer& U16(std::uint16_t v);
  Writer& U32(std::uint32_t v);
  Writer& U64(std::uint64_t v);
  Writer& I64(std::int64_t v) { return U64(static_cast<std::uint64_t>(v)); }
  Writer& Text(std::u16string_view text);
  Writer& Bytes(const void* data, std::size_t size);
  Writer& Bytes(std::string_view bytes) { return Bytes(bytes.data(), bytes.size()); }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

// Reads fields in order; a read past the end (or a length over its limit) fails this read
// and every later one.
class Reader {
 public:
  explicit Reader(std::string_view data) : data_(data) {}
  explicit Reader(std::string&&) = delete;  // would read a destroyed temporary
  bool U8(std::uint8_t* v);
  bool U16(std::uint16_t* v);
  bool U32(std::uint32_t* v);
  bool U64(std::uint64_t* v);
  bool I64(std::int64_t* v);
  bool Text(std::u16string* text, std::size_t maxUnits = kMaxBody / 2);
  bool Bytes(std::string* bytes, std::size_t maxBytes = kMaxBody);
  bool ok() const { return ok_; }
  bool AtEnd() const { return ok_ && position_ == data_.size(); }

 private:
  bool Take(std::size_t size, const char** at);
  std::string_view data_;
  std::size_t position_ = 0;
  bool ok_ = true;
};

}  // namespace zx::user::wire
