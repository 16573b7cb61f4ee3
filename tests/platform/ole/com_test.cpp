// COM set-up results, process security, class creation, proxy blankets and GUID text.
#include <gtest/gtest.h>

#include <thread>

#include "objbase.h"
#include "zx/com.h"

namespace {

// Each test balances its own initialisations; the process security state is reset after it.
class ComTest : public ::testing::Test {
 protected:
  void TearDown() override { zx::com::ResetProcessSecurity(); }
};

TEST_F(ComTest, FirstInitialisationIsOkLaterOnesFalse) {
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED | COINIT_DISABLE_OLE1DDE), S_FALSE);
  CoUninitialize();
  CoUninitialize();
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
  CoUninitialize();
}

TEST_F(ComTest, OtherModelIsRefusedAndNotCounted) {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);  // apartment-threaded
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
  CoUninitialize();  // the one successful call
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  CoUninitialize();
}

TEST_F(ComTest, BadArgumentsAreRefused) {
  int reserved = 0;
  EXPECT_EQ(CoInitializeEx(&reserved, COINIT_MULTITHREADED), E_INVALIDARG);
  EXPECT_EQ(CoInitializeEx(nullptr, 0x100), E_INVALIDARG);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);  // nothing was counted
  CoUninitialize();
}

TEST_F(ComTest, EachThreadHasItsOwnModel) {
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
  HRESULT other = E_FAIL;
  std::thread([&] {
    other = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    CoUninitialize();
  }).join();
  EXPECT_EQ(other, S_OK);
  CoUninitialize();
}

TEST_F(ComTest, SecurityIsSetOncePerProcess) {
  EXPECT_EQ(CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT,
                                 RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr),
            CO_E_NOTINITIALIZED);
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  EXPECT_EQ(CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT,
                                 RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr),
            S_OK);
  EXPECT_EQ(CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                 RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr),
            RPC_E_TOO_LATE);
  CoUninitialize();
}

// A class of the test's own, created through the class table.
const CLSID kTestClass = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};
const IID kTestInterface = {0x66666666, 0x7777, 0x8888, {0x99, 0x99, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}};
const IID kOtherInterface = {0x66666666, 0x7777, 0x8888, {0x99, 0x99, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAB}};
int g_liveObjects = 0;

struct ITestThing : IUnknown {
  virtual int Answer() = 0;
};

class TestThing final : public zx::com::Object<ITestThing> {
 public:
  TestThing() : Object(kTestInterface) { ++g_liveObjects; }
  ~TestThing() override { --g_liveObjects; }
  int Answer() override { return 42; }
};

HRESULT CreateTestThing(REFIID iid, void** object) {
  return zx::com::Hand<ITestThing>(new TestThing(), iid, object);
}

TEST_F(ComTest, CreatesRegisteredClassesOnlyOnInitialisedThreads) {
  zx::com::RegisterClassFactory(kTestClass, CreateTestThing);
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, CLSCTX_INPROC_SERVER, kTestInterface, &object),
            CO_E_NOTINITIALIZED);
  EXPECT_EQ(object, nullptr);
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);

  ASSERT_EQ(CoCreateInstance(kTestClass, nullptr, CLSCTX_INPROC_SERVER, kTestInterface, &object), S_OK);
  auto* thing = static_cast<ITestThing*>(object);
  EXPECT_EQ(thing->Answer(), 42);
  void* again = nullptr;
  EXPECT_EQ(thing->QueryInterface(IID_IUnknown, &again), S_OK);
  EXPECT_EQ(again, object);
  EXPECT_EQ(thing->QueryInterface(kOtherInterface, &again), E_NOINTERFACE);
  EXPECT_EQ(again, nullptr);
  EXPECT_EQ(thing->Release(), 1u);
  EXPECT_EQ(thing->Release(), 0u);
  EXPECT_EQ(g_liveObjects, 0);

  // An interface the class lacks: nothing is left alive.
  EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, CLSCTX_ALL, kOtherInterface, &object), E_NOINTERFACE);
  EXPECT_EQ(g_liveObjects, 0);
  CoUninitialize();
}

TEST_F(ComTest, UnknownClassesAggregationAndNullOutputsAreRefused) {
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  zx::com::RegisterClassFactory(kTestClass, CreateTestThing);
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(kTestInterface, nullptr, CLSCTX_ALL, kTestInterface, &object), REGDB_E_CLASSNOTREG);
  TestThing outer;
  EXPECT_EQ(CoCreateInstance(kTestClass, &outer, CLSCTX_ALL, kTestInterface, &object), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, CLSCTX_ALL, kTestInterface, nullptr), E_POINTER);
  CoUninitialize();
}

TEST_F(ComTest, ProxyBlanketNeedsAProxy) {
  TestThing thing;
  EXPECT_EQ(CoSetProxyBlanket(&thing, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                              RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE),
            S_OK);
  EXPECT_EQ(CoSetProxyBlanket(nullptr, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                              RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE),
            E_INVALIDARG);
}

TEST(GuidText, WritesCapitalsAndReadsEitherCase) {
  const GUID guid = {0x4590F811, 0x1D3A, 0x11D0, {0x89, 0x1F, 0x00, 0xAA, 0x00, 0x4B, 0x2E, 0x24}};
  OLECHAR text[39];
  EXPECT_EQ(StringFromGUID2(guid, text, 39), 39);
  EXPECT_EQ(std::u16string(text), u"{4590F811-1D3A-11D0-891F-00AA004B2E24}");
  EXPECT_EQ(StringFromGUID2(guid, text, 38), 0);
  GUID read{};
  ASSERT_EQ(CLSIDFromString(u"{4590f811-1d3a-11d0-891f-00aa004b2e24}", &read), S_OK);
  EXPECT_TRUE(IsEqualGUID(read, guid));
  ASSERT_EQ(IIDFromString(text, &read), S_OK);
  EXPECT_TRUE(read == guid);
}

TEST(GuidText, DamagedTextIsRefused) {
  GUID read{};
  for (const char16_t* bad : {u"", u"{4590F811-1D3A-11D0-891F-00AA004B2E2}", u"{4590F811-1D3A-11D0-891F-00AA004B2E245}",
                              u"4590F811-1D3A-11D0-891F-00AA004B2E24", u"{4590F811+1D3A-11D0-891F-00AA004B2E24}",
                              u"{4590F811-1D3A-11D0-891F-00AA004B2EG4}"})
    EXPECT_EQ(CLSIDFromString(bad, &read), E_INVALIDARG) << std::string(bad, bad + std::char_traits<char16_t>::length(bad));
  EXPECT_EQ(CLSIDFromString(nullptr, &read), E_INVALIDARG);
}

TEST(TaskMemory, AllocatesAndFrees) {
  void* block = CoTaskMemAlloc(0);
  EXPECT_NE(block, nullptr);
  CoTaskMemFree(block);
  CoTaskMemFree(nullptr);
}

}  // namespace
