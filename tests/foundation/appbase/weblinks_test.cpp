// Web links: campaign values read from the setup record without touching it, appended to
// addresses percent-encoded, and the help page's topic.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace zx::test
