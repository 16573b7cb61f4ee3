// A call's result text handed over piece by piece while the answer is read, instead of as one
// string: for results too large to be held twice (the update service's answer is four
// hexadecimal digits a character of what it carries). A sink is set for the calls of one
// thread; their result string is then empty.
#pragma once
#include <cstddef>
#include <string_view>

namespace zx::soap {

class ResultSink {
 public:
  virtual ~ResultSink() = default;
  // A result begins: every answer read starts one, also a fault or a nil result (which then
  // gives no text), and an answer that did not come whole. `announced` is the length of the
  // text to come, or a bound on it when the text is sent on while the answer arrives (the
  // answer's length; 0 when not known).
  virtual void Begin(std::size_t announced) = 0;
  // The next piece of the text.
  virtual void Take(std::u16string_view piece) = 0;
  // The next piece of a text that is all ASCII, one byte a unit, as it stands in the answer:
  // a sink that reads such text directly needs no wide copy of it. By default widened and
  // handed to Take.
  virtual void TakeAscii(std::string_view piece);
};

// Sends the result texts of this thread's calls to `sink` while it lives.
class ScopedResultSink {
 public:
  explicit ScopedResultSink(ResultSink& sink);
  ~ScopedResultSink();
  ScopedResultSink(const ScopedResultSink&) = delete;
  ScopedResultSink& operator=(const ScopedResultSink&) = delete;

 private:
  ResultSink* previous_;
};

// The sink set for this thread, or null.
ResultSink* CurrentResultSink();

}  // namespace zx::soap
