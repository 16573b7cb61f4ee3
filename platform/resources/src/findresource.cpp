// FindResource, LoadResource, LockResource and SizeofResource.
#include <mutex>
#include <unordered_set>

#include "errhandlingapi.h"
#include "lookup.h"
#include "zx/casefold.h"
#include "zx/resmodule.h"

namespace zx::res {
namespace {

// Every resource handle answered so far, so that a stray one is refused.
struct Handed {
  std::mutex lock;
  std::unordered_set<const void*> resources;
};

Handed& TheHanded() {
  static Handed* handed = new Handed;  // lives past static destruction
  return *handed;
}

HRSRC Hand(const ResourceFile::Resource* resource) {
  if (!resource) return nullptr;
  Handed& h = TheHanded();
  std::lock_guard<std::mutex> g(h.lock);
  h.resources.insert(resource);
  return reinterpret_cast<HRSRC>(const_cast<ResourceFile::Resource*>(resource));
}

const ResourceFile::Resource* Resolve(HRSRC handle) {
  Handed& h = TheHanded();
  std::lock_guard<std::mutex> g(h.lock);
  if (!h.resources.count(handle)) return nullptr;
  return reinterpret_cast<const ResourceFile::Resource*>(handle);
}

}  // namespace

ResourceId ToResourceId(LPCWSTR value) {
  if (IS_INTRESOURCE(value))
    return ResourceId::Number(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(value)));
  std::u16string text(value);
  if (text.size() > 1 && text[0] == u'#') {
    DWORD number = 0;
    bool digits = true;
    for (std::size_t i = 1; i < text.size() && digits; ++i) {
      digits = text[i] >= u'0' && text[i] <= u'9';
      number = number * 10 + (text[i] - u'0');
      digits = digits && number <= 0xFFFF;
    }
    if (digits) return ResourceId::Number(static_cast<WORD>(number));
  }
  for (char16_t& c : text) c = zx::ToUpper(c);
  return ResourceId::Name(std::move(text));
}

const ResourceFile::Resource* Lookup(HMODULE module, const ResourceId& type, const ResourceId& name,
                                     WORD language) {
  auto file = ModuleResources(module);
  if (!file) return nullptr;
  const ResourceFile::Resource* found = file->Find(type, name, language);
  if (!found)
    SetLastError(file->HasType(type) ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
  return found;
}

}  // namespace zx::res

using namespace zx::res;

HRSRC FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language) {
  if (!type || !name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return Hand(Lookup(module, ToResourceId(type), ToResourceId(name), language));
}

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
  return FindResourceExW(module, type, name, 0);
}

HGLOBAL LoadResource(HMODULE /*module*/, HRSRC resource) {
  const ResourceFile::Resource* found = Resolve(resource);
  if (!found) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return const_cast<BYTE*>(found->data);
}

LPVOID LockResource(HGLOBAL resource) { return resource; }

DWORD SizeofResource(HMODULE /*module*/, HRSRC resource) {
  const ResourceFile::Resource* found = Resolve(resource);
  if (!found) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return found->size;
}

BOOL FreeResource(HGLOBAL /*resource*/) { return FALSE; }
