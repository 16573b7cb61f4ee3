// Device records as golden text, and the field-by-field comparison of two such texts.
//
//   record 3
//   name = Intel(R) 82579LM Gigabit Network Connection
//   infpath = C:\Windows\inf\oem12.inf
//   ...                       every text field, "<null>" for an unset one
//   hwid = PCI\VEN_8086&...   list fields: one line per entry
//   values = 0 0 0 -1 -1 0 0
//   rank = 0
#pragma once
#include <string>
#include <vector>

#include "DeviceRecord.h"

namespace zx::test {

std::string FormatRecord(int index, const tagDeviceDriverInfo& record);

// Differences between an expected and an actual golden text, one line each ("record 3
// (<name>) field signer: expected '...', got '...'"); empty when they agree.
std::vector<std::string> CompareRecordTexts(const std::string& expected, const std::string& actual);

}  // namespace zx::test
