// FTP server replies read line by line.
#include "zx/ftpreplies.h"

namespace zx::inet {
namespace {

// A whole reply's text is held only up to this length; the rest is dropped.
constexpr std::size_t kMaxReplyText = 4096;

void Append(std::string& text, std::string_view line) {
  if (text.size() >= kMaxReplyText) return;
  text.append(line.substr(0, kMaxReplyText - text.size()));
  text += "\r\n";
}

}  // namespace

int FtpReplyCode(std::string_view line) {
  if (line.size() < 4 || (line[3] != ' ' && line[3] != '-')) return 0;
  if (line[0] < '1' || line[0] > '5' || line[1] < '0' || line[1] > '9' || line[2] < '0' || line[2] > '9') return 0;
  return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

void FtpReplies::Feed(std::string_view line) {
  const int code = FtpReplyCode(line);
  if (openCode_ != 0) {
    Append(openText_, line);
    if (code != openCode_ || line[3] != ' ') return;
    lastCode_ = openCode_;
    lastText_.swap(openText_);
    openText_.clear();
    openCode_ = 0;
    return;
  }
  if (code == 0) return;
  if (line[3] == '-') {
    openCode_ = code;
    openText_.clear();
    Append(openText_, line);
    return;
  }
  lastCode_ = code;
  lastText_.clear();
  Append(lastText_, line);
}

void FtpReplies::Clear() { *this = FtpReplies(); }

}  // namespace zx::inet
