// The decoders of zip entries whose method minizip does not decode itself: minizip hands such
// an entry's compressed bytes over raw, and a decoder turns them into its data. The base reads
// the raw bytes in 64 KiB pieces as the library behind a decoder asks for more.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CZipEntryDecoder {
 public:
  // Reads up to `size` compressed bytes of the entry: the count, 0 at their end, -1 on failure.
  using RawReader = std::function<int(char* buffer, unsigned size)>;
  // What one step of decoding came to.
  enum class Progress { kGoing, kEnded, kFailed };

  CZipEntryDecoder();
  virtual ~CZipEntryDecoder() = default;
  CZipEntryDecoder(const CZipEntryDecoder&) = delete;
  CZipEntryDecoder& operator=(const CZipEntryDecoder&) = delete;

  // Up to `size` bytes of the entry's data: the count, 0 once the stream ended, -1 when the
  // compressed data are damaged, cut short or cannot be read.
  int Read(const RawReader& raw, char* out, unsigned size);

 protected:
  // Decodes what it can of `input` into `output`; both are advanced past what was used.
  virtual Progress Decode(const char*& input, unsigned& inputLeft, char*& output, unsigned& outputLeft) = 0;

 private:
  bool m_finished = false;
  bool m_inputEnded = false;
  std::vector<char> m_input;        // compressed bytes read from the entry
  const char* m_next = nullptr;     // the first of them not yet decoded
  unsigned m_available = 0;
};

// Whether an entry of the zip method is decoded by one of these decoders.
bool ZipEntryDecoderTakes(unsigned method);
// The decoder of an entry of such a method, with the entry's general purpose flags and size.
std::unique_ptr<CZipEntryDecoder> MakeZipEntryDecoder(unsigned method, unsigned flags, std::uint64_t size);
