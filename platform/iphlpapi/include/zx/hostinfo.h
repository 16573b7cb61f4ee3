// Platform-internal: reads the host's hardware description files (/sys, /proc). Tests point
// the reader at a folder of their own that stands for the host's "/".
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace zx::host {

// The whole text of a host file; nothing when it is absent or cannot be read.
std::optional<std::string> ReadText(const std::string& linuxPath);
// The first line without trailing blanks; nothing when the file cannot be read.
std::optional<std::string> ReadLine(const std::string& linuxPath);
// Names of the entries of a host folder, sorted; empty when it cannot be listed.
std::vector<std::string> ListFolder(const std::string& linuxPath);
bool Exists(const std::string& linuxPath);

// Reads host files below folder instead of "/"; an empty folder restores "/".
void UseHostFolder(const std::string& folder);

}  // namespace zx::host
