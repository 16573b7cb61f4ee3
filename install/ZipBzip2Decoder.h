// The decoder of bzip2 zip entries (method 12) through libbz2: minizip hands such an entry's
// compressed bytes over raw, and this turns them into its data.
#pragma once
#include <windows.h>

#include <bzlib.h>

#include <functional>
#include <vector>

constexpr unsigned kZipMethodBzip2 = 12;

class CZipBzip2Decoder {
 public:
  // Reads up to `size` compressed bytes of the entry: the count, 0 at their end, -1 on failure.
  using RawReader = std::function<int(char* buffer, unsigned size)>;

  CZipBzip2Decoder();
  ~CZipBzip2Decoder();
  CZipBzip2Decoder(const CZipBzip2Decoder&) = delete;
  CZipBzip2Decoder& operator=(const CZipBzip2Decoder&) = delete;

  // Up to `size` bytes of the entry's data: the count, 0 once the stream ended, -1 when the
  // compressed data are damaged, cut short or cannot be read.
  int Read(const RawReader& raw, char* out, unsigned size);

 private:
  bz_stream m_stream = {};
  bool m_started = false;
  bool m_finished = false;
  std::vector<char> m_input;  // compressed bytes read from the entry
  char* m_next = nullptr;     // the first of them not yet decoded
  unsigned m_available = 0;
};
