// The raw input loop shared by the zip entry decoders, and the choice of decoder by method.
#include "ZipEntryDecoder.h"

#include "ZipBzip2Decoder.h"
#include "ZipLzmaDecoder.h"

namespace {
constexpr unsigned kInputSize = 65536;
constexpr unsigned kEndMarkerFlag = 2;  // an LZMA entry's data end with an end-of-stream marker
}  // namespace

CZipEntryDecoder::CZipEntryDecoder() : m_input(kInputSize) {}

int CZipEntryDecoder::Read(const RawReader& raw, char* out, unsigned size) {
  if (m_finished || size == 0) return 0;
  char* next = out;
  unsigned left = size;
  while (left == size) {
    if (m_available == 0 && !m_inputEnded) {
      const int got = raw(m_input.data(), kInputSize);
      if (got < 0) return -1;
      m_inputEnded = got == 0;
      m_next = m_input.data();
      m_available = static_cast<unsigned>(got);
    }
    const Progress progress = Decode(m_next, m_available, next, left);
    if (progress == Progress::kFailed) return -1;
    if (progress == Progress::kEnded) {
      m_finished = true;
      break;
    }
    // Compressed bytes that stop before the stream's end are cut short.
    if (m_inputEnded && left == size) return -1;
  }
  return static_cast<int>(size - left);
}

bool ZipEntryDecoderTakes(unsigned method) {
  return method == kZipMethodBzip2 || method == kZipMethodLzma || method == kZipMethodXz;
}

std::unique_ptr<CZipEntryDecoder> MakeZipEntryDecoder(unsigned method, unsigned flags, std::uint64_t size) {
  if (method == kZipMethodBzip2) return std::make_unique<CZipBzip2Decoder>();
  if (method == kZipMethodXz) return std::make_unique<CZipLzmaDecoder>();
  if (method == kZipMethodLzma) return std::make_unique<CZipLzmaDecoder>((flags & kEndMarkerFlag) != 0, size);
  return nullptr;
}
