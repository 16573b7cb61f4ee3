// Test support of the package installation tests: the text of a driver package's INF for the
// seeded network card, written where a test wants it.
#pragma once
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "zx/pathmap.h"

namespace zx::devices {

// The network card of kTwoCards matches "PCI\VEN_8086&DEV_1502"; the date is MM/DD/YYYY.
inline std::string NetPackageInf(const std::string& date = "02/14/2013", const std::string& version = "12.6.45.0",
                                 const std::string& id = "PCI\\VEN_8086&DEV_1502") {
  return "; Intel network package\r\n"
         "[Version]\r\n"
         "Signature=\"$WINDOWS NT$\"\r\n"
         "Class=Net\r\n"
         "ClassGuid={4D36E972-E325-11CE-BFC1-08002BE10318}\r\n"
         "Provider=%Intel%\r\n"
         "DriverVer=" + date + "," + version + "\r\n"
         "\r\n"
         "[Manufacturer]\r\n"
         "%Intel%=Intel,NTamd64\r\n"
         "\r\n"
         "[Intel.NTamd64]\r\n"
         "%E1502NC.DeviceDesc%=E1502.ndi, " + id + "\r\n"
         "\r\n"
         "[E1502.ndi.Services]\r\n"
         "AddService=e1cexpress, 2, e1c.Service\r\n"
         "\r\n"
         "[SourceDisksFiles]\r\n"
         "e1c62x64.sys=1\r\n"
         "\r\n"
         "[Strings]\r\n"
         "Intel=\"Intel\"\r\n"
         "E1502NC.DeviceDesc=\"Intel(R) 82579LM Gigabit Network Connection\"\r\n";
}

// Writes a file under a Windows path of the machine root.
inline void WriteMachineFile(const std::u16string& windowsPath, const std::string& bytes) {
  std::string host;
  ASSERT_TRUE(zx::path::WindowsToHost(windowsPath, host, nullptr));
  std::filesystem::create_directories(std::filesystem::path(host).parent_path());
  std::ofstream(host, std::ios::binary) << bytes;
}

inline std::string MachineFileHost(const std::u16string& windowsPath) {
  std::string host;
  zx::path::WindowsToHost(windowsPath, host, nullptr);
  return host;
}

}  // namespace zx::devices
