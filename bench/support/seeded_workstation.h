// A machine root of a benchmark's own, seeded from a machine profile, with the user an
// administrator; by default the generated 2,000-device workstation profile
// (ZX_WORKSTATION_PROFILE names its file).
#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_root.h"
#include "profileapi.h"
#include "zx/machineprofile.h"
#include "zx/pathmap.h"

namespace zx::bench {

class SeededMachine {
 public:
  SeededMachine(const char* name, const char* profileFile, const char* label) : root_(name) {
    WritePrivateProfileStringW(u"Machine", u"Administrator", u"1",
                               zx::path::HostToWindows(root_.folder() + "/machine.ini").c_str());
    zx::devices::MachineProfile profile;
    std::string error;
    if (!zx::devices::LoadProfileFile(profileFile, profile, error) ||
        zx::devices::SeedMachine(profile, zx::devices::SeedOptions{false, label}, error) !=
            zx::devices::SeedResult::Seeded) {
      std::fprintf(stderr, "%s\n", error.c_str());
      std::abort();
    }
    devices_ = static_cast<int>(profile.devices.size());
  }

  int devices() const { return devices_; }
  const std::string& folder() const { return root_.folder(); }

 private:
  BenchRoot root_;
  int devices_ = 0;
};

#ifdef ZX_WORKSTATION_PROFILE
class SeededWorkstation : public SeededMachine {
 public:
  explicit SeededWorkstation(const char* name) : SeededMachine(name, ZX_WORKSTATION_PROFILE, "workstation") {}
};
#endif

}  // namespace zx::bench
