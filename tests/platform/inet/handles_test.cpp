// Sessions, connections and requests as handles: arguments refused, handle kinds, options and
// their inheritance, closing a tree of handles, and what this machine does not offer.
#include <gtest/gtest.h>

#include "errhandlingapi.h"
#include "inet_testing.h"
#include "zx/handles.h"

namespace zx::test {
namespace {

using HandlesTest = InetTest;

TEST_F(HandlesTest, OpenRefusesUnknownAccessAndAsynchronousUse) {
  EXPECT_EQ(InternetOpenW(u"a", 7, nullptr, nullptr, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(InternetOpenW(u"a", INTERNET_OPEN_TYPE_PROXY, nullptr, nullptr, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(InternetOpenW(u"a", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, INTERNET_FLAG_ASYNC), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

TEST_F(HandlesTest, FtpCallsTakeOnlyFtpConnectionsAndHttpCallsNoFtpOnes) {
  InternetHandle session(OpenSession());
  ASSERT_TRUE(session);
  EXPECT_EQ(InternetConnectW(session.get(), u"ftp.example", 21, nullptr, nullptr, INTERNET_SERVICE_GOPHER, 0, 0),
            nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
  InternetHandle connection(Connect(session.get(), 80));
  ASSERT_TRUE(connection);
  EXPECT_EQ(FtpOpenFileW(connection.get(), u"/f.zip", 0x80000000u, FTP_TRANSFER_TYPE_BINARY, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_INCORRECT_HANDLE_TYPE));
  EXPECT_EQ(FtpFindFirstFileW(connection.get(), u"/f.zip", nullptr, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_INCORRECT_HANDLE_TYPE));
}

TEST_F(HandlesTest, ConnectRefusesBadServerNames) {
  InternetHandle session(OpenSession());
  for (const char16_t* name : {u"", u"a b", u"host/path", u"user@host"}) {
    EXPECT_EQ(InternetConnectW(session.get(), name, 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  EXPECT_EQ(InternetConnectW(session.get(), nullptr, 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0), nullptr);
}

TEST_F(HandlesTest, HandlesOfTheWrongKindAreRefused) {
  InternetHandle session(OpenSession());
  InternetHandle connection(Connect(session.get(), 80));
  EXPECT_EQ(Open(session.get(), u"GET", u"/"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_INCORRECT_HANDLE_TYPE));
  EXPECT_FALSE(HttpSendRequestW(connection.get(), nullptr, 0, nullptr, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_INCORRECT_HANDLE_TYPE));
  EXPECT_FALSE(InternetCloseHandle(nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

// Going without a client certificate is a choice of a request only.
TEST_F(HandlesTest, OnlyARequestGoesWithoutAClientCertificate) {
  InternetHandle session(OpenSession());
  InternetHandle connection(Connect(session.get(), 80));
  InternetHandle request(Open(connection.get(), u"GET", u"/"));
  ASSERT_TRUE(request);
  EXPECT_TRUE(InternetSetOptionW(request.get(), INTERNET_OPTION_SECURITY_SELECT_CLIENT_CERT, nullptr, 0));
  for (HINTERNET other : {session.get(), connection.get(), static_cast<HINTERNET>(nullptr)}) {
    EXPECT_FALSE(InternetSetOptionW(other, INTERNET_OPTION_SECURITY_SELECT_CLIENT_CERT, nullptr, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_INCORRECT_HANDLE_TYPE));
  }
}

TEST_F(HandlesTest, OpenRequestRefusesBadVerbsAndHeaderInjection) {
  InternetHandle session(OpenSession());
  InternetHandle connection(Connect(session.get(), 80));
  EXPECT_EQ(Open(connection.get(), u"GET X", u"/"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(HttpOpenRequestW(connection.get(), u"GET", u"/", nullptr, u"x\r\nEvil: 1", nullptr, 0, 0), nullptr);
  LPCWSTR types[] = {u"text/xml\r\nEvil: 1", nullptr};
  EXPECT_EQ(HttpOpenRequestW(connection.get(), u"GET", u"/", nullptr, nullptr, types, 0, 0), nullptr);
}

TEST_F(HandlesTest, ARequestNotSentHasNoResponseToQueryOrRead) {
  InternetHandle session(OpenSession());
  InternetHandle connection(Connect(session.get(), 80));
  InternetHandle request(Open(connection.get(), u"GET", u"/"));
  DWORD status = 0;
  DWORD size = sizeof(status);
  EXPECT_FALSE(HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_INCORRECT_HANDLE_STATE));
  char buffer[4];
  DWORD got = 7;
  EXPECT_FALSE(InternetReadFile(request.get(), buffer, sizeof(buffer), &got));
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_INCORRECT_HANDLE_STATE));
}

TEST_F(HandlesTest, ClosingASessionClosesEverythingBelowIt) {
  const std::size_t before = zx::OpenHandleCount();
  HINTERNET session = OpenSession();
  HINTERNET connection = Connect(session, 80);
  HINTERNET request = Open(connection, u"GET", u"/");
  ASSERT_NE(request, nullptr);
  EXPECT_EQ(zx::OpenHandleCount(), before + 3);
  EXPECT_TRUE(InternetCloseHandle(session));
  EXPECT_EQ(zx::OpenHandleCount(), before);
  EXPECT_FALSE(InternetCloseHandle(request));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(Open(connection, u"GET", u"/"), nullptr);
}

TEST_F(HandlesTest, HandleTypesAreReported) {
  InternetHandle session(OpenSession());
  InternetHandle connection(Connect(session.get(), 80));
  InternetHandle request(Open(connection.get(), u"GET", u"/"));
  const std::pair<HINTERNET, DWORD> expected[] = {{session.get(), INTERNET_HANDLE_TYPE_INTERNET},
                                                  {connection.get(), INTERNET_HANDLE_TYPE_CONNECT_HTTP},
                                                  {request.get(), INTERNET_HANDLE_TYPE_HTTP_REQUEST}};
  for (const auto& [handle, type] : expected) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    ASSERT_TRUE(InternetQueryOptionW(handle, INTERNET_OPTION_HANDLE_TYPE, &value, &size));
    EXPECT_EQ(value, type);
  }
  DWORD value = 1;
  EXPECT_FALSE(InternetSetOptionW(session.get(), INTERNET_OPTION_HANDLE_TYPE, &value, sizeof(value)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_OPTION_NOT_SETTABLE));
}

TEST_F(HandlesTest, HandlesStartWithTheirParentsOptions) {
  InternetHandle session(OpenSession());
  DWORD timeout = 4321;
  ASSERT_TRUE(InternetSetOptionW(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof(timeout)));
  InternetHandle connection(Connect(session.get(), 80));
  timeout = 999;
  ASSERT_TRUE(InternetSetOptionW(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof(timeout)));
  InternetHandle request(Open(connection.get(), u"GET", u"/"));
  DWORD value = 0;
  DWORD size = sizeof(value);
  ASSERT_TRUE(InternetQueryOptionW(request.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &value, &size));
  EXPECT_EQ(value, 4321u);  // the connection's copy, taken before the session changed
  ASSERT_TRUE(InternetQueryOptionW(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, &value, &size));
  EXPECT_EQ(value, 60000u);
}

TEST_F(HandlesTest, OptionBuffersAreChecked) {
  InternetHandle session(OpenSession());
  WORD small = 5;
  EXPECT_FALSE(InternetSetOptionW(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, &small, sizeof(small)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_BAD_OPTION_LENGTH));
  DWORD value = 0;
  DWORD size = 2;
  EXPECT_FALSE(InternetQueryOptionW(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, &value, &size));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(size, sizeof(DWORD));
  EXPECT_FALSE(InternetSetOptionW(session.get(), 999, &value, sizeof(value)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_INVALID_OPTION));
  EXPECT_FALSE(InternetSetOptionW(nullptr, INTERNET_OPTION_USERNAME, &value, 1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_INCORRECT_HANDLE_TYPE));
}

TEST_F(HandlesTest, TheStatusCallbackIsSwapped) {
  InternetHandle session(OpenSession());
  static int calls = 0;
  const INTERNET_STATUS_CALLBACK first = [](HINTERNET, DWORD_PTR, DWORD, LPVOID, DWORD) { ++calls; };
  const INTERNET_STATUS_CALLBACK second = [](HINTERNET, DWORD_PTR, DWORD, LPVOID, DWORD) { calls += 2; };
  EXPECT_EQ(InternetSetStatusCallbackW(session.get(), first), nullptr);
  EXPECT_EQ(InternetSetStatusCallback(session.get(), second), first);
  EXPECT_EQ(InternetSetStatusCallbackW(reinterpret_cast<HINTERNET>(0x7ff0), first), INTERNET_INVALID_STATUS_CALLBACK);
}

TEST_F(HandlesTest, NobodyAnswersTheErrorDialogAndNoServerTextIsKept) {
  EXPECT_EQ(InternetErrorDlg(nullptr, nullptr, ERROR_INTERNET_INCORRECT_PASSWORD, 7, nullptr),
            static_cast<DWORD>(ERROR_CANCELLED));
  DWORD error = 5;
  WCHAR text[8] = {u'x'};
  DWORD length = 8;
  EXPECT_TRUE(InternetGetLastResponseInfoW(&error, text, &length));
  EXPECT_EQ(error, 0u);
  EXPECT_EQ(length, 0u);
  EXPECT_EQ(text[0], 0);
}

}  // namespace
}  // namespace zx::test
