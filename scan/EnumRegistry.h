// Searches of the device tree's Enum keys (HKLM\SYSTEM\CurrentControlSet\Enum): the device
// key of a hardware id or driver key, and the sub-key names of an open key.
#pragma once
#include <afx.h>


// Fills names with the sub-key names of an open key (names up to 255 characters); true
// when there are any.
bool EnumSubKeyNames(HKEY key, CStringArray& names);

// The key path "SYSTEM\CurrentControlSet\Enum\<enumerator>\<device>\<instance>" of the first
// instance (enumerators, devices and instances in registry order) whose "Driver" value
// (byDriver) or lower-cased first "HardwareID" entry equals text, ignoring case; empty when
// none does.
CString FindEnumInstanceKey(const CString& text, bool byDriver);
