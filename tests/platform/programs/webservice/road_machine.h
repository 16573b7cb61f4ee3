// The install road's test machine: the shipped laptop profile seeded with the machine values
// the road needs, the tool programs beside the tool folder, a catalogue of driver packages for
// the web service's stand-in, and the service routed for the maker's hosts. Nothing here needs
// the main program's engines, so tests of other programs use it too.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "machine_fixture.h"
#include "standin.h"

namespace zx::test::road {

constexpr int kMouse = 0, kIntelDisplay = 1, kNvidiaDisplay = 2;
struct Driver {
  const char* hardwareId;
  const char* name;
  const char* infClass;
  const char* version;
  const char* infDate;  // MM/DD/YYYY
  const char* date;     // YYYY-MM-DD
};
extern const Driver kDrivers[3];

// Runs a shell command; the test fails unless it succeeds.
void Shell(const std::string& command);
// A program of the host placed at a Windows path (a script that runs it).
void PlaceProgram(const std::u16string& windowsPath, const std::string& program);
// The INF file of a catalogue driver.
std::string Inf(const Driver& driver);
// A value of the machine's "machine.ini".
using test::SetMachineValue;
// The machine root's devices and drivers seeded from the shipped laptop profile.
void SeedLaptopDevices();
// Seeds the laptop profile into the machine root, as an administrator on a network, with the
// 7-Zip program, the 64-bit helper and the restore program beside the tool folder.
void SeedLaptop(const std::string& root);
// The catalogue: a pointing device's zip (a device the scan leaves out), the Intel display's
// 7z holding its setup program, the NVIDIA display's zip (whose MD5 it gives wrong when asked,
// or whose package both displays share).
void WriteCatalogue(const std::string& folder, bool wrongMd5 = false, bool sharedPackage = false);
// Writes at `archive` a zip holding the INF text as "<name>\<name>.inf" (made in `work`).
void WriteInfPackage(const std::string& work, const std::string& archive, const std::string& name,
                     const std::string& inf);
// Ways a driver package fails as real ones do: an INF for other hardware, a damaged archive
// (the NVIDIA display's), a setup program that exits with an error (2, the Intel display's:
// it finds no INF beside it), an INF that is none (the NVIDIA display's).
enum class PackageFailure { kInfForOtherHardware, kDamagedArchive, kSetupExitsWithError, kDamagedInf };
// The catalogue driver whose package fails that way.
int FailingDriver(PackageFailure failure);
// Writes that driver's package, failing that way, over its own in the catalogue folder.
void SpoilPackage(const std::string& catalogue, PackageFailure failure);
// The catalogue's section of a third driver, the laptop's audio device, whose package is
// "audio.zip" (not written here).
extern const char kAudioCatalogueEntry[];
// Starts the stand-in on the catalogue (none: empty) and routes the maker's hosts to it.
std::unique_ptr<StandIn> StartService(const std::string& root, const std::string& catalogue,
                                      const std::string& uploads, const std::string& fault = {},
                                      std::vector<std::string> arguments = {});

}  // namespace zx::test::road
