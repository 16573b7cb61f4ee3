// SystemParametersInfoW's answer to SPI_GETANIMATION (animate.cpp).
#pragma once
#include "winanimate.h"

namespace zx::user {

// Fills the ANIMATIONINFO at `info` (of `size` bytes, its cbSize the same) with the machine's
// setting; FALSE with ERROR_INVALID_PARAMETER for another record.
BOOL GetAnimationInfo(UINT size, void* info);

}  // namespace zx::user
