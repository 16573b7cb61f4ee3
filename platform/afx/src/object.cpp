// CObject and CRuntimeClass: class information, derivation checks and lookup by name.
#include <cstring>
#include <mutex>

#include "afxobj.h"
#include "ansi.h"

namespace {

struct ClassList {
  std::mutex lock;
  CRuntimeClass* head = nullptr;
};

ClassList& Classes() {
  static ClassList list;
  return list;
}

}  // namespace

CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, nullptr, nullptr, nullptr};
static const zx::afx::ClassRegistration zxClassRegistrationCObject(&CObject::classCObject);

zx::afx::ClassRegistration::ClassRegistration(CRuntimeClass* cls) {
  ClassList& list = Classes();
  std::lock_guard guard(list.lock);
  cls->m_pNextClass = list.head;
  list.head = cls;
}

CObject* CRuntimeClass::CreateObject() const {
  return m_pfnCreateObject != nullptr ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
  for (const CRuntimeClass* cls = this; cls != nullptr; cls = cls->m_pBaseClass)
    if (cls == base) return TRUE;
  return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR className) {
  if (className == nullptr) return nullptr;
  ClassList& list = Classes();
  std::lock_guard guard(list.lock);
  for (CRuntimeClass* cls = list.head; cls != nullptr; cls = cls->m_pNextClass)
    if (std::strcmp(cls->m_lpszClassName, className) == 0) return cls;
  return nullptr;
}

CRuntimeClass* CRuntimeClass::FromName(LPCWSTR className) {
  if (className == nullptr) return nullptr;
  return FromName(zx::afx::NarrowAnsi(className).c_str());
}

CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

BOOL CObject::IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }

void CObject::Serialize(CArchive&) {}
