// The stand-in's update answer over a catalogue whose entries share ids: every entry that lists
// an id answers once for it, in catalogue order, with its own spelling of the id.
#include <gtest/gtest.h>

#include <fstream>

#include "standin.h"

namespace zx::test {
namespace {

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(StandInCatalogueIds, EveryEntryListingAnIdAnswersOnceInCatalogueOrder) {
  TempFolder catalogue;
  std::ofstream(catalogue.path() + "/p.zip", std::ios::binary) << "bytes";
  std::ofstream(catalogue.path() + "/catalogue.ini", std::ios::binary)
      << "[first]\nhardwareids = USB\\VID_1&PID_2|usb\\vid_1&pid_2\nversion = 1.0\ndate = 2016-01-01\n"
         "inf = a.inf\npackage = p.zip\n"
         "[second]\nhardwareids = Usb\\Vid_1&Pid_2\nversion = 2.0\ndate = 2016-01-02\ninf = b.inf\npackage = p.zip\n"
         "[other]\nhardwareids = USB\\VID_9\nversion = 3.0\ndate = 2016-01-03\ninf = c.inf\npackage = p.zip\n";
  StandIn standIn(StandInOptions(catalogue.path(), {}));
  ASSERT_GT(standIn.port(), 0);
  const std::string scan =
      "&lt;newdataset&gt;&lt;device&gt;&lt;driverid&gt;7&lt;/driverid&gt;&lt;matchingid&gt;usb\\vid_1&amp;amp;pid_2"
      "&lt;/matchingid&gt;&lt;/device&gt;&lt;/newdataset&gt;";
  const HttpAnswer answer = Post(standIn.port(), "/updateservice/updateservice.asmx", SoapAction("GetUpdateInfo"),
                                 SoapRequest("GetUpdateInfo", "<input>" + scan + "</input>"));
  ASSERT_EQ(answer.status, 200);
  EXPECT_EQ(Count(answer.body, "&lt;driver&gt;"), 2u) << answer.body;
  const std::size_t first = answer.body.find("USB\\VID_1&amp;amp;PID_2");
  const std::size_t second = answer.body.find("Usb\\Vid_1&amp;amp;Pid_2");
  ASSERT_NE(first, std::string::npos) << answer.body;
  ASSERT_NE(second, std::string::npos);
  EXPECT_LT(first, second);
  EXPECT_EQ(answer.body.find("USB\\VID_9"), std::string::npos);
}

}  // namespace
}  // namespace zx::test
