// The machine description of the scan request: the values of the rest of the system that the
// request names beside the devices, gathered once per scan.
#pragma once
#include <afx.h>

#include "HardwareHash.h"

struct tagScanRequestMachine {
  int nOsId = -1;
  CString strMachineId;
  CString strAppName;
  CString strUtmSource;
  CString strUtmCampaign;
  CString strComputerName;
  CKeyValuePairArray arrBios;
  CKeyValuePairArray arrBaseBoard;
  // The adapter addresses in list order, empty entries kept (their positions count).
  CStringArray arrMacAddresses;
  CString strUserHash;
};

// The machine values of this computer as the main window hands them to the engine: the OS
// identifier, the machine identifier, the application name, the setup's utm_source and
// utm_campaign, the computer name, the hardware lists of the process's inventory, and the
// user hash the main window copied when it started.
void GatherRequestMachine(const CString& userHash, tagScanRequestMachine& machine);

// The computer name as GetComputerNameW gives it into a buffer of 16 wide characters; empty
// when the call fails.
CString GetComputerNameString();

// Takes the hardware lists of a collected hardware hash: BIOS and board properties, and the
// values of its adapter list when that has an entry, else its plain list of MAC addresses.
void TakeHardwareLists(const CHardwareHash& hash, tagScanRequestMachine& machine);

// The scanner's driver date (month-day-year, "-" separated) as year-month-day, one-character
// month and day with a leading "0": 6-1-2006 gives 2006-06-01.
CString ConvertDriverDate(const CString& date);

// Appends an id to a "|"-separated text: the first as it is, every further one after a "|".
void AppendMatchingId(CString& text, const CString& id);
