// Fuzz target: what an FTP server sends on its control connection, cut into lines as libcurl
// hands them over and read into replies as WinINet keeps the last one. Once there is a whole
// reply, its code is 100-599, its text starts with that code, ends with a line end and is at
// most 4096 characters besides that line end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "zx/ftpreplies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  zx::inet::FtpReplies replies;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    start = end + 1;
    replies.Feed(line);
    const int code = replies.lastCode();
    if (code == 0) continue;
    if (code < 100 || code > 599) std::abort();
    const std::string& reply = replies.lastText();
    if (reply.size() < 6 || reply.size() > 4096 + 2 || reply.compare(reply.size() - 2, 2, "\r\n") != 0) std::abort();
    if (zx::inet::FtpReplyCode(reply) != code) std::abort();
  }
  return 0;
}
