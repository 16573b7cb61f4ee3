// The decoder of bzip2 zip entries (method 12) through libbz2.
#pragma once
#include <bzlib.h>

#include "ZipEntryDecoder.h"

constexpr unsigned kZipMethodBzip2 = 12;

class CZipBzip2Decoder final : public CZipEntryDecoder {
 public:
  CZipBzip2Decoder();
  ~CZipBzip2Decoder() override;

 protected:
  Progress Decode(const char*& input, unsigned& inputLeft, char*& output, unsigned& outputLeft) override;

 private:
  bz_stream m_stream = {};
  bool m_started = false;
};
