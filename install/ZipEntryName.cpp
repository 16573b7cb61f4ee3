// Zip entry names: the UTF-8 flag, the Info-ZIP Unicode path extra block and IBM 437.
#include "ZipEntryName.h"

#include <windows.h>
#include <zlib.h>

#include <string>

namespace {

constexpr unsigned long kUtf8NameFlag = 0x800;
constexpr unsigned kUnicodePathBlock = 0x7075;
constexpr UINT kDosCodePage = 437;

CString Decode(UINT codePage, DWORD flags, const char* bytes, std::size_t length, bool& valid) {
  valid = true;
  if (length == 0) return CString();
  const int count = MultiByteToWideChar(codePage, flags, bytes, static_cast<int>(length), nullptr, 0);
  if (count <= 0) {
    valid = false;
    return CString();
  }
  std::u16string wide(static_cast<std::size_t>(count), u'\0');
  MultiByteToWideChar(codePage, flags, bytes, static_cast<int>(length), wide.data(), count);
  return CString(wide.c_str(), count);
}

// The UTF-8 name of a Unicode path block whose checksum matches the stored name.
bool UnicodePath(const char* stored, std::size_t length, const unsigned char* extra, std::size_t extraLength,
                 std::string& utf8) {
  std::size_t offset = 0;
  while (offset + 4 <= extraLength) {
    const unsigned id = extra[offset] | extra[offset + 1] << 8;
    const std::size_t size = extra[offset + 2] | extra[offset + 3] << 8;
    const unsigned char* data = extra + offset + 4;
    offset += 4 + size;
    if (offset > extraLength) return false;
    if (id != kUnicodePathBlock || size < 5 || data[0] != 1) continue;
    const unsigned long crc = data[1] | data[2] << 8 | data[3] << 16 | static_cast<unsigned long>(data[4]) << 24;
    const unsigned long actual =
        crc32(0, reinterpret_cast<const Bytef*>(stored), static_cast<uInt>(length));
    if (crc != actual) continue;  // the stored name was changed after the block was written
    utf8.assign(reinterpret_cast<const char*>(data + 5), size - 5);
    return true;
  }
  return false;
}

}  // namespace

CString DecodeZipEntryName(const char* stored, std::size_t length, unsigned long generalFlags,
                           const unsigned char* centralExtra, std::size_t extraLength) {
  bool valid = true;
  if ((generalFlags & kUtf8NameFlag) != 0) return Decode(CP_UTF8, 0, stored, length, valid);
  std::string utf8;
  if (UnicodePath(stored, length, centralExtra, extraLength, utf8)) {
    const CString name = Decode(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), utf8.size(), valid);
    if (valid && !name.IsEmpty()) return name;
  }
  const CString name = Decode(CP_UTF8, MB_ERR_INVALID_CHARS, stored, length, valid);
  return valid ? name : Decode(kDosCodePage, 0, stored, length, valid);
}
