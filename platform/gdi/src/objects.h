// GDI objects and their handle table (GDI-internal). Handles are small numbers, never 1 to
// 31 (those are system-colour brushes), counted up by 4; stock objects are never removed.
#pragma once
#include <memory>

#include "wingdi.h"

namespace zx::gdi {

// Icons share the table but are no GDI object kind (GetObjectType answers 0 for them).
inline constexpr DWORD kIconType = 0x100;

class GdiObject {
 public:
  explicit GdiObject(DWORD type) : type_(type) {}
  virtual ~GdiObject() = default;
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  DWORD type() const { return type_; }

 private:
  DWORD type_;
};

// Stores the object and answers its new handle.
void* InsertObject(std::shared_ptr<GdiObject> object, bool stock = false);
std::shared_ptr<GdiObject> ReferenceObject(const void* handle);
template <class T>
std::shared_ptr<T> ReferenceAs(const void* handle) {
  return std::dynamic_pointer_cast<T>(ReferenceObject(handle));
}
// Drops the table's reference. False for unknown handles; true (and nothing done) for stock.
bool RemoveObject(const void* handle);
bool IsStockObject(const void* handle);

// Inserts and answers the handle typed as wanted.
template <class Handle, class T>
Handle Insert(std::shared_ptr<T> object) {
  return static_cast<Handle>(InsertObject(std::move(object)));
}

}  // namespace zx::gdi
