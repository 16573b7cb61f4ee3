// The kernel handle table.
#include "zx/handles.h"

#include <mutex>
#include <unordered_map>

namespace zx {
namespace {

struct HandleTable {
  std::mutex lock;
  std::unordered_map<ULONG_PTR, std::shared_ptr<KernelObject>> objects;
  ULONG_PTR next = 4;
};

HandleTable& Table() {
  static HandleTable* table = new HandleTable;  // lives past static destruction
  return *table;
}

}  // namespace

HANDLE InsertHandle(std::shared_ptr<KernelObject> object) {
  HandleTable& t = Table();
  std::lock_guard<std::mutex> g(t.lock);
  // Handles count up by 4 like Windows'; skip any value still in use after a wrap.
  ULONG_PTR value;
  do {
    value = t.next;
    t.next += 4;
    if (t.next >= 0x7FFFFFF0u) t.next = 4;
  } while (t.objects.count(value) != 0);
  t.objects.emplace(value, std::move(object));
  return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> ReferenceHandle(HANDLE handle) {
  HandleTable& t = Table();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.objects.find(reinterpret_cast<ULONG_PTR>(handle));
  return it == t.objects.end() ? nullptr : it->second;
}

bool RemoveHandle(HANDLE handle) {
  std::shared_ptr<KernelObject> doomed;  // destroyed outside the lock
  HandleTable& t = Table();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.objects.find(reinterpret_cast<ULONG_PTR>(handle));
  if (it == t.objects.end()) return false;
  doomed = std::move(it->second);
  t.objects.erase(it);
  return true;
}

std::size_t OpenHandleCount() {
  HandleTable& t = Table();
  std::lock_guard<std::mutex> g(t.lock);
  return t.objects.size();
}

}  // namespace zx
