// Web links: campaign values read from the setup record without touching it, appended to
// addresses percent-encoded, the help page's topic, and pages opened through the shell or,
// when it cannot, the browser given the address as one argument.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "Registry.h"
#include "WebLinks.h"
#include "machine_fixture.h"

namespace zx::test {
namespace {

constexpr LPCTSTR kSetupKey = _T("Software\\Corvash Vozivuved\\Zephrin Tunevo\\Zephrin Tunevo");

using WebLinks = MachineTest;

TEST_F(WebLinks, WithoutASetupRecordTheFourKeysGoInEmpty) {
  CString address = _T("http://example.test/page");
  const CString result = HVAppenParamsToURL(address, FALSE);
  EXPECT_EQ(address, _T("http://example.test/page?utm_source=&utm_campaign=&utm_medium=&affiliateid="));
  EXPECT_EQ(result, address);
}

TEST_F(WebLinks, AnAddressWithAQueryIsJoinedWithAnAmpersand) {
  CString address = _T("http://example.test/page?a=1");
  HVAppenParamsToURL(address, TRUE);
  EXPECT_EQ(address.Left(37), _T("http://example.test/page?a=1&utm_sour"));
}

TEST_F(WebLinks, CampaignValuesArePercentEncoded) {
  ASSERT_TRUE(RegWriteString(HKEY_LOCAL_MACHINE, kSetupKey, _T("utm_source"), _T("news letter&x=1")));
  ASSERT_TRUE(RegWriteString(HKEY_LOCAL_MACHINE, kSetupKey, _T("utm_campaign"), _T("caf\u00e9#2")));
  ASSERT_TRUE(RegWriteString(HKEY_LOCAL_MACHINE, kSetupKey, _T("utm_medium"), _T("a-b_c.d~e")));
  ASSERT_TRUE(RegWriteString(HKEY_LOCAL_MACHINE, kSetupKey, _T("affiliateid"), _T("42")));
  CString address = _T("http://example.test/");
  HVAppenParamsToURL(address, FALSE);
  EXPECT_EQ(address, _T("http://example.test/?utm_source=news%20letter%26x%3D1&utm_campaign=caf%C3%A9%232")
                     _T("&utm_medium=a-b_c.d~e&affiliateid=42"));
}

TEST_F(WebLinks, ReadingTheSetupRecordNeverCreatesIt) {
  EXPECT_EQ(HVGet_UTM_SOURCE(), _T(""));
  EXPECT_EQ(HVGet_UNINSTALLURL(), _T(""));
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSetupKey, 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(WebLinks, TheUninstallPageComesFromItsOddlySpelledValue) {
  RegWriteString(HKEY_LOCAL_MACHINE, kSetupKey, _T("UNSITALLWEB"), _T("http://example.test/bye"));
  EXPECT_EQ(HVGet_UNINSTALLURL(), _T("http://example.test/bye"));
}

TEST_F(WebLinks, TheHelpTopicGetsAnAmpersandOnlyWhenLongerThanOneCharacterWithoutOne) {
  const CString base = BuildHelpPageAddress(nullptr);
  EXPECT_FALSE(base.IsEmpty());
  EXPECT_EQ(BuildHelpPageAddress(_T("x")), base + _T("x"));
  EXPECT_EQ(BuildHelpPageAddress(_T("topic=scan")), base + _T("&topic=scan"));
  EXPECT_EQ(BuildHelpPageAddress(_T("&topic=scan")), base + _T("&topic=scan"));
  EXPECT_EQ(BuildHelpPageAddress(_T("")), base);
}

TEST_F(WebLinks, TheOverrideHookLeavesTheAddress) {
  CString address = _T("http://example.test/");
  EXPECT_FALSE(OverrideLinkForKey(address, _T("HELP")));
  EXPECT_EQ(address, _T("http://example.test/"));
}

// Pages opened with a stand-in browser that records its arguments.
class BrowserStarts : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    const char* path = std::getenv("PATH");
    savedPath_ = path ? path : "";
    record_ = records_.path() + "/record.txt";
    setenv("ZX_BROWSER_RECORD", record_.c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", savedPath_.c_str(), 1);
    unsetenv("ZX_BROWSER_RECORD");
  }
  // The search path holds only a folder with (or without) the desktop's opener.
  void UseDesktopOpener(bool present) {
    if (present) std::filesystem::create_symlink(ZX_BROWSER_PROBE, openers_.path() + "/xdg-open");
    setenv("PATH", openers_.path().c_str(), 1);
  }
  // The arguments the stand-in was started with, once it has written them.
  std::vector<std::string> Recorded() const {
    for (int wait = 0; wait < 1000 && !std::filesystem::exists(record_); ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::vector<std::string> lines;
    std::ifstream in(record_);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  TempFolder records_;
  TempFolder openers_;
  std::string record_;
  std::string savedPath_;
};

TEST_F(BrowserStarts, AWebAddressGoesToTheDesktopOpenerAsItStands) {
  UseDesktopOpener(true);
  HVOpenURL(_T("http://example.test/a page?q=\"x\"&y=1"));
  EXPECT_EQ(Recorded(), (std::vector<std::string>{"http://example.test/a page?q=\"x\"&y=1"}));
}

TEST_F(BrowserStarts, WhenTheShellCannotOpenItTheBrowserGetsTheAddressAsOneArgument) {
  UseDesktopOpener(false);
  const CString address = _T("http://example.test/dir\\ \"quoted\" & more\\");
  HVOpenURL(address);
  EXPECT_EQ(Recorded(), (std::vector<std::string>{"http://example.test/dir\\ \"quoted\" & more\\"}));
}

}  // namespace
}  // namespace zx::test
