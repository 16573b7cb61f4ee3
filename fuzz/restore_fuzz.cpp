// Fuzz target: hostile bytes as the machine's restore point records. Listing must never
// crash; a point begun and ended on top of them must be added after every point read, and
// no point read may be lost or changed by the rewrite.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "srrestoreptapi.h"
#include "zx/restorepoints.h"

namespace {

bool SamePoint(const zx::restore::RestorePoint& a, const zx::restore::RestorePoint& b) {
  return a.sequence == b.sequence && a.type == b.type && a.created == b.created;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zx::fuzz::ScratchRoot();
  zx::fuzz::WriteHostFile(zx::machine::Root() + "/restore/points.txt", data, size);
  const auto before = zx::restore::ListRestorePoints();

  RESTOREPOINTINFOW info{};
  info.dwEventType = BEGIN_SYSTEM_CHANGE;
  info.dwRestorePtType = DEVICE_DRIVER_INSTALL;
  const char16_t description[] = u"Installed driver";
  std::copy(std::begin(description), std::end(description), info.szDescription);
  STATEMGRSTATUS status{};
  if (!SRSetRestorePointW(&info, &status)) return 0;
  info.dwEventType = END_SYSTEM_CHANGE;
  info.llSequenceNumber = status.llSequenceNumber;
  SRSetRestorePointW(&info, &status);

  const auto after = zx::restore::ListRestorePoints();
  if (after.size() < before.size()) std::abort();
  // Points of one number may come in either order.
  for (const auto& point : before)
    if (std::count_if(before.begin(), before.end(), [&](const auto& p) { return SamePoint(p, point); }) !=
        std::count_if(after.begin(), after.end(), [&](const auto& p) { return SamePoint(p, point); }))
      std::abort();
  if (after.size() == before.size() + 1 && !before.empty() && after.back().sequence <= before.back().sequence)
    std::abort();
  return 0;
}
