// The stand-in's answers to the update checker: the program and database queries answered from
// the catalogue folder's files with the host, a file's SHA-1 and its size filled in, the setup
// programs served by plain name, and 404 for what the folder does not hold.
#include <gtest/gtest.h>

#include <memory>

#include "standin.h"

namespace zx::test {
namespace {

class CheckerAnswers : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    WriteSampleCatalogue(catalogue_.path());
    WriteHostFile(catalogue_.path() + "/Setup.exe", "abc");
    WriteHostFile(catalogue_.path() + "/LatestVersion.htm",
                  "[Application]\r\nPROGRAM_URL=http://{host}/setups/Setup.exe\r\nPROGRAM_SIZE={size:Setup.exe}\r\n"
                  "Hash={sha1:Setup.exe}\r\nMissing={sha1:None.exe}{size:../catalogue.ini}\r\nKeep={other}\r\n");
    service_ = std::make_unique<StandIn>(StandInOptions(catalogue_.path(), ""));
    ASSERT_GT(service_->port(), 0);
  }
  TempFolder catalogue_;
  std::unique_ptr<StandIn> service_;
};

TEST_F(CheckerAnswers, TheProgramAnswerIsFilledIn) {
  const HttpAnswer answer = Get(service_->port(), "/updatekx/c4u.cgi?currentapplicationid=5.1.0.10");
  EXPECT_EQ(answer.status, 200);
  EXPECT_EQ(answer.body, "[Application]\r\nPROGRAM_URL=http://127.0.0.1:" + std::to_string(service_->port()) +
                             "/setups/Setup.exe\r\nPROGRAM_SIZE=3\r\n"
                             "Hash=A9993E364706816ABA3E25717850C26C9CD0D89D\r\nMissing=\r\nKeep={other}\r\n");
  EXPECT_EQ(service_->NextLine(), "GET /updatekx/c4u.cgi HTTP/1.1");
}

TEST_F(CheckerAnswers, SetupsAreServedByPlainName) {
  EXPECT_EQ(Get(service_->port(), "/setups/Setup.exe").body, "abc");
  EXPECT_EQ(Get(service_->port(), "/setups/None.exe").status, 404);
  EXPECT_EQ(Get(service_->port(), "/setups/..%2Fcatalogue.ini").status, 404);
  EXPECT_EQ(Get(service_->port(), "/updatekx/c4udb.cgi").status, 404);  // no database answer here
}

}  // namespace
}  // namespace zx::test
