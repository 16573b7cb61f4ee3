// The wait of a held answer.
#include "hold.h"

#include <chrono>
#include <filesystem>
#include <thread>

namespace zx::webservice {
namespace {

constexpr auto kHoldLook = std::chrono::milliseconds(20);
constexpr auto kHoldLimit = std::chrono::minutes(1);

}  // namespace

bool WaitWhileHeld(const std::string& holdFile, const std::function<bool()>& stillWanted) {
  const auto until = std::chrono::steady_clock::now() + kHoldLimit;
  while (std::filesystem::exists(holdFile)) {
    if (!stillWanted() || std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(kHoldLook);
  }
  return true;
}

}  // namespace zx::webservice
