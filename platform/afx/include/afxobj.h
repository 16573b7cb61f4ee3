// CObject and run-time class information: DECLARE_/IMPLEMENT_DYNAMIC, _DYNCREATE and _SERIAL,
// RUNTIME_CLASS, IsKindOf, CreateObject and lookup of a class by name.
#pragma once
#include "wintypes.h"

class CArchive;
class CObject;

struct CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;  // 0xFFFF: not serialisable
  CObject* (*m_pfnCreateObject)();
  CRuntimeClass* m_pBaseClass;
  CRuntimeClass* m_pNextClass;  // links every IMPLEMENT_*'d class, for FromName

  // A new object of this class (DYNCREATE and SERIAL classes), or null.
  CObject* CreateObject() const;
  BOOL IsDerivedFrom(const CRuntimeClass* base) const;
  // The registered class of that name, or null.
  static CRuntimeClass* FromName(LPCSTR className);
  static CRuntimeClass* FromName(LPCWSTR className);
};

class CObject {
 public:
  static CRuntimeClass classCObject;

  virtual ~CObject() = default;
  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;

  virtual CRuntimeClass* GetRuntimeClass() const;
  BOOL IsKindOf(const CRuntimeClass* cls) const;
  BOOL IsSerializable() const;
  virtual void Serialize(CArchive& ar);
  virtual void AssertValid() const {}

 protected:
  CObject() = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name) \
 public:                            \
  static CRuntimeClass class##class_name; \
  CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

namespace zx::afx {
// Adds a class to the list FromName searches; used by the IMPLEMENT_ macros.
struct ClassRegistration {
  explicit ClassRegistration(CRuntimeClass* cls);
};
}  // namespace zx::afx

#define ZX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, create)                  \
  CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class_name), schema, create, \
                                                 RUNTIME_CLASS(base_class_name), nullptr};       \
  CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }      \
  static const zx::afx::ClassRegistration zxClassRegistration##class_name(RUNTIME_CLASS(class_name));

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  ZX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)               \
  CObject* class_name::CreateObject() { return new class_name; }       \
  ZX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, schema)          \
  CObject* class_name::CreateObject() { return new class_name; }       \
  ZX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, class_name::CreateObject)
