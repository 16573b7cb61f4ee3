// The SHA-1 compression function (FIPS 180-1) over whole 64-byte blocks: a portable version
// and, where the processor has them, the SHA instructions.
#pragma once
#include <windows.h>

#include <cstddef>

// Runs `count` blocks through the five chaining words with the fastest version available.
void Sha1CompressBlocks(DWORD state[5], const BYTE* blocks, std::size_t count);

// The two versions themselves. The instruction version does nothing and answers false on a
// processor without the SHA instructions.
void Sha1CompressPortable(DWORD state[5], const BYTE* blocks, std::size_t count);
bool Sha1CompressWithInstructions(DWORD state[5], const BYTE* blocks, std::size_t count);
