// Key containers: creating, opening and deleting them, their key pairs, names that are no
// file names, verify-only contexts and damaged records.
#include <gtest/gtest.h>
#include <wincrypt.h>

#include <filesystem>

#include "errhandlingapi.h"
#include "machine_fixture.h"

namespace {

using KeyContainers = zx::test::MachineTest;

HRESULT LastError() { return static_cast<HRESULT>(GetLastError()); }

TEST_F(KeyContainers, TheDefaultContainerIsMadeOnceAndKeepsItsKeys) {
  HCRYPTPROV provider = 0;
  EXPECT_FALSE(CryptAcquireContextW(&provider, nullptr, MS_DEF_PROV_W, PROV_RSA_FULL, 0));
  EXPECT_EQ(LastError(), NTE_BAD_KEYSET);
  ASSERT_TRUE(CryptAcquireContextW(&provider, nullptr, MS_DEF_PROV_W, PROV_RSA_FULL, CRYPT_NEWKEYSET));
  HCRYPTKEY key = 0;
  EXPECT_FALSE(CryptGetUserKey(provider, AT_SIGNATURE, &key));
  EXPECT_EQ(LastError(), NTE_NO_KEY);
  ASSERT_TRUE(CryptGenKey(provider, AT_SIGNATURE, 0, &key));
  EXPECT_TRUE(CryptDestroyKey(key));
  EXPECT_FALSE(CryptDestroyKey(key));
  ASSERT_TRUE(CryptReleaseContext(provider, 0));

  HCRYPTPROV again = 0;
  EXPECT_FALSE(CryptAcquireContextW(&again, nullptr, nullptr, PROV_RSA_FULL, CRYPT_NEWKEYSET));
  EXPECT_EQ(LastError(), NTE_EXISTS);
  ASSERT_TRUE(CryptAcquireContextW(&again, nullptr, nullptr, PROV_RSA_FULL, 0));
  EXPECT_TRUE(CryptGetUserKey(again, AT_SIGNATURE, &key));
  CryptDestroyKey(key);
  EXPECT_FALSE(CryptGetUserKey(again, AT_KEYEXCHANGE, &key));
  ASSERT_TRUE(CryptGenKey(again, CALG_RSA_KEYX, CRYPT_EXPORTABLE, &key));
  CryptDestroyKey(key);
  EXPECT_TRUE(CryptGetUserKey(again, AT_KEYEXCHANGE, &key));
  CryptDestroyKey(key);
  EXPECT_FALSE(CryptGenKey(again, 0x6610, 0, &key));
  EXPECT_EQ(LastError(), NTE_BAD_ALGID);
  CryptReleaseContext(again, 0);
}

TEST_F(KeyContainers, NamedContainersStayInsideTheirFolder) {
  HCRYPTPROV provider = 0;
  ASSERT_TRUE(CryptAcquireContextW(&provider, u"..\\..\\escape/x", nullptr, PROV_RSA_FULL, CRYPT_NEWKEYSET));
  CryptReleaseContext(provider, 0);
  // One record, a plain file of the user's container folder inside the machine root.
  int records = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root()))
    if (entry.is_regular_file() && entry.path().filename().string().find("escape") != std::string::npos) {
      ++records;
      EXPECT_EQ(entry.path().parent_path().parent_path(), std::filesystem::path(root()));
    }
  EXPECT_EQ(records, 1);
  ASSERT_TRUE(CryptAcquireContextW(&provider, u"..\\..\\escape/x", nullptr, PROV_RSA_FULL, CRYPT_DELETEKEYSET));
  EXPECT_FALSE(CryptAcquireContextW(&provider, u"..\\..\\escape/x", nullptr, PROV_RSA_FULL, 0));
}

TEST_F(KeyContainers, WrongProvidersFlagsAndHandles) {
  HCRYPTPROV provider = 0;
  EXPECT_FALSE(CryptAcquireContextW(&provider, nullptr, nullptr, 24, 0));
  EXPECT_EQ(LastError(), NTE_PROV_TYPE_NOT_DEF);
  EXPECT_FALSE(CryptAcquireContextW(&provider, nullptr, u"Another Provider", PROV_RSA_FULL, 0));
  EXPECT_FALSE(CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_FULL, 0x4));
  EXPECT_EQ(LastError(), NTE_BAD_FLAGS);
  EXPECT_FALSE(CryptReleaseContext(12345, 0));
  ASSERT_TRUE(CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT));
  HCRYPTKEY key = 0;
  EXPECT_FALSE(CryptGetUserKey(provider, AT_SIGNATURE, &key));
  CryptReleaseContext(provider, 0);
}

TEST_F(KeyContainers, ADamagedRecordIsReportedNotTrusted) {
  HCRYPTPROV provider = 0;
  ASSERT_TRUE(CryptAcquireContextW(&provider, u"box", nullptr, PROV_RSA_FULL, CRYPT_NEWKEYSET));
  CryptReleaseContext(provider, 0);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root()))
    if (entry.path().filename() == "box") WriteHostFile(entry.path().string(), "garbage\n");
  EXPECT_FALSE(CryptAcquireContextW(&provider, u"box", nullptr, PROV_RSA_FULL, 0));
  EXPECT_EQ(LastError(), NTE_KEYSET_ENTRY_BAD);
}

}  // namespace
