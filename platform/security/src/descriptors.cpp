// The getters of security descriptors, for both forms.
#include "descriptorform.h"
#include "errhandlingapi.h"

namespace {

bool View(PSECURITY_DESCRIPTOR descriptor, zx::security::DescriptorView& view) {
  if (zx::security::ViewDescriptor(descriptor, view)) return true;
  SetLastError(ERROR_INVALID_SECURITY_DESCR);
  return false;
}

}  // namespace

BOOL GetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, LPBOOL present, PACL* dacl,
                               LPBOOL defaulted) {
  zx::security::DescriptorView view;
  if (!View(descriptor, view)) return FALSE;
  if (present == nullptr || dacl == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *present = (view.control & SE_DACL_PRESENT) != 0;
  *dacl = view.dacl;
  if (defaulted != nullptr) *defaulted = (view.control & SE_DACL_DEFAULTED) != 0;
  return TRUE;
}

BOOL GetSecurityDescriptorOwner(PSECURITY_DESCRIPTOR descriptor, PSID* owner, LPBOOL defaulted) {
  zx::security::DescriptorView view;
  if (!View(descriptor, view)) return FALSE;
  if (owner == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *owner = view.owner;
  if (defaulted != nullptr) *defaulted = (view.control & SE_OWNER_DEFAULTED) != 0;
  return TRUE;
}

BOOL GetSecurityDescriptorGroup(PSECURITY_DESCRIPTOR descriptor, PSID* group, LPBOOL defaulted) {
  zx::security::DescriptorView view;
  if (!View(descriptor, view)) return FALSE;
  if (group == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *group = view.group;
  if (defaulted != nullptr) *defaulted = (view.control & SE_GROUP_DEFAULTED) != 0;
  return TRUE;
}

BOOL GetSecurityDescriptorControl(PSECURITY_DESCRIPTOR descriptor, PSECURITY_DESCRIPTOR_CONTROL control,
                                  LPDWORD revision) {
  zx::security::DescriptorView view;
  if (!View(descriptor, view)) return FALSE;
  if (control == nullptr || revision == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *control = view.control;
  *revision = SECURITY_DESCRIPTOR_REVISION;
  return TRUE;
}

DWORD GetSecurityDescriptorLength(PSECURITY_DESCRIPTOR descriptor) {
  zx::security::DescriptorView view;
  if (!zx::security::ViewDescriptor(descriptor, view)) return 0;
  DWORD length = sizeof(SECURITY_DESCRIPTOR_RELATIVE);
  if (view.owner != nullptr) length += GetLengthSid(view.owner);
  if (view.group != nullptr) length += GetLengthSid(view.group);
  if (view.dacl != nullptr) length += view.dacl->AclSize;
  return length;
}
