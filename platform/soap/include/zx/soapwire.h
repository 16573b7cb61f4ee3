// The wire form of SOAP 1.1 document/literal calls: describing an operation, writing its
// request envelope and reading its response envelope. Platform-internal: the SOAP transports
// and the proxies use it; the loopback stand-in of the web service shares the descriptions.
#pragma once
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "atlsoap.h"

namespace zx::soap {

inline constexpr const char* kEnvelopeNamespace = "http://schemas.xmlsoap.org/soap/envelope/";

enum class PartType { String, Boolean, Base64Binary };

struct PartDescription {
  const char* name;
  PartType type;
};

// One operation: its name, its request parts in wire order and its result part. The request
// element is the operation's name, the response element the name followed by "Response".
struct OperationDescription {
  const char* name;
  std::vector<PartDescription> parts;
  const char* resultPart;
};

// The value of one request part: a string (null is nil), a boolean or bytes.
struct PartValue {
  BSTR text = nullptr;
  bool flag = false;
  ATLSOAP_BLOB blob{0, nullptr};

  static PartValue String(BSTR value) { return PartValue{value, false, {0, nullptr}}; }
  static PartValue Boolean(bool value) { return PartValue{nullptr, value, {0, nullptr}}; }
  static PartValue Bytes(ATLSOAP_BLOB value) { return PartValue{nullptr, false, value}; }
};

// The request envelope (UTF-8), or nullopt when a text holds characters XML cannot carry.
std::optional<std::string> WriteRequest(std::string_view serviceNamespace,
                                        const OperationDescription& operation,
                                        std::span<const PartValue> values);

// The result text of a response as the BSTR the caller is handed; none when the result is
// nil or left out.
class ResultText {
 public:
  ResultText() = default;
  explicit ResultText(BSTR text) : text_(text) {}
  ResultText(ResultText&& other) noexcept : text_(other.Release()) {}
  ResultText& operator=(ResultText&& other) noexcept;
  ~ResultText();

  explicit operator bool() const { return text_ != nullptr; }
  std::u16string_view operator*() const;
  // Hands the string over; none is left.
  BSTR Release();

 private:
  BSTR text_ = nullptr;
};

// What a response envelope says.
struct Response {
  enum Kind { Result, Fault, Malformed } kind = Malformed;
  ResultText result;
  CSoapFault fault;
};
// What was sent on to the thread's result sink while the envelope came: the start of the tag
// taken for the result's (the offset of its "<" in the envelope kept) and the count of
// characters sent, which the envelope kept no longer holds.
struct Diverted {
  std::size_t elementAt;
  std::size_t units;
};

// Reads the envelope where it stands: the document is parsed in the envelope's own bytes, and
// the result is converted straight into its string. With `diverted`, the result's text began
// at the sink already: the rest of it follows there; the tag taken must be the result's, or
// the envelope is malformed.
Response ReadResponse(std::string envelope, std::string_view serviceNamespace, const OperationDescription& operation,
                      std::optional<Diverted> diverted = std::nullopt);

// A response envelope read as it arrives, block by block. While the thread has a result sink,
// the start of the first element named as the result part opens the result's text: its run
// of plain ASCII goes on to the sink as it comes and is not kept, so that a large result is
// never held whole as received; what follows is read from the envelope kept. Without a sink
// the envelope is kept whole.
class ResponseStream {
 public:
  // `announced`: the envelope's length when the server said it (0 otherwise).
  ResponseStream(std::string_view resultPart, std::size_t announced);
  void Take(std::string_view bytes);
  // The bytes taken so far.
  std::size_t Received() const { return received_; }
  // The answer did not come whole: the sink forgets what it was sent.
  void Abandon();
  // What the envelope says (ReadResponse); the stream is then done.
  Response Finish(std::string_view serviceNamespace, const OperationDescription& operation);

 private:
  enum class State { Seeking, Diverting, Kept };
  // Where the seeking is in a tag: before its "<", in its name, in the result's attributes.
  enum class Phase { Open, Name, Attributes };
  void Seek();
  // Sends the text begun in the envelope kept on, up to its first byte that is not plain ASCII.
  void Divert();
  // Sends on the run of plain ASCII at the start of `bytes`; answers its length.
  std::size_t SendOn(std::string_view bytes);

  std::string_view resultPart_;
  std::size_t announced_;
  class ResultSink* sink_;
  State state_ = State::Seeking;
  std::string kept_;
  std::size_t received_ = 0;
  Phase phase_ = Phase::Open;
  std::size_t scanAt_ = 0;
  std::size_t tagAt_ = 0;
  char quote_ = 0;
  std::size_t textAt_ = 0;
  std::optional<Diverted> diverted_;
};

// Base64 (RFC 4648, with padding, no line breaks).
std::string Base64(const unsigned char* data, std::size_t size);

}  // namespace zx::soap
