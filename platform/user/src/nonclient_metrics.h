// SPI_GETNONCLIENTMETRICS inside the window system (SystemParametersInfoW hands it here).
#pragma once
#include "winmetrics.h"

namespace zx::user {

// Fills the record when size (uiParam) and cbSize agree on 500 or 504 bytes; otherwise
// ERROR_INVALID_PARAMETER and FALSE.
BOOL GetNonClientMetrics(UINT size, void* record);

}  // namespace zx::user
