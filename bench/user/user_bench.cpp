// Window-system benchmark. Goals: at least 1,000,000 posted messages dispatched a second in
// one process; a SendMessage round trip to another process's window with a median under
// 50 microseconds. The other process is this program started again as a peer.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "synchapi.h"
#include "winuser.h"

extern char** environ;

#include "bench_root.h"

namespace {

constexpr const char* kPeerVariable = "ZX_USER_BENCH_PEER";
constexpr const char16_t* kPeerClass = u"ZxBenchPeer";

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER) return static_cast<LRESULT>(wParam + 1);
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow(LPCWSTR title) {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = CountingProc;
    wc.lpszClassName = kPeerClass;
    return RegisterClassExW(&wc) != 0;
  }();
  if (!registered) return nullptr;
  return CreateWindowExW(0, kPeerClass, title, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                         nullptr);
}

// The peer: one window, its messages pumped until it is closed.
int RunPeer(const std::string& title) {
  const std::u16string wide(title.begin(), title.end());
  if (!MakeWindow(wide.c_str())) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
  return 0;
}

void PostedMessagesDispatched(benchmark::State& state) {
  const HWND window = MakeWindow(u"local");
  const int batch = static_cast<int>(state.range(0));
  MSG msg;
  for (auto _ : state) {
    for (int i = 0; i < batch; ++i) PostMessageW(window, WM_USER, static_cast<WPARAM>(i), 0);
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) benchmark::DoNotOptimize(DispatchMessageW(&msg));
  }
  state.SetItemsProcessed(state.iterations() * batch);
  DestroyWindow(window);
}
BENCHMARK(PostedMessagesDispatched)->Arg(1)->Arg(1000);

void CrossProcessSendRoundTrip(benchmark::State& state) {
  const std::string title = "bench peer " + std::to_string(::getpid());
  std::string program = std::filesystem::read_symlink("/proc/self/exe").string();
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
  env.push_back(std::string(kPeerVariable) + "=" + title);
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  char* argv[] = {program.data(), nullptr};
  pid_t pid = -1;
  if (::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0) {
    state.SkipWithError("cannot start the peer");
    return;
  }
  const std::u16string wideTitle(title.begin(), title.end());
  HWND peer = nullptr;
  for (int tries = 0; tries < 5000 && !peer; ++tries) {
    peer = FindWindowW(kPeerClass, wideTitle.c_str());
    if (!peer) Sleep(1);
  }
  if (!peer) {
    state.SkipWithError("the peer's window did not appear");
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    return;
  }
  std::vector<double> micros;
  WPARAM n = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const LRESULT answer = SendMessageW(peer, WM_USER, n, 0);
    micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    if (answer != static_cast<LRESULT>(n + 1)) {
      state.SkipWithError("wrong answer");
      break;
    }
    ++n;
  }
  PostMessageW(peer, WM_CLOSE, 0, 0);
  ::waitpid(pid, nullptr, 0);
  if (micros.empty()) return;
  std::sort(micros.begin(), micros.end());
  state.counters["median_us"] = micros[micros.size() / 2];
  state.counters["p99_us"] = micros[micros.size() * 99 / 100];
}
BENCHMARK(CrossProcessSendRoundTrip)->Iterations(20000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (const char* peer = std::getenv(kPeerVariable)) return RunPeer(peer);
  return zx::bench::RunInOwnRoot(argc, argv, "zx-user-bench");
}
