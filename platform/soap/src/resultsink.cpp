// The result sink of each thread.
#include "zx/soapresultsink.h"

#include <algorithm>

namespace zx::soap {
namespace {

thread_local ResultSink* current = nullptr;

}  // namespace

void ResultSink::TakeAscii(std::string_view piece) {
  constexpr std::size_t kPieceUnits = 4096;
  char16_t units[kPieceUnits];
  while (!piece.empty()) {
    const std::size_t count = std::min(kPieceUnits, piece.size());
    std::copy_n(piece.data(), count, units);
    Take(std::u16string_view(units, count));
    piece.remove_prefix(count);
  }
}

ScopedResultSink::ScopedResultSink(ResultSink& sink) : previous_(current) { current = &sink; }

ScopedResultSink::~ScopedResultSink() { current = previous_; }

ResultSink* CurrentResultSink() { return current; }

}  // namespace zx::soap
