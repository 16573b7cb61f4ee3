// Machine profile text: every field read, records and their defaults, and the line named for
// each kind of mistake.
#include <gtest/gtest.h>

#include "zx/machineprofile.h"

namespace zx::devices {
namespace {

const char kNetworkCard[] =
    "; a comment\n"
    "# another\n"
    "device PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04\\3&21436425&0&C8\n"
    "  name = Intel(R) 82579LM Gigabit Network Connection\n"
    "  friendly = Ethernet #2\n"
    "  hwid = PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04\n"
    "  hwid = PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA\n"
    "  compatid = PCI\\VEN_8086&DEV_1502\n"
    "  CLASS = Net\n"
    "  mfg = Intel\n"
    "  service = e1cexpress\n"
    "  location = PCI bus 0, device 25, function 0\n"
    "  configflags = 0x10\n"
    "  status = 0x0180200A\n"
    "  problem = 0\n"
    "  inf = oem12.inf\n"
    "  section = E1502.6.1.1\n"
    "  version = 12.0.150.0\n"
    "  date = 05-31-2012\n"
    "  provider = Intel\n"
    "  signer = Microsoft Windows Hardware Compatibility Publisher\n"
    "  matching = pci\\ven_8086&dev_1502\n"
    "  rank = 0x1001\n"
    "  driverdesc = Intel(R) 82579LM\n"
    "\n"
    "service e1cexpress\n"
    "  display = Intel(R) PRO/1000 Driver\n"
    "  type = 1\n"
    "  start = demand\n"
    "  state = running\n"
    "  image = System32\\drivers\\e1c62x64.sys\n"
    "  group = NDIS\n"
    "  company = Intel Corporation\n";

std::string ParseError(const std::string& text) {
  MachineProfile profile;
  std::string error;
  EXPECT_FALSE(ParseProfile(text, "bad.profile", profile, error));
  EXPECT_TRUE(profile.devices.empty());
  return error;
}

TEST(ProfileText, ReadsEveryField) {
  MachineProfile profile;
  std::string error;
  ASSERT_TRUE(ParseProfile(kNetworkCard, "card.profile", profile, error)) << error;
  ASSERT_EQ(profile.devices.size(), 1u);
  const ProfileDevice& d = profile.devices[0];
  EXPECT_EQ(d.line, 3u);
  EXPECT_EQ(d.instanceId, u"PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04\\3&21436425&0&C8");
  EXPECT_EQ(d.name, u"Intel(R) 82579LM Gigabit Network Connection");
  EXPECT_EQ(d.friendlyName, u"Ethernet #2");
  ASSERT_EQ(d.hardwareIds.size(), 2u);
  EXPECT_EQ(d.hardwareIds[1], u"PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA");
  EXPECT_EQ(d.compatibleIds, std::vector<std::u16string>{u"PCI\\VEN_8086&DEV_1502"});
  EXPECT_EQ(d.className, u"Net");
  EXPECT_EQ(d.mfg, u"Intel");
  EXPECT_EQ(d.service, u"e1cexpress");
  EXPECT_EQ(d.location, u"PCI bus 0, device 25, function 0");
  EXPECT_EQ(d.configFlags, 0x10u);
  EXPECT_EQ(d.status, 0x0180200Au);
  EXPECT_EQ(d.problem, 0u);
  ASSERT_TRUE(d.driver.has_value());
  EXPECT_EQ(d.driver->inf, u"oem12.inf");
  EXPECT_EQ(d.driver->section, u"E1502.6.1.1");
  EXPECT_EQ(d.driver->version, u"12.0.150.0");
  EXPECT_EQ(d.driver->date, u"05-31-2012");
  EXPECT_EQ(d.driver->provider, u"Intel");
  EXPECT_EQ(d.driver->signer, u"Microsoft Windows Hardware Compatibility Publisher");
  EXPECT_EQ(d.driver->matchingId, u"pci\\ven_8086&dev_1502");
  EXPECT_EQ(d.driver->rank, 0x1001u);
  EXPECT_EQ(d.driver->description, u"Intel(R) 82579LM");
  ASSERT_EQ(profile.services.size(), 1u);
  const ProfileService& s = profile.services[0];
  EXPECT_EQ(s.name, u"e1cexpress");
  EXPECT_EQ(s.display, u"Intel(R) PRO/1000 Driver");
  EXPECT_EQ(s.type, 1u);
  EXPECT_EQ(s.start, 3u);
  EXPECT_EQ(s.state, ServiceState::Running);
  EXPECT_EQ(s.image, u"System32\\drivers\\e1c62x64.sys");
  EXPECT_EQ(s.group, u"NDIS");
  EXPECT_EQ(s.company, u"Intel Corporation");
}

TEST(ProfileText, WritesTextThatReadsBackTheSame) {
  MachineProfile first, second;
  std::string error;
  ASSERT_TRUE(ParseProfile(kNetworkCard, "card.profile", first, error)) << error;
  const std::string text = FormatProfile(first);
  ASSERT_TRUE(ParseProfile(text, "again.profile", second, error)) << error;
  EXPECT_EQ(FormatProfile(second), text);
  EXPECT_EQ(second.devices[0].driver->rank, 0x1001u);
  EXPECT_EQ(second.services[0].state, ServiceState::Running);
}

TEST(ProfileText, AcceptsCrLfAByteOrderMarkAndUtf8) {
  MachineProfile profile;
  std::string error;
  ASSERT_TRUE(ParseProfile("\xEF\xBB\xBF" "device ROOT\\X\\0000\r\n  name = Gr\xC3\xBC\xC3\x9F" "e\r\n", "p", profile, error))
      << error;
  EXPECT_EQ(profile.devices[0].name, u"Gr\u00FC\u00DFe");
}

TEST(ProfileText, ServiceFieldIsNotAServiceRecord) {
  MachineProfile profile;
  std::string error;
  ASSERT_TRUE(ParseProfile("device ROOT\\X\\0000\n name = X\n service = beep\nservice beep\n start = 1\n", "p", profile,
                           error))
      << error;
  EXPECT_EQ(profile.devices[0].service, u"beep");
  ASSERT_EQ(profile.services.size(), 1u);
  EXPECT_EQ(profile.services[0].start, 1u);
}

TEST(ProfileMistakes, NameTheFileAndLine) {
  EXPECT_EQ(ParseError("device ROOT\\X\\0000\n name = X\n colour = blue\n"), "bad.profile:3: unknown device field 'colour'");
  EXPECT_EQ(ParseError("\n\n name = X\n"), "bad.profile:3: a field before any device or service line");
  EXPECT_EQ(ParseError("device ROOT\\X\\0000\n name X\n"), "bad.profile:2: expected 'key = value'");
  EXPECT_EQ(ParseError("device ROOT\\X\n name = X\n"), "bad.profile:1: bad instance id (enumerator\\device\\instance)");
  EXPECT_EQ(ParseError("device ROOT\\X\\0000\n name = X\n name = Y\n"), "bad.profile:3: 'name' given twice");
  EXPECT_EQ(ParseError("device ROOT\\X\\0000\n name = X\n configflags = 12z\n"), "bad.profile:3: not a number: '12z'");
  EXPECT_EQ(ParseError("device ROOT\\X\\0000\n name = X\n present = maybe\n"), "bad.profile:3: present is yes or no");
  EXPECT_EQ(ParseError("service winmgmt\n state = asleep\n"), "bad.profile:2: state is running, stopped, paused or disabled");
  EXPECT_EQ(ParseError("service winmgmt\n start = 7\n"), "bad.profile:2: start is boot, system, auto, demand, disabled or 0-4");
  EXPECT_EQ(ParseError("device ROOT\\X\\0000\n name = X\n rank = 99999999999\n"), "bad.profile:3: not a number: '99999999999'");
  EXPECT_EQ(ParseError("device ROOT\\X\\0000\n name = \xFF\n"), "bad.profile:2: not UTF-8 text");
  EXPECT_EQ(ParseError("device ROOT\\X\\0000\n name = a\x01" "b\n"), "bad.profile:2: control character in the line");
}

TEST(ProfileMistakes, RecordRulesNameTheRecordLine) {
  EXPECT_EQ(ParseError("device ROOT\\X\\0000\n hwid = A\n"), "bad.profile:1: the device has no name");
  EXPECT_EQ(ParseError("device ROOT\\X\\0000\n name = X\n class = Toaster\n"), "bad.profile:1: unknown class 'Toaster'");
  EXPECT_EQ(ParseError("device ROOT\\X\\0000\n name = X\n class = Net\n version = 1.2\n"),
            "bad.profile:1: driver fields without 'inf'");
  EXPECT_EQ(ParseError("device ROOT\\X\\0000\n name = X\n inf = x.inf\n"), "bad.profile:1: a device with a driver needs a class");
  EXPECT_EQ(ParseError("device ROOT\\X\\0000\n name = X\n class = Net\n inf = ..\\x.inf\n"),
            "bad.profile:1: bad inf name (a file name ending in .inf)");
  EXPECT_EQ(ParseError("device ROOT\\X\\0000\n name = X\n class = Net\n inf = x.inf\n version = 1.70000\n"),
            "bad.profile:1: bad version (up to four numbers of 16 bits)");
  EXPECT_EQ(ParseError("device ROOT\\X\\0000\n name = X\n class = Net\n inf = x.inf\n date = 2-30-2012\n"),
            "bad.profile:1: bad date (month-day-year)");
  EXPECT_EQ(ParseError("device ROOT\\X\\0000\n name = X\n classguid = {nope}\n"), "bad.profile:1: bad classguid");
  EXPECT_EQ(ParseError("device ROOT\\X\\0000\n name = X\n service = a\\b\n"), "bad.profile:1: bad service name");
  EXPECT_EQ(ParseError("device ROOT\\X\\0000\n name = X\ndevice root\\x\\0000\n name = Y\n"),
            "bad.profile:3: a second device root\\x\\0000");
  EXPECT_EQ(ParseError("service a\nservice A\n"), "bad.profile:2: a second service A");
}

TEST(ProfileFiles, ShippedProfilesRead) {
  for (const char* name : {"laptop.profile", "desktop.profile"}) {
    MachineProfile profile;
    std::string error;
    EXPECT_TRUE(LoadProfileFile(std::string(ZX_PROFILES_DIR) + "/" + name, profile, error)) << error;
    EXPECT_GE(profile.devices.size(), 40u);
  }
  MachineProfile profile;
  std::string error;
  EXPECT_FALSE(LoadProfileFile("/nonexistent/x.profile", profile, error));
  EXPECT_EQ(error, "/nonexistent/x.profile: cannot be read");
}

}  // namespace
}  // namespace zx::devices
