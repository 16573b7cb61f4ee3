// The SHA-1 compression function (FIPS 180-1) over whole 64-byte blocks: a portable version
// and, where the processor has them, the SHA instructions.
#include "DigestsSha1Blocks.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>

#include <utility>
#define ZX_SHA1_X86 1
#endif

// Debug builds digest multi-gigabyte files too (the tests do so): keep these loops optimised.
#if defined(__GNUC__) && !defined(__clang__) && !defined(__OPTIMIZE__)
#pragma GCC optimize("O2")
#endif

namespace {

inline DWORD LoadBigEndian(const BYTE* p) {
  return DWORD(p[0]) << 24 | DWORD(p[1]) << 16 | DWORD(p[2]) << 8 | DWORD(p[3]);
}

inline DWORD RotateLeft(DWORD x, int n) { return (x << n) | (x >> (32 - n)); }

// Round function and constant of round t (0..79).
template <int Stage>
inline DWORD Mix(DWORD b, DWORD c, DWORD d) {
  if constexpr (Stage == 0) return (d ^ (b & (c ^ d))) + 0x5A827999;
  if constexpr (Stage == 1) return (b ^ c ^ d) + 0x6ED9EBA1;
  if constexpr (Stage == 2) return ((b & c) | (d & (b | c))) + 0x8F1BBCDC;
  return (b ^ c ^ d) + 0xCA62C1D6;
}

// Twenty rounds of one stage; w is the sixteen-word window of the message schedule.
template <int Stage>
inline void TwentyRounds(DWORD& a, DWORD& b, DWORD& c, DWORD& d, DWORD& e, DWORD w[16], int first) {
  for (int t = first; t < first + 20; ++t) {
    DWORD word;
    if (t < 16) {
      word = w[t];
    } else {
      word = RotateLeft(w[(t + 13) & 15] ^ w[(t + 8) & 15] ^ w[(t + 2) & 15] ^ w[t & 15], 1);
      w[t & 15] = word;
    }
    const DWORD next = RotateLeft(a, 5) + Mix<Stage>(b, c, d) + e + word;
    e = d;
    d = c;
    c = RotateLeft(b, 30);
    b = a;
    a = next;
  }
}

}  // namespace

void Sha1CompressPortable(DWORD state[5], const BYTE* blocks, std::size_t count) {
  for (std::size_t n = 0; n < count; ++n, blocks += 64) {
    DWORD w[16];
    for (int i = 0; i < 16; ++i) w[i] = LoadBigEndian(blocks + 4 * i);
    DWORD a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
    TwentyRounds<0>(a, b, c, d, e, w, 0);
    TwentyRounds<1>(a, b, c, d, e, w, 20);
    TwentyRounds<2>(a, b, c, d, e, w, 40);
    TwentyRounds<3>(a, b, c, d, e, w, 60);
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
  }
}

#if defined(ZX_SHA1_X86)

namespace {

#define ZX_SHA_TARGET __attribute__((target("sha,sse4.1,ssse3")))
#define ZX_SHA_INLINE ZX_SHA_TARGET __attribute__((always_inline)) inline

// Message words of the four-round group g (g >= 4) from the four groups before it.
ZX_SHA_INLINE __m128i NextWords(__m128i w4, __m128i w3, __m128i w2, __m128i w1) {
  return _mm_sha1msg2_epu32(_mm_xor_si128(_mm_sha1msg1_epu32(w4, w3), w2), w1);
}

// Four-round group G (1..19). `words` holds the last four groups of the schedule (group g in
// words[g % 4]); `previous` is the chaining value before the last group, from which sha1nexte
// derives this group's E.
template <int G>
ZX_SHA_INLINE void Group(__m128i& abcd, __m128i& previous, __m128i (&words)[4]) {
  if constexpr (G >= 4) words[G & 3] = NextWords(words[G & 3], words[(G + 1) & 3], words[(G + 2) & 3], words[(G + 3) & 3]);
  const __m128i e = _mm_sha1nexte_epu32(previous, words[G & 3]);
  previous = abcd;
  abcd = _mm_sha1rnds4_epu32(abcd, e, G / 5);
}

template <int... G>
ZX_SHA_INLINE void LaterGroups(__m128i& abcd, __m128i& previous, __m128i (&words)[4], std::integer_sequence<int, G...>) {
  (Group<G + 1>(abcd, previous, words), ...);
}

ZX_SHA_TARGET void CompressWithShaInstructions(DWORD state[5], const BYTE* blocks, std::size_t count) {
  const __m128i byteSwap = _mm_set_epi64x(0x0001020304050607LL, 0x08090a0b0c0d0e0fLL);
  __m128i abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0x1B);
  __m128i e = _mm_set_epi32(static_cast<int>(state[4]), 0, 0, 0);
  for (std::size_t n = 0; n < count; ++n, blocks += 64) {
    const __m128i savedAbcd = abcd;
    const __m128i savedE = e;
    __m128i words[4];
    for (int i = 0; i < 4; ++i) {
      words[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * i)), byteSwap);
    }
    // The first group takes E directly.
    __m128i previous = abcd;
    abcd = _mm_sha1rnds4_epu32(abcd, _mm_add_epi32(e, words[0]), 0);
    LaterGroups(abcd, previous, words, std::make_integer_sequence<int, 19>());
    e = _mm_sha1nexte_epu32(previous, savedE);
    abcd = _mm_add_epi32(abcd, savedAbcd);
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_shuffle_epi32(abcd, 0x1B));
  state[4] = static_cast<DWORD>(_mm_extract_epi32(e, 3));
}

bool HasShaInstructions() {
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
  const bool sse = (c & bit_SSE4_1) != 0 && (c & bit_SSSE3) != 0;
  if (!__get_cpuid_count(7, 0, &a, &b, &c, &d)) return false;
  return sse && (b & bit_SHA) != 0;
}

}  // namespace

#endif

bool Sha1CompressWithInstructions(DWORD state[5], const BYTE* blocks, std::size_t count) {
#if defined(ZX_SHA1_X86)
  static const bool available = HasShaInstructions();
  if (available) {
    CompressWithShaInstructions(state, blocks, count);
    return true;
  }
#else
  (void)state;
  (void)blocks;
  (void)count;
#endif
  return false;
}

void Sha1CompressBlocks(DWORD state[5], const BYTE* blocks, std::size_t count) {
  if (!Sha1CompressWithInstructions(state, blocks, count)) Sha1CompressPortable(state, blocks, count);
}
