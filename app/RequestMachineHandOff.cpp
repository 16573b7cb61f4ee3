// The machine values of the scan request, handed from the main program to its scan engine.
#include "RequestMachineHandOff.h"

#include "DriverScanUpdate.h"
#include "HalvoranApp.h"
#include "MachineId.h"
#include "ScanRequest.h"
#include "VelquorApp.h"

void HandRequestMachineToEngine(CVelquorApp& app, CDriverScanUpdate& engine) {
  // The user hash is copied only once it is known: the machine identifier is worked out from it.
  GetMachineId();
  app.m_strUserHash = CHalvoranApp::m_sUSER_HASH;
  tagScanRequestMachine machine;
  GatherRequestMachine(app.m_strUserHash, machine);
  engine.SetRequestMachine(machine);
}
