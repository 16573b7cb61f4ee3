// The bzip2 decoder of zip entries: compressed bytes are read from the entry in 64 KiB
// pieces as libbz2 asks for more.
#include "ZipBzip2Decoder.h"

namespace {
constexpr unsigned kInputSize = 65536;
}  // namespace

CZipBzip2Decoder::CZipBzip2Decoder() : m_input(kInputSize) {
  m_started = BZ2_bzDecompressInit(&m_stream, 0, 0) == BZ_OK;
}

CZipBzip2Decoder::~CZipBzip2Decoder() {
  if (m_started) BZ2_bzDecompressEnd(&m_stream);
}

int CZipBzip2Decoder::Read(const RawReader& raw, char* out, unsigned size) {
  if (!m_started) return -1;
  if (m_finished || size == 0) return 0;
  m_stream.next_out = out;
  m_stream.avail_out = size;
  while (m_stream.avail_out == size) {
    if (m_available == 0) {
      const int got = raw(m_input.data(), kInputSize);
      // Compressed bytes that stop before the stream's end are cut short.
      if (got <= 0) return -1;
      m_next = m_input.data();
      m_available = static_cast<unsigned>(got);
    }
    m_stream.next_in = m_next;
    m_stream.avail_in = m_available;
    const int status = BZ2_bzDecompress(&m_stream);
    m_next = m_stream.next_in;
    m_available = m_stream.avail_in;
    if (status == BZ_STREAM_END) {
      m_finished = true;
      break;
    }
    if (status != BZ_OK) return -1;
  }
  return static_cast<int>(size - m_stream.avail_out);
}
