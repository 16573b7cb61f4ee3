// Ini files read once while they stay unchanged: a program looks up each text it shows in its
// language files, which would otherwise be read and decoded for every text. Kernel-internal.
#pragma once
#include <memory>
#include <string>

#include "profilefile.h"

namespace zx::profile {

// The decoded file at the host path: null with errno set when it cannot be read (ENOENT when
// it does not exist). A file larger than maxBytes cannot be read.
std::shared_ptr<const IniFile> ReadIniFile(const std::string& hostPath, std::size_t maxBytes);

}  // namespace zx::profile
