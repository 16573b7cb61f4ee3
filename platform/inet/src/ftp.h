// The FTP side of InternetConnect. Inet-internal.
#pragma once
#include <memory>
#include <string>

#include "inetobjects.h"

namespace zx::inet {

// Makes an FTP connection below the session and logs in; null with the last error set when
// the server cannot be reached or refuses.
HINTERNET ConnectFtp(std::shared_ptr<Session> session, std::string server, INTERNET_PORT port,
                     std::u16string userName, std::u16string password, DWORD_PTR context);

}  // namespace zx::inet
