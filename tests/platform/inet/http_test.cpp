// HTTP requests against a server in the test process: what is sent, what comes back and how it
// is queried, redirects, host routes, proxies and credentials.
#include <gtest/gtest.h>

#include <winreg.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "errhandlingapi.h"
#include "inet_testing.h"
#include "test_http_server.h"

namespace zx::test {
namespace {

class HttpTest : public InetTest {
 protected:
  TestHttpServer server_;

  // Sends a request to the server and answers it (null when sending failed).
  HINTERNET Send(HINTERNET connection, LPCWSTR verb, LPCWSTR object, DWORD flags = 0, LPCWSTR headers = nullptr,
                 const std::string& body = {}, LPCWSTR version = nullptr) {
    HINTERNET request = Open(connection, verb, object, flags, version);
    if (!request) return nullptr;
    if (!HttpSendRequestW(request, headers, headers ? static_cast<DWORD>(-1) : 0,
                          body.empty() ? nullptr : const_cast<char*>(body.data()), static_cast<DWORD>(body.size()))) {
      const DWORD error = GetLastError();
      InternetCloseHandle(request);
      SetLastError(error);
      return nullptr;
    }
    return request;
  }

  static std::u16string QueryText(HINTERNET request, DWORD level, DWORD* index = nullptr) {
    WCHAR buffer[512] = {};
    DWORD size = sizeof(buffer);
    if (!HttpQueryInfoW(request, level, buffer, &size, index)) return u"<none>";
    return std::u16string(buffer, size / sizeof(WCHAR));
  }

  static void SetUserProxy(DWORD enabled, const std::u16string& server) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                              0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, u"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enabled), sizeof(enabled));
    RegSetValueExW(key, u"ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server.c_str()),
                   static_cast<DWORD>((server.size() + 1) * sizeof(WCHAR)));
    RegCloseKey(key);
  }
};

TEST_F(HttpTest, GetGivesStatusHeadersAndBody) {
  server_.Script("GET", "/file.txt", {200, "hello, world", "text/plain", {{"X-Extra", "one"}}});
  InternetHandle session(OpenSession());
  InternetHandle connection(Connect(session.get(), server_.port()));
  InternetHandle request(Send(connection.get(), u"GET", u"/file.txt"));
  ASSERT_TRUE(request);
  EXPECT_EQ(StatusOf(request.get()), 200u);
  std::string body;
  ASSERT_TRUE(ReadAll(request.get(), body));
  EXPECT_EQ(body, "hello, world");
  EXPECT_EQ(QueryText(request.get(), HTTP_QUERY_CONTENT_LENGTH), u"12");
  EXPECT_EQ(QueryText(request.get(), HTTP_QUERY_CONTENT_TYPE), u"text/plain");
  EXPECT_EQ(QueryText(request.get(), HTTP_QUERY_STATUS_TEXT), u"OK");
  WCHAR name[] = u"x-extra";
  DWORD size = sizeof(name);
  ASSERT_TRUE(HttpQueryInfoW(request.get(), HTTP_QUERY_CUSTOM, name, &size, nullptr));
  EXPECT_EQ(std::u16string(name, size / 2), u"one");
  const std::u16string raw = QueryText(request.get(), HTTP_QUERY_RAW_HEADERS_CRLF);
  EXPECT_EQ(raw.rfind(u"HTTP/1.1 200 OK\r\n", 0), 0u);
  EXPECT_EQ(raw.substr(raw.size() - 4), u"\r\n\r\n");
  char more[4];
  DWORD got = 9;
  EXPECT_TRUE(InternetReadFile(request.get(), more, sizeof(more), &got));
  EXPECT_EQ(got, 0u);
}

TEST_F(HttpTest, NumbersAreAnsweredOnlyWhenTheyFitADword) {
  struct Case {
    const char* value;
    bool answered;
    DWORD number;
  };
  const Case cases[] = {
      {"4294967295", true, 4294967295u}, {"0042", true, 42u},      {"4294967496", false, 0},
      {"200 OK", false, 0},              {"12abc", false, 0},       {"99999999999999999999999", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    server_.Script("GET", "/n", {200, "x", "text/plain", {{"X-Number", c.value}}});
    InternetHandle session(OpenSession());
    InternetHandle connection(Connect(session.get(), server_.port()));
    InternetHandle request(Send(connection.get(), u"GET", u"/n"));
    ASSERT_TRUE(request);
    WCHAR buffer[16] = u"x-number";
    DWORD size = sizeof buffer;
    const BOOL answered = HttpQueryInfoW(request.get(), HTTP_QUERY_CUSTOM | HTTP_QUERY_FLAG_NUMBER, buffer, &size, nullptr);
    EXPECT_EQ(answered != FALSE, c.answered);
    if (answered) {
      DWORD number = 0;
      std::memcpy(&number, buffer, sizeof number);
      EXPECT_EQ(number, c.number);
    } else {
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HTTP_INVALID_HEADER));
    }
  }
}

TEST_F(HttpTest, QueryAnswersSizesAndMissingHeaders) {
  server_.Script("GET", "/", {200, "x", "text/plain", {{"X-Twice", "first"}, {"X-Twice", "second"}}});
  InternetHandle session(OpenSession());
  InternetHandle connection(Connect(session.get(), server_.port()));
  InternetHandle request(Send(connection.get(), u"GET", u"/"));
  ASSERT_TRUE(request);
  WCHAR small[2];
  DWORD size = sizeof(small);
  EXPECT_FALSE(HttpQueryInfoW(request.get(), HTTP_QUERY_CONTENT_TYPE, small, &size, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(size, (10u + 1u) * 2u);  // "text/plain" and its terminator
  size = 0;
  EXPECT_FALSE(HttpQueryInfoW(request.get(), HTTP_QUERY_LOCATION, nullptr, &size, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HTTP_HEADER_NOT_FOUND));
  DWORD number = 0;
  size = sizeof(number);
  EXPECT_FALSE(HttpQueryInfoW(request.get(), HTTP_QUERY_CONTENT_TYPE | HTTP_QUERY_FLAG_NUMBER, &number, &size, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HTTP_INVALID_HEADER));
  EXPECT_FALSE(HttpQueryInfoW(request.get(), 0x40000000u | HTTP_QUERY_STATUS_CODE, &number, &size, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HTTP_INVALID_QUERY_REQUEST));

  std::vector<std::u16string> values;
  DWORD index = 0;
  for (;;) {
    WCHAR name[] = u"X-Twice";
    size = sizeof(name);
    const DWORD before = index;
    if (!HttpQueryInfoW(request.get(), HTTP_QUERY_CUSTOM, name, &size, &index)) break;
    EXPECT_EQ(index, before + 1);
    values.emplace_back(name, size / 2);
  }
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HTTP_HEADER_NOT_FOUND));
  EXPECT_EQ(values, (std::vector<std::u16string>{u"first", u"second"}));
}

TEST_F(HttpTest, PostSendsItsBodyAndOnlyTheHeadersAskedFor) {
  server_.Script("POST", "/service.asmx", {200, "<ok/>", "text/xml"});
  InternetHandle session(OpenSession());
  InternetHandle connection(Connect(session.get(), server_.port()));
  const std::string body("a\0b<xml/>", 9);
  InternetHandle request(Send(connection.get(), u"POST", u"/service.asmx", 0,
                              u"Content-Type: text/xml; charset=utf-8\r\nSOAPAction: \"urn:x#Op\"\r\n", body));
  ASSERT_TRUE(request);
  const auto received = server_.received();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].method, "POST");
  EXPECT_EQ(received[0].version, "HTTP/1.1");
  EXPECT_EQ(received[0].body, body);
  EXPECT_EQ(received[0].Header("content-type"), "text/xml; charset=utf-8");
  EXPECT_EQ(received[0].Header("soapaction"), "\"urn:x#Op\"");
  EXPECT_EQ(received[0].Header("user-agent"), "inet-tests");
  EXPECT_EQ(received[0].headers.count("expect"), 0u);
  EXPECT_EQ(received[0].headers.count("accept"), 0u);
}

TEST_F(HttpTest, Http10IsSentWhenAskedFor) {
  server_.Script("POST", "/p", {200, "", "text/plain"});
  InternetHandle session(OpenSession());
  InternetHandle connection(Connect(session.get(), server_.port()));
  InternetHandle request(Send(connection.get(), u"POST", u"/p", 0, nullptr, "x", u"HTTP/1.0"));
  ASSERT_TRUE(request);
  EXPECT_EQ(server_.received().at(0).version, "HTTP/1.0");
}

TEST_F(HttpTest, ObjectNamesAreEscapedAndMalformedHeadersRefused) {
  server_.Script("GET", "/a b\xC3\xA9", {200, "", "text/plain"});
  InternetHandle session(OpenSession());
  InternetHandle connection(Connect(session.get(), server_.port()));
  InternetHandle request(Send(connection.get(), u"GET", u"/a b\u00e9?q=1"));
  ASSERT_TRUE(request);
  EXPECT_EQ(server_.received().at(0).target, "/a%20b%C3%A9?q=1");
  InternetHandle bad(Open(connection.get(), u"GET", u"/"));
  EXPECT_FALSE(HttpSendRequestW(bad.get(), u"NoColonHere", static_cast<DWORD>(-1), nullptr, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(HttpTest, RedirectsAreFollowedUnlessTurnedOff) {
  server_.Script("GET", "/old", {302, "", "text/plain", {{"Location", "/new"}}});
  server_.Script("GET", "/new", {200, "moved here", "text/plain"});
  InternetHandle session(OpenSession());
  InternetHandle connection(Connect(session.get(), server_.port()));
  InternetHandle followed(Send(connection.get(), u"GET", u"/old"));
  ASSERT_TRUE(followed);
  EXPECT_EQ(StatusOf(followed.get()), 200u);
  std::string body;
  ASSERT_TRUE(ReadAll(followed.get(), body));
  EXPECT_EQ(body, "moved here");

  InternetHandle stopped(Send(connection.get(), u"GET", u"/old", INTERNET_FLAG_NO_AUTO_REDIRECT));
  ASSERT_TRUE(stopped);
  EXPECT_EQ(StatusOf(stopped.get()), 302u);
  EXPECT_EQ(QueryText(stopped.get(), HTTP_QUERY_LOCATION), u"/new");
}

TEST_F(HttpTest, HeadGivesHeadersWithoutBody) {
  server_.Script("GET", "/big", {200, std::string(5000, 'b'), "application/octet-stream"});
  InternetHandle session(OpenSession());
  InternetHandle connection(Connect(session.get(), server_.port()));
  InternetHandle request(Send(connection.get(), u"HEAD", u"/big"));
  ASSERT_TRUE(request);
  EXPECT_EQ(QueryText(request.get(), HTTP_QUERY_CONTENT_LENGTH), u"5000");
  std::string body;
  ASSERT_TRUE(ReadAll(request.get(), body));
  EXPECT_EQ(body, "");
}

TEST_F(HttpTest, ARequestCanBeSentAgain) {
  server_.Script("GET", "/again", {200, "same", "text/plain"});
  InternetHandle session(OpenSession());
  InternetHandle connection(Connect(session.get(), server_.port()));
  InternetHandle request(Open(connection.get(), u"GET", u"/again"));
  ASSERT_TRUE(HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0));
  char first[2];
  DWORD got = 0;
  ASSERT_TRUE(InternetReadFile(request.get(), first, sizeof(first), &got));
  ASSERT_TRUE(HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0));
  std::string body;
  ASSERT_TRUE(ReadAll(request.get(), body));
  EXPECT_EQ(body, "same");
  EXPECT_EQ(server_.received().size(), 2u);
}

TEST_F(HttpTest, HostRoutesOfTheMachineProfileRedirectConnections) {
  server_.Script("GET", "/routed", {200, "via route", "text/plain"});
  WriteMachineProfile("[Hosts]\nupdate.example = 127.0.0.1:" + std::to_string(server_.port()) + "\n");
  InternetHandle session(OpenSession());
  InternetHandle connection(InternetConnectW(session.get(), u"update.example", INTERNET_DEFAULT_HTTP_PORT, nullptr,
                                             nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  InternetHandle request(Send(connection.get(), u"GET", u"/routed"));
  ASSERT_TRUE(request);
  std::string body;
  ASSERT_TRUE(ReadAll(request.get(), body));
  EXPECT_EQ(body, "via route");
  EXPECT_EQ(server_.received().at(0).Header("host").rfind("update.example", 0), 0u);
}

TEST_F(HttpTest, ANamedProxyGetsTheWholeAddress) {
  server_.Script("GET", "/through", {200, "proxied", "text/plain"});
  const std::u16string proxy = Wide("127.0.0.1:" + std::to_string(server_.port()));
  InternetHandle session(OpenSession(INTERNET_OPEN_TYPE_PROXY, proxy.c_str()));
  InternetHandle connection(InternetConnectW(session.get(), u"far.example", 8080, nullptr, nullptr,
                                             INTERNET_SERVICE_HTTP, 0, 0));
  InternetHandle request(Send(connection.get(), u"GET", u"/through"));
  ASSERT_TRUE(request);
  EXPECT_EQ(server_.received().at(0).target, "http://far.example:8080/through");
}

TEST_F(HttpTest, PreconfiguredSessionsUseTheUsersEnabledProxy) {
  server_.Script("GET", "/pre", {200, "ok", "text/plain"});
  SetUserProxy(1, Wide("https=127.0.0.9:1; http=127.0.0.1:" + std::to_string(server_.port())));
  InternetHandle session(OpenSession(INTERNET_OPEN_TYPE_PRECONFIG));
  InternetHandle connection(InternetConnectW(session.get(), u"far.example", 80, nullptr, nullptr,
                                             INTERNET_SERVICE_HTTP, 0, 0));
  InternetHandle request(Send(connection.get(), u"GET", u"/pre"));
  ASSERT_TRUE(request);
  EXPECT_EQ(server_.received().at(0).target.rfind("http://far.example", 0), 0u);

  // Disabled: the same setting is not used, so the request goes straight to the server.
  SetUserProxy(0, Wide("127.0.0.9:1"));
  InternetHandle direct(OpenSession(INTERNET_OPEN_TYPE_PRECONFIG));
  InternetHandle local(Connect(direct.get(), server_.port()));
  InternetHandle again(Send(local.get(), u"GET", u"/pre"));
  ASSERT_TRUE(again);
  EXPECT_EQ(server_.received().at(1).target, "/pre");
}

TEST_F(HttpTest, ServerCredentialsGoAsBasicAuthorisation) {
  server_.Script("GET", "/secret", {200, "", "text/plain"});
  InternetHandle session(OpenSession());
  InternetHandle connection(InternetConnectW(session.get(), u"127.0.0.1", static_cast<INTERNET_PORT>(server_.port()),
                                             u"anna", u"s3cret", INTERNET_SERVICE_HTTP, 0, 0));
  InternetHandle request(Send(connection.get(), u"GET", u"/secret"));
  ASSERT_TRUE(request);
  EXPECT_EQ(server_.received().at(0).Header("authorization"), "Basic YW5uYTpzM2NyZXQ=");
}

TEST_F(HttpTest, StatusCallbackFollowsTheRequest) {
  server_.Script("GET", "/s", {200, "", "text/plain"});
  static std::vector<std::pair<DWORD, std::u16string>> seen;
  seen.clear();
  InternetHandle session(OpenSession());
  InternetSetStatusCallbackW(session.get(), [](HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD length) {
    EXPECT_EQ(context, 77u);
    seen.emplace_back(status, length ? std::u16string(static_cast<const WCHAR*>(info)) : std::u16string());
  });
  InternetHandle connection(Connect(session.get(), server_.port()));
  InternetHandle request(HttpOpenRequestW(connection.get(), u"GET", u"/s", nullptr, nullptr, nullptr, 0, 77));
  ASSERT_TRUE(HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0));
  std::vector<DWORD> order;
  for (const auto& [status, info] : seen) order.push_back(status);
  EXPECT_EQ(order, (std::vector<DWORD>{INTERNET_STATUS_RESOLVING_NAME, INTERNET_STATUS_NAME_RESOLVED,
                                       INTERNET_STATUS_CONNECTING_TO_SERVER, INTERNET_STATUS_CONNECTED_TO_SERVER,
                                       INTERNET_STATUS_SENDING_REQUEST, INTERNET_STATUS_REQUEST_SENT,
                                       INTERNET_STATUS_RECEIVING_RESPONSE, INTERNET_STATUS_RESPONSE_RECEIVED}));
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front().second, u"127.0.0.1");
  EXPECT_EQ(seen[3].second, u"127.0.0.1");
}

TEST_F(HttpTest, NobodyListeningFailsToConnect) {
  InternetHandle session(OpenSession());
  InternetHandle connection(Connect(session.get(), 1));
  InternetHandle request(Open(connection.get(), u"GET", u"/"));
  EXPECT_FALSE(HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_CANNOT_CONNECT));
}

}  // namespace
}  // namespace zx::test
