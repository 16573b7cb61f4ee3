// The LZMA and xz decoder of zip entries: an LZMA entry goes through liblzma's .lzma file
// decoder, its zip header replaced by the 13 bytes of that format's header (the properties,
// then the size in 64 bits, every bit set when a marker ends the data); an xz entry goes
// through the .xz stream decoder, which checks the stream's own check as well.
#include "ZipLzmaDecoder.h"

namespace {
constexpr std::uint64_t kMemoryLimit = 256ull << 20;
constexpr std::size_t kLzmaPropertiesSize = 5;
constexpr std::size_t kZipHeaderSize = 4 + kLzmaPropertiesSize;  // version, properties' size, properties

// What a step of liblzma came to; no progress with no input left is left to the caller, which
// sees the data cut short.
CZipEntryDecoder::Progress Outcome(lzma_ret status) {
  if (status == LZMA_STREAM_END) return CZipEntryDecoder::Progress::kEnded;
  return status == LZMA_OK || status == LZMA_BUF_ERROR ? CZipEntryDecoder::Progress::kGoing
                                                       : CZipEntryDecoder::Progress::kFailed;
}
}  // namespace

CZipLzmaDecoder::CZipLzmaDecoder() { m_started = lzma_stream_decoder(&m_stream, kMemoryLimit, 0) == LZMA_OK; }

CZipLzmaDecoder::CZipLzmaDecoder(bool endMarker, std::uint64_t size)
    : m_headerDone(false), m_size(endMarker ? ~0ull : size) {
  m_started = lzma_alone_decoder(&m_stream, kMemoryLimit) == LZMA_OK;
}

CZipLzmaDecoder::~CZipLzmaDecoder() { lzma_end(&m_stream); }

bool CZipLzmaDecoder::TakeZipHeader(const char*& input, unsigned& inputLeft) {
  while (m_zipHeader.size() < kZipHeaderSize && inputLeft > 0) {
    m_zipHeader += *input++;
    --inputLeft;
  }
  if (m_zipHeader.size() < kZipHeaderSize) return true;
  if (static_cast<unsigned char>(m_zipHeader[2]) != kLzmaPropertiesSize || m_zipHeader[3] != 0) return false;
  for (std::size_t i = 0; i < kLzmaPropertiesSize; ++i) m_fileHeader[i] = static_cast<std::uint8_t>(m_zipHeader[4 + i]);
  for (std::size_t i = 0; i < 8; ++i) m_fileHeader[kLzmaPropertiesSize + i] = static_cast<std::uint8_t>(m_size >> (8 * i));
  m_fileHeaderLeft = sizeof m_fileHeader;
  m_headerDone = true;
  return true;
}

lzma_ret CZipLzmaDecoder::Code(const std::uint8_t*& input, std::size_t& inputLeft, char*& output, unsigned& outputLeft) {
  m_stream.next_in = input;
  m_stream.avail_in = inputLeft;
  m_stream.next_out = reinterpret_cast<std::uint8_t*>(output);
  m_stream.avail_out = outputLeft;
  const lzma_ret status = lzma_code(&m_stream, LZMA_RUN);
  input = m_stream.next_in;
  inputLeft = m_stream.avail_in;
  output = reinterpret_cast<char*>(m_stream.next_out);
  outputLeft = static_cast<unsigned>(m_stream.avail_out);
  return status;
}

CZipEntryDecoder::Progress CZipLzmaDecoder::Decode(const char*& input, unsigned& inputLeft, char*& output,
                                                   unsigned& outputLeft) {
  if (!m_started) return Progress::kFailed;
  if (!m_headerDone) {
    if (!TakeZipHeader(input, inputLeft)) return Progress::kFailed;
    if (!m_headerDone) return Progress::kGoing;
  }
  // The made header goes first; it makes no output, and liblzma takes it whole once it has
  // room to write.
  if (m_fileHeaderLeft > 0) {
    const std::uint8_t* header = m_fileHeader + (sizeof m_fileHeader - m_fileHeaderLeft);
    const lzma_ret status = Code(header, m_fileHeaderLeft, output, outputLeft);
    if (status != LZMA_OK || m_fileHeaderLeft > 0) return Outcome(status);
  }
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(input);
  std::size_t left = inputLeft;
  const lzma_ret status = Code(bytes, left, output, outputLeft);
  input = reinterpret_cast<const char*>(bytes);
  inputLeft = static_cast<unsigned>(left);
  return Outcome(status);
}
