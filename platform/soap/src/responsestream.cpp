// Reading a response envelope as it arrives: the result's character data goes on to the
// thread's result sink while the blocks come, and only the rest of the envelope is kept.
#include <algorithm>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "zx/cpufeatures.h"
#include "zx/soapresultsink.h"
#include "zx/soapwire.h"

namespace zx::soap {
namespace {

constexpr std::size_t kPieceBytes = 16 * 1024;

// Bytes that stand in character data for themselves, one UTF-16 unit each: printable ASCII but
// "<" and "&". Anything else (line ends, references, sections, other characters) is left to
// the document's parse.
bool IsPlain(unsigned char byte) { return byte >= 0x20 && byte < 0x7F && byte != '<' && byte != '&'; }

#if defined(__x86_64__)
// The run of plain bytes from `p` on, 32 bytes at a time with AVX2: answers its first byte that
// is not plain, or where fewer than 32 bytes are left before `end`.
ZX_TARGET_AVX2 const char* PlainRunAvx2(const char* p, const char* const end) {
  const __m256i fromSpace = _mm256_set1_epi8(0x20), printableMost = _mm256_set1_epi8(0x7E - 0x20);
  const __m256i less = _mm256_set1_epi8('<'), ampersand = _mm256_set1_epi8('&');
  for (; end - p >= 32; p += 32) {
    const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i printable = zx::BytesAtMost(_mm256_sub_epi8(block, fromSpace), printableMost);
    const __m256i markup = _mm256_or_si256(_mm256_cmpeq_epi8(block, less), _mm256_cmpeq_epi8(block, ampersand));
    const unsigned plain = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_andnot_si256(markup, printable)));
    if (plain != ~0u) return p + __builtin_ctz(~plain);
  }
  return p;
}
#endif

// The length of the run of plain bytes at the start of `bytes`.
std::size_t PlainRun(std::string_view bytes) {
  const char* const begin = bytes.data();
  const char* p = begin;
  const char* const end = begin + bytes.size();
#if defined(__x86_64__)
  // Where it stopped, the loops below go on: on a byte that is not plain they stop at once.
  if (zx::HasAvx2()) p = PlainRunAvx2(p, end);
#endif
#if defined(__SSE2__)
  // Sixteen bytes at a time, compared as signed bytes after a move by 0x80.
  const __m128i fromSpace = _mm_set1_epi8(static_cast<char>(0x80 + 0x20));
  const __m128i printableLimit = _mm_set1_epi8(static_cast<char>(0x80 + 0x5F));
  const __m128i less = _mm_set1_epi8('<');
  const __m128i ampersand = _mm_set1_epi8('&');
  for (; end - p >= 16; p += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i printable = _mm_cmplt_epi8(_mm_sub_epi8(block, fromSpace), printableLimit);
    const __m128i markup = _mm_or_si128(_mm_cmpeq_epi8(block, less), _mm_cmpeq_epi8(block, ampersand));
    const int plain = _mm_movemask_epi8(_mm_andnot_si128(markup, printable));
    if (plain != 0xFFFF) return static_cast<std::size_t>(p - begin) + static_cast<std::size_t>(__builtin_ctz(~plain));
  }
#endif
  while (p < end && IsPlain(static_cast<unsigned char>(*p))) ++p;
  return static_cast<std::size_t>(p - begin);
}

bool IsNameByte(char ch) { return ch != '>' && ch != '/' && ch != ' ' && ch != '\t' && ch != '\r' && ch != '\n'; }

}  // namespace

ResponseStream::ResponseStream(std::string_view resultPart, std::size_t announced)
    : resultPart_(resultPart), announced_(announced), sink_(CurrentResultSink()) {
  if (!sink_) {
    state_ = State::Kept;
    kept_.reserve(announced);
  }
}

void ResponseStream::Take(std::string_view bytes) {
  received_ += bytes.size();
  // While the text goes on, the envelope kept ends where it began: a block of plain ASCII is
  // sent on without being copied.
  if (state_ == State::Diverting) {
    const std::size_t plain = SendOn(bytes);
    if (plain == bytes.size()) return;
    bytes.remove_prefix(plain);
    state_ = State::Kept;
  }
  kept_.append(bytes);
  if (state_ == State::Seeking) Seek();
  if (state_ == State::Diverting) Divert();
}

// Each tag is scanned once, however the blocks cut it: where the scan stopped is kept.
void ResponseStream::Seek() {
  for (;;) {
    if (phase_ == Phase::Open) {
      const std::size_t open = kept_.find('<', scanAt_);
      if (open == std::string::npos) {
        scanAt_ = kept_.size();
        return;
      }
      tagAt_ = open;
      scanAt_ = open + 1;
      phase_ = Phase::Name;
    }
    if (phase_ == Phase::Name) {
      while (scanAt_ < kept_.size() && IsNameByte(kept_[scanAt_])) ++scanAt_;
      if (scanAt_ == kept_.size()) return;  // the name goes on in the next block
      const std::string_view name(kept_.data() + tagAt_ + 1, scanAt_ - tagAt_ - 1);
      const std::size_t colon = name.find(':');
      if ((colon == std::string_view::npos ? name : name.substr(colon + 1)) != resultPart_) {
        phase_ = Phase::Open;
        continue;
      }
      phase_ = Phase::Attributes;
    }
    // The end of the result's start tag, past any quoted attribute value.
    for (; scanAt_ < kept_.size() && (quote_ || kept_[scanAt_] != '>'); ++scanAt_) {
      const char ch = kept_[scanAt_];
      if (quote_ ? ch == quote_ : ch == '"' || ch == '\'') quote_ = quote_ ? 0 : ch;
    }
    if (scanAt_ == kept_.size()) return;
    if (kept_[scanAt_ - 1] == '/') {
      state_ = State::Kept;  // an empty result: nothing to send on
      return;
    }
    diverted_ = Diverted{tagAt_, 0};
    textAt_ = scanAt_ + 1;
    sink_->Begin(announced_);
    state_ = State::Diverting;
    return;
  }
}

std::size_t ResponseStream::SendOn(std::string_view bytes) {
  const std::size_t plain = PlainRun(bytes);
  for (std::size_t at = 0; at < plain; at += kPieceBytes) sink_->TakeAscii(bytes.substr(at, std::min(kPieceBytes, plain - at)));
  diverted_->units += plain;
  return plain;
}

void ResponseStream::Divert() {
  kept_.erase(textAt_, SendOn(std::string_view(kept_).substr(textAt_)));
  if (textAt_ < kept_.size()) state_ = State::Kept;  // the rest of the text is read from the document
}

void ResponseStream::Abandon() {
  if (diverted_) sink_->Begin(0);
}

Response ResponseStream::Finish(std::string_view serviceNamespace, const OperationDescription& operation) {
  return ReadResponse(std::exchange(kept_, std::string()), serviceNamespace, operation, diverted_);
}

}  // namespace zx::soap
