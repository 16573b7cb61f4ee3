// Main program memory benchmark. Goal: a scheduled scan of the generated 2,000-device
// workstation, headless, against the web service's stand-in, holds under 200 MB resident at
// its peak. The program is started as the Task Scheduler starts it ("-schedule"): it opens its
// main window, scans, sends the request and reads the answer (an empty catalogue: no updates),
// says so in its own message box, and is closed through the box and the window's close
// request. The figure is the program's own peak, read when it has ended.
#include <benchmark/benchmark.h>
#include <processthreadsapi.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <winuser.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "peak_memory.h"
#include "program_start.h"
#include "seeded_workstation.h"
#include "standin.h"

namespace {

constexpr WPARAM kCloseRequest = 1182;
constexpr int kGiveUpSeconds = 120;
constexpr double kGoalMb = 200;

double g_programPeakMb = 0;

// The program's main window and the message box it shows over it (null while there is none).
struct ProgramWindows {
  HWND main = nullptr;
  HWND box = nullptr;
};
ProgramWindows FindProgramWindows(pid_t pid) {
  ProgramWindows found;
  for (HWND top = FindWindowExW(nullptr, nullptr, u"#32770", nullptr); top;
       top = FindWindowExW(nullptr, top, u"#32770", nullptr)) {
    DWORD process = 0;
    GetWindowThreadProcessId(top, &process);
    if (process == static_cast<DWORD>(pid)) (GetWindow(top, GW_OWNER) ? found.box : found.main) = top;
  }
  return found;
}

// Runs the scheduled scan to its box and closes the program; its peak in MB, 0 when it failed.
double ScheduledScanPeakMb(const std::string& root) {
  const pid_t pid = zx::bench::StartProgramOnRoot(ZX_MAINPROGRAM, "-schedule", root);
  if (pid < 0) return 0;
  ProgramWindows windows;
  for (int round = 0; round < kGiveUpSeconds * 100 && windows.box == nullptr; ++round) {
    if (waitpid(pid, nullptr, WNOHANG) != 0) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    windows = FindProgramWindows(pid);
  }
  const bool boxShown = windows.box != nullptr;
  if (boxShown) PostMessageW(windows.box, WM_CLOSE, 0, 0);
  // The window takes its close request only once the scan has let it go: asked each second.
  int status = 0;
  rusage usage{};
  bool ended = false;
  for (int round = 0; boxShown && !ended && round < kGiveUpSeconds * 100; ++round) {
    if (round % 100 == 0) PostMessageW(windows.main, WM_COMMAND, kCloseRequest, 0);
    ended = wait4(pid, &status, WNOHANG, &usage) == pid;
    if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!ended) {
    ::kill(pid, SIGKILL);
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
  }
  return ended && WIFEXITED(status) ? zx::bench::PeakResidentMb(usage) : 0;
}

void ScheduledScanOfTheWorkstation(benchmark::State& state) {
  zx::bench::SeededWorkstation machine("zx-scan-memory-bench");
  const std::string catalogue = machine.folder() + "/catalogue";
  std::filesystem::create_directories(catalogue);
  std::ofstream(catalogue + "/catalogue.ini") << "; No driver is offered.\n";
  zx::test::StandIn service(zx::test::StandInOptions(catalogue, {}));
  if (service.port() <= 0) {
    state.SkipWithError("the web service's stand-in did not start");
    return;
  }
  const std::string address = "127.0.0.1:" + std::to_string(service.port());
  std::ofstream(machine.folder() + "/machine.ini", std::ios::app)
      << "\n[Network]\nConnection=lan\n[Hosts]\nupdate.zephrin-tunevo.example=" << address
      << "\nupdate2.zephrin-tunevo.example=" << address << "\n";
  for (auto _ : state) {
    g_programPeakMb = ScheduledScanPeakMb(machine.folder());
    if (g_programPeakMb == 0) {
      state.SkipWithError("the scheduled scan did not end in its message box");
      return;
    }
  }
  state.counters["peak_MB"] = g_programPeakMb;
}
BENCHMARK(ScheduledScanOfTheWorkstation)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  zx::bench::PrintPeakMemory("peak resident memory of the scheduled scan", g_programPeakMb, kGoalMb);
  benchmark::Shutdown();
  return 0;
}
