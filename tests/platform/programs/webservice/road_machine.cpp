// The install road's test machine: the laptop profile, the tool programs, the catalogue and the
// web service's stand-in routed for the maker's hosts.
#include "road_machine.h"

#include <gtest/gtest.h>
#include <profileapi.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "zx/machineprofile.h"
#include "zx/pathmap.h"

namespace zx::test::road {

namespace fs = std::filesystem;

const Driver kDrivers[3] = {
    {"ACPI\\LEN0015", "mouse", "Mouse", "17.0.1.5", "03/05/2016", "2016-03-05"},
    {"PCI\\VEN_8086&DEV_0166&SUBSYS_21F317AA", "igfx", "Display", "10.18.10.4425", "04/21/2016", "2016-04-21"},
    {"PCI\\VEN_10DE&DEV_0FFC&SUBSYS_21F517AA", "nvidia", "Display", "21.21.13.7570", "10/11/2016", "2016-10-11"},
};

const char kAudioCatalogueEntry[] =
    "[audio]\nhardwareids = HDAUDIO\\FUNC_01&VEN_10EC&DEV_0269&SUBSYS_17AA21FA&REV_1002\n"
    "version = 6.0.1.6658\ndate = 2016-05-01\ninf = extract\\audio\\audio.inf\npackage = audio.zip\n";

std::string Inf(const Driver& driver) {
  return std::string("[Version]\r\nSignature=\"$WINDOWS NT$\"\r\nClass=") + driver.infClass +
         "\r\nClassGuid={4D36E968-E325-11CE-BFC1-08002BE10318}\r\nProvider=%Maker%\r\nDriverVer=" + driver.infDate + "," + driver.version +
         "\r\n\r\n[Manufacturer]\r\n%Maker%=Models,NTamd64\r\n\r\n[Models.NTamd64]\r\n%Device%=Install, " + driver.hardwareId +
         "\r\n\r\n[Install.Services]\r\nAddService=" + driver.name + ", 2, Service\r\n\r\n[Strings]\r\nMaker=\"Zx " +
         driver.name + "\"\r\nDevice=\"Zx " + driver.name + " device\"\r\n";
}

void Shell(const std::string& command) { ASSERT_EQ(std::system(command.c_str()), 0) << command; }

void PlaceProgram(const std::u16string& windowsPath, const std::string& program) {
  std::string host;
  ASSERT_TRUE(path::WindowsToHost(windowsPath, host, nullptr));
  fs::create_directories(fs::path(host).parent_path());
  std::ofstream(host, std::ios::binary) << "#!/bin/sh\nexec '" + program + "' \"$@\"\n";
  fs::permissions(host, fs::perms::owner_all);
}

void SeedLaptopDevices() {
  devices::MachineProfile profile;
  std::string error;
  ASSERT_TRUE(devices::LoadProfileFile(std::string(ZX_PROFILES_DIR) + "/laptop.profile", profile, error)) << error;
  ASSERT_EQ(devices::SeedMachine(profile, devices::SeedOptions{false, "laptop.profile"}, error),
            devices::SeedResult::Seeded)
      << error;
}

void SeedLaptop(const std::string& root) {
  SeedLaptopDevices();
  SetMachineValue(root, "Machine", "Administrator", "1");
  SetMachineValue(root, "Network", "Connection", "lan");
  // The 7-Zip program and the 64-bit helper beside the tool folder C:\\Prog\\Win7.
  PlaceProgram(u"C:\\Prog\\extract\\7z.exe", ZX_SEVENZIP_PROGRAM);
  PlaceProgram(u"C:\\Prog\\amd64Helper\\Wexor64.exe", ZX_WEXOR64);
  PlaceProgram(u"C:\\Prog\\Win7\\Ravolt.exe", ZX_RAVOLT);
}

void WriteCatalogue(const std::string& folder, bool wrongMd5, bool sharedPackage) {
  // Written afresh over an earlier catalogue in the folder.
  for (const char* package : {"mouse.zip", "igfx.7z", "nvidia.zip"}) fs::remove(folder + "/" + package);
  for (const Driver& driver : kDrivers) {
    const std::string work = folder + "/work-" + driver.name;
    fs::create_directories(work + "/" + driver.name);
    std::ofstream(work + "/" + driver.name + "/" + driver.name + ".inf", std::ios::binary) << Inf(driver);
  }
  Shell("cd '" + folder + "/work-mouse' && zip -qr ../mouse.zip mouse");
  Shell("cd '" + folder + "/work-nvidia' && zip -qr ../nvidia.zip nvidia");
  const std::string igfx = folder + "/work-igfx/igfx";
  fs::copy_file(ZX_SETUP_PROGRAM, igfx + "/Setup.exe", fs::copy_options::overwrite_existing);
  fs::permissions(igfx + "/Setup.exe", fs::perms::owner_all);
  Shell("cd '" + igfx + "' && 7zz a -bd -bso0 ../../igfx.7z Setup.exe igfx.inf");
  std::string text;
  const char* packages[] = {"mouse.zip", "igfx.7z", "nvidia.zip"};
  const char* infs[] = {"extract\\mouse\\mouse.inf", "extract\\igfx.inf", "extract\\nvidia\\nvidia.inf"};
  for (int i = 0; i < 3; ++i) {
    text += std::string("[") + kDrivers[i].name + "]\nhardwareids = " + kDrivers[i].hardwareId +
            "\nversion = " + kDrivers[i].version + "\ndate = " + kDrivers[i].date + "\ninf = " + infs[i] +
            "\npackage = " + (sharedPackage ? "nvidia.zip" : packages[i]) + "\n";
    if (i == kNvidiaDisplay && wrongMd5) text += "md5 = 0123456789abcdef0123456789abcdef\n";
  }
  std::ofstream(folder + "/catalogue.ini", std::ios::binary) << text;
}

void WriteInfPackage(const std::string& work, const std::string& archive, const std::string& name,
                     const std::string& inf) {
  fs::remove_all(work);
  fs::create_directories(work + "/" + name);
  std::ofstream(work + "/" + name + "/" + name + ".inf", std::ios::binary) << inf;
  fs::remove(archive);
  Shell("cd '" + work + "' && zip -qr '" + archive + "' " + name);
}

int FailingDriver(PackageFailure failure) {
  return failure == PackageFailure::kSetupExitsWithError ? kIntelDisplay : kNvidiaDisplay;
}

void SpoilPackage(const std::string& catalogue, PackageFailure failure) {
  const std::string work = catalogue + "/spoilt", nvidia = catalogue + "/nvidia.zip";
  switch (failure) {
    case PackageFailure::kInfForOtherHardware: {
      Driver other = kDrivers[kNvidiaDisplay];
      other.hardwareId = "PCI\\VEN_DEAD&DEV_BEEF";
      WriteInfPackage(work, nvidia, "nvidia", Inf(other));
      break;
    }
    case PackageFailure::kDamagedArchive:
      std::ofstream(nvidia, std::ios::binary | std::ios::trunc) << "PK\x03\x04 cut short";
      break;
    case PackageFailure::kSetupExitsWithError: {
      fs::remove_all(work);
      fs::create_directories(work);
      fs::copy_file(ZX_SETUP_PROGRAM, work + "/Setup.exe");
      fs::permissions(work + "/Setup.exe", fs::perms::owner_all);
      fs::remove(catalogue + "/igfx.7z");
      Shell("cd '" + work + "' && 7zz a -bd -bso0 ../igfx.7z Setup.exe");
      break;
    }
    case PackageFailure::kDamagedInf:
      WriteInfPackage(work, nvidia, "nvidia", "no INF at all\r\n");
      break;
  }
}

std::unique_ptr<StandIn> StartService(const std::string& root, const std::string& catalogue,
                                      const std::string& uploads, const std::string& fault,
                                      std::vector<std::string> arguments) {
  auto service = std::make_unique<StandIn>(StandInOptions(catalogue, uploads, fault, 0, std::move(arguments)));
  if (service->port() <= 0) return nullptr;
  for (const char* host : {"update.zephrin-tunevo.example", "update2.zephrin-tunevo.example"})
    SetMachineValue(root, "Hosts", host, "127.0.0.1:" + std::to_string(service->port()));
  return service;
}

}  // namespace zx::test::road
