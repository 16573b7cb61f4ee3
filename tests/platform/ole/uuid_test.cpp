// UUIDs: random ones carry version 4, sequential ones version 1 with the first adapter's
// address as their node, or a marked random node when the machine has no adapter.
#include <gtest/gtest.h>

#include <set>

#include "machine_fixture.h"
#include "objbase.h"

namespace {

class UuidTest : public zx::test::MachineTest {
 protected:
  void Profile(const std::string& text) { WriteHostFile(root() + "/machine.ini", text); }
};

std::string Node(const UUID& uuid) {
  char text[13];
  std::snprintf(text, sizeof text, "%02X%02X%02X%02X%02X%02X", uuid.Data4[2], uuid.Data4[3], uuid.Data4[4],
                uuid.Data4[5], uuid.Data4[6], uuid.Data4[7]);
  return text;
}

TEST_F(UuidTest, RandomUuidsAreVersionFourAndDiffer) {
  UUID a, b;
  ASSERT_EQ(UuidCreate(&a), RPC_S_OK);
  ASSERT_EQ(UuidCreate(&b), RPC_S_OK);
  EXPECT_EQ(a.Data3 >> 12, 4);
  EXPECT_EQ(a.Data4[0] & 0xC0, 0x80);
  EXPECT_FALSE(a == b);
  GUID guid;
  EXPECT_EQ(CoCreateGuid(&guid), S_OK);
  EXPECT_EQ(UuidCreate(nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(UuidTest, SequentialUuidsUseTheFirstAdapterWithAnAddress) {
  Profile("[NetworkAdapters]\nCount=2\n[NetworkAdapter.0]\nName=tun0\n"
          "[NetworkAdapter.1]\nName=eth0\nMACAddress=00-1A-2B-3C-4D-5E\n");
  std::set<std::string> seen;
  for (int i = 0; i < 100; ++i) {
    UUID uuid;
    ASSERT_EQ(UuidCreateSequential(&uuid), RPC_S_OK);
    EXPECT_EQ(uuid.Data3 >> 12, 1);
    EXPECT_EQ(uuid.Data4[0] & 0xC0, 0x80);
    EXPECT_EQ(Node(uuid), "001A2B3C4D5E");
    OLECHAR text[39];
    StringFromGUID2(uuid, text, 39);
    seen.insert(std::string(text, text + 38));
  }
  EXPECT_EQ(seen.size(), 100u);  // never twice the same, even within one clock tick
}

TEST_F(UuidTest, WithoutAdaptersTheNodeIsLocalOnly) {
  Profile("[NetworkAdapters]\nCount=0\n");
  UUID uuid;
  EXPECT_EQ(UuidCreateSequential(&uuid), RPC_S_UUID_LOCAL_ONLY);
  EXPECT_EQ(uuid.Data4[2] & 0x01, 0x01);
}

}  // namespace
