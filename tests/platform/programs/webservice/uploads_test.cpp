// Uploads kept by the stand-in: every one in its folder, under a name that cannot leave it,
// never replacing an earlier one.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "standin.h"

namespace zx::test {
namespace {

constexpr const char* kMisc = "/miscservice/miscservice.asmx";

class UploadsTest : public MachineTest {
 protected:
  HttpAnswer Feedback(StandIn& standIn, const std::string& operation, const std::string& input,
                      const std::string& fileName) {
    return Post(standIn.port(), kMisc, SoapAction(operation),
                SoapRequest(operation, "<input>" + input + "</input>" + fileName));
  }
  std::set<std::string> Stored() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(uploads_.path()))
      names.insert(entry.path().filename().string());
    return names;
  }
  std::string Read(const std::string& name) const { return ReadHostFile(uploads_.path() + "/" + name); }

  TempFolder uploads_;
};

TEST_F(UploadsTest, FeedbackIsKeptUnderItsFileName) {
  StandIn standIn({"", uploads_.path()});
  const HttpAnswer answer = Feedback(standIn, "MS_UploadFeedback", "&lt;feedback&gt;caf\xC3\xA9&lt;/feedback&gt;",
                                     "<filename>ZephrinKX-Feedback 20240131T09_0507PM 123.xml</filename>");
  EXPECT_EQ(answer.status, 200);
  EXPECT_NE(answer.body.find("<MS_UploadFeedbackResult>1</MS_UploadFeedbackResult>"), std::string::npos);
  EXPECT_EQ(Stored(), (std::set<std::string>{"ZephrinKX-Feedback 20240131T09_0507PM 123.xml"}));
  EXPECT_EQ(Read("ZephrinKX-Feedback 20240131T09_0507PM 123.xml"), "<feedback>caf\xC3\xA9</feedback>");
  EXPECT_EQ(standIn.NextLine(), "POST MS_UploadFeedback HTTP/1.1");
}

TEST_F(UploadsTest, NamesNeverLeaveTheFolderNorReplaceEachOther) {
  StandIn standIn({"", uploads_.path()});
  EXPECT_EQ(Feedback(standIn, "UploadFeedback", "one", "<filename>../../etc/passwd</filename>").status, 200);
  EXPECT_EQ(Feedback(standIn, "UploadFeedback", "two", "<filename>..\\..\\passwd</filename>").status, 200);
  EXPECT_EQ(Feedback(standIn, "UploadFeedback", "three", "<filename>a:b*?.xml</filename>").status, 200);
  EXPECT_EQ(Feedback(standIn, "UploadFeedback", "four", "<filename>...</filename>").status, 200);
  EXPECT_EQ(Feedback(standIn, "UploadFeedback", "five", "<filename xsi:nil=\"true\"/>").status, 200);
  EXPECT_EQ(Stored(), (std::set<std::string>{"passwd", "passwd (2)", "a_b__.xml", "feedback-4.xml", "feedback-5.xml"}));
  EXPECT_EQ(Read("passwd"), "one");
  EXPECT_EQ(Read("passwd (2)"), "two");
  EXPECT_EQ(Read("feedback-5.xml"), "five");
}

TEST_F(UploadsTest, FilesArriveAsTheirDecodedBytes) {
  StandIn standIn({"", uploads_.path()});
  const HttpAnswer answer =
      Post(standIn.port(), kMisc, SoapAction("UploadFile"), SoapRequest("UploadFile", "<buffer>aABpAA==</buffer>"));
  EXPECT_EQ(answer.status, 200);
  EXPECT_EQ(Read("upload-1.bin"), std::string("h\0i\0", 4));
  const HttpAnswer bad =
      Post(standIn.port(), kMisc, SoapAction("UploadFile"), SoapRequest("UploadFile", "<buffer>a=AA</buffer>"));
  EXPECT_EQ(bad.status, 500);
  EXPECT_EQ(Stored().size(), 1u);
}

TEST_F(UploadsTest, WithoutAnUploadFolderUploadsAreRefused) {
  StandIn standIn({"", ""});
  const HttpAnswer answer = Feedback(standIn, "UploadFeedback", "x", "<filename>f.xml</filename>");
  EXPECT_EQ(answer.status, 500);
  EXPECT_NE(answer.body.find("<faultcode>soap:Server</faultcode>"), std::string::npos);
}

}  // namespace
}  // namespace zx::test
