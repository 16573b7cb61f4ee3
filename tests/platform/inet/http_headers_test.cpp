// Response headers read line by line as the transfer gets them: the status code of odd status
// lines, interim answers, and redirects that are followed only with a Location.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "zx/httpheaders.h"

namespace zx::inet {
namespace {

using Step = HttpHeaders::Step;

TEST(HttpHeadersTest, StatusLinesAndTheEndOfTheHeaders) {
  struct Case {
    std::vector<std::string> lines;
    bool follow;
    Step last;
    long status;
  };
  const Case cases[] = {
      {{"HTTP/1.1 200 OK\r\n", "Content-Length: 5\r\n", "\r\n"}, false, Step::kDone, 200},
      {{"HTTP/2 404\r\n", "\r\n"}, false, Step::kDone, 404},
      {{"HTTP/1.1 4294967496 OK\r\n", "\r\n"}, false, Step::kDone, 0},
      {{"HTTP/1.1 20 OK\r\n", "\r\n"}, false, Step::kDone, 0},
      {{"HTTP/1.1 -200 OK\r\n", "\r\n"}, false, Step::kDone, 0},
      {{"HTTP/1.1 096 OK\r\n", "\r\n"}, false, Step::kDone, 0},
      {{"HTTP/1.1 100 Continue\r\n", "\r\n"}, false, Step::kMore, 100},
      {{"HTTP/1.1 302 Found\r\n", "Location: /x\r\n", "\r\n"}, true, Step::kRedirect, 302},
      {{"HTTP/1.1 302 Found\r\n", "Location: /x\r\n", "\r\n"}, false, Step::kDone, 302},
      {{"HTTP/1.1 302 Found\r\n", "\r\n"}, true, Step::kDone, 302},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines.front());
    HttpHeaders headers;
    Step step = Step::kMore;
    for (const std::string& line : c.lines) step = headers.Feed(line, c.follow);
    EXPECT_EQ(step, c.last);
    EXPECT_EQ(headers.statusCode(), c.status);
    EXPECT_EQ(headers.lines().size(), c.lines.size() - 1);
  }
}

}  // namespace
}  // namespace zx::inet
