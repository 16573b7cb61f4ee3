// The launcher's stand-in: serves the launcher's interface and logs what the main program
// reports, drives a hidden run of the program through both interfaces, calls the main
// program's interface once, or sends its windows a message (usage in README.md).
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "rpc.h"
#include "winuser.h"
#include "zx/rpccall.h"

namespace {

constexpr RPC_SYNTAX_IDENTIFIER kLauncherInterface = {
    {0x67b2f678, 0x32b0, 0x429c, {0xbf, 0xf7, 0xe7, 0x71, 0x3b, 0x04, 0xea, 0xcd}}, {1, 0}};
constexpr RPC_SYNTAX_IDENTIFIER kProgramInterface = {
    {0xd5e687c8, 0x4f74, 0x404d, {0x85, 0x3f, 0xbd, 0x24, 0x17, 0x42, 0xd5, 0xdc}}, {1, 0}};
constexpr std::size_t kRecordSize = 1076;
constexpr int kServeSeconds = 20;

enum class Mode { kNormal, kHangUp, kGarbage };

FILE* g_log = nullptr;
Mode g_mode = Mode::kNormal;

// The statuses a driven run answers, handed from the served calls to the driving thread.
struct Statuses {
  std::mutex lock;
  std::condition_variable arrived;
  std::deque<std::uint32_t> codes;
};
Statuses* g_driven = nullptr;

std::uint32_t NumberAt(const std::uint8_t* bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// A record's text of 260 units as UTF-8, up to its terminator.
std::string TextAt(const std::uint8_t* record, std::size_t at) {
  std::string text;
  for (std::size_t unit = 0; unit < 260; ++unit) {
    const std::uint32_t c = record[at + 2 * unit] | record[at + 2 * unit + 1] << 8;
    if (c == 0) break;
    if (c < 0x80) {
      text.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      text.push_back(static_cast<char>(0xC0 | c >> 6));
      text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      text.push_back(static_cast<char>(0xE0 | c >> 12));
      text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return text;
}

std::string RecordText(const std::uint8_t* record) {
  char numbers[160];
  std::snprintf(numbers, sizeof numbers, "record=%d sequence=%u numbers=%d,%d,%d,%d,%d,%d",
                static_cast<int>(NumberAt(record, 4)), NumberAt(record, 1072), static_cast<int>(NumberAt(record, 1048)),
                static_cast<int>(NumberAt(record, 1052)), static_cast<int>(NumberAt(record, 1056)),
                static_cast<int>(NumberAt(record, 1060)), static_cast<int>(NumberAt(record, 1064)),
                static_cast<int>(NumberAt(record, 1068)));
  return std::string(numbers) + " text1=\"" + TextAt(record, 8) + "\" text2=\"" + TextAt(record, 528) + "\"";
}

void Log(const std::string& line) {
  std::fprintf(g_log, "%s\n", line.c_str());
  std::fflush(g_log);
}

// Answers the call as the mode says: nothing, eight bytes of garbage, or no answer at all.
void Answer(PRPC_MESSAGE message) {
  if (g_mode == Mode::kHangUp) {
    Log("hang-up");
    ::_exit(0);
  }
  if (g_mode != Mode::kGarbage) return;
  message->BufferLength = 8;
  if (I_RpcGetBuffer(message) == RPC_S_OK) std::memset(message->Buffer, 0xA5, 8);
}

// Procedure 0: id, record, value.
void MessageText(PRPC_MESSAGE message) {
  const auto* bytes = static_cast<const std::uint8_t*>(message->Buffer);
  if (message->BufferLength != 8 + kRecordSize) {
    Log("bad procedure=0 bytes=" + std::to_string(message->BufferLength));
    return;
  }
  char head[64];
  std::snprintf(head, sizeof head, "text id=%d value=%d ", static_cast<int>(NumberAt(bytes, 0)),
                static_cast<int>(NumberAt(bytes, 4 + kRecordSize)));
  Log(head + RecordText(bytes + 4));
  Answer(message);
  if (NumberAt(bytes + 4, 4) == 2) RpcMgmtStopServerListening(nullptr);
}

// Procedure 1: id, record, value, code, number.
void Status(PRPC_MESSAGE message) {
  const auto* bytes = static_cast<const std::uint8_t*>(message->Buffer);
  if (message->BufferLength != 16 + kRecordSize) {
    Log("bad procedure=1 bytes=" + std::to_string(message->BufferLength));
    return;
  }
  char head[96];
  std::snprintf(head, sizeof head, "status id=%d value=%d code=%d number=%d ", static_cast<int>(NumberAt(bytes, 0)),
                static_cast<int>(NumberAt(bytes, 4 + kRecordSize)), static_cast<int>(NumberAt(bytes, 8 + kRecordSize)),
                static_cast<int>(NumberAt(bytes, 12 + kRecordSize)));
  Log(head + RecordText(bytes + 4));
  Answer(message);
  if (g_driven) {
    std::lock_guard<std::mutex> guard(g_driven->lock);
    g_driven->codes.push_back(NumberAt(bytes, 8 + kRecordSize));
    g_driven->arrived.notify_one();
  }
}

int Serve(const char* logPath) {
  g_log = std::fopen(logPath, "a");
  if (!g_log) return 2;
  static RPC_DISPATCH_FUNCTION procedures[] = {MessageText, Status};
  static RPC_DISPATCH_TABLE table = {2, procedures, 0};
  static RPC_SERVER_INTERFACE served = {sizeof served, kLauncherInterface, {}, &table, 0, nullptr, nullptr, nullptr, 0};
  std::u16string protseq = u"ncacn_np", endpoint = u"\\pipe\\zephrinkxlauncher_rpcecho_homeserver";
  if (RpcServerUseProtseqEpW(protseq.data(), 10, endpoint.data(), nullptr) != RPC_S_OK ||
      RpcServerRegisterIfEx(&served, nullptr, nullptr, RPC_IF_ALLOW_CALLBACKS_WITH_NO_AUTH, 10, nullptr) != RPC_S_OK ||
      RpcServerListen(1, 10, TRUE) != RPC_S_OK) {
    Log("cannot serve");
    return 2;
  }
  std::thread([] {
    std::this_thread::sleep_for(std::chrono::seconds(kServeSeconds));
    Log("timeout");
    std::fclose(g_log);
    ::_exit(3);
  }).detach();
  Log("ready");
  RpcMgmtWaitServerListen();
  Log("end");
  return 0;
}

// One call of the main program's interface; answers the status and the reply.
RPC_STATUS CallProgram(unsigned procNum, const std::vector<std::uint8_t>& input, std::vector<std::uint8_t>& reply) {
  return zx::rpc::CallRaw(u"\\pipe\\zephrinkxlauncher_rpcecho_tunevo", kProgramInterface, procNum, input, reply);
}

std::vector<std::uint8_t> NumberBytes(std::uint32_t value) {
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  return bytes;
}

// Calls procedure P (with a 32-bit input when given) and logs "call P result R", or
// "call P status S" when the call failed.
void LoggedCall(unsigned procNum, const std::vector<std::uint8_t>& input = {}) {
  std::vector<std::uint8_t> reply;
  const RPC_STATUS status = CallProgram(procNum, input, reply);
  if (status == RPC_S_OK && reply.size() == 4)
    Log("call " + std::to_string(procNum) + " result " + std::to_string(NumberAt(reply.data(), 0)));
  else
    Log("call " + std::to_string(procNum) + " status " + std::to_string(status));
}

// The next status code of the program, waiting for it.
std::uint32_t NextStatus(Statuses& statuses) {
  std::unique_lock<std::mutex> guard(statuses.lock);
  statuses.arrived.wait(guard, [&] { return !statuses.codes.empty(); });
  const std::uint32_t code = statuses.codes.front();
  statuses.codes.pop_front();
  return code;
}

// Drives the program's hidden run: the scan's end (9) is answered with the download (2), the
// first download progress (14) with hold (1), cancel (3), the results popup over a window of
// the launcher's own (4) and the exit (5); the launcher ends after it.
void Drive(Statuses& statuses) {
  std::uint32_t code = 0;
  while ((code = NextStatus(statuses)) != 9) {
  }
  LoggedCall(2);
  while ((code = NextStatus(statuses)) != 14) {
  }
  LoggedCall(1);
  LoggedCall(3);
  const HWND parent = CreateWindowExW(0, u"Static", u"Launcher", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  LoggedCall(4, NumberBytes(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(parent))));
  LoggedCall(5);
  // The popup may ask its parent window things while the program ends.
  for (int round = 0; round < 200; ++round) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  Log("end");
  std::fflush(g_log);
  ::_exit(0);
}

bool HexBytes(const char* text, std::vector<std::uint8_t>& bytes) {
  if (std::strcmp(text, "-") == 0) return true;
  const std::size_t length = std::strlen(text);
  if (length % 2 != 0) return false;
  for (std::size_t i = 0; i < length; i += 2) {
    char* end = nullptr;
    const std::string pair(text + i, 2);
    bytes.push_back(static_cast<std::uint8_t>(std::strtoul(pair.c_str(), &end, 16)));
    if (*end != 0) return false;
  }
  return true;
}

int Usage() {
  std::fprintf(stderr,
               "usage: zephrinkxlauncher serve LOG [hang-up|garbage] | drive LOG | call PROCEDURE [INPUT]"
               " | send PROCEDURE HEX"
               " | message post|send WINDOW NAME WPARAM LPARAM\n");
  return 64;
}

// Posts or sends the registered message NAME with two numbers to a window of another process.
int WindowMessage(const std::string& how, const char* window, const char* name, const char* wParam,
                  const char* lParam) {
  const auto target = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::strtoul(window, nullptr, 0)));
  const std::u16string wideName(name, name + std::strlen(name));
  const UINT message = RegisterWindowMessageW(wideName.c_str());
  const auto first = static_cast<WPARAM>(std::strtoull(wParam, nullptr, 0));
  const auto second = static_cast<LPARAM>(std::strtoll(lParam, nullptr, 0));
  if (how == "post") {
    const bool posted = PostMessageW(target, message, first, second);
    std::printf(posted ? "posted\n" : "failed\n");
    return posted ? 0 : 1;
  }
  if (how != "send") return Usage();
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(target, message, first, second, SMTO_NORMAL, 5000, &answer)) {
    std::printf("failed\n");
    return 1;
  }
  std::printf("result %llu\n", static_cast<unsigned long long>(answer));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  if (command == "message") return argc == 7 ? WindowMessage(argv[2], argv[3], argv[4], argv[5], argv[6]) : Usage();
  if (command == "drive" && argc == 3) {
    static Statuses statuses;
    g_driven = &statuses;
    std::thread([] { Drive(statuses); }).detach();
    return Serve(argv[2]);
  }
  if (command == "serve" && argc <= 4) {
    if (argc == 4) {
      const std::string mode = argv[3];
      if (mode != "hang-up" && mode != "garbage") return Usage();
      g_mode = mode == "hang-up" ? Mode::kHangUp : Mode::kGarbage;
    }
    return Serve(argv[2]);
  }
  const unsigned procNum = static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10));
  std::vector<std::uint8_t> input, reply;
  if (command == "call" && argc <= 4) {
    if (argc == 4) {
      input = NumberBytes(static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 0)));
    }
    const RPC_STATUS status = CallProgram(procNum, input, reply);
    if (status != RPC_S_OK) {
      std::printf("status %ld\n", static_cast<long>(status));
      return 1;
    }
    if (reply.size() != 4) {
      std::printf("reply of %zu bytes\n", reply.size());
      return 2;
    }
    std::printf("result %u\n", NumberAt(reply.data(), 0));
    return 0;
  }
  if (command == "send" && argc == 4) {
    if (!HexBytes(argv[3], input)) return Usage();
    const RPC_STATUS status = CallProgram(procNum, input, reply);
    std::printf("status %ld bytes %zu\n", static_cast<long>(status), reply.size());
    return 0;
  }
  return Usage();
}
