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
  std::lock_guard<std::mutex> guard(WaitLock());
  auto& list = w->queue->needsPaint;
  const bool listed = std::find(list.begin(), list.end(), window) != list.end();
  if (pending && !listed) {
    list.push_back(window);
    NotifyWaiters();
  } else if (!pending && listed) {
    std::erase(list, window);
  }
}

bool IsUpdatePending(HWND window) {
  const auto w = Find(window);
  if (!w) return false;
  std::lock_guard<std::mutex> guard(WaitLock());
  const auto& list = w->queue->needsPaint;
  return std::find(list.begin(), list.end(), window) != list.end();
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
