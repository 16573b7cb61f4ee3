// zxdevices: seeds a machine root's device tree from a machine profile or from this
// machine's hardware, and prints this machine's hardware as a profile.
//
//   zxdevices seed [--root FOLDER] [--replace] [PROFILE]
//   zxdevices host
#include <cstdio>
#include <cstring>
#include <string>

#include "zx/machine.h"
#include "zx/machineprofile.h"

namespace {

int Usage() {
  std::fputs("usage: zxdevices seed [--root FOLDER] [--replace] [PROFILE]\n"
             "       zxdevices host\n"
             "seed: seeds the machine root ($ZX_MACHINE_ROOT or FOLDER) from PROFILE, or from this\n"
             "      machine's hardware without one; seeding the same profile again changes nothing.\n"
             "host: prints this machine's hardware as a machine profile.\n",
             stderr);
  return 2;
}

int Seed(int argc, char** argv) {
  zx::devices::SeedOptions options;
  std::string profilePath;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--replace") == 0) options.replace = true;
    else if (std::strcmp(argv[i], "--root") == 0 && i + 1 < argc) zx::machine::UseRoot(argv[++i]);
    else if (argv[i][0] != '-' && profilePath.empty()) profilePath = argv[i];
    else return Usage();
  }
  zx::devices::MachineProfile profile;
  std::string error;
  if (profilePath.empty()) {
    profile = zx::devices::ReadHostProfile(zx::devices::DefaultHostSources());
    options.source = "host";
  } else if (!zx::devices::LoadProfileFile(profilePath, profile, error)) {
    std::fprintf(stderr, "zxdevices: %s\n", error.c_str());
    return 1;
  } else {
    options.source = profilePath;
  }
  switch (zx::devices::SeedMachine(profile, options, error)) {
    case zx::devices::SeedResult::Seeded:
      std::printf("seeded %zu devices into %s\n", profile.devices.size(), zx::machine::Root().c_str());
      return 0;
    case zx::devices::SeedResult::AlreadySeeded:
      std::printf("%s is seeded from this profile already\n", zx::machine::Root().c_str());
      return 0;
    case zx::devices::SeedResult::Refused:
    case zx::devices::SeedResult::Failed:
      break;
  }
  std::fprintf(stderr, "zxdevices: %s\n", error.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "seed") == 0) return Seed(argc, argv);
  if (argc == 2 && std::strcmp(argv[1], "host") == 0) {
    std::fputs(zx::devices::FormatProfile(zx::devices::ReadHostProfile(zx::devices::DefaultHostSources())).c_str(),
               stdout);
    return 0;
  }
  return Usage();
}
