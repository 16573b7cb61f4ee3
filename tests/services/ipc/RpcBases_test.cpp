// The inter-process call bases: the status record's bytes, text cuts and sequence numbers,
// the launcher marker key, and a server started and stopped around a real call that carries
// the record from a client to the server's operation.
#include <gtest/gtest.h>

#include <winreg.h>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <set>
#include <thread>

#include "RpcBases.h"
#include "Registry.h"
#include "machine_fixture.h"
#include "zx/clock.h"
#include "zx/waits.h"

namespace {

const RPC_SYNTAX_IDENTIFIER kLauncherInterface = {
    {0x3f1d2a40, 0x77c2, 0x4e15, {0xb8, 0x0e, 0x51, 0x6a, 0x90, 0x2c, 0x4d, 0x17}}, {1, 0}};

// A server whose operation 0 keeps the bytes it was sent; operation 1 waits at a gate.
class TestServer : public CQVX_Utility_ServerBase {
 public:
  using CQVX_Utility_ServerBase::CQVX_Utility_ServerBase;
  void Operation0(PRPC_MESSAGE message) override {
    const auto* bytes = static_cast<const BYTE*>(message->Buffer);
    received.assign(bytes, bytes + message->BufferLength);
  }
  void Operation1(PRPC_MESSAGE) override {
    std::unique_lock<std::mutex> lock(gateLock);
    inside = true;
    gateChanged.notify_all();
    gateChanged.wait(lock, [this] { return open; });
  }
  void Operation2(PRPC_MESSAGE) override {}
  void Operation3(PRPC_MESSAGE) override {}
  void Operation4(PRPC_MESSAGE) override {}
  void Operation5(PRPC_MESSAGE) override {}
  void Operation6(PRPC_MESSAGE) override {}
  void Operation7(PRPC_MESSAGE) override {}
  std::vector<BYTE> received;
  std::mutex gateLock;
  std::condition_variable gateChanged;
  bool inside = false;
  bool open = false;
};

TestServer* g_server = nullptr;
void Stub0(PRPC_MESSAGE message) { g_server->Operation0(message); }
void Stub1(PRPC_MESSAGE message) { g_server->Operation1(message); }
RPC_DISPATCH_FUNCTION g_stubs[] = {Stub0, Stub1};
RPC_DISPATCH_TABLE g_table = {2, g_stubs, 0};
RPC_SERVER_INTERFACE g_interface = {sizeof(RPC_SERVER_INTERFACE), kLauncherInterface, {}, &g_table, 0,
                                    nullptr, nullptr, nullptr, 0};

// A client that sends the record to operation 0 (its "status" call) and remembers the calls.
class TestClient : public CQVX_Utility_ClientBase {
 public:
  explicit TestClient(int moduleCode) : CQVX_Utility_ClientBase(moduleCode) {}
  BOOL Connect() override { return ConnectLauncher(&binding); }
  void Disconnect() override { CQVX_Utility_ClientBase::Disconnect(&binding); }
  void SendMessageText(int moduleCode) override { calls.push_back({5, moduleCode, 0, 0}); }
  void SendStatus(int moduleCode, int requestCode, int number3) override {
    calls.push_back({6, moduleCode, requestCode, number3});
    status = Call(0);
    if (status == RPC_S_SERVER_UNAVAILABLE) g_nLauncherState = 4;
  }
  RPC_STATUS Call(unsigned procNum) {
    RPC_CLIENT_INTERFACE client{};
    client.InterfaceId = kLauncherInterface;
    RPC_MESSAGE message{};
    message.Handle = binding;
    message.ProcNum = procNum;
    message.RpcInterfaceInformation = &client;
    message.BufferLength = sizeof(tagQVXStatusRequest);
    RPC_STATUS result = I_RpcGetBuffer(&message);
    if (result == RPC_S_OK) {
      std::memcpy(message.Buffer, GetRequest(), sizeof(tagQVXStatusRequest));
      result = I_RpcSendReceive(&message);
    }
    I_RpcFreeBuffer(&message);
    return result;
  }
  struct CallRecord {
    int slot, moduleCode, requestCode, number3;
  };
  RPC_BINDING_HANDLE binding = nullptr;
  std::vector<CallRecord> calls;
  RPC_STATUS status = -1;
};

class RpcBasesTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    g_nLauncherState = 0;
    g_dwRequestSequence = 0;
  }
};

std::vector<BYTE> Bytes(const tagQVXStatusRequest* request) {
  const auto* bytes = reinterpret_cast<const BYTE*>(request);
  return std::vector<BYTE>(bytes, bytes + sizeof *request);
}

// The record laid out by hand: little-endian numbers at their offsets, texts as UTF-16LE.
std::vector<BYTE> ExpectedRecord() {
  std::vector<BYTE> record(1076, 0);
  const auto put = [&](std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) record[at + i] = static_cast<BYTE>(value >> (8 * i));
  };
  put(4, 0x0E);
  record[8] = 'O';
  record[10] = 'k';
  record[528] = 'x';
  put(1048, 1);
  put(1052, 6);
  put(1056, 2);
  put(1060, 4);
  put(1064, 5);
  put(1068, 0xFFFFFFF9);  // -7
  put(1072, 1);
  return record;
}

TEST_F(RpcBasesTest, RecordBytesFollowTheLayout) {
  TestClient client(8);
  client.SendRequest(14, _T("Ok"), 1, 2, 3, 4, 5, 6, _T("x"), -7);
  ASSERT_NE(client.GetRequest(), nullptr);
  EXPECT_EQ(Bytes(client.GetRequest()), ExpectedRecord());
}

TEST_F(RpcBasesTest, StatusCallsComeInOrderWithNumberThree) {
  TestClient client(8);
  client.SendRequest(15, _T(""), 1, 2, 3, 4, 5, 6, nullptr, 7);
  ASSERT_EQ(client.calls.size(), 2u);
  EXPECT_EQ(client.calls[0].slot, 6);
  EXPECT_EQ(client.calls[0].moduleCode, 8);
  EXPECT_EQ(client.calls[0].requestCode, 15);
  EXPECT_EQ(client.calls[0].number3, 3);
  EXPECT_EQ(client.calls[1].slot, 5);
}

TEST_F(RpcBasesTest, LongTextKeepsItsFirst259Characters) {
  TestClient client(8);
  const CString text(_T('a'), 300);
  client.SendRequest(1, text, 0, 0, 0, 0, 0, 0, text, 0);
  const tagQVXStatusRequest* request = client.GetRequest();
  EXPECT_EQ(CString(request->szText1).GetLength(), 259);
  EXPECT_EQ(request->szText1[258], u'a');
  EXPECT_EQ(request->szText1[259], 0);
  EXPECT_EQ(request->szText2[259], 0);
}

TEST_F(RpcBasesTest, ConsecutiveRequestsCarryConsecutiveNumbers) {
  TestClient client(8);
  client.SendRequest(1, nullptr, 0, 0, 0, 0, 0, 0, nullptr, 0);
  EXPECT_EQ(client.GetRequest()->dwSequence, 1u);
  client.SendRequest(1, nullptr, 0, 0, 0, 0, 0, 0, nullptr, 0);
  EXPECT_EQ(client.GetRequest()->dwSequence, 2u);
  client.ReleaseRequest();
  EXPECT_EQ(client.GetRequest(), nullptr);
}

TEST_F(RpcBasesTest, SequenceNumbersStayDistinctAcrossThreads) {
  std::vector<std::thread> senders;
  std::mutex lock;
  std::set<DWORD> seen;
  for (int t = 0; t < 4; ++t) {
    senders.emplace_back([&] {
      TestClient client(8);
      for (int i = 0; i < 200; ++i) {
        client.SendRequest(1, nullptr, 0, 0, 0, 0, 0, 0, nullptr, 0);
        std::lock_guard<std::mutex> guard(lock);
        seen.insert(client.GetRequest()->dwSequence);
      }
    });
  }
  for (std::thread& sender : senders) sender.join();
  EXPECT_EQ(seen.size(), 800u);
  EXPECT_EQ(g_dwRequestSequence.load(), 800u);
}

TEST_F(RpcBasesTest, MarkerKeyOfTheProductIsCreatedAndDeleted) {
  TestClient client(8);
  const CString path = client.GetMarkerKeyPath();
  EXPECT_EQ(path, CString(_T("Software\\Corvash Vozivuved\\Zephrin Tunevo\\SwiftTend\\Zephrin Tunevo")));
  EXPECT_EQ(client.Connect(), 1);
  RegWriteString(HKEY_CURRENT_USER, path + _T("\\Inner"), _T("v"), _T("1"));
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
  client.Disconnect();
  EXPECT_EQ(client.binding, nullptr);
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(RpcBasesTest, OtherModuleCodesEndAtSwiftTend) {
  TestClient client(5);
  EXPECT_EQ(client.GetMarkerKeyPath(), CString(_T("Software\\Corvash Vozivuved\\Zephrin Tunevo\\SwiftTend")));
}

TEST_F(RpcBasesTest, UnreachableLauncherShowsAtTheCall) {
  TestClient client(8);
  client.Connect();
  EXPECT_EQ(g_nLauncherState.load(), 0);  // binding does not contact the launcher
  client.SendRequest(6, _T("scan"), 1, 0, 0, 0, 0, 0, nullptr, 0);
  EXPECT_EQ(client.status, RPC_S_SERVER_UNAVAILABLE);
  EXPECT_EQ(g_nLauncherState.load(), 4);
  client.Disconnect();
}

class RpcServerBaseTest : public RpcBasesTest {
 protected:
  void SetUp() override {
    RpcBasesTest::SetUp();
    g_server = &server_;
  }
  void TearDown() override {
    {
      std::lock_guard<std::mutex> guard(server_.gateLock);
      server_.open = true;
    }
    server_.gateChanged.notify_all();
    if (server_.GetServer().IsListening()) server_.GetServer().Stop();
    RpcServerUnregisterIf(&g_interface, nullptr, TRUE);
    g_server = nullptr;
  }
  TestServer server_{&g_interface, QVX_LAUNCHER_ENDPOINT};
};

TEST_F(RpcServerBaseTest, StartedServerReceivesTheRecordAndStops) {
  int owner = 0;
  ASSERT_TRUE(server_.GetServer().Start(&owner));
  EXPECT_EQ(server_.GetServer().GetOwner(), &owner);
  EXPECT_EQ(server_.GetServer().GetState(), 0);
  TestClient client(8);
  client.Connect();
  client.SendRequest(14, _T("Ok"), 1, 2, 3, 4, 5, 6, _T("x"), -7);
  ASSERT_EQ(client.status, RPC_S_OK);
  EXPECT_EQ(server_.received, ExpectedRecord());
  client.Disconnect();
  EXPECT_TRUE(server_.GetServer().Stop());
  EXPECT_FALSE(server_.GetServer().IsListening());
}

TEST_F(RpcServerBaseTest, BadEndpointFailsWithStateFour) {
  TestServer broken(&g_interface, _T("\\pipe\\"));
  EXPECT_FALSE(broken.GetServer().Start(nullptr));
  EXPECT_EQ(broken.GetServer().GetState(), 4);
  EXPECT_EQ(broken.GetServer().GetOwner(), nullptr);
}

// A call still running keeps the listening thread alive: after 2000 ms on the layer's clock
// Stop gives up, answers false and clears the thread handle.
TEST_F(RpcServerBaseTest, StopGivesUpOnAThreadThatDoesNotEnd) {
  ASSERT_TRUE(server_.GetServer().Start(nullptr));
  TestClient client(8);
  client.Connect();
  client.SendRequest(1, nullptr, 0, 0, 0, 0, 0, 0, nullptr, 0);  // listening for sure now
  std::thread caller([&] { client.Call(1); });
  {
    std::unique_lock<std::mutex> lock(server_.gateLock);
    server_.gateChanged.wait(lock, [&] { return server_.inside; });
  }
  zx::ManualClock clock;
  zx::SetClock(&clock);
  BOOL stopped = TRUE;
  std::thread stopper([&] { stopped = server_.GetServer().Stop(); });
  ASSERT_TRUE(zx::AwaitBlockedWaiters(1));
  clock.Advance(2000);
  stopper.join();
  zx::SetClock(nullptr);
  EXPECT_FALSE(stopped);
  EXPECT_FALSE(server_.GetServer().IsListening());
  {
    std::lock_guard<std::mutex> guard(server_.gateLock);
    server_.open = true;
  }
  server_.gateChanged.notify_all();
  caller.join();
  while (RpcMgmtStopServerListening(nullptr) != RPC_S_NOT_LISTENING) std::this_thread::yield();
  client.Disconnect();
}

}  // namespace
