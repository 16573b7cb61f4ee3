// Time-stamped names of feedback files: the base name cut before its last ".", the local time,
// a number drawn after seeding with the tick count, ".xml".
#include <gtest/gtest.h>

#include <WebServiceHelper.h>
#include <atltime.h>

#include <regex>

#include "webservice_testing.h"

namespace zx::test {
namespace {

std::string Ascii(const CString& text) { return std::string(text.GetString(), text.GetString() + text.GetLength()); }

std::string Stamp() { return Ascii(CTime::GetCurrentTime().Format(u" %Y%m%dT%I_%M%S%p")); }

class FeedbackNameTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    SetClock(&clock_);
  }
  void TearDown() override {
    SetClock(nullptr);
    MachineTest::TearDown();
  }
  ManualClock clock_;
};

TEST_F(FeedbackNameTest, TheHelpersNameIsTheProductKeyFeedbackTimeAndNumber) {
  CWebServiceHelper helper;
  CString name;
  helper.BuildFeedbackFileName(name);
  EXPECT_EQ(Ascii(name), "ZephrinKX-Feedback" + Stamp() + " 38.xml");
  EXPECT_TRUE(std::regex_match(Ascii(name), std::regex(R"(ZephrinKX-Feedback \d{8}T(0\d|1[0-2])_[0-5]\d[0-5]\d(AM|PM) \d+\.xml)")));
}

TEST_F(FeedbackNameTest, TheNumberFollowsTheTickCount) {
  // The C run-time's generator seeded with 1000: (1000 * 214013 + 2531011) >> 16 & 0x7FFF.
  clock_.Advance(1000);
  EXPECT_EQ(Ascii(TimeStampedFileName(u"a")), "a" + Stamp() + " 3304.xml");
}

TEST_F(FeedbackNameTest, NamesMadeInDifferentSecondsDifferInTheirTime) {
  const CString first = TimeStampedFileName(u"report.xml");
  clock_.Advance(1000);
  const CString second = TimeStampedFileName(u"report.xml");
  EXPECT_NE(Ascii(first).substr(0, 26), Ascii(second).substr(0, 26));
}

TEST_F(FeedbackNameTest, OnlyTheLastExtensionIsCut) {
  EXPECT_EQ(Ascii(TimeStampedFileName(u"my.report.txt")), "my.report" + Stamp() + " 38.xml");
  EXPECT_EQ(Ascii(TimeStampedFileName(u"noextension")), "noextension" + Stamp() + " 38.xml");
}

TEST_F(FeedbackNameTest, TheHelperEnciphersAsTheExchangeDoes) {
  CWebServiceHelper helper;
  CString text = u"  A  ";
  CString encoded;
  EXPECT_TRUE(helper.EncipherTextToHex(text, encoded));
  EXPECT_EQ(Ascii(text), "A");
  ASSERT_EQ(encoded.GetLength(), 36);
  // MD5("A") upper-cased, then the one enciphered code unit.
  EXPECT_EQ(Ascii(encoded.Left(32)), "7FC56270E7A70FA81A5935B72EACBE29");
}

}  // namespace
}  // namespace zx::test
