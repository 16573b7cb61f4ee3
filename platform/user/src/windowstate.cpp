// Pending paints of windows (kept in their thread's queue) and observers of destroyed windows.
#include <algorithm>
#include <mutex>
#include <vector>

#include "queue.h"
#include "window.h"
#include "zx/waits.h"
#include "zx/windowstate.h"

namespace zx::user {
namespace {

struct Observers {
  std::mutex lock;
  std::vector<std::function<void(HWND)>> list;
};

Observers& TheObservers() {
  static auto* observers = new Observers;
  return *observers;
}

}  // namespace

void SetUpdatePending(HWND window, bool pending) {
  const auto w = Find(window);
  if (!w) return;
  // Its depth, found before the queue's lock is taken.
  int depth = 0;
  for (auto up = w->parent ? Find(w->parent) : nullptr; up; up = up->parent ? Find(up->parent) : nullptr) ++depth;
  std::lock_guard<std::mutex> guard(WaitLock());
  auto& list = w->queue->needsPaint;
  const auto same = [window](const PaintDue& due) { return due.window == window; };
  const bool listed = std::find_if(list.begin(), list.end(), same) != list.end();
  if (pending && !listed) {
    // After every window as shallow as it, before the deeper ones.
    const auto at = std::find_if(list.begin(), list.end(), [depth](const PaintDue& due) { return due.depth > depth; });
    list.insert(at, PaintDue{window, depth});
    NotifyWaiters();
  } else if (!pending && listed) {
    std::erase_if(list, same);
  }
}

bool IsUpdatePending(HWND window) {
  const auto w = Find(window);
  if (!w) return false;
  std::lock_guard<std::mutex> guard(WaitLock());
  const auto& list = w->queue->needsPaint;
  return std::any_of(list.begin(), list.end(), [window](const PaintDue& due) { return due.window == window; });
}

void AddDestroyObserver(std::function<void(HWND)> observer) {
  Observers& observers = TheObservers();
  std::lock_guard<std::mutex> guard(observers.lock);
  observers.list.push_back(std::move(observer));
}

void NotifyDestroyed(HWND window) {
  std::vector<std::function<void(HWND)>> list;
  {
    Observers& observers = TheObservers();
    std::lock_guard<std::mutex> guard(observers.lock);
    list = observers.list;
  }
  for (const auto& observer : list) observer(window);
}

}  // namespace zx::user
