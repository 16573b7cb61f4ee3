// Frames of the window channel: encoding, cutting a stream into frames, and field access.
#include "wire.h"

#include <cstring>

namespace zx::user::wire {
namespace {

template <class T>
void Put(std::string& out, T value) {
  for (std::size_t i = 0; i < sizeof(T); ++i)
    out.push_back(static_cast<char>((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF));
}

template <class T>
T Get(const char* at) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i)
    value |= static_cast<std::uint64_t>(static_cast<unsigned char>(at[i])) << (8 * i);
  return static_cast<T>(value);
}

bool KnownOp(std::uint16_t op) { return op >= 1 && op <= 8; }

}  // namespace

std::string Encode(const Frame& frame) {
  std::string out;
  out.reserve(kHeaderSize + frame.body.size());
  Put<std::uint32_t>(out, static_cast<std::uint32_t>(frame.body.size()));
  Put<std::uint16_t>(out, static_cast<std::uint16_t>(frame.op));
  Put<std::uint16_t>(out, frame.flags);
  Put<std::uint32_t>(out, frame.id);
  Put<std::uint32_t>(out, frame.status);
  out += frame.body;
  return out;
}

std::string Utf16Bytes(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char16_t unit : text) Put<std::uint16_t>(out, unit);
  return out;
}

bool FromUtf16Bytes(std::string_view bytes, std::u16string* text) {
  if (bytes.size() % 2) return false;
  text->resize(bytes.size() / 2);
  for (std::size_t i = 0; i < text->size(); ++i) (*text)[i] = Get<std::uint16_t>(bytes.data() + 2 * i);
  return true;
}

void Parser::Feed(const char* data, std::size_t size) {
  if (offset_ > 0 && offset_ == buffer_.size()) {
    buffer_.clear();
    offset_ = 0;
  }
  buffer_.append(data, size);
}

Parser::Result Parser::Next(Frame* frame) {
  const std::size_t available = buffer_.size() - offset_;
  if (available < kHeaderSize) return Result::kNeedMore;
  const char* at = buffer_.data() + offset_;
  const auto length = Get<std::uint32_t>(at);
  const auto op = Get<std::uint16_t>(at + 4);
  if (length > kMaxBody || !KnownOp(op)) return Result::kBad;
  if (available < kHeaderSize + length) return Result::kNeedMore;
  frame->op = static_cast<Op>(op);
  frame->flags = Get<std::uint16_t>(at + 6);
  frame->id = Get<std::uint32_t>(at + 8);
  frame->status = Get<std::uint32_t>(at + 12);
  frame->body.assign(at + kHeaderSize, length);
  offset_ += kHeaderSize + length;
  if (offset_ > (1u << 20) && offset_ * 2 > buffer_.size()) {
    buffer_.erase(0, offset_);
    offset_ = 0;
  }
  return Result::kFrame;
}

Writer& Writer::U8(std::uint8_t v) { Put(out_, v); return *this; }
Writer& Writer::U16(std::uint16_t v) { Put(out_, v); return *this; }
Writer& Writer::U32(std::uint32_t v) { Put(out_, v); return *this; }
Writer& Writer::U64(std::uint64_t v) { Put(out_, v); return *this; }

Writer& Writer::Text(std::u16string_view text) {
  U32(static_cast<std::uint32_t>(text.size()));
  out_ += Utf16Bytes(text);
  return *this;
}

Writer& Writer::Bytes(const void* data, std::size_t size) {
  U32(static_cast<std::uint32_t>(size));
  out_.append(static_cast<const char*>(data), size);
  return *this;
}

bool Reader::Take(std::size_t size, const char** at) {
  if (!ok_ || data_.size() - position_ < size) return ok_ = false;
  *at = data_.data() + position_;
  position_ += size;
  return true;
}

bool Reader::U8(std::uint8_t* v) {
  const char* at;
  if (!Take(1, &at)) return false;
  *v = Get<std::uint8_t>(at);
  return true;
}

bool Reader::U16(std::uint16_t* v) {
  const char* at;
  if (!Take(2, &at)) return false;
  *v = Get<std::uint16_t>(at);
  return true;
}

bool Reader::U32(std::uint32_t* v) {
  const char* at;
  if (!Take(4, &at)) return false;
  *v = Get<std::uint32_t>(at);
  return true;
}

bool Reader::U64(std::uint64_t* v) {
  const char* at;
  if (!Take(8, &at)) return false;
  *v = Get<std::uint64_t>(at);
  return true;
}

bool Reader::I64(std::int64_t* v) {
  std::uint64_t u;
  if (!U64(&u)) return false;
  *v = static_cast<std::int64_t>(u);
  return true;
}

bool Reader::Text(std::u16string* text, std::size_t maxUnits) {
  std::uint32_t units;
  const char* at;
  if (!U32(&units)) return false;
  if (units > maxUnits || !Take(std::size_t{units} * 2, &at)) return ok_ = false;
  return FromUtf16Bytes(std::string_view(at, std::size_t{units} * 2), text);
}

bool Reader::Bytes(std::string* bytes, std::size_t maxBytes) {
  std::uint32_t size;
  const char* at;
  if (!U32(&size)) return false;
  if (size > maxBytes || !Take(size, &at)) return ok_ = false;
  bytes->assign(at, size);
  return true;
}

}  // namespace zx::user::wire
