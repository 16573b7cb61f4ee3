// The retry schemes on the manual clock: four attempts 1024 ms apart over the transports in
// their order, the 480 s limit of the update-data functions on the monotonic clock, the
// 120000 ms time-out of the update service, the uploads' own time-out, and every kind of bad
// answer ending in a clean failure.
#include <gtest/gtest.h>

#include <WebServiceClient.h>

#include <chrono>

#include "webservice_testing.h"

namespace zx::test {
namespace {

using namespace std::chrono_literals;

constexpr const char16_t* kScan = u"<newdataset><device><driverid>0</driverid><matchingid>X</matchingid></device></newdataset>";
constexpr BSTR kUntouched = nullptr;

struct Outcome {
  BOOL ok;
  BSTR result;
};

std::future<Outcome> StartUpdateData() {
  return Started([] {
    Outcome outcome{FALSE, kUntouched};
    outcome.ok = PCGetUpdateData(nullptr, kScan, &outcome.result);
    return outcome;
  });
}

using RetryTest = WebServiceTest;

TEST_F(RetryTest, FourAttemptsOverTheTransportsInOrderWithPausesBetween) {
  StartStandIn("http500");
  auto call = StartUpdateData();
  // Socket without and with the user's proxy, then WinINet twice.
  const char* const versions[] = {"HTTP/1.1", "HTTP/1.1", "HTTP/1.0", "HTTP/1.0"};
  for (int attempt = 0; attempt < 4; ++attempt) {
    EXPECT_EQ(NextRequest(), std::string("POST GetUpdateInfo ") + versions[attempt]);
    if (attempt < 3) PassRetryPause();
  }
  ASSERT_EQ(call.wait_for(2s), std::future_status::ready);
  const Outcome outcome = call.get();
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.result, kUntouched);
  EXPECT_EQ(clock_.MonotonicMs(), 3u * 1024);
  EXPECT_EQ(NextRequest(50), "");
}

TEST_F(RetryTest, TheUpdateServiceWaits120000msForItsAnswer) {
  StartStandIn("noanswer", 1);
  auto call = StartUpdateData();
  EXPECT_EQ(NextRequest(), "POST GetUpdateInfo HTTP/1.1");
  clock_.Advance(119999);
  EXPECT_EQ(call.wait_for(50ms), std::future_status::timeout);
  clock_.Advance(1);
  PassRetryPause();
  EXPECT_EQ(NextRequest(), "POST GetUpdateInfo HTTP/1.1");
  const Outcome outcome = call.get();
  EXPECT_TRUE(outcome.ok);
  ASSERT_NE(outcome.result, nullptr);
  EXPECT_EQ(std::u16string(outcome.result), u"<newdataset></newdataset>");
  SysFreeString(outcome.result);
}

TEST_F(RetryTest, UploadsKeepTheTransportsOwnTimeOut) {
  StartStandIn("noanswer", 1);
  auto upload = Started([] { return QVXUploadFeedback(u"text", u"t.xml"); });
  EXPECT_EQ(NextRequest(), "POST MS_UploadFeedback HTTP/1.1");
  clock_.Advance(29999);
  EXPECT_EQ(upload.wait_for(50ms), std::future_status::timeout);
  clock_.Advance(1);  // half a minute, not two
  PassRetryPause();
  EXPECT_EQ(NextRequest(), "POST MS_UploadFeedback HTTP/1.1");
  EXPECT_EQ(upload.get(), 1);
  EXPECT_EQ(UploadedFile("t.xml"), "text");
}

TEST_F(RetryTest, NoNewAttemptOnce480SecondsHavePassedWhateverTheLocalTime) {
  StartStandIn("noanswer");
  auto call = StartUpdateData();
  EXPECT_EQ(NextRequest(), "POST GetUpdateInfo HTTP/1.1");
  // The local time goes back an hour: measured on it, hardly any time would have passed.
  clock_.SetWallTime(clock_.WallTime() - 3600ull * 10000000ull);
  clock_.Advance(480001);
  ASSERT_EQ(call.wait_for(2s), std::future_status::ready);
  EXPECT_FALSE(call.get().ok);
  EXPECT_EQ(NextRequest(50), "");
}

TEST_F(RetryTest, ExactlyAt480SecondsAnotherAttemptIsMade) {
  StartStandIn("noanswer");
  auto call = StartUpdateData();
  EXPECT_EQ(NextRequest(), "POST GetUpdateInfo HTTP/1.1");
  clock_.Advance(480000);
  PassRetryPause();
  EXPECT_EQ(NextRequest(), "POST GetUpdateInfo HTTP/1.1");
  clock_.Advance(120000);
  ASSERT_EQ(call.wait_for(2s), std::future_status::ready);
  EXPECT_FALSE(call.get().ok);
  EXPECT_EQ(NextRequest(50), "");
}

TEST_F(RetryTest, TheDownloadLinkHasNoTimeLimit) {
  StartStandIn("noanswer", 3);
  auto call = Started([] {
    BSTR result = nullptr;
    const BOOL ok = PCGetLinkWithEncryptOptions(nullptr, u"<newdataset/>", &result, FALSE, FALSE);
    SysFreeString(result);
    return ok;
  });
  for (int attempt = 0; attempt < 3; ++attempt) {
    EXPECT_EQ(NextRequest(), "POST GetDownloadInformationWithEncryptOptions HTTP/1." + std::string(attempt < 2 ? "1" : "0"));
    clock_.Advance(500000);
    PassRetryPause();
  }
  EXPECT_EQ(NextRequest(), "POST GetDownloadInformationWithEncryptOptions HTTP/1.0");
  EXPECT_TRUE(call.get());
}

TEST_F(RetryTest, PCUploadFileTriesTwice) {
  StartStandIn("soapfault");
  auto upload = Started([] { return PCUploadFile(u"file"); });
  EXPECT_EQ(NextRequest(), "POST UploadFile HTTP/1.1");
  PassRetryPause();
  EXPECT_EQ(NextRequest(), "POST UploadFile HTTP/1.1");
  EXPECT_EQ(upload.get(), 0);
  EXPECT_EQ(NextRequest(50), "");
}

TEST_F(RetryTest, FeedbackPausesAfterEveryFailedAttempt) {
  StartStandIn("http500");
  auto upload = Started([] { return QVXUploadFeedbackSimpleStr(u"x", u"x.xml"); });
  for (int attempt = 0; attempt < 4; ++attempt) {
    EXPECT_EQ(NextRequest(), "POST UploadFeedback HTTP/1.1");
    PassRetryPause();
  }
  EXPECT_EQ(upload.get(), 0);
  EXPECT_EQ(clock_.MonotonicMs(), 4u * 1024);
}

// Bad answers: each attempt fails cleanly, the result stays untouched, four attempts are made.
class BadAnswerTest : public WebServiceTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(BadAnswerTest, EndsInACleanFailure) {
  const std::string fault = GetParam();
  const bool waits = fault == "slow" || fault == "noanswer";
  StartStandIn(fault);
  auto call = Started([] {
    Outcome outcome{FALSE, kUntouched};
    outcome.ok = PCGetUpdateDataWithEncryptOptions(nullptr, kScan, &outcome.result, FALSE, TRUE);
    return outcome;
  });
  for (int attempt = 0; attempt < 4; ++attempt) {
    EXPECT_EQ(NextRequest().rfind("POST GetUpdateInfoWithEncryptOptions", 0), 0u);
    if (waits) clock_.Advance(120000);
    if (attempt < 3) PassRetryPause();
  }
  ASSERT_EQ(call.wait_for(2s), std::future_status::ready);
  const Outcome outcome = call.get();
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.result, kUntouched);
}

INSTANTIATE_TEST_SUITE_P(Faults, BadAnswerTest,
                         ::testing::Values("garbage", "http500", "soapfault", "truncated", "slow", "noanswer"));

}  // namespace
}  // namespace zx::test
