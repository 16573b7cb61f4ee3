// The process's namespace of named kernel objects.
#include "objectnames.h"

#include <map>
#include <mutex>

namespace zx::names {
namespace {

struct Namespace {
  std::mutex lock;
  std::map<std::u16string, std::weak_ptr<KernelObject>> objects;
};

Namespace& Names() {
  static Namespace* names = new Namespace;  // lives past static destruction
  return *names;
}

}  // namespace

bool Normalise(LPCWSTR name, std::u16string& normalised, DWORD* error) {
  normalised = name ? name : u"";
  for (std::u16string_view prefix : {u"Global\\", u"Local\\"}) {
    if (normalised.starts_with(prefix)) {
      normalised.erase(0, prefix.size());
      break;
    }
  }
  if (normalised.size() >= MAX_PATH) {
    if (error) *error = ERROR_FILENAME_EXCED_RANGE;
    return false;
  }
  return true;
}

std::shared_ptr<KernelObject> FindOrMake(const std::u16string& name,
                                         const std::function<std::shared_ptr<KernelObject>()>& make,
                                         bool* existed) {
  Namespace& n = Names();
  std::lock_guard<std::mutex> g(n.lock);
  auto it = n.objects.find(name);
  if (it != n.objects.end()) {
    if (auto live = it->second.lock()) {
      *existed = true;
      return live;
    }
    n.objects.erase(it);
  }
  *existed = false;
  auto made = make();
  if (made) n.objects.emplace(name, made);
  return made;
}

}  // namespace zx::names
