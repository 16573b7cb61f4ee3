// Fuzz target: hostile bytes as the sample run's catalogue, matched by zxsample to the devices
// of a machine seeded with two of the laptop's devices. Every offer names a seeded device by
// one of its ids and is newer exactly when its version compares above the installed one;
// versions compare equal to themselves and the comparison turns with its sides.
// Links: zxsample_core
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "../samples/zxsample/offers.h"
#include "fuzz_support.h"
#include "zx/machineprofile.h"

namespace {

constexpr std::size_t kLongest = 4096;

constexpr const char* kProfile = R"(device PCI\VEN_10DE&DEV_0FFC&SUBSYS_21F517AA&REV_A1\4&1B10C2D0&0&0008
  name = NVIDIA Quadro K1000M
  hwid = PCI\VEN_10DE&DEV_0FFC&SUBSYS_21F517AA&REV_A1
  hwid = PCI\VEN_10DE&DEV_0FFC&SUBSYS_21F517AA
  compatid = PCI\VEN_10DE&DEV_0FFC
  class = Display
  mfg = NVIDIA
  service = nvlddmkm
  inf = oem17.inf
  section = Section054
  version = 9.18.13.1106
  date = 1-22-2013
  provider = NVIDIA
  matching = pci\ven_10de&dev_0ffc&subsys_21f517aa

device HDAUDIO\FUNC_01&VEN_10EC&DEV_0269&SUBSYS_17AA21FA&REV_1002\4&2B57F41F&0&0001
  name = Realtek High Definition Audio
  hwid = HDAUDIO\FUNC_01&VEN_10EC&DEV_0269&SUBSYS_17AA21FA
  compatid = HDAUDIO\FUNC_01&VEN_10EC
  class = MEDIA
  mfg = Realtek
  service = IntcAzAudAddService
  inf = oem25.inf
  section = IntcAzAudModel
  version = 6.0.1.6657
  date = 5-24-2012
  provider = Realtek Semiconductor Corp.
  matching = hdaudio\func_01&ven_10ec&dev_0269&subsys_17aa21fa
)";

void SeedOnce() {
  static const bool seeded = [] {
    zx::fuzz::ScratchRoot();
    zx::devices::MachineProfile profile;
    std::string error;
    return zx::devices::ParseProfile(kProfile, "fuzz.profile", profile, error) &&
           zx::devices::SeedMachine(profile, zx::devices::SeedOptions{false, "fuzz.profile"}, error) ==
               zx::devices::SeedResult::Seeded;
  }();
  if (!seeded) std::abort();
}

int Sign(int value) { return (value > 0) - (value < 0); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Each section is matched against every device: longer files only cost time.
  if (size > kLongest) return 0;
  SeedOnce();
  zx::fuzz::WriteHostFile(zx::machine::DriveCFolder() + "/catalogue.ini", data, size);
  std::vector<zxsample::Offer> offers;
  if (!zxsample::ReadOffers(u"C:\\catalogue.ini", offers)) return 0;
  for (const zxsample::Offer& offer : offers) {
    const std::u16string& name = offer.device.name;
    if (name != u"NVIDIA Quadro K1000M" && name != u"Realtek High Definition Audio") std::abort();
    const int order = zxsample::CompareVersions(offer.offered, offer.device.version);
    if (offer.newer != (order > 0)) std::abort();
    if (Sign(zxsample::CompareVersions(offer.device.version, offer.offered)) != -Sign(order)) std::abort();
    if (zxsample::CompareVersions(offer.offered, offer.offered) != 0) std::abort();
  }
  return 0;
}
