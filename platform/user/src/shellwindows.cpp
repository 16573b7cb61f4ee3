// The shell's maker of its own windows, run before a search of top-level windows.
#include "zx/shellwindows.h"

#include <atomic>

namespace zx::user {
namespace {

std::atomic<ShellWindowsMaker>& Maker() {
  static std::atomic<ShellWindowsMaker> maker{nullptr};
  return maker;
}

}  // namespace

void SetShellWindowsMaker(ShellWindowsMaker maker) { Maker().store(maker); }

void MakeShellWindows(LPCWSTR className) {
  if (const ShellWindowsMaker maker = Maker().load()) maker(className);
}

}  // namespace zx::user
