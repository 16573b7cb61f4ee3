// COM task memory.
#include <cstdlib>

#include "objbase.h"

LPVOID CoTaskMemAlloc(SIZE_T bytes) { return std::malloc(bytes ? bytes : 1); }

void CoTaskMemFree(LPVOID block) { std::free(block); }
