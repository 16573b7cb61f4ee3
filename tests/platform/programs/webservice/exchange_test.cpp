// The stand-in's enciphered exchange: it deciphers enciphered input and enciphers its answer
// with the shared library's exchange text, so the clients' own encoder and decoder meet it.
#include <gtest/gtest.h>

#include <ExchangeEncoding.h>

#include "standin.h"

namespace zx::test {
namespace {

std::string Narrow(const CString& text) {
  return std::string(text.GetString(), text.GetString() + text.GetLength());
}

// The text between the result element's tags.
std::string ResultText(const std::string& body, const std::string& operation) {
  const std::string open = "<" + operation + "Result>";
  const std::size_t start = body.find(open);
  const std::size_t end = body.find("</" + operation + "Result>");
  if (start == std::string::npos || end == std::string::npos) return "<none>";
  return body.substr(start + open.size(), end - start - open.size());
}

TEST(StandInExchange, EncipheredBothWays) {
  TempFolder catalogue;
  WriteSampleCatalogue(catalogue.path());
  StandIn standIn({catalogue.path(), ""});
  CString scan = _T("  <newdataset><device><driverid>2</driverid><matchingid>PCI\\VEN_8086&amp;DEV_15B8&amp;")
                 _T("SUBSYS_86721043</matchingid></device></newdataset>  ");
  CString encoded;
  ASSERT_TRUE(EncipherTextToHex(scan, encoded));
  const HttpAnswer answer =
      Post(standIn.port(), "/updateservice/updateservice.asmx", SoapAction("GetUpdateInfoWithEncryptOptions"),
           SoapRequest("GetUpdateInfoWithEncryptOptions", "<input>" + Narrow(encoded) +
                                                              "</input><b_isInputEncrypted>true</b_isInputEncrypted>"
                                                              "<b_useOutputEncrypted>true</b_useOutputEncrypted>"));
  ASSERT_EQ(answer.status, 200);
  const std::string result = ResultText(answer.body, "GetUpdateInfoWithEncryptOptions");
  EXPECT_EQ(result.find_first_not_of("0123456789ABCDEF"), std::string::npos);
  CString plain(result.c_str());
  ASSERT_TRUE(getOutputStrFromHex(plain));
  const std::string document = Narrow(plain);
  EXPECT_EQ(document.rfind("<newdataset><driver><driverid>2</driverid><hardwareidentifier>"
                           "pci\\ven_8086&amp;dev_15b8&amp;subsys_86721043</hardwareidentifier>", 0),
            0u)
      << document;
  EXPECT_NE(document.find("<signer>0</signer></driver></newdataset>"), std::string::npos);
}

}  // namespace
}  // namespace zx::test
