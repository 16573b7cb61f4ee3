// The stand-in's enciphered exchange: it deciphers enciphered input and enciphers its answer
// with the shared library's exchange text, so the clients' own encoder and decoder meet it.
#include <gtest/gtest.h>

#include <ExchangeEncoding.h>

#include "standin.h"
#include "zx/utf8text.h"

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

std::string EscapedMarkup(const std::string& text) {
  std::string out;
  for (const char c : text) out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
  return out;
}

// An answer of megabytes goes out in pieces: the same digest and digits as the whole text
// enciphered at once, and the same document as the plain answer, in ASCII or not.
TEST(StandInExchange, ALongAnswerIsItsWholeTextEnciphered) {
  TempFolder catalogue;
  WriteSampleCatalogue(catalogue.path());
  StandIn standIn({catalogue.path(), ""});
  for (const std::string driverName : {"e", "\xC3\xA9"}) {
    std::string scan = "<newdataset>";
    for (int device = 0; device < 1500; ++device)
      scan += "<device><driverid>" + driverName + std::to_string(device) +
              "</driverid><matchingid>PCI\\VEN_8086&amp;DEV_15B8&amp;SUBSYS_86721043</matchingid></device>";
    scan += "</newdataset>";
    const auto ask = [&](bool enciphered) {
      return Post(standIn.port(), "/updateservice/updateservice.asmx", SoapAction("GetUpdateInfoWithEncryptOptions"),
                  SoapRequest("GetUpdateInfoWithEncryptOptions",
                              "<input>" + EscapedMarkup(scan) + "</input><b_isInputEncrypted>false</b_isInputEncrypted>"
                              "<b_useOutputEncrypted>" + (enciphered ? "true" : "false") + "</b_useOutputEncrypted>"));
    };
    const HttpAnswer plain = ask(false);
    const HttpAnswer enciphered = ask(true);
    ASSERT_EQ(enciphered.status, 200);
    EXPECT_EQ(enciphered.contentLength, std::to_string(enciphered.body.size()));
    const std::string digits = ResultText(enciphered.body, "GetUpdateInfoWithEncryptOptions");
    ASSERT_GT(digits.size(), 1u << 20);
    EXPECT_EQ(digits.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    CString document(digits.c_str());
    ASSERT_TRUE(getOutputStrFromHex(document));
    const std::u16string_view units(document.GetString(), static_cast<std::size_t>(document.GetLength()));
    EXPECT_EQ(digits.substr(0, 32), Narrow(DigestOf(units))) << driverName;
    EXPECT_EQ(EscapedMarkup(inet::ToUtf8(units).value_or("<not UTF-16>")),
              ResultText(plain.body, "GetUpdateInfoWithEncryptOptions"))
        << driverName;
  }
}

}  // namespace
}  // namespace zx::test
