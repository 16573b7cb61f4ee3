// The GDI handle table.
#include "objects.h"

#include <mutex>
#include <unordered_map>

namespace zx::gdi {
namespace {

struct Entry {
  std::shared_ptr<GdiObject> object;
  bool stock = false;
};

struct ObjectTable {
  std::mutex lock;
  std::unordered_map<ULONG_PTR, Entry> objects;
  ULONG_PTR next = 0x1000;
};

ObjectTable& Table() {
  static ObjectTable* table = new ObjectTable;  // lives past static destruction
  return *table;
}

ULONG_PTR Key(const void* handle) { return reinterpret_cast<ULONG_PTR>(handle); }

}  // namespace

void* InsertObject(std::shared_ptr<GdiObject> object, bool stock) {
  ObjectTable& t = Table();
  std::lock_guard<std::mutex> g(t.lock);
  ULONG_PTR value;
  do {
    value = t.next;
    t.next += 4;
    if (t.next >= 0x7FFFFFF0u) t.next = 0x1000;
  } while (t.objects.count(value) != 0);
  t.objects.emplace(value, Entry{std::move(object), stock});
  return reinterpret_cast<void*>(value);
}

std::shared_ptr<GdiObject> ReferenceObject(const void* handle) {
  if (!handle) return nullptr;
  ObjectTable& t = Table();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.objects.find(Key(handle));
  return it == t.objects.end() ? nullptr : it->second.object;
}

bool RemoveObject(const void* handle) {
  std::shared_ptr<GdiObject> doomed;  // destroyed outside the lock
  ObjectTable& t = Table();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.objects.find(Key(handle));
  if (it == t.objects.end()) return false;
  if (it->second.stock) return true;
  doomed = std::move(it->second.object);
  t.objects.erase(it);
  return true;
}

bool IsStockObject(const void* handle) {
  ObjectTable& t = Table();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.objects.find(Key(handle));
  return it != t.objects.end() && it->second.stock;
}

}  // namespace zx::gdi
