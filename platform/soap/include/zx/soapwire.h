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
// Reads the envelope where it stands: the document is parsed in the envelope's own bytes, and
// the result is converted straight into its string.
Response ReadResponse(std::string envelope, std::string_view serviceNamespace, const OperationDescription& operation);

// Base64 (RFC 4648, with padding, no line breaks).
std::string Base64(const unsigned char* data, std::size_t size);

}  // namespace zx::soap
