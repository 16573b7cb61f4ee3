// The hives of the machine root in use: one store per hive, made on first use and dropped
// when the process moves to another root.
#pragma once
#include <memory>

#include "hivestore.h"

namespace zx::registry {

enum class HiveId { kLocalMachine, kCurrentUser, kUsers };

std::shared_ptr<HiveStore> OpenHive(HiveId id);

}  // namespace zx::registry
