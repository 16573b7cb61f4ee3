// The envelope of an enciphered update answer, enciphered piece by piece as the connection takes
// it: its megabytes of digits are never held whole, and the key stream, which no request
// changes, is made once for all answers.
#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "soapmessages.h"

namespace zx::webservice {

class EncipheredEnvelope {
 public:
  // The answer of `operation` carrying `plain` enciphered (trimmed first, as the clients do).
  EncipheredEnvelope(const soap::OperationDescription& operation, std::string plain);

  std::size_t size() const { return tailStart_ + tail_.size(); }
  // The envelope's bytes from `offset`, 0 or where the last read ended, written to `out`: as
  // many as `room` (at least four) takes without cutting a unit's digits; the count written.
  std::size_t Read(std::size_t offset, char* out, std::size_t room) const;
  // The whole envelope: ResultEnvelope(operation, EncipheredText(plain)).
  std::string Whole() const;

 private:
  // The digits of whole units from digit `at` (a unit's first) on.
  std::size_t ReadDigits(std::size_t at, char* out, std::size_t room) const;

  std::size_t UnitCount() const { return ascii_.size() + units_.size(); }

  std::string head_;  // the envelope's start and the digest field
  // The text's units: an ASCII text as it came, any other as UTF-16.
  std::string ascii_;
  std::u16string units_;
  std::string tail_;
  std::shared_ptr<const std::vector<unsigned char>> keyStream_;
  std::size_t tailStart_ = 0;
};

}  // namespace zx::webservice
