// MD5 digests (RFC 1321) of memory and of files, as 32 lower-case hexadecimal digits.
#include "DigestsMd5.h"

#include <cstring>

#include "DigestFileReader.h"

// Debug builds digest multi-gigabyte files too (the tests do so): keep these loops optimised.
#if defined(__GNUC__) && !defined(__clang__) && !defined(__OPTIMIZE__)
#pragma GCC optimize("O2")
#endif

namespace {

constexpr ULONG kInitialState[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};

inline ULONG LoadLittleEndian(const BYTE* p) {
  return ULONG(p[0]) | ULONG(p[1]) << 8 | ULONG(p[2]) << 16 | ULONG(p[3]) << 24;
}

inline ULONG RotateLeft(ULONG x, int n) { return (x << n) | (x >> (32 - n)); }

// Each step waits on b, the word the step before made: the message word, the constant and
// what does not depend on b are added to a first, so that only a few operations follow b.
// G's two halves have no bit in common, so they can be added apart.
inline ULONG F(ULONG x, ULONG y, ULONG z) { return z ^ (x & (y ^ z)); }
inline ULONG H(ULONG x, ULONG y, ULONG z) { return x ^ (y ^ z); }
inline ULONG I(ULONG x, ULONG y, ULONG z) { return y ^ (x | ~z); }

template <ULONG (*Fn)(ULONG, ULONG, ULONG)>
inline void Step(ULONG& a, ULONG b, ULONG c, ULONG d, ULONG x, int s, ULONG t) {
  const ULONG early = a + (x + t);
  a = b + RotateLeft(early + Fn(b, c, d), s);
}

inline void StepG(ULONG& a, ULONG b, ULONG c, ULONG d, ULONG x, int s, ULONG t) {
  const ULONG early = a + (x + t) + (c & ~d);
  a = b + RotateLeft(early + (b & d), s);
}

void CompressBlock(ULONG state[4], const BYTE* block) {
  ULONG x[16];
  for (int i = 0; i < 16; ++i) x[i] = LoadLittleEndian(block + 4 * i);
  ULONG a = state[0], b = state[1], c = state[2], d = state[3];

  Step<F>(a, b, c, d, x[0], 7, 0xd76aa478);
  Step<F>(d, a, b, c, x[1], 12, 0xe8c7b756);
  Step<F>(c, d, a, b, x[2], 17, 0x242070db);
  Step<F>(b, c, d, a, x[3], 22, 0xc1bdceee);
  Step<F>(a, b, c, d, x[4], 7, 0xf57c0faf);
  Step<F>(d, a, b, c, x[5], 12, 0x4787c62a);
  Step<F>(c, d, a, b, x[6], 17, 0xa8304613);
  Step<F>(b, c, d, a, x[7], 22, 0xfd469501);
  Step<F>(a, b, c, d, x[8], 7, 0x698098d8);
  Step<F>(d, a, b, c, x[9], 12, 0x8b44f7af);
  Step<F>(c, d, a, b, x[10], 17, 0xffff5bb1);
  Step<F>(b, c, d, a, x[11], 22, 0x895cd7be);
  Step<F>(a, b, c, d, x[12], 7, 0x6b901122);
  Step<F>(d, a, b, c, x[13], 12, 0xfd987193);
  Step<F>(c, d, a, b, x[14], 17, 0xa679438e);
  Step<F>(b, c, d, a, x[15], 22, 0x49b40821);

  StepG(a, b, c, d, x[1], 5, 0xf61e2562);
  StepG(d, a, b, c, x[6], 9, 0xc040b340);
  StepG(c, d, a, b, x[11], 14, 0x265e5a51);
  StepG(b, c, d, a, x[0], 20, 0xe9b6c7aa);
  StepG(a, b, c, d, x[5], 5, 0xd62f105d);
  StepG(d, a, b, c, x[10], 9, 0x02441453);
  StepG(c, d, a, b, x[15], 14, 0xd8a1e681);
  StepG(b, c, d, a, x[4], 20, 0xe7d3fbc8);
  StepG(a, b, c, d, x[9], 5, 0x21e1cde6);
  StepG(d, a, b, c, x[14], 9, 0xc33707d6);
  StepG(c, d, a, b, x[3], 14, 0xf4d50d87);
  StepG(b, c, d, a, x[8], 20, 0x455a14ed);
  StepG(a, b, c, d, x[13], 5, 0xa9e3e905);
  StepG(d, a, b, c, x[2], 9, 0xfcefa3f8);
  StepG(c, d, a, b, x[7], 14, 0x676f02d9);
  StepG(b, c, d, a, x[12], 20, 0x8d2a4c8a);

  Step<H>(a, b, c, d, x[5], 4, 0xfffa3942);
  Step<H>(d, a, b, c, x[8], 11, 0x8771f681);
  Step<H>(c, d, a, b, x[11], 16, 0x6d9d6122);
  Step<H>(b, c, d, a, x[14], 23, 0xfde5380c);
  Step<H>(a, b, c, d, x[1], 4, 0xa4beea44);
  Step<H>(d, a, b, c, x[4], 11, 0x4bdecfa9);
  Step<H>(c, d, a, b, x[7], 16, 0xf6bb4b60);
  Step<H>(b, c, d, a, x[10], 23, 0xbebfbc70);
  Step<H>(a, b, c, d, x[13], 4, 0x289b7ec6);
  Step<H>(d, a, b, c, x[0], 11, 0xeaa127fa);
  Step<H>(c, d, a, b, x[3], 16, 0xd4ef3085);
  Step<H>(b, c, d, a, x[6], 23, 0x04881d05);
  Step<H>(a, b, c, d, x[9], 4, 0xd9d4d039);
  Step<H>(d, a, b, c, x[12], 11, 0xe6db99e5);
  Step<H>(c, d, a, b, x[15], 16, 0x1fa27cf8);
  Step<H>(b, c, d, a, x[2], 23, 0xc4ac5665);

  Step<I>(a, b, c, d, x[0], 6, 0xf4292244);
  Step<I>(d, a, b, c, x[7], 10, 0x432aff97);
  Step<I>(c, d, a, b, x[14], 15, 0xab9423a7);
  Step<I>(b, c, d, a, x[5], 21, 0xfc93a039);
  Step<I>(a, b, c, d, x[12], 6, 0x655b59c3);
  Step<I>(d, a, b, c, x[3], 10, 0x8f0ccc92);
  Step<I>(c, d, a, b, x[10], 15, 0xffeff47d);
  Step<I>(b, c, d, a, x[1], 21, 0x85845dd1);
  Step<I>(a, b, c, d, x[8], 6, 0x6fa87e4f);
  Step<I>(d, a, b, c, x[15], 10, 0xfe2ce6e0);
  Step<I>(c, d, a, b, x[6], 15, 0xa3014314);
  Step<I>(b, c, d, a, x[13], 21, 0x4e0811a1);
  Step<I>(a, b, c, d, x[4], 6, 0xf7537e82);
  Step<I>(d, a, b, c, x[11], 10, 0xbd3af235);
  Step<I>(c, d, a, b, x[2], 15, 0x2ad7d2bb);
  Step<I>(b, c, d, a, x[9], 21, 0xeb86d391);

  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
}

}  // namespace

CMD5Checksum::CMD5Checksum() : m_lMD5{}, m_nCount{}, m_lpszBuffer{} {
  std::memcpy(m_lMD5, kInitialState, sizeof(m_lMD5));
}

void CMD5Checksum::Transform(const BYTE* blocks, UINT count) {
  for (UINT i = 0; i < count; ++i) CompressBlock(m_lMD5, blocks + 64 * static_cast<std::size_t>(i));
}

void CMD5Checksum::Update(const BYTE* input, UINT length) {
  UINT index = (m_nCount[0] >> 3) & 0x3F;
  // The bit count is 64 bits wide, kept as a low and a high word.
  const ULONG addedBits = length << 3;
  m_nCount[0] += addedBits;
  if (m_nCount[0] < addedBits) ++m_nCount[1];
  m_nCount[1] += length >> 29;

  if (index != 0) {
    const UINT room = 64 - index;
    if (length < room) {
      std::memcpy(m_lpszBuffer + index, input, length);
      return;
    }
    std::memcpy(m_lpszBuffer + index, input, room);
    Transform(m_lpszBuffer, 1);
    input += room;
    length -= room;
  }
  Transform(input, length / 64);
  const UINT rest = length % 64;
  if (rest != 0) std::memcpy(m_lpszBuffer, input + (length - rest), rest);
}

CString CMD5Checksum::Final() {
  BYTE bits[8];
  for (int i = 0; i < 4; ++i) {
    bits[i] = static_cast<BYTE>(m_nCount[0] >> (8 * i));
    bits[4 + i] = static_cast<BYTE>(m_nCount[1] >> (8 * i));
  }
  static constexpr BYTE kPadding[64] = {0x80};
  const UINT index = (m_nCount[0] >> 3) & 0x3F;
  Update(kPadding, index < 56 ? 56 - index : 120 - index);
  Update(bits, 8);

  static constexpr char kDigits[] = "0123456789abcdef";
  CString text;
  LPTSTR out = text.GetBufferSetLength(32);
  for (int i = 0; i < 16; ++i) {
    const BYTE value = static_cast<BYTE>(m_lMD5[i / 4] >> (8 * (i % 4)));
    out[2 * i] = static_cast<WCHAR>(kDigits[value >> 4]);
    out[2 * i + 1] = static_cast<WCHAR>(kDigits[value & 0x0F]);
  }
  text.ReleaseBufferSetLength(32);
  return text;
}

CString CMD5Checksum::DigestHex(const BYTE* bytes, UINT count) {
  if (bytes == nullptr && count != 0) return CString();
  CMD5Checksum digest;
  if (count != 0) digest.Update(bytes, count);
  return digest.Final();
}

CString CMD5Checksum::DigestHex(LPCTSTR path) {
  CMD5Checksum digest;
  const bool whole = ReadFileToEnd(path, FILE_SHARE_READ,
                                   [&digest](const BYTE* piece, DWORD size) { digest.Update(piece, size); });
  return whole ? digest.Final() : CString();
}
