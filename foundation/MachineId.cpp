// The machine identifier and the process's hardware hash and system description.
#include "MachineId.h"

#include <mutex>

#include "GlobalUpdate.h"
#include "HalvoranApp.h"
#include "HardwareHash.h"
#include "SysInfo.h"

namespace {

std::recursive_mutex g_identityLock;
bool g_hashCollected = false;

CHardwareHash& HardwareHash() {
  static CHardwareHash hash;
  return hash;
}

// The inventory's hash text; the inventory is collected afresh.
CString CollectHardwareHash() {
  g_hashCollected = true;
  return HardwareHash().ComputeHash();
}

CSysInfo& MachineSysInfo() {
  static CSysInfo info;
  return info;
}

}  // namespace

void CHalvoranApp::InitHardwareHash() {
  std::lock_guard<std::recursive_mutex> guard(g_identityLock);
  if (CHalvoranApp::m_sUSER_HASH.IsEmpty()) CHalvoranApp::m_sUSER_HASH = CollectHardwareHash();
  MachineSysInfo().Fill(HardwareHash());
  CHalvoranApp::UniqueID = CHalvoranApp::m_sUSER_HASH;
}

CString GetMachineId() {
  std::lock_guard<std::recursive_mutex> guard(g_identityLock);
  if (CHalvoranApp::m_sUSER_HASH.IsEmpty()) CHalvoranApp::InitHardwareHash();
  if (CHalvoranApp::m_sUSER_HASH.IsEmpty()) CGlobalUpdate::GetMacAddressId(CHalvoranApp::m_sUSER_HASH);
  CHalvoranApp::UniqueID = CHalvoranApp::m_sUSER_HASH;
  return CHalvoranApp::UniqueID;
}

const CSysInfo& GetMachineSysInfo() {
  std::lock_guard<std::recursive_mutex> guard(g_identityLock);
  return MachineSysInfo();
}

const CHardwareHash& GetMachineHardwareHash() {
  std::lock_guard<std::recursive_mutex> guard(g_identityLock);
  if (!g_hashCollected) CollectHardwareHash();
  return HardwareHash();
}
