// GetUserNameW: the process user's account name, the size asked for first, and the
// terminator counted.
#include <gtest/gtest.h>

#include <vector>

#include "errhandlingapi.h"
#include "machine_fixture.h"
#include "processthreadsapi.h"
#include "handleapi.h"
#include "securitybaseapi.h"
#include "winusername.h"

namespace zx::test {
namespace {

using UserName = MachineTest;

TEST_F(UserName, TheNameIsTheProcessUsersAccount) {
  DWORD size = 0;
  SetLastError(0);
  ASSERT_FALSE(GetUserNameW(nullptr, &size));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  ASSERT_GT(size, 1u);
  std::vector<WCHAR> name(size);
  DWORD given = size;
  ASSERT_TRUE(GetUserNameW(name.data(), &given));
  EXPECT_EQ(given, size);
  EXPECT_EQ(name[size - 1], 0);
  // The same name as the account of the token's user.
  HANDLE token = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
  DWORD needed = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &needed);
  std::vector<BYTE> user(needed);
  ASSERT_TRUE(GetTokenInformation(token, TokenUser, user.data(), needed, &needed));
  WCHAR account[256];
  WCHAR domain[256];
  DWORD accountSize = 256, domainSize = 256;
  SID_NAME_USE use{};
  ASSERT_TRUE(LookupAccountSidW(nullptr, reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, account,
                                &accountSize, domain, &domainSize, &use));
  EXPECT_EQ(std::u16string(name.data()), std::u16string(account));
  CloseHandle(token);
}

TEST_F(UserName, ShortBuffersAndNoSizeAreRefused) {
  WCHAR one[1] = {u'x'};
  DWORD size = 1;
  EXPECT_FALSE(GetUserNameW(one, &size));
  EXPECT_GT(size, 1u);
  EXPECT_EQ(one[0], u'x');
  EXPECT_FALSE(GetUserNameW(one, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
}  // namespace zx::test
