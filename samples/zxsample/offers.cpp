// Matching the catalogue's entries to the devices by id, without regard to case.
#include "offers.h"

#include <profileapi.h>

#include <algorithm>

namespace zxsample {
namespace {

std::u16string Folded(std::u16string text) {
  for (char16_t& c : text)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  return text;
}

std::u16string IniText(const std::u16string& file, const std::u16string& section, const char16_t* key) {
  char16_t text[4096] = {};
  GetPrivateProfileStringW(section.c_str(), key, u"", text, 4096, file.c_str());
  return text;
}

std::vector<std::u16string> Split(const std::u16string& text, char16_t separator) {
  std::vector<std::u16string> parts;
  std::size_t at = 0;
  for (;;) {
    const std::size_t end = text.find(separator, at);
    std::u16string part = text.substr(at, end == std::u16string::npos ? std::u16string::npos : end - at);
    if (!part.empty()) parts.push_back(std::move(part));
    if (end == std::u16string::npos) return parts;
    at = end + 1;
  }
}

unsigned long VersionPart(const std::vector<std::u16string>& parts, std::size_t index) {
  unsigned long value = 0;
  if (index < parts.size())
    for (char16_t c : parts[index]) {
      if (c < u'0' || c > u'9' || value > 100000000ul) break;
      value = value * 10 + static_cast<unsigned long>(c - u'0');
    }
  return value;
}

}  // namespace

int CompareVersions(const std::u16string& a, const std::u16string& b) {
  const std::vector<std::u16string> left = Split(a, u'.'), right = Split(b, u'.');
  for (std::size_t i = 0; i < std::max(left.size(), right.size()); ++i) {
    const unsigned long x = VersionPart(left, i), y = VersionPart(right, i);
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

bool ReadOffers(const std::u16string& catalogue, std::vector<Offer>& offers) {
  offers.clear();
  std::vector<Device> devices;
  if (!ReadDevices(devices)) return false;
  std::vector<char16_t> names(65536);
  const DWORD length = GetPrivateProfileSectionNamesW(names.data(), static_cast<DWORD>(names.size()), catalogue.c_str());
  if (length == 0) return false;
  for (const std::u16string& section : Split(std::u16string(names.data(), length), u'\0')) {
    const std::vector<std::u16string> ids = Split(Folded(IniText(catalogue, section, u"hardwareids")), u'|');
    const std::u16string version = IniText(catalogue, section, u"version");
    for (const Device& device : devices) {
      const bool named = std::any_of(device.ids.begin(), device.ids.end(), [&](const std::u16string& id) {
        return std::find(ids.begin(), ids.end(), Folded(id)) != ids.end();
      });
      if (named) offers.push_back({device, version, CompareVersions(version, device.version) > 0});
    }
  }
  return true;
}

}  // namespace zxsample
