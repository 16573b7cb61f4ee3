// The CRC-32 step over bytes (reflected polynomial 0xEDB88320, the published CRC-32): a
// register advanced by table slicing, eight bytes a step, or on processors with carry-less
// multiplication by folding 64 bytes a step. Internal to the shared library.
#pragma once
#include <windows.h>

#include <cstddef>

constexpr std::size_t kCrc32SliceTables = 8;
constexpr std::size_t kCrc32TableEntries = 256;

// Fills kCrc32SliceTables tables of kCrc32TableEntries entries; the first is the published
// byte table.
void BuildCrc32Tables(DWORD* tables);
// The register after the bytes (no initial or final inversion here).
DWORD AdvanceCrc32(const DWORD* tables, DWORD crc, const BYTE* data, std::size_t size);
