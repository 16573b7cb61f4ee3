// The hive table of the process.
#include "hives.h"

#include <mutex>

#include "zx/machine.h"

namespace zx::registry {
namespace {

constexpr const char* kHiveNames[] = {"HKLM", "HKCU", "HKU"};
constexpr std::size_t kHiveCount = sizeof kHiveNames / sizeof kHiveNames[0];

struct HiveTable {
  std::mutex lock;
  std::uint64_t rootGeneration = 0;
  std::shared_ptr<HiveStore> hives[kHiveCount];
};

HiveTable& Table() {
  static HiveTable* table = new HiveTable;  // lives past static destruction
  return *table;
}

}  // namespace

std::shared_ptr<HiveStore> OpenHive(HiveId id) {
  HiveTable& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  const std::uint64_t generation = zx::machine::RootGeneration();
  if (generation != table.rootGeneration) {
    // Handles opened under the old root keep their stores.
    for (auto& hive : table.hives) hive.reset();
    table.rootGeneration = generation;
  }
  std::shared_ptr<HiveStore>& hive = table.hives[static_cast<std::size_t>(id)];
  if (!hive)
    hive = std::make_shared<HiveStore>(zx::machine::RegistryFolder(), kHiveNames[static_cast<std::size_t>(id)]);
  return hive;
}

HiveStamp MachineHiveStamp() {
  const std::uint64_t root = zx::machine::RootGeneration();
  const std::shared_ptr<HiveStore> hive = OpenHive(HiveId::kLocalMachine);
  const HiveStore::Access access(*hive, HiveStore::Access::kRead);
  if (access.status() != ERROR_SUCCESS) return {};
  return {true, root, hive->changes(), access.epoch()};
}

void ForgetCachedHives() {
  HiveTable& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  for (auto& hive : table.hives)
    if (hive) hive->Forget();
}

}  // namespace zx::registry
