// Waiting for servers: time-outs on the layer's clock, cut bodies, and closing a handle that
// another thread waits in.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "errhandlingapi.h"
#include "inet_testing.h"
#include "test_http_server.h"

namespace zx::test {
namespace {

using namespace std::chrono_literals;

class TimeoutTest : public ManualClockInetTest {
 protected:
  TestHttpServer server_;

  struct Outcome {
    BOOL ok;
    DWORD error;
  };

  // Runs body on another thread; the outcome and its last error.
  static std::future<Outcome> Start(std::function<BOOL()> body) {
    return std::async(std::launch::async, [body] {
      const BOOL ok = body();
      return Outcome{ok, GetLastError()};
    });
  }
};

TEST_F(TimeoutTest, TheReceiveTimeOutEndsAWaitForTheAnswer) {
  server_.Script("GET", "/silent", {200, "", "text/plain", {}, ScriptedReply::Delivery::StallBeforeAnswer});
  InternetHandle session(OpenSession());
  DWORD timeout = 5000;
  ASSERT_TRUE(InternetSetOptionW(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof(timeout)));
  InternetHandle connection(Connect(session.get(), server_.port()));
  InternetHandle request(Open(connection.get(), u"GET", u"/silent"));
  auto outcome = Start([&] { return HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0); });
  ASSERT_TRUE(server_.AwaitRequests(1));
  clock_.Advance(4999);
  EXPECT_EQ(outcome.wait_for(50ms), std::future_status::timeout);
  clock_.Advance(1);
  ASSERT_EQ(outcome.wait_for(2s), std::future_status::ready);
  const Outcome result = outcome.get();
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, static_cast<DWORD>(ERROR_INTERNET_TIMEOUT));
}

TEST_F(TimeoutTest, AStalledBodyTimesOutAfterWhatArrived) {
  server_.Script("GET", "/half", {200, "0123456789", "text/plain", {}, ScriptedReply::Delivery::StallHalfway});
  InternetHandle session(OpenSession());
  InternetHandle connection(Connect(session.get(), server_.port()));
  InternetHandle request(Open(connection.get(), u"GET", u"/half"));
  ASSERT_TRUE(HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0));
  auto outcome = std::async(std::launch::async, [&] {
    std::string body;
    const bool ok = ReadAll(request.get(), body);
    return std::make_pair(ok ? 0u : GetLastError(), body);
  });
  // The wait that times out may begin after any one step of the clock; step until it ends.
  while (outcome.wait_for(20ms) != std::future_status::ready) clock_.Advance(30000);
  const auto [error, body] = outcome.get();
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_INTERNET_TIMEOUT));
  EXPECT_EQ(body, "01234");
}

TEST_F(TimeoutTest, ACutBodyFailsAfterWhatArrived) {
  server_.Script("GET", "/cut", {200, "abcdefghij", "text/plain", {}, ScriptedReply::Delivery::CutHalfway});
  InternetHandle session(OpenSession());
  InternetHandle connection(Connect(session.get(), server_.port()));
  InternetHandle request(Open(connection.get(), u"GET", u"/cut"));
  ASSERT_TRUE(HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0));
  std::string body;
  EXPECT_FALSE(ReadAll(request.get(), body));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_CONNECTION_ABORTED));
  EXPECT_EQ(body, "abcde");
  EXPECT_FALSE(ReadAll(request.get(), body));  // the failure stays
}

TEST_F(TimeoutTest, ClosingTheSessionReleasesABlockedRead) {
  server_.Script("GET", "/hold", {200, "0123456789", "text/plain", {}, ScriptedReply::Delivery::StallHalfway});
  HINTERNET session = OpenSession();
  InternetHandle connection(Connect(session, server_.port()));
  HINTERNET request = Open(connection.get(), u"GET", u"/hold");
  ASSERT_TRUE(HttpSendRequestW(request, nullptr, 0, nullptr, 0));
  char first[5];
  DWORD got = 0;
  ASSERT_TRUE(InternetReadFile(request, first, sizeof(first), &got));
  auto outcome = Start([&] {
    char rest[5];
    DWORD more = 0;
    return InternetReadFile(request, rest, sizeof(rest), &more);
  });
  std::this_thread::sleep_for(20ms);
  ASSERT_TRUE(InternetCloseHandle(session));
  ASSERT_EQ(outcome.wait_for(2s), std::future_status::ready);
  const Outcome result = outcome.get();
  EXPECT_FALSE(result.ok);
  // Closed while the read waited, or before it began.
  EXPECT_TRUE(result.error == static_cast<DWORD>(ERROR_INTERNET_OPERATION_CANCELLED) ||
              result.error == static_cast<DWORD>(ERROR_INVALID_HANDLE))
      << result.error;
}

TEST_F(TimeoutTest, AnInfiniteTimeOutNeverEndsTheWait) {
  server_.Script("GET", "/silent", {200, "", "text/plain", {}, ScriptedReply::Delivery::StallBeforeAnswer});
  InternetHandle session(OpenSession());
  DWORD timeout = INFINITE;
  ASSERT_TRUE(InternetSetOptionW(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof(timeout)));
  HINTERNET connection = Connect(session.get(), server_.port());
  InternetHandle request(Open(connection, u"GET", u"/silent"));
  auto outcome = Start([&] { return HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0); });
  ASSERT_TRUE(server_.AwaitRequests(1));
  clock_.Advance(10u * 24 * 3600 * 1000);
  EXPECT_EQ(outcome.wait_for(50ms), std::future_status::timeout);
  InternetCloseHandle(connection);
  ASSERT_EQ(outcome.wait_for(2s), std::future_status::ready);
  EXPECT_EQ(outcome.get().error, static_cast<DWORD>(ERROR_INTERNET_OPERATION_CANCELLED));
}

}  // namespace
}  // namespace zx::test
