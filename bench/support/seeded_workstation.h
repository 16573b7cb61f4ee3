// A machine root of a benchmark's own, seeded from the generated 2,000-device workstation
// profile (ZX_WORKSTATION_PROFILE names its file), with the user an administrator.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_root.h"
#include "profileapi.h"
#include "zx/machineprofile.h"
#include "zx/pathmap.h"

namespace zx::bench {

class SeededWorkstation {
 public:
  explicit SeededWorkstation(const char* name) : root_(name) {
    WritePrivateProfileStringW(u"Machine", u"Administrator", u"1",
                               zx::path::HostToWindows(root_.folder() + "/machine.ini").c_str());
    zx::devices::MachineProfile profile;
    std::string error;
    if (!zx::devices::LoadProfileFile(ZX_WORKSTATION_PROFILE, profile, error) ||
        zx::devices::SeedMachine(profile, zx::devices::SeedOptions{false, "workstation"}, error) !=
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

}  // namespace zx::bench
