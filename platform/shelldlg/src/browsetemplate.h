// The folder browser's dialog template, built in memory in the extended layout.
#pragma once
#include <vector>

#include "wintypes.h"

namespace zx::shelldlg {

constexpr int kTitleId = 0x3742;
constexpr int kStatusId = 0x3743;
constexpr int kTreeId = 0x3741;

// The template's bytes (DWORD-aligned in a vector of WORDs), with the status line when asked.
std::vector<WORD> BrowseTemplate(bool statusLine);

}  // namespace zx::shelldlg
