// The rules a machine profile's names and values must keep, shared by the profile reader
// (which reports the line) and the seeding (which checks profiles made in code).
#pragma once
#include <string>
#include <string_view>

#include "zx/machineprofile.h"

namespace zx::devices {

// "<enumerator>\<device>\<instance>": three non-empty names a registry key can have.
bool IsValidInstanceId(std::u16string_view id);
// A name for a service key or a file: not empty, at most 255 characters, no '\', '/' or
// characters Windows forbids in file names.
bool IsValidName(std::u16string_view name);
// An INF file name: a valid name ending in ".inf".
bool IsValidInfName(std::u16string_view name);
// The record-level rules (an empty text when the device is fine).
std::string CheckDevice(const ProfileDevice& device);
// An empty text when no two devices share an instance id and no two services a name.
std::string CheckUnique(const MachineProfile& profile, std::size_t& line);

}  // namespace zx::devices
