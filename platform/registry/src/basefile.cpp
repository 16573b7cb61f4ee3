// The hive's base file: the whole tree as text (format in zx/hive.h).
#include <charconv>
#include <optional>

#include "winreg.h"
#include "zx/hive.h"
#include "zx/utf8.h"

namespace zx::registry {
namespace {

constexpr std::string_view kHeader = "ZXHIVE 1 generation ";
constexpr std::string_view kTrailer = "END";
constexpr char kHexDigits[] = "0123456789abcdef";
constexpr std::string_view kSecurityPrefix = "!security=hex:";

// ---- writing -------------------------------------------------------------------------


bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void AppendEscaped(std::string& out, std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'^' || c == u'"') {
      out += '^';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else if (IsHigh(c) && i + 1 < text.size() && IsLow(text[i + 1])) {
      zx::AppendUtf8(out, 0x10000 + ((c - 0xD800u) << 10) + (text[i + 1] - 0xDC00u));
      ++i;
    } else if (c < 0xA0 || IsHigh(c) || IsLow(c) || c >= 0xFFFE) {
      out += "^u";
      for (int shift = 12; shift >= 0; shift -= 4) out += kHexDigits[(c >> shift) & 0xF];
    } else {
      zx::AppendUtf8(out, c);
    }
  }
}

void AppendQuoted(std::string& out, std::u16string_view text) {
  out += '"';
  AppendEscaped(out, text);
  out += '"';
}

void AppendHex(std::string& out, const std::vector<BYTE>& data) {
  for (BYTE b : data) {
    out += kHexDigits[b >> 4];
    out += kHexDigits[b & 0xF];
  }
}

void AppendNumber(std::string& out, std::uint64_t value, int digits) {
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kHexDigits[(value >> shift) & 0xF];
}

std::uint64_t LittleEndian(const std::vector<BYTE>& data) {
  std::uint64_t value = 0;
  for (std::size_t i = data.size(); i-- > 0;) value = (value << 8) | data[i];
  return value;
}

// The data as UTF-16 units when it is whole units ending in a terminator.
std::optional<std::u16string> TerminatedUnits(const std::vector<BYTE>& data) {
  if (data.size() < 2 || data.size() % 2 != 0) return std::nullopt;
  std::u16string units(data.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  if (units.back() != u'\0') return std::nullopt;
  units.pop_back();
  return units;
}

bool AppendText(std::string& out, const Value& value) {
  const auto units = TerminatedUnits(value.data);
  if (!units || units->find(u'\0') != std::u16string::npos) return false;
  out += value.type == REG_SZ ? "sz:" : "expand_sz:";
  AppendQuoted(out, *units);
  return true;
}

bool AppendMultiText(std::string& out, const Value& value) {
  auto units = TerminatedUnits(value.data);
  if (!units || (!units->empty() && units->back() != u'\0')) return false;
  out += "multi_sz:";
  std::u16string_view rest(*units);
  for (bool first = true; !rest.empty(); first = false) {
    const std::size_t end = rest.find(u'\0');
    if (!first) out += ',';
    AppendQuoted(out, rest.substr(0, end));
    rest.remove_prefix(end + 1);
  }
  return true;
}

void AppendData(std::string& out, const Value& value) {
  switch (value.type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      if (AppendText(out, value)) return;
      break;
    case REG_MULTI_SZ:
      if (AppendMultiText(out, value)) return;
      break;
    case REG_DWORD:
      if (value.data.size() != 4) break;
      out += "dword:";
      AppendNumber(out, LittleEndian(value.data), 8);
      return;
    case REG_QWORD:
      if (value.data.size() != 8) break;
      out += "qword:";
      AppendNumber(out, LittleEndian(value.data), 16);
      return;
    case REG_BINARY:
      out += "hex:";
      AppendHex(out, value.data);
      return;
  }
  out += "hex(" + std::to_string(value.type) + "):";
  AppendHex(out, value.data);
}

void AppendKey(std::string& out, const Key& key, std::string& path) {
  out += '[';
  out += path;
  out += "]\n";
  if (!key.security().empty()) {
    out += kSecurityPrefix;
    AppendHex(out, key.security());
    out += '\n';
  }
  for (const Value& value : key.values()) {
    if (value.name.empty()) out += '@';
    else AppendQuoted(out, value.name);
    out += '=';
    AppendData(out, value);
    out += '\n';
  }
  const std::size_t length = path.size();
  for (const auto& [folded, subkey] : key.subkeys()) {
    if (length != 0) path += '\\';
    AppendEscaped(path, subkey->name());
    AppendKey(out, *subkey, path);
    path.resize(length);
  }
}

// ---- reading -------------------------------------------------------------------------

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads one UTF-8 sequence; false when it is not well-formed.
bool ReadUtf8(std::string_view& in, std::u16string& out) {
  const auto lead = static_cast<unsigned char>(in[0]);
  int extra;
  std::uint32_t cp;
  if (lead < 0x80) extra = 0, cp = lead;
  else if (lead >= 0xC2 && lead < 0xE0) extra = 1, cp = lead & 0x1F;
  else if (lead >= 0xE0 && lead < 0xF0) extra = 2, cp = lead & 0x0F;
  else if (lead >= 0xF0 && lead < 0xF5) extra = 3, cp = lead & 0x07;
  else return false;
  if (in.size() <= static_cast<std::size_t>(extra)) return false;
  for (int i = 1; i <= extra; ++i) {
    const auto next = static_cast<unsigned char>(in[i]);
    if ((next & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (next & 0x3F);
  }
  static constexpr std::uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kLeast[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  in.remove_prefix(extra + 1);
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
    out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
  }
  return true;
}

// Reads escaped text up to the unescaped stop character (consumed) or, with stop 0, to the end.
bool ReadEscaped(std::string_view& in, char stop, std::u16string& out) {
  while (!in.empty()) {
    if (stop != 0 && in[0] == stop) {
      in.remove_prefix(1);
      return true;
    }
    if (in[0] == '"') return false;
    if (in[0] != '^') {
      if (!ReadUtf8(in, out)) return false;
      continue;
    }
    if (in.size() >= 2 && (in[1] == '^' || in[1] == '"')) {
      out += static_cast<char16_t>(in[1]);
      in.remove_prefix(2);
      continue;
    }
    if (in.size() < 6 || in[1] != 'u') return false;
    std::uint32_t unit = 0;
    for (int i = 2; i < 6; ++i) {
      const int digit = HexValue(in[i]);
      if (digit < 0) return false;
      unit = (unit << 4) | static_cast<std::uint32_t>(digit);
    }
    out += static_cast<char16_t>(unit);
    in.remove_prefix(6);
  }
  return stop == 0;
}

bool ReadQuoted(std::string_view& in, std::u16string& out) {
  if (in.empty() || in[0] != '"') return false;
  in.remove_prefix(1);
  return ReadEscaped(in, '"', out);
}

bool TakePrefix(std::string_view& in, std::string_view prefix) {
  if (in.substr(0, prefix.size()) != prefix) return false;
  in.remove_prefix(prefix.size());
  return true;
}

bool ReadHexBytes(std::string_view in, std::vector<BYTE>& data) {
  if (in.size() % 2 != 0) return false;
  data.reserve(in.size() / 2);
  for (std::size_t i = 0; i < in.size(); i += 2) {
    const int high = HexValue(in[i]);
    const int low = HexValue(in[i + 1]);
    if (high < 0 || low < 0) return false;
    data.push_back(static_cast<BYTE>(high << 4 | low));
  }
  return true;
}

bool ReadNumber(std::string_view in, std::size_t bytes, std::vector<BYTE>& data) {
  if (in.size() != bytes * 2) return false;
  std::uint64_t value = 0;
  for (char c : in) {
    const int digit = HexValue(c);
    if (digit < 0) return false;
    value = (value << 4) | static_cast<std::uint64_t>(digit);
  }
  for (std::size_t i = 0; i < bytes; ++i) data.push_back(static_cast<BYTE>(value >> (8 * i)));
  return true;
}

void AppendUnits(std::vector<BYTE>& data, std::u16string_view units) {
  for (char16_t c : units) {
    data.push_back(static_cast<BYTE>(c & 0xFF));
    data.push_back(static_cast<BYTE>(c >> 8));
  }
  data.push_back(0);
  data.push_back(0);
}

bool ReadText(std::string_view in, std::vector<BYTE>& data) {
  std::u16string text;
  if (!ReadQuoted(in, text) || !in.empty() || text.find(u'\0') != std::u16string::npos) return false;
  AppendUnits(data, text);
  return true;
}

bool ReadMultiText(std::string_view in, std::vector<BYTE>& data) {
  for (bool first = true; !in.empty(); first = false) {
    if (!first && !TakePrefix(in, ",")) return false;
    std::u16string text;
    if (!ReadQuoted(in, text) || text.find(u'\0') != std::u16string::npos) return false;
    AppendUnits(data, text);
  }
  data.push_back(0);
  data.push_back(0);
  return true;
}

bool ReadData(std::string_view in, DWORD& type, std::vector<BYTE>& data) {
  struct Form {
    std::string_view prefix;
    DWORD type;
    bool (*read)(std::string_view, std::vector<BYTE>&);
  };
  static const Form kForms[] = {
      {"sz:", REG_SZ, ReadText},
      {"expand_sz:", REG_EXPAND_SZ, ReadText},
      {"multi_sz:", REG_MULTI_SZ, ReadMultiText},
      {"dword:", REG_DWORD, [](std::string_view text, std::vector<BYTE>& bytes) { return ReadNumber(text, 4, bytes); }},
      {"qword:", REG_QWORD, [](std::string_view text, std::vector<BYTE>& bytes) { return ReadNumber(text, 8, bytes); }},
      {"hex:", REG_BINARY, ReadHexBytes},
  };
  for (const Form& form : kForms) {
    if (!TakePrefix(in, form.prefix)) continue;
    type = form.type;
    return form.read(in, data);
  }
  if (!TakePrefix(in, "hex(")) return false;
  const std::size_t close = in.find("):");
  if (close == std::string_view::npos || close == 0) return false;
  const auto [end, error] = std::from_chars(in.data(), in.data() + close, type);
  if (error != std::errc() || end != in.data() + close) return false;
  return ReadHexBytes(in.substr(close + 2), data);
}

bool ReadValueLine(std::string_view line, Change& change) {
  change.name.clear();
  if (!TakePrefix(line, "@") && (!ReadQuoted(line, change.name) || change.name.empty()))
    return false;
  return TakePrefix(line, "=") && ReadData(line, change.type, change.data);
}

}  // namespace

std::string FormatBase(const Tree& tree, std::uint64_t generation) {
  std::string out(kHeader);
  out += std::to_string(generation);
  out += '\n';
  std::string path;
  AppendKey(out, *tree.root(), path);
  out += kTrailer;
  out += '\n';
  return out;
}

BaseParse ParseBase(std::string_view text, Tree& tree) {
  BaseParse result;
  std::size_t lineNumber = 0;
  auto nextLine = [&text, &lineNumber]() {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++lineNumber;
    return line;
  };
  auto note = [&result, &lineNumber](const char* what) {
    if (result.problem.empty()) result.problem = std::string(what) + " at line " + std::to_string(lineNumber);
  };

  std::string_view header = nextLine();
  if (!TakePrefix(header, kHeader) || header.empty() ||
      std::from_chars(header.data(), header.data() + header.size(), result.generation).ptr !=
          header.data() + header.size()) {
    note("bad header");
    return result;
  }
  result.headerGood = true;

  std::optional<std::u16string> section;  // the key the value lines belong to
  bool ended = false;
  while (!text.empty()) {
    std::string_view line = nextLine();
    if (line.empty() || line[0] == ';') continue;
    if (ended) {
      note("text after END");
      break;
    }
    if (line == kTrailer) {
      ended = true;
      continue;
    }
    Change change;
    if (line[0] == '[') {
      section.reset();
      std::string_view inner = line.substr(1);
      if (inner.empty() || inner.back() != ']') {
        note("unparsable key line");
        continue;
      }
      inner.remove_suffix(1);
      change.op = ChangeOp::CreateKey;
      if (!ReadEscaped(inner, 0, change.path) || !tree.Apply(change)) {
        note("bad key name");
        continue;
      }
      section = std::move(change.path);
      continue;
    }
    if (TakePrefix(line, kSecurityPrefix)) {
      change.op = ChangeOp::SetSecurity;
      if (!section) {
        note("security outside a key");
      } else if (!ReadHexBytes(line, change.data)) {
        note("unparsable security line");
      } else {
        change.path = *section;
        tree.Apply(change);
      }
      continue;
    }
    change.op = ChangeOp::SetValue;
    if (!section) {
      note("value outside a key");
    } else if (!ReadValueLine(line, change)) {
      note("unparsable value line");
    } else {
      change.path = *section;
      if (!tree.Apply(change)) note("bad value name");
    }
  }
  if (!ended && result.problem.empty()) note("file cut short (no END)");
  return result;
}

}  // namespace zx::registry
