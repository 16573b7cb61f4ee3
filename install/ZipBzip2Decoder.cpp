// The bzip2 decoder of zip entries: one libbz2 stream over the entry's compressed bytes.
#include "ZipBzip2Decoder.h"

CZipBzip2Decoder::CZipBzip2Decoder() { m_started = BZ2_bzDecompressInit(&m_stream, 0, 0) == BZ_OK; }

CZipBzip2Decoder::~CZipBzip2Decoder() {
  if (m_started) BZ2_bzDecompressEnd(&m_stream);
}

CZipEntryDecoder::Progress CZipBzip2Decoder::Decode(const char*& input, unsigned& inputLeft, char*& output,
                                                    unsigned& outputLeft) {
  if (!m_started) return Progress::kFailed;
  // libbz2 never writes through next_in; its type only lacks the const.
  m_stream.next_in = const_cast<char*>(input);
  m_stream.avail_in = inputLeft;
  m_stream.next_out = output;
  m_stream.avail_out = outputLeft;
  const int status = BZ2_bzDecompress(&m_stream);
  input = m_stream.next_in;
  inputLeft = m_stream.avail_in;
  output = m_stream.next_out;
  outputLeft = m_stream.avail_out;
  if (status == BZ_STREAM_END) return Progress::kEnded;
  return status == BZ_OK ? Progress::kGoing : Progress::kFailed;
}
