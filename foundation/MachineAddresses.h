// The machine's adapter addresses from the system's own sources, for when WMI names none.
#pragma once
#include <afx.h>

#include <vector>

// Twelve upper-case hex digits per address, in source order: every adapter of
// GetAdaptersInfo, then the workstation transports (all-zero addresses left out), then the
// node of a sequential UUID when it is an adapter's address.
std::vector<CString> CollectSystemAdapterAddresses();
