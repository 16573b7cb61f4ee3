// The decoder of LZMA (method 14) and xz (method 95) zip entries through liblzma. An LZMA
// entry's data start with the LZMA SDK's version (2 bytes) and the size of the coder's
// properties (2 bytes, always 5), then the properties and the raw LZMA stream, which ends with
// a marker when the entry's flags say so and else after the entry's size; an xz entry's data
// are one whole .xz stream. Both are refused when decoding would take more than 256 MiB.
#pragma once
#include <lzma.h>

#include <cstdint>
#include <string>

#include "ZipEntryDecoder.h"

constexpr unsigned kZipMethodLzma = 14;
constexpr unsigned kZipMethodXz = 95;

class CZipLzmaDecoder final : public CZipEntryDecoder {
 public:
  // An xz entry's decoder.
  CZipLzmaDecoder();
  // An LZMA entry's decoder: its data end with a marker, or after `size` bytes.
  CZipLzmaDecoder(bool endMarker, std::uint64_t size);
  ~CZipLzmaDecoder() override;

 protected:
  Progress Decode(const char*& input, unsigned& inputLeft, char*& output, unsigned& outputLeft) override;

 private:
  // Takes the zip's LZMA header from the input and makes the header of an .lzma file in its
  // place; false when the header is not one of LZMA properties.
  bool TakeZipHeader(const char*& input, unsigned& inputLeft);
  // One step of liblzma over the bytes; both sides are advanced past what was used.
  lzma_ret Code(const std::uint8_t*& input, std::size_t& inputLeft, char*& output, unsigned& outputLeft);

  lzma_stream m_stream = LZMA_STREAM_INIT;
  bool m_started = false;
  std::string m_zipHeader;     // the LZMA header's bytes gathered so far
  bool m_headerDone = true;    // an xz entry has none
  std::uint8_t m_fileHeader[13] = {};  // the .lzma file's header: properties, then the size
  std::size_t m_fileHeaderLeft = 0;    // its bytes liblzma has yet to take
  std::uint64_t m_size = 0;    // an LZMA entry's size, or every bit set when a marker ends it
};
