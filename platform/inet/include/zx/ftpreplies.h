// The replies of an FTP server as they come in, line by line: a reply is "DDD text" or a
// "DDD-" first line followed by any lines up to the one that starts "DDD " with the same code.
// Lines that are no part of a reply are passed over. Keeps the last whole reply, which WinINet
// answers as the server's own text of a failure.
#pragma once
#include <string>
#include <string_view>

namespace zx::inet {

class FtpReplies {
 public:
  // Takes one line without its line end.
  void Feed(std::string_view line);
  // The code of the last whole reply (100-599), 0 before any.
  int lastCode() const { return lastCode_; }
  // Its lines joined by CRLF, ending with CRLF.
  const std::string& lastText() const { return lastText_; }
  // Forgets everything, including a reply begun.
  void Clear();

 private:
  int openCode_ = 0;  // the code of a multi-line reply under way
  std::string openText_;
  int lastCode_ = 0;
  std::string lastText_;
};

// The code a line starts with when it starts a reply ("DDD " or "DDD-"), else 0.
int FtpReplyCode(std::string_view line);

}  // namespace zx::inet
