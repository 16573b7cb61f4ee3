// The table of this process's windows: handle allocation and lookup.
#include <chrono>
#include <unordered_map>

#include "errhandlingapi.h"
#include "processthreadsapi.h"
#include "window.h"

namespace zx::user {
namespace {

struct Table {
  std::mutex lock;
  std::unordered_map<std::uint32_t, std::shared_ptr<Window>> windows;
  std::vector<HWND> topLevel;
  std::vector<HWND> messageOnly;
  std::uint32_t counter = 0;
};

Table& TheTable() {
  static Table* table = new Table;  // outlives every thread's clean-up
  return *table;
}

// Counters start at a value of their own in each process, so a handle of a process that
// ended is not soon given again by the next process of the same slot.
std::uint32_t FirstCounter() {
  const auto ticks = static_cast<std::uint64_t>(
      std::chrono::steady_clock::now().time_since_epoch().count());
  return static_cast<std::uint32_t>((ticks ^ (GetCurrentProcessId() * 2654435761u)) & kCounterMask);
}

bool UsableCounter(int slot, std::uint32_t counter) {
  if (counter == 0) return false;
  // Slot 0 keeps clear of the special handles below 0x10000 and of the desktop's.
  return slot != 0 || (counter >= 0x10020 && counter != kDesktopHandle);
}

}  // namespace

bool IsHandleShaped(HWND window) {
  const auto value = reinterpret_cast<std::uintptr_t>(window);
  return value >= 0x10000 && value < 0x80000000u;
}

std::mutex& TableLock() { return TheTable().lock; }

Window* FindLocked(HWND window) {
  if (!IsHandleShaped(window)) return nullptr;
  auto& windows = TheTable().windows;
  const auto it = windows.find(HandleValue(window));
  return it == windows.end() ? nullptr : it->second.get();
}

std::shared_ptr<Window> Find(HWND window) {
  if (!IsHandleShaped(window)) return nullptr;
  std::lock_guard<std::mutex> guard(TableLock());
  auto& windows = TheTable().windows;
  const auto it = windows.find(HandleValue(window));
  return it == windows.end() ? nullptr : it->second;
}

std::vector<HWND>& TopLevelLocked() { return TheTable().topLevel; }
std::vector<HWND>& MessageOnlyLocked() { return TheTable().messageOnly; }

std::vector<HWND>& SiblingsLocked(const Window& window) {
  if (window.parent) return FindLocked(window.parent)->children;
  return window.messageOnly ? MessageOnlyLocked() : TopLevelLocked();
}

HWND InsertLocked(std::shared_ptr<Window> window, int slot) {
  Table& table = TheTable();
  if (table.counter == 0) table.counter = FirstCounter();
  for (std::uint32_t tries = 0; tries <= kCounterMask; ++tries) {
    table.counter = (table.counter + 1) & kCounterMask;
    if (!UsableCounter(slot, table.counter)) continue;
    const std::uint32_t value = (static_cast<std::uint32_t>(slot) << kSlotShift) | table.counter;
    if (table.windows.count(value)) continue;
    window->handle = MakeHandle(value);
    table.windows.emplace(value, std::move(window));
    return MakeHandle(value);
  }
  return nullptr;
}

void RemoveLocked(HWND window) { TheTable().windows.erase(HandleValue(window)); }

std::vector<HWND> WindowsOfThreadLocked(DWORD threadId) {
  std::vector<HWND> out;
  for (const auto& [value, window] : TheTable().windows)
    if (window->threadId == threadId) out.push_back(window->handle);
  return out;
}

bool IsAncestorLocked(HWND ancestor, HWND window) {
  const Window* w = FindLocked(window);
  while (w && w->parent) {
    if (w->parent == ancestor) return true;
    w = FindLocked(w->parent);
  }
  return false;
}

bool BadWindow() {
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return false;
}

}  // namespace zx::user
