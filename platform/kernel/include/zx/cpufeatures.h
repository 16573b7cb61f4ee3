// What the processor offers beyond the x86-64 baseline the programs are built for: long texts
// are read with the wider instructions where it has them, in functions marked for them.
#pragma once

#if defined(__x86_64__)
#include <immintrin.h>
// A function that uses AVX2; called only where HasAvx2 says so.
#define ZX_TARGET_AVX2 __attribute__((target("avx2")))
#endif

namespace zx {

// Whether the processor has AVX2, asked of it once.
inline bool HasAvx2() {
#if defined(__x86_64__)
  static const bool avx2 = __builtin_cpu_supports("avx2");
  return avx2;
#else
  return false;
#endif
}

#if defined(__x86_64__)
// Each unsigned byte of `value` that is at most the one of `limit`, as all ones: the lesser
// of the two is then the byte itself.
ZX_TARGET_AVX2 inline __m256i BytesAtMost(__m256i value, __m256i limit) {
  return _mm256_cmpeq_epi8(_mm256_min_epu8(value, limit), value);
}
#endif

}  // namespace zx
