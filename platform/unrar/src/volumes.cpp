// RAR volume names and the header walk of RAR 4 and RAR 5 archives for packed sizes.
#include "volumes.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace zx::unrar {
namespace {

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

bool EndsWithNoCase(const std::string& text, const std::string& tail) {
  if (text.size() < tail.size()) return false;
  for (std::size_t i = 0; i < tail.size(); ++i) {
    char c = text[text.size() - tail.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != tail[i]) return false;
  }
  return true;
}

std::string Bytes(std::ifstream& in, std::size_t count) {
  std::string bytes(count, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(count));
  if (static_cast<std::size_t>(in.gcount()) != count) bytes.clear();
  return bytes;
}

std::uint64_t Little(const std::string& bytes, std::size_t at, int count) {
  std::uint64_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

// A RAR 5 variable-length number at `at`, advanced past it; false when it runs out.
bool Vint(const std::string& bytes, std::size_t& at, std::uint64_t& value) {
  value = 0;
  for (int shift = 0; at < bytes.size() && shift < 64; shift += 7) {
    const auto byte = static_cast<unsigned char>(bytes[at++]);
    value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
    if ((byte & 0x80) == 0) return true;
  }
  return false;
}

// Adds a file header's packed part: a new entry, or the continuation of the last one.
void AddPart(std::vector<std::uint64_t>& sizes, std::uint64_t packed, bool continuation) {
  if (continuation && !sizes.empty()) sizes.back() += packed;
  else sizes.push_back(packed);
}

bool WalkRar4(std::ifstream& in, std::vector<std::uint64_t>& sizes, bool& more) {
  for (;;) {
    const std::string head = Bytes(in, 7);
    if (head.empty()) return in.eof();
    const unsigned type = static_cast<unsigned char>(head[2]);
    const auto flags = static_cast<unsigned>(Little(head, 3, 2));
    const auto size = Little(head, 5, 2);
    if (size < 7) return false;
    const std::string rest = Bytes(in, size - 7);
    if (rest.size() != size - 7) return false;
    std::uint64_t data = 0;
    if (type == 0x74 || type == 0x7A || (flags & 0x8000) != 0) {
      if (rest.size() < 4) return false;
      data = Little(rest, 0, 4);
      // Large files carry the high half of the packed size after the fixed fields.
      if (type == 0x74 && (flags & 0x100) != 0 && rest.size() >= 29) data |= Little(rest, 25, 4) << 32;
    }
    if (type == 0x73 && (flags & 0x80) != 0) return false;  // encrypted headers
    if (type == 0x74) AddPart(sizes, data, (flags & 0x01) != 0);
    if (type == 0x7B) {
      more = (flags & 0x0001) != 0;
      return true;
    }
    in.seekg(static_cast<std::streamoff>(data), std::ios::cur);
    if (!in) return false;
  }
}

bool WalkRar5(std::ifstream& in, std::vector<std::uint64_t>& sizes, bool& more) {
  for (;;) {
    std::string head = Bytes(in, 7);  // CRC and at least the size field's first bytes
    if (head.empty()) return in.eof();
    std::size_t at = 4;
    std::uint64_t size = 0;
    if (!Vint(head, at, size) || size > (1u << 21) || size < head.size() - at) return false;
    const std::string body = head.substr(at) + Bytes(in, size - (head.size() - at));
    if (body.size() != size) return false;
    at = 0;
    std::uint64_t type = 0, flags = 0, extra = 0, data = 0;
    if (!Vint(body, at, type) || !Vint(body, at, flags)) return false;
    if ((flags & 0x0001) != 0 && !Vint(body, at, extra)) return false;
    if ((flags & 0x0002) != 0 && !Vint(body, at, data)) return false;
    if (type == 4) return false;  // encrypted headers
    if (type == 2) AddPart(sizes, data, (flags & 0x0008) != 0);
    if (type == 5) {
      std::uint64_t endFlags = 0;
      more = Vint(body, at, endFlags) && (endFlags & 0x0001) != 0;
      return true;
    }
    in.seekg(static_cast<std::streamoff>(data), std::ios::cur);
    if (!in) return false;
  }
}

}  // namespace

std::vector<std::string> VolumeNames(const std::string& first) {
  std::vector<std::string> names{first};
  const std::size_t part = first.size() >= 4 ? first.rfind(".part", first.size() - 4) : std::string::npos;
  if (part != std::string::npos && EndsWithNoCase(first, ".rar")) {
    const std::string digits = first.substr(part + 5, first.size() - 4 - part - 5);
    if (!digits.empty() && digits.size() < 6 && digits.find_first_not_of("0123456789") == std::string::npos) {
      for (unsigned long n = std::stoul(digits) + 1;; ++n) {
        char number[16];
        std::snprintf(number, sizeof number, "%0*lu", static_cast<int>(digits.size()), n);
        const std::string next = first.substr(0, part + 5) + number + first.substr(first.size() - 4);
        if (!Exists(next)) break;
        names.push_back(next);
      }
      return names;
    }
  }
  if (!EndsWithNoCase(first, ".rar")) return names;
  const char r = first[first.size() - 3];  // keeps the case of the extension
  for (int n = 0; n < 100; ++n) {
    char suffix[8];
    std::snprintf(suffix, sizeof suffix, "%c%02d", r, n);
    const std::string next = first.substr(0, first.size() - 3) + suffix;
    if (!Exists(next)) break;
    names.push_back(next);
  }
  return names;
}

bool ReadSetHeaders(const std::vector<std::string>& volumes, SetHeaders& headers) {
  headers = SetHeaders{};
  for (const std::string& volume : volumes) {
    std::ifstream in(volume, std::ios::binary);
    const std::string signature = Bytes(in, 7);
    bool more = false;
    if (signature == std::string("Rar!\x1a\x07\x00", 7)) {
      if (!WalkRar4(in, headers.packedSizes, more)) return false;
    } else if (signature == std::string("Rar!\x1a\x07\x01", 7) && Bytes(in, 1) == std::string(1, '\0')) {
      if (!WalkRar5(in, headers.packedSizes, more)) return false;
    } else {
      return false;
    }
    headers.incomplete = more;
  }
  return true;
}

}  // namespace zx::unrar
