// SHA-1 digests (FIPS 180-1): CSHA1 over bytes and files with its three text forms, and
// CCalcSHA1, which gives the 40-digit text of a file or a string.
#include "DigestsSha1.h"

#include <algorithm>
#include <cstring>

#include "DigestFileReader.h"
#include "DigestsSha1Blocks.h"

namespace {

constexpr DWORD kInitialState[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
constexpr int kHashStringLimit = 1024;

void AppendByte(std::u16string& out, BYTE value, bool hex) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  if (hex) {
    out += static_cast<char16_t>(kDigits[value >> 4]);
    out += static_cast<char16_t>(kDigits[value & 0x0F]);
    return;
  }
  char decimal[4];
  int length = 0;
  do {
    decimal[length++] = static_cast<char>('0' + value % 10);
    value = static_cast<BYTE>(value / 10);
  } while (value != 0);
  while (length > 0) out += static_cast<char16_t>(decimal[--length]);
}

// The text of one form; false for a type that is none of them.
bool ReportText(const BYTE digest[20], CSHA1::REPORT_TYPE type, std::u16string& out) {
  if (type != CSHA1::REPORT_HEX && type != CSHA1::REPORT_DIGIT && type != CSHA1::REPORT_HEX_SHORT) return false;
  out.clear();
  for (int i = 0; i < 20; ++i) {
    if (i != 0 && type != CSHA1::REPORT_HEX_SHORT) out += u' ';
    AppendByte(out, digest[i], type != CSHA1::REPORT_DIGIT);
  }
  return true;
}

CString ShortReport(const CSHA1& sha) {
  std::u16string text;
  sha.ReportHashStl(text, CSHA1::REPORT_HEX_SHORT);
  return CString(text.c_str(), static_cast<int>(text.size()));
}

}  // namespace

CSHA1::CSHA1() : m_state{}, m_count{}, m_buffer{}, m_digest{} { Reset(); }

void CSHA1::Reset() {
  std::memcpy(m_state, kInitialState, sizeof(m_state));
  m_count[0] = m_count[1] = 0;
}

void CSHA1::Update(const BYTE* data, UINT length) {
  if (length == 0) return;
  const UINT index = (m_count[0] >> 3) & 0x3F;
  const DWORD addedBits = length << 3;
  m_count[0] += addedBits;
  if (m_count[0] < addedBits) ++m_count[1];
  m_count[1] += length >> 29;

  if (index != 0) {
    const UINT room = 64 - index;
    if (length < room) {
      std::memcpy(m_buffer + index, data, length);
      return;
    }
    std::memcpy(m_buffer + index, data, room);
    Sha1CompressBlocks(m_state, m_buffer, 1);
    data += room;
    length -= room;
  }
  Sha1CompressBlocks(m_state, data, length / 64);
  const UINT rest = length % 64;
  if (rest != 0) std::memcpy(m_buffer, data + (length - rest), rest);
}

bool CSHA1::HashFile(LPCTSTR path) {
  return ReadFileToEnd(path, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       [this](const BYTE* piece, DWORD size) { Update(piece, size); });
}

void CSHA1::Final() {
  BYTE bits[8];
  for (int i = 0; i < 4; ++i) {
    bits[i] = static_cast<BYTE>(m_count[1] >> (24 - 8 * i));
    bits[4 + i] = static_cast<BYTE>(m_count[0] >> (24 - 8 * i));
  }
  static constexpr BYTE kPadding[64] = {0x80};
  const UINT index = (m_count[0] >> 3) & 0x3F;
  Update(kPadding, index < 56 ? 56 - index : 120 - index);
  Update(bits, 8);
  for (int i = 0; i < 20; ++i) m_digest[i] = static_cast<BYTE>(m_state[i / 4] >> (24 - 8 * (i % 4)));
  std::memset(m_buffer, 0, sizeof(m_buffer));
  m_count[0] = m_count[1] = 0;
}

bool CSHA1::ReportHash(LPTSTR report, REPORT_TYPE type) const {
  std::u16string text;
  if (report == nullptr || !ReportText(m_digest, type, text)) return false;
  std::copy(text.begin(), text.end(), report);
  report[text.size()] = 0;
  return true;
}

bool CSHA1::ReportHashStl(std::basic_string<TCHAR>& report, REPORT_TYPE type) const {
  std::u16string text;
  if (!ReportText(m_digest, type, text)) return false;
  report = std::move(text);
  return true;
}

bool CSHA1::GetHash(BYTE* digest) const {
  if (digest == nullptr) return false;
  std::memcpy(digest, m_digest, sizeof(m_digest));
  return true;
}

CString CCalcSHA1::HashFile(LPCTSTR path) {
  CSHA1 sha;
  if (!sha.HashFile(path)) return CString();
  sha.Final();
  return ShortReport(sha);
}

CString CCalcSHA1::GetFileSha1Hash(LPCTSTR path) { return HashFile(path); }

CString CCalcSHA1::HashString(LPCTSTR text) {
  CSHA1 sha;
  const int length = std::min(text != nullptr ? lstrlenW(text) : 0, kHashStringLimit);
  BYTE units[2 * kHashStringLimit];
  for (int i = 0; i < length; ++i) {
    units[2 * i] = static_cast<BYTE>(text[i] & 0xFF);
    units[2 * i + 1] = static_cast<BYTE>(text[i] >> 8);
  }
  sha.Update(units, static_cast<UINT>(2 * length));
  sha.Final();
  return ShortReport(sha);
}
