// Reading a driver package's INF for the package installation: its version section, the
// models it offers with their hardware ids, install sections and services, and the files it
// names. Platform-internal.
#pragma once
#include <string>
#include <vector>

#include "wintypes.h"

namespace zx::devices {

struct InfModel {
  std::u16string description;
  std::u16string section;
  std::vector<std::u16string> ids;  // as the INF spells them
  // The decoration of the install section taken for the platform (".NTamd64", ".NT"), empty
  // when the undecorated section is taken.
  std::u16string sectionExt;
};

struct InfPackage {
  std::u16string provider;
  std::u16string className;
  std::u16string classGuid;  // braced, lower case
  std::u16string date;       // "M-D-YYYY"
  FILETIME dateData{};
  std::u16string version;    // "a.b.c.d"
  std::u16string catalog;    // empty: unsigned
  std::vector<InfModel> models;
  std::vector<std::u16string> sourceFiles;  // plain file names beside the INF
  std::vector<std::u16string> services;     // per model: the device's service, or empty
  std::string bytes;                        // the file as read
};

// Reads the INF at a host path. 0, or the SetupAPI error of a damaged INF:
// ERROR_FILE_NOT_FOUND, ERROR_WRONG_INF_STYLE (no [Version] or no known signature),
// ERROR_GENERAL_SYNTAX (unreadable text or DriverVer), ERROR_INVALID_CLASS (no class GUID),
// ERROR_SECTION_NOT_FOUND (no [Manufacturer] or model section), ERROR_NO_DRIVER_SELECTED
// (models sections only for other machines: on any machine but an x86 one only sections
// decorated with its architecture count), ERROR_LINE_NOT_FOUND (no model at all).
DWORD ReadInfPackage(const std::string& hostPath, InfPackage& package);

}  // namespace zx::devices
