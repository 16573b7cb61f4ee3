// The INF file of a seeded driver package: version, models, install sections with the
// driver's file and service, in Windows-1252 text with CRLF line ends.
#include <set>

#include "profiletext.h"
#include "seedplan.h"
#include "stringapiset.h"

namespace zx::devices {
namespace {

// An INF string value: quoted, inner quotes doubled.
std::u16string Quoted(std::u16string_view text) {
  std::u16string out = u"\"";
  for (char16_t c : text) {
    if (c == u'"') out += u'"';
    out += c;
  }
  return out + u"\"";
}

// "M-D-YYYY" as the INF's "MM/DD/YYYY".
std::u16string InfDate(std::u16string_view date) {
  std::u16string part;
  std::vector<std::u16string> parts;
  for (char16_t c : date) {
    if (c == u'-') {
      parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  parts.push_back(part);
  if (parts.size() != 3) return u"01/01/2000";
  for (std::size_t i = 0; i < 2; ++i)
    if (parts[i].size() < 2) parts[i].insert(parts[i].begin(), u'0');
  return parts[0] + u"/" + parts[1] + u"/" + parts[2];
}

std::string ToAnsi(std::u16string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(std::max(length, 0)), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), size, out.data(), length, nullptr, nullptr);
  return out;
}

}  // namespace

std::string FormatInf(const PlannedInf& inf, const SeedPlan& plan) {
  const PlannedDevice& first = plan.devices[inf.devices.front()];
  const PlannedDriver& driver = *first.driver;
  std::u16string text;
  const auto line = [&text](std::u16string_view content) {
    text += content;
    text += u"\r\n";
  };
  line(u"; " + inf.name + u": driver package of " + (driver.provider.empty() ? u"its maker" : driver.provider));
  line(u"[Version]");
  line(u"Signature=\"$WINDOWS NT$\"");
  if (!first.className.empty()) line(u"Class=" + first.className);
  line(u"ClassGuid=" + first.classGuid);
  line(u"Provider=%Provider%");
  line(u"DriverVer=" + InfDate(driver.date) + u"," + (driver.version.empty() ? u"1.0.0.0" : driver.version));
  if (!driver.signer.empty()) line(u"CatalogFile=" + inf.name.substr(0, inf.name.size() - 4) + u".cat");
  line(u"");
  line(u"[Manufacturer]");
  line(u"%Mfg%=Models,NTamd64");
  line(u"");
  line(u"[Models.NTamd64]");
  std::set<std::u16string> models, sections;
  std::u16string strings, installs, files;
  for (std::size_t i = 0; i < inf.devices.size(); ++i) {
    const PlannedDevice& device = plan.devices[inf.devices[i]];
    const PlannedDriver& own = *device.driver;
    if (!models.insert(Lower(own.infSection + u"," + own.matchingId)).second) continue;
    const std::u16string token = u"Device" + Ascii(std::to_string(i));
    line(u"%" + token + u"%=" + own.infSection + u"," + own.matchingId);
    strings += token + u"=" + Quoted(own.description) + u"\r\n";
    if (!sections.insert(Lower(own.infSection)).second) continue;
    const std::u16string& service = device.source->service;
    installs += u"\r\n[" + own.infSection + u"]\r\n";
    if (service.empty()) continue;
    installs += u"CopyFiles=" + own.infSection + u".CopyFiles\r\n\r\n[" + own.infSection + u".CopyFiles]\r\n" +
                service + u".sys\r\n\r\n[" + own.infSection + u".Services]\r\nAddService=" + service +
                u",0x00000002," + own.infSection + u".Service\r\n\r\n[" + own.infSection +
                u".Service]\r\nServiceType=1\r\nStartType=3\r\nErrorControl=1\r\nServiceBinary=%12%\\" +
                service + u".sys\r\n";
    files += service + u".sys=1\r\n";
  }
  text += installs;
  line(u"");
  line(u"[DestinationDirs]");
  line(u"DefaultDestDir=12");
  line(u"");
  line(u"[SourceDisksNames]");
  line(u"1=%Disk%");
  line(u"");
  line(u"[SourceDisksFiles]");
  text += files;
  line(u"");
  line(u"[Strings]");
  line(u"Provider=" + Quoted(driver.provider));
  line(u"Mfg=" + Quoted(first.source->mfg.empty() ? driver.provider : first.source->mfg));
  line(u"Disk=" + Quoted(driver.provider + u" driver disk"));
  text += strings;
  return ToAnsi(text);
}

}  // namespace zx::devices
