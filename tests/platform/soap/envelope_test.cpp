// Request envelopes byte for byte: element names and part order on the wire, escaping, nil,
// booleans, base64 and text XML cannot carry.
#include <gtest/gtest.h>

#include <memory>

#include "zx/soapservices.h"

namespace zx::soap {
namespace {

constexpr const char* kHead =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
    "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body>";
constexpr const char* kTail = "</soap:Body></soap:Envelope>";

struct FreeString {
  void operator()(OLECHAR* text) const { SysFreeString(text); }
};
using Text = std::unique_ptr<OLECHAR, FreeString>;
Text Make(const std::u16string& text) {
  return Text(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

std::string Envelope(const std::string& body) { return kHead + body + kTail; }

TEST(Envelope, UpdateInfoWithOptionsCarriesItsThreePartsInOrder) {
  const Text input = Make(u"A&B<\r\n>\"'");
  const PartValue parts[] = {PartValue::String(input.get()), PartValue::Boolean(true), PartValue::Boolean(false)};
  EXPECT_EQ(WriteRequest(kServiceNamespace, GetUpdateInfoWithEncryptOptionsOperation(), parts),
            Envelope("<GetUpdateInfoWithEncryptOptions xmlns=\"http://update.zephrin-tunevo.example/webservices/\">"
                     "<input>A&amp;B&lt;&#xD;\n&gt;\"'</input><b_isInputEncrypted>true</b_isInputEncrypted>"
                     "<b_useOutputEncrypted>false</b_useOutputEncrypted></GetUpdateInfoWithEncryptOptions>"));
}

TEST(Envelope, EveryOperationNamesItsPartsAsTheServiceDoes) {
  const struct {
    const OperationDescription& operation;
    const char* parts;
    const char* result;
  } expected[] = {
      {GetUpdateInfoOperation(), "input", "GetUpdateInfoResult"},
      {GetUpdateInfoWithEncryptOptionsOperation(), "input b_isInputEncrypted b_useOutputEncrypted",
       "GetUpdateInfoWithEncryptOptionsResult"},
      {GetDownloadInformationWithEncryptOptionsOperation(), "input b_isInputEncrypted b_useOutputEncrypted",
       "GetDownloadInformationWithEncryptOptionsResult"},
      {UploadFileOperation(), "buffer", "UploadFileResult"},
      {MsUploadFeedbackOperation(), "input filename", "MS_UploadFeedbackResult"},
      {UploadFeedbackOperation(), "input filename", "UploadFeedbackResult"},
  };
  for (const auto& e : expected) {
    std::string names;
    for (const PartDescription& part : e.operation.parts) names += (names.empty() ? "" : " ") + std::string(part.name);
    EXPECT_EQ(names, e.parts) << e.operation.name;
    EXPECT_STREQ(e.operation.resultPart, e.result);
  }
  EXPECT_EQ(UploadFileOperation().parts[0].type, PartType::Base64Binary);
  EXPECT_EQ(GetDownloadInformationWithEncryptOptionsOperation().parts[2].type, PartType::Boolean);
}

TEST(Envelope, NullStringsAreNil) {
  const Text name = Make(u"f.xml");
  const PartValue parts[] = {PartValue::String(nullptr), PartValue::String(name.get())};
  EXPECT_EQ(WriteRequest(kServiceNamespace, MsUploadFeedbackOperation(), parts),
            Envelope("<MS_UploadFeedback xmlns=\"http://update.zephrin-tunevo.example/webservices/\">"
                     "<input xsi:nil=\"true\"/><filename>f.xml</filename></MS_UploadFeedback>"));
}

TEST(Envelope, TextTravelsAsUtf8) {
  const Text input = Make(u"\u00e9\u20ac\U0001F600");
  const PartValue parts[] = {PartValue::String(input.get())};
  const auto envelope = WriteRequest(kServiceNamespace, GetUpdateInfoOperation(), parts);
  ASSERT_TRUE(envelope);
  EXPECT_NE(envelope->find("<input>\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80</input>"), std::string::npos);
  // Runs of ASCII, markup and other characters in turn.
  const Text mixed = Make(u"a\u00e9<b\U0001F600&\u00e9c");
  const PartValue mixedParts[] = {PartValue::String(mixed.get())};
  const auto mixedEnvelope = WriteRequest(kServiceNamespace, GetUpdateInfoOperation(), mixedParts);
  ASSERT_TRUE(mixedEnvelope);
  EXPECT_NE(mixedEnvelope->find("<input>a\xC3\xA9&lt;b\xF0\x9F\x98\x80&amp;\xC3\xA9" "c</input>"), std::string::npos);
}

TEST(Envelope, TextXmlCannotCarryIsRefused) {
  for (const std::u16string& text : {std::u16string(u"a\x0001"), std::u16string(1, u'\0'), std::u16string(1, u'\xFFFE'),
                                     std::u16string(1, u'\xD800'), std::u16string(u"x") + u'\xDC00'}) {
    const Text input = Make(text);
    const PartValue parts[] = {PartValue::String(input.get())};
    EXPECT_FALSE(WriteRequest(kServiceNamespace, GetUpdateInfoOperation(), parts));
  }
}

TEST(Envelope, PartsMustMatchTheOperation) {
  const PartValue one[] = {PartValue::Boolean(true)};
  EXPECT_FALSE(WriteRequest(kServiceNamespace, GetUpdateInfoWithEncryptOptionsOperation(), one));
}

TEST(Envelope, BytesGoAsBase64) {
  unsigned char bytes[] = {'f', 'o', 'o', 'b', 'a', 0x00, 0xFF};
  const PartValue parts[] = {PartValue::Bytes({sizeof(bytes), bytes})};
  EXPECT_EQ(WriteRequest(kServiceNamespace, UploadFileOperation(), parts),
            Envelope("<UploadFile xmlns=\"http://update.zephrin-tunevo.example/webservices/\">"
                     "<buffer>Zm9vYmEA/w==</buffer></UploadFile>"));
  const PartValue missing[] = {PartValue::Bytes({4, nullptr})};
  EXPECT_FALSE(WriteRequest(kServiceNamespace, UploadFileOperation(), missing));
}

TEST(Base64, MatchesTheStandardVectors) {
  const auto encode = [](const std::string& text) {
    return Base64(reinterpret_cast<const unsigned char*>(text.data()), text.size());
  };
  EXPECT_EQ(encode(""), "");
  EXPECT_EQ(encode("f"), "Zg==");
  EXPECT_EQ(encode("fo"), "Zm8=");
  EXPECT_EQ(encode("foo"), "Zm9v");
  EXPECT_EQ(encode("foob"), "Zm9vYg==");
  EXPECT_EQ(encode("fooba"), "Zm9vYmE=");
  EXPECT_EQ(encode("foobar"), "Zm9vYmFy");
}

}  // namespace
}  // namespace zx::soap
