// Table slicing and carry-less folding of the CRC-32 register.
#include "Crc32Kernel.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZX_CRC32_FOLDING 1
#endif

namespace {

constexpr DWORD kPolynomial = 0xEDB88320u;

DWORD Load32(const BYTE* at) {
  DWORD value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

DWORD Slice(const DWORD* t, DWORD crc, const BYTE* data, std::size_t size) {
  const DWORD* t0 = t;
  const DWORD* t1 = t + 256;
  const DWORD* t2 = t + 512;
  const DWORD* t3 = t + 768;
  const DWORD* t4 = t + 1024;
  const DWORD* t5 = t + 1280;
  const DWORD* t6 = t + 1536;
  const DWORD* t7 = t + 1792;
  for (; size >= 8; data += 8, size -= 8) {
    const DWORD low = Load32(data) ^ crc;
    const DWORD high = Load32(data + 4);
    crc = t7[low & 0xFF] ^ t6[(low >> 8) & 0xFF] ^ t5[(low >> 16) & 0xFF] ^ t4[low >> 24] ^ t3[high & 0xFF] ^
          t2[(high >> 8) & 0xFF] ^ t1[(high >> 16) & 0xFF] ^ t0[high >> 24];
  }
  for (; size > 0; ++data, --size) crc = (crc >> 8) ^ t0[(crc ^ *data) & 0xFF];
  return crc;
}

#ifdef ZX_CRC32_FOLDING

// x^n mod P as a 64-bit operand of the reflected domain (bit i stands for x^(63-i)).
unsigned long long FoldConstant(unsigned n) {
  unsigned long long remainder = 1;  // in normal bit order, P = x^32 + 0x04C11DB7
  for (unsigned i = 0; i < n; ++i) {
    remainder <<= 1;
    if ((remainder >> 32) != 0) remainder ^= 0x104C11DB7ull;
  }
  unsigned long long reflected = 0;
  for (int degree = 0; degree < 32; ++degree)
    if ((remainder >> degree) & 1) reflected |= 1ull << (63 - degree);
  return reflected;
}

// A carry-less product of a 64-bit operand and a reflected constant reads as the product
// times x. To move a 128-bit block forward by d bits, its later 64 bits are multiplied by
// x^(d - 1) and its first 64 bits, which lie 64 places further from the end, by x^(d + 63).
struct FoldConstants {
  FoldConstants()
      : by512(_mm_set_epi64x(static_cast<long long>(FoldConstant(511)),
                             static_cast<long long>(FoldConstant(575)))),
        by128(_mm_set_epi64x(static_cast<long long>(FoldConstant(127)),
                             static_cast<long long>(FoldConstant(191)))) {}
  __m128i by512;
  __m128i by128;
};

__attribute__((target("pclmul,sse4.1"))) inline __m128i Load128(const BYTE* at) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// Moves a 128-bit block of the message forward by the distance its constants stand for.
__attribute__((target("pclmul,sse4.1"))) inline __m128i Fold(__m128i block, __m128i constants) {
  return _mm_xor_si128(_mm_clmulepi64_si128(block, constants, 0x00),
                       _mm_clmulepi64_si128(block, constants, 0x11));
}

// At least 64 bytes: four lanes folded 64 bytes a step, joined into one, folded 16 bytes a
// step, and what remains (the last lane and fewer than 16 bytes) finished by the tables.
__attribute__((target("pclmul,sse4.1"))) DWORD FoldBytes(const DWORD* tables, DWORD crc, const BYTE* data,
                                                         std::size_t size) {
  static const FoldConstants k;
  __m128i x0 = _mm_xor_si128(Load128(data), _mm_cvtsi32_si128(static_cast<int>(crc)));
  __m128i x1 = Load128(data + 16);
  __m128i x2 = Load128(data + 32);
  __m128i x3 = Load128(data + 48);
  for (data += 64, size -= 64; size >= 64; data += 64, size -= 64) {
    x0 = _mm_xor_si128(Fold(x0, k.by512), Load128(data));
    x1 = _mm_xor_si128(Fold(x1, k.by512), Load128(data + 16));
    x2 = _mm_xor_si128(Fold(x2, k.by512), Load128(data + 32));
    x3 = _mm_xor_si128(Fold(x3, k.by512), Load128(data + 48));
  }
  __m128i x = _mm_xor_si128(Fold(x0, k.by128), x1);
  x = _mm_xor_si128(Fold(x, k.by128), x2);
  x = _mm_xor_si128(Fold(x, k.by128), x3);
  for (; size >= 16; data += 16, size -= 16) x = _mm_xor_si128(Fold(x, k.by128), Load128(data));
  BYTE last[16];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(last), x);
  return Slice(tables, Slice(tables, 0, last, sizeof last), data, size);
}

bool CanFold() {
  static const bool supported = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
  return supported;
}

#endif

}  // namespace

void BuildCrc32Tables(DWORD* tables) {
  for (DWORD i = 0; i < kCrc32TableEntries; ++i) {
    DWORD entry = i;
    for (int bit = 0; bit < 8; ++bit) entry = (entry >> 1) ^ ((entry & 1) != 0 ? kPolynomial : 0);
    tables[i] = entry;
  }
  for (std::size_t t = 1; t < kCrc32SliceTables; ++t)
    for (std::size_t i = 0; i < kCrc32TableEntries; ++i) {
      const DWORD previous = tables[(t - 1) * kCrc32TableEntries + i];
      tables[t * kCrc32TableEntries + i] = (previous >> 8) ^ tables[previous & 0xFF];
    }
}

DWORD AdvanceCrc32(const DWORD* tables, DWORD crc, const BYTE* data, std::size_t size) {
#ifdef ZX_CRC32_FOLDING
  // Below a few hundred bytes the tables are as quick.
  if (size >= 256 && CanFold()) return FoldBytes(tables, crc, data, size);
#endif
  return Slice(tables, crc, data, size);
}
