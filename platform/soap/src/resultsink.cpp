// The result sink of each thread.
#include "zx/soapresultsink.h"

namespace zx::soap {
namespace {

thread_local ResultSink* current = nullptr;

}  // namespace

ScopedResultSink::ScopedResultSink(ResultSink& sink) : previous_(current) { current = &sink; }

ScopedResultSink::~ScopedResultSink() { current = previous_; }

ResultSink* CurrentResultSink() { return current; }

}  // namespace zx::soap
