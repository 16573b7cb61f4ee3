// WQL: selected properties, conditions, the forms the system sends, damaged queries, and the
// enumerator.
#include "comutil.h"
#include "wmi_testing.h"

namespace {

using zx::test::WmiTest;
using Strings = std::vector<std::string>;

class Query : public WmiTest {
 protected:
  void SetUp() override {
    WmiTest::SetUp();
    Profile("[Win32_NetworkAdapter]\nInstances=4\n"
            "[Win32_NetworkAdapter.0]\nIndex=1\nName=WAN Miniport\n"
            "[Win32_NetworkAdapter.1]\nIndex=2\nName=Intel\nMACAddress=00:1A:2B:3C:4D:5E\nNetConnectionID=Local Area Connection\n"
            "[Win32_NetworkAdapter.2]\nIndex=7\nName=VMware\nMACAddress=00:50:56:C0:00:08\nNetConnectionID=VMnet8\n"
            "[Win32_NetworkAdapter.3]\nIndex=12\nName=Tunnel\nMACAddress=02:00:4C:4F:4F:50\n");
  }
  std::vector<std::string> Names(const std::string& where) {
    return Column("SELECT Name FROM Win32_NetworkAdapter WHERE " + where, "Name");
  }
  HRESULT Status(const std::string& query) {
    IEnumWbemClassObject* enumerator = nullptr;
    const HRESULT result = Run(query, &enumerator);
    if (enumerator) enumerator->Release();
    return result;
  }
};

TEST_F(Query, TheAdapterQueryOfTheInventory) {
  EXPECT_EQ(Column("select macaddress from Win32_NetworkAdapter where netconnectionid<>NULL and macaddress<>NULL",
                   "macaddress"),
            (Strings{"00:1A:2B:3C:4D:5E", "00:50:56:C0:00:08"}));
}

TEST_F(Query, OnlySelectedPropertiesAndTheClassNameCanBeRead) {
  IEnumWbemClassObject* enumerator = nullptr;
  ASSERT_EQ(Run("SELECT Name, Index FROM win32_networkadapter", &enumerator), WBEM_S_NO_ERROR);
  IWbemClassObject* object = nullptr;
  ULONG returned = 0;
  ASSERT_EQ(enumerator->Next(WBEM_INFINITE, 1, &object, &returned), WBEM_S_NO_ERROR);
  EXPECT_EQ(zx::test::ValueText(object, "NAME"), "WAN Miniport");
  EXPECT_EQ(zx::test::ValueText(object, "Index"), "1");
  EXPECT_EQ(zx::test::ValueText(object, "__CLASS"), "Win32_NetworkAdapter");
  VARIANT value;
  VariantInit(&value);
  EXPECT_EQ(object->Get(u"MACAddress", 0, &value, nullptr, nullptr), WBEM_E_NOT_FOUND);
  EXPECT_EQ(object->Get(u"NoSuchProperty", 0, &value, nullptr, nullptr), WBEM_E_NOT_FOUND);
  EXPECT_EQ(object->Get(nullptr, 0, &value, nullptr, nullptr), WBEM_E_INVALID_PARAMETER);
  EXPECT_EQ(value.vt, VT_EMPTY);
  object->Release();
  enumerator->Release();
}

TEST_F(Query, Conditions) {
  EXPECT_EQ(Names("Index > 2"), (Strings{"VMware", "Tunnel"}));
  EXPECT_EQ(Names("Index >= 2 AND Index <= 7"), (Strings{"Intel", "VMware"}));
  EXPECT_EQ(Names("Index = 1 OR NetConnectionID = 'vmnet8'"), (Strings{"WAN Miniport", "VMware"}));
  EXPECT_EQ(Names("NOT (Index < 7)"), (Strings{"VMware", "Tunnel"}));
  EXPECT_EQ(Names("MACAddress IS NULL"), Strings{"WAN Miniport"});
  EXPECT_EQ(Names("NetConnectionID IS NOT NULL AND Name != \"Intel\""), Strings{"VMware"});
  EXPECT_EQ(Names("NetConnectionID = NULL"), (Strings{"WAN Miniport", "Tunnel"}));
  EXPECT_EQ(Names("Name > 'T'"), (Strings{"WAN Miniport", "VMware", "Tunnel"}));
  EXPECT_EQ(Names("Index = 'x'"), Strings{});
  EXPECT_EQ(Names("(Index = 1 OR Index = 12) AND (Name = 'Tunnel')"), Strings{"Tunnel"});
}

TEST_F(Query, WrongLanguageClassOrPropertyIsRefused) {
  IEnumWbemClassObject* enumerator = reinterpret_cast<IEnumWbemClassObject*>(1);
  EXPECT_EQ(Connect()->ExecQuery(_bstr_t(u"SQL"), _bstr_t(u"SELECT * FROM Win32_BIOS"), 0, nullptr, &enumerator),
            WBEM_E_INVALID_QUERY_TYPE);
  EXPECT_EQ(enumerator, nullptr);
  EXPECT_EQ(Connect()->ExecQuery(_bstr_t(u"wql"), nullptr, 0, nullptr, &enumerator), WBEM_E_INVALID_PARAMETER);
  EXPECT_EQ(Status("SELECT * FROM Win32_PnPEntity"), WBEM_E_INVALID_CLASS);
  EXPECT_EQ(Status("SELECT Colour FROM Win32_BIOS"), WBEM_E_INVALID_QUERY);
  EXPECT_EQ(Status("SELECT * FROM Win32_BIOS WHERE Colour = 1"), WBEM_E_INVALID_QUERY);
}

TEST_F(Query, DamagedQueriesFailCleanly) {
  for (const char* bad : {"", "SELECT", "SELECT * Win32_BIOS", "SELECT Name, FROM Win32_BIOS",
                          "SELECT * FROM Win32_BIOS WHERE", "SELECT * FROM Win32_BIOS WHERE Name = 'open",
                          "SELECT * FROM Win32_BIOS extra", "SELECT * FROM Win32_BIOS WHERE Name ~ 1",
                          "SELECT * FROM Win32_BIOS WHERE (Name = 1", "SELECT * FROM Win32_BIOS WHERE Name IS 1",
                          "SELECT * FROM Win32_BIOS WHERE Name = SELECT", "DELETE FROM Win32_BIOS"})
    EXPECT_EQ(Status(bad), WBEM_E_INVALID_QUERY) << bad;
}

TEST_F(Query, NestingIsLimited) {
  const auto nested = [](int depth) {
    return "SELECT * FROM Win32_BIOS WHERE " + std::string(depth, '(') + "Name = 1" + std::string(depth, ')');
  };
  EXPECT_EQ(Status(nested(30)), WBEM_S_NO_ERROR);
  EXPECT_EQ(Status(nested(100000)), WBEM_E_INVALID_QUERY);
  std::string nots = "SELECT * FROM Win32_BIOS WHERE ";
  for (int i = 0; i < 100000; ++i) nots += "NOT ";
  EXPECT_EQ(Status(nots + "Name = 1"), WBEM_E_INVALID_QUERY);
}

TEST_F(Query, EnumeratorHandsOutObjectsInBatchesAndStarts0ver) {
  IEnumWbemClassObject* enumerator = nullptr;
  ASSERT_EQ(Run("SELECT Name FROM Win32_NetworkAdapter", &enumerator, WBEM_FLAG_RETURN_IMMEDIATELY), WBEM_S_NO_ERROR);
  IWbemClassObject* objects[3] = {};
  ULONG returned = 0;
  EXPECT_EQ(enumerator->Next(WBEM_INFINITE, 3, objects, &returned), WBEM_S_NO_ERROR);
  EXPECT_EQ(returned, 3u);
  EXPECT_EQ(zx::test::ValueText(objects[2], "Name"), "VMware");
  for (IWbemClassObject* object : objects) object->Release();
  EXPECT_EQ(enumerator->Next(0, 3, objects, &returned), WBEM_S_FALSE);
  ASSERT_EQ(returned, 1u);
  EXPECT_EQ(zx::test::ValueText(objects[0], "Name"), "Tunnel");
  objects[0]->Release();
  EXPECT_EQ(enumerator->Next(WBEM_INFINITE, 1, objects, &returned), WBEM_S_FALSE);
  EXPECT_EQ(returned, 0u);
  EXPECT_EQ(enumerator->Reset(), WBEM_S_NO_ERROR);
  EXPECT_EQ(enumerator->Skip(WBEM_INFINITE, 3), WBEM_S_NO_ERROR);
  EXPECT_EQ(enumerator->Skip(WBEM_INFINITE, 2), WBEM_S_FALSE);
  EXPECT_EQ(enumerator->Next(-5, 1, objects, &returned), WBEM_E_INVALID_PARAMETER);
  EXPECT_EQ(enumerator->Next(WBEM_INFINITE, 1, nullptr, &returned), WBEM_E_INVALID_PARAMETER);
  enumerator->Release();
}

TEST_F(Query, ForwardOnlyEnumeratorCannotStartOver) {
  IEnumWbemClassObject* enumerator = nullptr;
  ASSERT_EQ(Run("SELECT * FROM Win32_BIOS", &enumerator, WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY),
            WBEM_S_NO_ERROR);
  EXPECT_EQ(enumerator->Reset(), WBEM_E_INVALID_OPERATION);
  enumerator->Release();
}

}  // namespace
