// The RPC runtime: a record crosses between two processes byte for byte, calls to nobody
// fail with RPC_S_SERVER_UNAVAILABLE, at most the endpoint's limit of calls run at once,
// stopping ends the listen, and callers refused by the interface or of another user get
// ERROR_ACCESS_DENIED without reaching the operation.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>

#include "handleapi.h"
#include "machine_fixture.h"
#include "rpc_testing.h"
#include "synchapi.h"
#include "winprocess.h"
#include "zx/machine.h"
#include "zx/pathmap.h"

namespace {

using namespace zx::rpctest;

std::atomic<int> g_exactRecords{0};
std::atomic<int> g_calls{0};
std::atomic<int> g_inside{0};
std::atomic<int> g_mostInside{0};
std::mutex g_gateLock;
std::condition_variable g_gateChanged;
bool g_gateOpen = false;
std::atomic<unsigned long> g_callerPid{0};

void Reply(PRPC_MESSAGE message, const std::vector<std::uint8_t>& bytes) {
  message->BufferLength = static_cast<unsigned>(bytes.size());
  ASSERT_EQ(I_RpcGetBuffer(message), RPC_S_OK);
  std::copy(bytes.begin(), bytes.end(), static_cast<std::uint8_t*>(message->Buffer));
}

void ExchangeRecord(PRPC_MESSAGE message) {
  ++g_calls;
  const auto* bytes = static_cast<const std::uint8_t*>(message->Buffer);
  if (std::vector<std::uint8_t>(bytes, bytes + message->BufferLength) == PatternRecord(3)) ++g_exactRecords;
  Reply(message, PatternRecord(11));
}

void WaitAtGate(PRPC_MESSAGE) {
  const int now = ++g_inside;
  for (int most = g_mostInside; now > most && !g_mostInside.compare_exchange_weak(most, now);) {
  }
  std::unique_lock<std::mutex> lock(g_gateLock);
  g_gateChanged.wait(lock, [] { return g_gateOpen; });
  --g_inside;
}

RPC_DISPATCH_FUNCTION g_functions[] = {ExchangeRecord, WaitAtGate, nullptr};
RPC_DISPATCH_TABLE g_table = {3, g_functions, 0};
RPC_SERVER_INTERFACE g_interface = {sizeof(RPC_SERVER_INTERFACE), kInterfaceId, {}, &g_table, 0,
                                    nullptr, nullptr, nullptr, 0};

RPC_STATUS RefuseAll(RPC_IF_HANDLE, void* context) {
  unsigned long pid = 0;
  if (I_RpcBindingInqLocalClientPID(context, &pid) == RPC_S_OK) g_callerPid = pid;
  return ERROR_ACCESS_DENIED;
}

class RpcServerTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    g_exactRecords = g_calls = g_inside = g_mostInside = 0;
    g_gateOpen = false;
    endpoint_ = u"\\pipe\\zxtest_" + std::u16string(u"server");
    ASSERT_EQ(RpcServerUseProtseqEpW(protseq_.data(), 10, endpoint_.data(), nullptr), RPC_S_OK);
  }
  void Listen(RPC_IF_CALLBACK_FN callback = nullptr) {
    ASSERT_EQ(RpcServerRegisterIfEx(&g_interface, nullptr, nullptr, RPC_IF_ALLOW_CALLBACKS_WITH_NO_AUTH,
                                    RPC_C_LISTEN_MAX_CALLS_DEFAULT, callback ? &callback : nullptr),
              RPC_S_OK);
    listener_ = std::thread([this] { listenStatus_ = RpcServerListen(1, RPC_C_LISTEN_MAX_CALLS_DEFAULT, FALSE); });
  }
  void TearDown() override {
    if (listener_.joinable()) {
      {
        std::lock_guard<std::mutex> guard(g_gateLock);
        g_gateOpen = true;
      }
      g_gateChanged.notify_all();
      // The listen may not have begun yet: stop until it has.
      while (RpcMgmtStopServerListening(nullptr) == RPC_S_NOT_LISTENING && !listenStatus_.has_value())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      listener_.join();
    }
    RpcServerUnregisterIf(&g_interface, nullptr, TRUE);
  }
  std::u16string protseq_ = u"ncacn_np";
  std::u16string endpoint_;
  std::thread listener_;
  std::optional<RPC_STATUS> listenStatus_;
};

TEST_F(RpcServerTest, ClientProcessAndServerExchangeTheRecordByteExact) {
  Listen();
  std::u16string line = u"zxrpcpeer.exe client " + std::u16string(root().begin(), root().end()) +
                        u" \\pipe\\zxtest_server";
  PROCESS_INFORMATION child{};
  ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &child));
  ASSERT_EQ(WaitForSingleObject(child.hProcess, 20000), static_cast<DWORD>(WAIT_OBJECT_0));
  DWORD code = 99;
  GetExitCodeProcess(child.hProcess, &code);
  CloseHandle(child.hProcess);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(g_exactRecords, 1);
}

TEST_F(RpcServerTest, CallInThisProcessCarriesTheRecord) {
  Listen();
  std::vector<std::uint8_t> reply;
  ASSERT_EQ(Call(u"\\pipe\\ZXTEST_Server", 0, PatternRecord(3), reply), RPC_S_OK);
  EXPECT_EQ(reply, PatternRecord(11));
  EXPECT_EQ(g_exactRecords, 1);
}

TEST_F(RpcServerTest, UnservedEndpointIsServerUnavailable) {
  std::vector<std::uint8_t> reply;
  EXPECT_EQ(Call(u"\\pipe\\zxtest_nobody", 0, PatternRecord(3), reply), RPC_S_SERVER_UNAVAILABLE);
  EXPECT_EQ(RPC_S_SERVER_UNAVAILABLE, 1722);
}

TEST_F(RpcServerTest, UnknownProcedureIsRefused) {
  Listen();
  std::vector<std::uint8_t> reply;
  EXPECT_EQ(Call(endpoint_.c_str(), 2, {}, reply), RPC_S_PROCNUM_OUT_OF_RANGE);
  EXPECT_EQ(Call(endpoint_.c_str(), 7, {}, reply), RPC_S_PROCNUM_OUT_OF_RANGE);
  EXPECT_EQ(g_calls, 0);
}

TEST_F(RpcServerTest, StopEndsTheListenWithSuccess) {
  Listen();
  std::vector<std::uint8_t> reply;
  ASSERT_EQ(Call(endpoint_.c_str(), 0, PatternRecord(3), reply), RPC_S_OK);  // listening now
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(RpcMgmtStopServerListening(nullptr), RPC_S_OK);
  listener_.join();
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(2000));
  EXPECT_EQ(listenStatus_, RPC_S_OK);
  EXPECT_EQ(RpcMgmtStopServerListening(nullptr), RPC_S_NOT_LISTENING);
}

TEST_F(RpcServerTest, InterfaceCallbackRefusesBeforeTheOperation) {
  Listen(RefuseAll);
  std::vector<std::uint8_t> reply;
  EXPECT_EQ(Call(endpoint_.c_str(), 0, PatternRecord(3), reply), ERROR_ACCESS_DENIED);
  EXPECT_EQ(g_calls, 0);
  EXPECT_EQ(g_callerPid, static_cast<unsigned long>(::getpid()));
}

TEST_F(RpcServerTest, AtMostTenCallsRunAtOnce) {
  Listen();
  std::vector<std::thread> callers;
  std::atomic<int> succeeded{0};
  for (int i = 0; i < 14; ++i) {
    callers.emplace_back([&] {
      std::vector<std::uint8_t> reply;
      if (Call(endpoint_.c_str(), 1, {}, reply) == RPC_S_OK) ++succeeded;
    });
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (g_inside < 10 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(g_inside, 10);
  {
    std::lock_guard<std::mutex> guard(g_gateLock);
    g_gateOpen = true;
  }
  g_gateChanged.notify_all();
  for (std::thread& caller : callers) caller.join();
  EXPECT_EQ(succeeded, 14);
  EXPECT_EQ(g_mostInside, 10);
}

// A process of another user reaches the socket (the test opens the folders to it) and sends
// a well-formed call: the server answers ERROR_ACCESS_DENIED and never runs the operation.
TEST_F(RpcServerTest, CallerOfAnotherUserIsRefused) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to run a peer as another user (nobody)";
  Listen();
  const std::string folder = zx::machine::RuntimeFolder() + "/rpc";
  const std::string socketPath = folder + "/zxtest_server";
  ASSERT_LT(socketPath.size(), sizeof(sockaddr_un::sun_path));
  for (const std::string& path : {root(), zx::machine::RuntimeFolder(), folder}) ::chmod(path.c_str(), 0755);
  ::chmod(socketPath.c_str(), 0666);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) ::_exit(2);
    std::uint8_t frame[32] = {'Z', 'X', 'R', 'P'};
    std::memcpy(frame + 4, &kInterfaceId, 20);
    // procedure 0 and an empty payload: the rest of the frame stays zero
    if (::send(fd, frame, sizeof frame, MSG_NOSIGNAL) != static_cast<ssize_t>(sizeof frame)) ::_exit(4);
    std::int32_t status = 0;
    if (::read(fd, &status, sizeof status) != static_cast<ssize_t>(sizeof status)) ::_exit(5);
    ::_exit(status == ERROR_ACCESS_DENIED ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(g_calls, 0);
}

TEST(RpcBindingTest, ComposedBindingReadsBack) {
  std::u16string protseq = u"ncacn_np", endpoint = u"\\pipe\\a,b[c]";
  RPC_WSTR text = nullptr;
  ASSERT_EQ(RpcStringBindingComposeW(nullptr, protseq.data(), nullptr, endpoint.data(), nullptr, &text), RPC_S_OK);
  EXPECT_EQ(std::u16string(text), u"ncacn_np:[\\\\pipe\\\\a\\,b\\[c\\]]");
  RPC_BINDING_HANDLE binding = nullptr;
  EXPECT_EQ(RpcBindingFromStringBindingW(text, &binding), RPC_S_OK);
  EXPECT_EQ(RpcBindingFree(&binding), RPC_S_OK);
  EXPECT_EQ(binding, nullptr);
  EXPECT_EQ(RpcStringFreeW(&text), RPC_S_OK);
  EXPECT_EQ(text, nullptr);
}

TEST(RpcBindingTest, BadBindingsAreRefused) {
  RPC_BINDING_HANDLE binding = nullptr;
  std::u16string tcp = u"ncacn_ip_tcp:[80]", remote = u"ncacn_np:otherhost[\\pipe\\x]",
                 empty = u"ncacn_np:[\\\\pipe\\\\]", noColon = u"ncacn_np", trailing = u"ncacn_np:[\\pipe\\x]z";
  EXPECT_EQ(RpcBindingFromStringBindingW(tcp.data(), &binding), RPC_S_PROTSEQ_NOT_SUPPORTED);
  EXPECT_EQ(RpcBindingFromStringBindingW(remote.data(), &binding), RPC_S_INVALID_NET_ADDR);
  EXPECT_EQ(RpcBindingFromStringBindingW(empty.data(), &binding), RPC_S_INVALID_ENDPOINT_FORMAT);
  EXPECT_EQ(RpcBindingFromStringBindingW(noColon.data(), &binding), RPC_S_INVALID_STRING_BINDING);
  EXPECT_EQ(RpcBindingFromStringBindingW(trailing.data(), &binding), RPC_S_INVALID_STRING_BINDING);
  EXPECT_EQ(binding, nullptr);
  RPC_BINDING_HANDLE unknown = reinterpret_cast<RPC_BINDING_HANDLE>(0x1234);
  EXPECT_EQ(RpcBindingFree(&unknown), RPC_S_INVALID_BINDING);
  EXPECT_EQ(RpcMgmtStopServerListening(nullptr), RPC_S_NOT_LISTENING);
}

}  // namespace
