// An http or https address taken apart for a WinINet request: host, port, the object (path
// with its query) and whether the connection is secure. Shared by the layer's URL download
// and the SOAP client.
#pragma once
#include <string>

#include "wininet.h"

namespace zx::inet {

struct HttpTarget {
  std::u16string host;
  INTERNET_PORT port = 0;
  std::u16string object;
  bool secure = false;
};

// False for an address InternetCrackUrl refuses or whose scheme is neither http nor https.
bool SplitHttpUrl(LPCWSTR url, HttpTarget& target);

}  // namespace zx::inet
