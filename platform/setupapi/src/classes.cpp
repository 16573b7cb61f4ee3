// Class descriptions of the device setup classes, and the configuration manager's
// device-node status.
#include <cstring>

#include "cfgmgr32.h"
#include "devinfoset.h"
#include "errhandlingapi.h"
#include "regkey.h"
#include "setupapi.h"
#include "objbase.h"

BOOL SetupDiGetClassDescriptionW(const GUID* classGuid, LPWSTR description, DWORD size,
                                 PDWORD requiredSize) {
  if (classGuid == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  WCHAR guid[40];
  StringFromGUID2(*classGuid, guid, 40);
  zx::devices::RegKey key;
  if (!key.Open(std::u16string(zx::devices::kClassKey) + u"\\" + guid)) {
    SetLastError(ERROR_INVALID_CLASS);
    return FALSE;
  }
  std::u16string text = key.Text(u"");
  if (text.empty()) text = key.Text(u"Class");
  const DWORD needed = static_cast<DWORD>(text.size() + 1);
  if (requiredSize != nullptr) *requiredSize = needed;
  if (description == nullptr || size < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(description, text.c_str(), needed * sizeof(WCHAR));
  return TRUE;
}

CONFIGRET CM_Get_DevNode_Status(PULONG status, PULONG problemNumber, DEVINST devInst, ULONG flags) {
  if (status == nullptr || problemNumber == nullptr) return CR_INVALID_POINTER;
  if (flags != 0) return CR_INVALID_FLAG;
  std::u16string instanceId;
  if (!zx::devices::InstanceIdOf(devInst, instanceId)) return CR_INVALID_DEVNODE;
  zx::devices::NodeStatus node;
  if (!zx::devices::ReadNodeStatus(instanceId, node)) return CR_NO_SUCH_DEVNODE;
  *status = node.flags;
  *problemNumber = node.problem;
  return CR_SUCCESS;
}
