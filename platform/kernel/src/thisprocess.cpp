// Ending the current process.
#include <unistd.h>

#include <cstdio>

#include "processthreadsapi.h"

void ExitProcess(UINT exitCode) {
  // Other threads may still run: end at once rather than run static destructors under them.
  std::fflush(nullptr);
  ::_exit(static_cast<int>(exitCode));
}
