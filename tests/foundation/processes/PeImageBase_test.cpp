// The preferred image base read from a module's headers: a PE image, and headers that are cut
// short, point past the bytes or are no PE headers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "PeImageBase.h"

namespace {

// DOS header "MZ" with the NT headers at `ntOffset`: "PE\0\0" and ImageBase 0x00400000.
std::string Image(DWORD ntOffset, const char* signature = "PE\0\0") {
  std::string bytes(ntOffset + 248, '\0');
  bytes[0] = 'M', bytes[1] = 'Z';
  std::memcpy(bytes.data() + 60, &ntOffset, sizeof ntOffset);
  std::memcpy(bytes.data() + ntOffset, signature, 4);
  const DWORD base = 0x00400000;
  std::memcpy(bytes.data() + ntOffset + 52, &base, sizeof base);
  return bytes;
}

ULONG_PTR BaseOf(const std::string& bytes) {
  return PeImageBase([&](ULONG_PTR offset, BYTE* buffer, std::size_t size) {
    if (offset > bytes.size() || size > bytes.size() - offset) return false;
    std::memcpy(buffer, bytes.data() + offset, size);
    return true;
  });
}

TEST(PeImageBaseTest, ReadsOnlyWholePeHeaders) {
  std::string farOffset = Image(0x80);
  const DWORD past = 0xFFFFFFF0u;
  std::memcpy(farOffset.data() + 60, &past, sizeof past);
  const std::pair<std::string, ULONG_PTR> cases[] = {
      {Image(0x80), 0x00400000},
      {Image(0x40), 0x00400000},
      {Image(0x80, "NE\0\0"), 0},
      {Image(0x80).substr(0, 0x80 + 100), 0},
      {farOffset, 0},
      {"MZ", 0},
      {std::string(300, 'Z'), 0},
  };
  for (const auto& [bytes, base] : cases) EXPECT_EQ(BaseOf(bytes), base) << bytes.size();
}

}  // namespace
