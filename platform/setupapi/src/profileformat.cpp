// Writing a machine profile as text that reads back to the same profile.
#include "profiletext.h"
#include "zx/machineprofile.h"

namespace zx::devices {
namespace {

class Writer {
 public:
  void Header(std::string_view kind, std::u16string_view name) {
    text_ += kind;
    text_ += ' ';
    text_ += WideToUtf8(name);
    text_ += '\n';
  }
  void Field(std::string_view key, std::u16string_view value) {
    if (value.empty()) return;
    text_ += "  ";
    text_ += key;
    text_ += " = ";
    text_ += WideToUtf8(value);
    text_ += '\n';
  }
  void Number(std::string_view key, const std::optional<DWORD>& value) {
    if (value) Field(key, HexNumber(*value));
  }
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
};

}  // namespace

std::string FormatProfile(const MachineProfile& profile) {
  Writer out;
  for (const ProfileDevice& device : profile.devices) {
    out.Header("device", device.instanceId);
    out.Field("name", device.name);
    out.Field("friendly", device.friendlyName);
    for (const std::u16string& id : device.hardwareIds) out.Field("hwid", id);
    for (const std::u16string& id : device.compatibleIds) out.Field("compatid", id);
    out.Field("class", device.className);
    out.Field("classguid", device.classGuid);
    out.Field("classdesc", device.classDescription);
    out.Field("mfg", device.mfg);
    out.Field("service", device.service);
    out.Field("location", device.location);
    out.Number("configflags", device.configFlags);
    if (!device.present) out.Field("present", u"no");
    out.Number("status", device.status);
    out.Number("problem", device.problem);
    if (device.driver) {
      const ProfileDriver& driver = *device.driver;
      out.Field("inf", driver.inf);
      out.Field("section", driver.section);
      out.Field("version", driver.version);
      out.Field("date", driver.date);
      out.Field("provider", driver.provider);
      out.Field("signer", driver.signer);
      out.Field("matching", driver.matchingId);
      out.Field("driverdesc", driver.description);
      out.Number("rank", driver.rank);
    }
  }
  for (const ProfileService& service : profile.services) {
    out.Header("service", service.name);
    out.Field("display", service.display);
    out.Number("type", service.type);
    out.Number("start", service.start);
    if (service.state) out.Field("state", ServiceStateName(*service.state));
    out.Field("image", service.image);
    out.Field("group", service.group);
    out.Field("company", service.company);
  }
  return out.Take();
}

}  // namespace zx::devices
