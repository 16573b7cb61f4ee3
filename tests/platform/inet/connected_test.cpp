// InternetGetConnectedState from the machine profile, and the process's offline state.
#include <gtest/gtest.h>

#include "errhandlingapi.h"
#include "inet_testing.h"

namespace zx::test {
namespace {

using ConnectedStateTest = InetTest;

TEST_F(ConnectedStateTest, TheMachineProfileNamesTheConnection) {
  DWORD flags = 0;
  WriteMachineProfile("[Network]\nConnection = LAN\n");
  EXPECT_TRUE(InternetGetConnectedState(&flags, 0));
  EXPECT_EQ(flags, static_cast<DWORD>(INTERNET_CONNECTION_LAN | INTERNET_CONNECTION_CONFIGURED));
  WriteMachineProfile("[Network]\nConnection=modem\n");
  EXPECT_TRUE(InternetGetConnectedState(&flags, 0));
  EXPECT_EQ(flags, static_cast<DWORD>(INTERNET_CONNECTION_MODEM | INTERNET_CONNECTION_CONFIGURED));
  WriteMachineProfile("[Network]\nConnection=none\n");
  EXPECT_FALSE(InternetGetConnectedState(&flags, 0));
  EXPECT_EQ(flags, static_cast<DWORD>(INTERNET_CONNECTION_CONFIGURED));
  EXPECT_FALSE(InternetGetConnectedState(nullptr, 0));
}

TEST_F(ConnectedStateTest, GoingOfflineStopsRequestsUntilConnectedAgain) {
  WriteMachineProfile("[Network]\nConnection=lan\n");
  INTERNET_CONNECTED_INFO info{INTERNET_STATE_DISCONNECTED_BY_USER, 0};
  EXPECT_FALSE(InternetSetOptionW(reinterpret_cast<HINTERNET>(4), INTERNET_OPTION_CONNECTED_STATE, &info,
                                  sizeof(info)));
  ASSERT_TRUE(InternetSetOptionW(nullptr, INTERNET_OPTION_CONNECTED_STATE, &info, sizeof(info)));
  DWORD flags = 0;
  EXPECT_FALSE(InternetGetConnectedState(&flags, 0));
  EXPECT_NE(flags & INTERNET_CONNECTION_OFFLINE, 0u);
  DWORD state = 0;
  DWORD size = sizeof(state);
  ASSERT_TRUE(InternetQueryOptionW(nullptr, INTERNET_OPTION_CONNECTED_STATE, &state, &size));
  EXPECT_EQ(state, static_cast<DWORD>(INTERNET_STATE_DISCONNECTED_BY_USER));

  InternetHandle session(OpenSession());
  InternetHandle connection(Connect(session.get(), 1));
  InternetHandle request(Open(connection.get(), u"GET", u"/"));
  EXPECT_FALSE(HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_DISCONNECTED));

  info.dwConnectedState = INTERNET_STATE_CONNECTED;
  ASSERT_TRUE(InternetSetOptionW(nullptr, INTERNET_OPTION_CONNECTED_STATE, &info, sizeof(info)));
  EXPECT_TRUE(InternetGetConnectedState(&flags, 0));
  info.dwConnectedState = 0;
  EXPECT_FALSE(InternetSetOptionW(nullptr, INTERNET_OPTION_CONNECTED_STATE, &info, sizeof(info)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
}  // namespace zx::test
