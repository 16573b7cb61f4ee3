// A hidden start timed from outside: the main program started in hidden scan mode on the
// laptop profile, which scans at once, looks the devices up at the web service's stand-in,
// fills its results and ends; its fixed waits included. The laptop's catalogue offers updates
// (found) or none (empty).
#include <benchmark/benchmark.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "bench_root.h"
#include "program_start.h"
#include "standin.h"
#include "zx/machineprofile.h"

namespace {

namespace fs = std::filesystem;

// A machine root seeded with the laptop profile, routed to a stand-in over the catalogue.
class RoadMachine {
 public:
  explicit RoadMachine(bool withCatalogue) : root_("zxroadbench") {
    zx::devices::MachineProfile profile;
    std::string error;
    if (!zx::devices::LoadProfileFile(std::string(ZX_PROFILES_DIR) + "/laptop.profile", profile, error) ||
        zx::devices::SeedMachine(profile, zx::devices::SeedOptions{false, "laptop.profile"}, error) !=
            zx::devices::SeedResult::Seeded)
      std::abort();
    std::string catalogue;
    if (withCatalogue) {
      catalogue = root_.folder() + "/catalogue";
      fs::create_directories(catalogue);
      fs::copy_file(ZX_CATALOGUE_DIR "/laptop/catalogue.ini", catalogue + "/catalogue.ini");
      std::ofstream(catalogue + "/package.zip") << "package bytes";
    }
    service_ = std::make_unique<zx::test::StandIn>(zx::test::StandInOptions(catalogue, {}));
    if (service_->port() <= 0) std::abort();
    const std::string address = "127.0.0.1:" + std::to_string(service_->port());
    std::ofstream(root_.folder() + "/machine.ini", std::ios::app)
        << "\n[Machine]\nAdministrator=1\n[Network]\nConnection=lan\n[Hosts]\nupdate.zephrin-tunevo.example=" << address
        << "\nupdate2.zephrin-tunevo.example=" << address << "\n";
  }

  // Runs the program in hidden scan mode to its end; its exit code, -1 when it did not run.
  int RunHiddenScan() {
    const pid_t pid = zx::bench::StartProgramOnRoot(ZX_MAINPROGRAM, "-runhiddenScan", root_.folder());
    if (pid < 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  zx::bench::BenchRoot root_;
  std::unique_ptr<zx::test::StandIn> service_;
};

void HiddenScan(benchmark::State& state, bool withCatalogue) {
  RoadMachine machine(withCatalogue);
  for (auto _ : state) {
    if (machine.RunHiddenScan() != 0) state.SkipWithError("the program did not end cleanly");
  }
}

void BM_HiddenStartToEndUpdatesFound(benchmark::State& state) { HiddenScan(state, true); }
void BM_HiddenStartToEndNothingFound(benchmark::State& state) { HiddenScan(state, false); }
BENCHMARK(BM_HiddenStartToEndUpdatesFound)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_HiddenStartToEndNothingFound)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
