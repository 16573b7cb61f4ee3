// Reading response envelopes: results under any prefix, nil and missing results, faults, and
// answers that are not the expected envelope, however hostile.
#include <gtest/gtest.h>

#include "zx/soapresultsink.h"
#include "zx/soapservices.h"
#include "zx/soapwire.h"

namespace zx::soap {
namespace {

std::string Wrap(const std::string& body, const std::string& prefix = "soap") {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?><" + prefix + ":Envelope xmlns:" + prefix +
         "=\"http://schemas.xmlsoap.org/soap/envelope/\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><" +
         prefix + ":Body>" + body + "</" + prefix + ":Body></" + prefix + ":Envelope>";
}

Response Read(const std::string& envelope) {
  return ReadResponse(envelope, kServiceNamespace, GetUpdateInfoOperation());
}

TEST(Response, TheResultPartIsRead) {
  const Response r = Read(Wrap("<GetUpdateInfoResponse xmlns=\"http://update.zephrin-tunevo.example/webservices/\">"
                               "<GetUpdateInfoResult>&lt;a&gt; &amp;&#xD;\n\xC3\xA9<![CDATA[<raw>]]></GetUpdateInfoResult>"
                               "</GetUpdateInfoResponse>"));
  ASSERT_EQ(r.kind, Response::Result);
  ASSERT_TRUE(r.result);
  EXPECT_EQ(*r.result, u"<a> &\r\n\u00e9<raw>");
}

TEST(Response, PrefixesDoNotMatterNamespacesDo) {
  const Response other = Read(Wrap("<u:GetUpdateInfoResponse xmlns:u=\"http://update.zephrin-tunevo.example/webservices/\">"
                                   "<u:GetUpdateInfoResult>  spaced  </u:GetUpdateInfoResult></u:GetUpdateInfoResponse>",
                                   "env"));
  ASSERT_EQ(other.kind, Response::Result);
  EXPECT_EQ(*other.result, u"  spaced  ");
  const Response wrong = Read(Wrap("<GetUpdateInfoResponse xmlns=\"urn:somebody-else\">"
                                   "<GetUpdateInfoResult>x</GetUpdateInfoResult></GetUpdateInfoResponse>"));
  EXPECT_EQ(wrong.kind, Response::Malformed);
  const Response otherOperation =
      Read(Wrap("<UploadFileResponse xmlns=\"http://update.zephrin-tunevo.example/webservices/\"/>"));
  EXPECT_EQ(otherOperation.kind, Response::Malformed);
}

TEST(Response, NilOrMissingResultsAreNoText) {
  const Response nil = Read(Wrap("<GetUpdateInfoResponse xmlns=\"http://update.zephrin-tunevo.example/webservices/\">"
                                 "<GetUpdateInfoResult xsi:nil=\"true\"/></GetUpdateInfoResponse>"));
  EXPECT_EQ(nil.kind, Response::Result);
  EXPECT_FALSE(nil.result);
  const Response missing =
      Read(Wrap("<GetUpdateInfoResponse xmlns=\"http://update.zephrin-tunevo.example/webservices/\"/>"));
  EXPECT_EQ(missing.kind, Response::Result);
  EXPECT_FALSE(missing.result);
  const Response empty = Read(Wrap("<GetUpdateInfoResponse xmlns=\"http://update.zephrin-tunevo.example/webservices/\">"
                                   "<GetUpdateInfoResult/></GetUpdateInfoResponse>"));
  ASSERT_TRUE(empty.result);
  EXPECT_EQ(*empty.result, u"");
}

// Collects what a sink is handed.
class Collected : public ResultSink {
 public:
  void Begin(std::size_t announced) override {
    ++begun;
    this->announced = announced;
    text.clear();
    pieces = 0;
  }
  void Take(std::u16string_view piece) override {
    text += piece;
    ++pieces;
  }
  int begun = 0;
  std::size_t announced = 0;
  std::size_t pieces = 0;
  std::u16string text;
};

// A large result goes to the thread's sink in pieces, never cut inside a character, and the
// string handed over is empty; a nil result begins one with no text; with the sink gone, the
// string holds the text again.
TEST(Response, AResultGoesToTheThreadsSinkInPieces) {
  std::string large;
  std::u16string expected;
  for (int i = 0; i < 20000; ++i) {
    large += "ab\xE2\x82\xAC\xF0\x9F\x98\x80";
    expected += u"ab\u20AC\U0001F600";
  }
  const std::string envelope = Wrap("<GetUpdateInfoResponse xmlns=\"http://update.zephrin-tunevo.example/webservices/\">"
                                    "<GetUpdateInfoResult>" + large + "</GetUpdateInfoResult></GetUpdateInfoResponse>");
  Collected sink;
  {
    ScopedResultSink streamed(sink);
    const Response r = Read(envelope);
    ASSERT_EQ(r.kind, Response::Result);
    ASSERT_TRUE(r.result);
    EXPECT_EQ(*r.result, u"");
    EXPECT_EQ(sink.text, expected);
    EXPECT_EQ(sink.announced, expected.size());
    EXPECT_GT(sink.pieces, 1u);
    const Response nil = Read(Wrap("<GetUpdateInfoResponse xmlns=\"http://update.zephrin-tunevo.example/webservices/\">"
                                   "<GetUpdateInfoResult xsi:nil=\"true\"/></GetUpdateInfoResponse>"));
    EXPECT_FALSE(nil.result);
    EXPECT_EQ(sink.begun, 3);
    EXPECT_EQ(sink.text, u"");
  }
  EXPECT_EQ(*Read(envelope).result, expected);
  EXPECT_EQ(CurrentResultSink(), nullptr);
}

// An envelope read as it arrives, in blocks of `block` bytes.
Response Streamed(const std::string& envelope, std::size_t block) {
  ResponseStream stream(GetUpdateInfoOperation().resultPart, envelope.size());
  for (std::size_t at = 0; at < envelope.size(); at += block) stream.Take(std::string_view(envelope).substr(at, block));
  return stream.Finish(kServiceNamespace, GetUpdateInfoOperation());
}

// Read as it arrives, in blocks of every size, an envelope says what it says read whole: into
// a sink, its plain ASCII goes on before the rest of the text is read from what was kept.
TEST(Response, AnEnvelopeReadAsItArrivesSaysTheSame) {
  const std::string ns = "xmlns=\"http://update.zephrin-tunevo.example/webservices/\"";
  const std::string digits(40000, '7');
  const auto result = [&](const std::string& tag, const std::string& text) {
    return Wrap("<GetUpdateInfoResponse " + ns + "><" + tag + ">" + text + "</" + tag.substr(0, tag.find(' ')) +
                "></GetUpdateInfoResponse>");
  };
  const std::string cases[] = {
      result("GetUpdateInfoResult", digits),
      result("GetUpdateInfoResult", digits + "\r\n" + digits),
      result("GetUpdateInfoResult", digits + "&amp;" + digits),
      result("GetUpdateInfoResult", digits + "\xC3\xA9" + digits),
      result("GetUpdateInfoResult", digits + "<![CDATA[<x>]]><!-- y -->" + digits),
      result("GetUpdateInfoResult a=\"x>y\" b='>'", digits),
      result("GetUpdateInfoResult xsi:nil=\"true\"", digits),
      result("GetUpdateInfoResult", ""),
      result("GetUpdateInfoResult", digits + "<b>x</b>"),
      Wrap("<u:GetUpdateInfoResponse xmlns:u=\"http://update.zephrin-tunevo.example/webservices/\">"
           "<u:GetUpdateInfoResult>" + digits + "</u:GetUpdateInfoResult></u:GetUpdateInfoResponse>", "env"),
      Wrap("<GetUpdateInfoResponse " + ns + "><GetUpdateInfoResult/></GetUpdateInfoResponse>"),
      Wrap("<GetUpdateInfoResponse xmlns=\"urn:somebody-else\"><GetUpdateInfoResult>" + digits +
           "</GetUpdateInfoResult></GetUpdateInfoResponse>"),
      Wrap("<soap:Fault><faultcode>soap:Server</faultcode><faultstring>down</faultstring></soap:Fault>"),
      result("GetUpdateInfoResult", digits).substr(0, 30000),
  };
  for (const std::string& envelope : cases) {
    Collected whole;
    Response expected;
    {
      ScopedResultSink streamed(whole);
      expected = Read(envelope);
    }
    // Read whole, a sink gets the string's text, an ASCII one as its bytes widened.
    const Response plainWhole = Read(envelope);
    EXPECT_EQ(whole.announced, whole.text.size());
    if (plainWhole.result) {
      EXPECT_EQ(whole.text, *plainWhole.result);
    }
    if (whole.text.size() > 16384) {
      EXPECT_GT(whole.pieces, 1u);
    }
    for (const std::size_t block : {std::size_t{1}, std::size_t{7}, std::size_t{16384}}) {
      Collected sink;
      Response r;
      {
        ScopedResultSink streamed(sink);
        r = Streamed(envelope, block);
      }
      EXPECT_EQ(r.kind, expected.kind) << envelope.substr(0, 400) << " in blocks of " << block;
      EXPECT_EQ(static_cast<bool>(r.result), static_cast<bool>(expected.result));
      EXPECT_TRUE(sink.text == whole.text) << sink.text.size() << " units of " << whole.text.size();
      // Without a sink the string holds the text.
      const Response plain = Streamed(envelope, block);
      EXPECT_EQ(plain.kind, plainWhole.kind);
      EXPECT_TRUE(plain.result ? plainWhole.result && *plain.result == *plainWhole.result : !plainWhole.result);
    }
  }
}

// A byte that does not stand for itself ends the run of plain bytes sent on at any place of
// the blocks scanned at once: the text from it on is read from the envelope kept.
TEST(Response, ThePlainRunEndsAtEveryPlace) {
  for (const std::string odd : {"&amp;", "\r", "\xC3\xA9", "\x1F"})
    for (std::size_t at = 0; at < 70; ++at) {
      const std::string envelope =
          Wrap("<GetUpdateInfoResponse xmlns=\"http://update.zephrin-tunevo.example/webservices/\"><GetUpdateInfoResult>" +
               std::string(at, '7') + odd + std::string(90, 'A') + "</GetUpdateInfoResult></GetUpdateInfoResponse>");
      const std::u16string whole(*Read(envelope).result);
      Collected sink;
      ScopedResultSink streamed(sink);
      EXPECT_EQ(Streamed(envelope, 16384).kind, Response::Result);
      EXPECT_TRUE(sink.text == whole) << "at " << at << ": " << sink.text.size() << " units";
    }
}

// The text of a start tag named as the result but not the result's cannot be taken back: the
// envelope is malformed and the sink forgets it, as it does an answer that did not come whole.
TEST(Response, TextSentOnFromAnotherElementIsForgotten) {
  const std::string envelope =
      Wrap("<GetUpdateInfoResponse xmlns=\"http://update.zephrin-tunevo.example/webservices/\"><x><GetUpdateInfoResult>"
           "early</GetUpdateInfoResult></x><GetUpdateInfoResult>late</GetUpdateInfoResult></GetUpdateInfoResponse>");
  Collected sink;
  ScopedResultSink streamed(sink);
  EXPECT_EQ(Streamed(envelope, 5).kind, Response::Malformed);
  EXPECT_EQ(sink.text, u"");
  ResponseStream cut(GetUpdateInfoOperation().resultPart, 0);
  cut.Take(Wrap("<GetUpdateInfoResponse xmlns=\"http://update.zephrin-tunevo.example/webservices/\">"
                "<GetUpdateInfoResult>0123"));
  EXPECT_EQ(sink.text, u"0123");
  cut.Abandon();
  EXPECT_EQ(sink.text, u"");
}

TEST(Response, FaultsAreReadFieldByField) {
  const Response r = Read(Wrap("<soap:Fault><faultcode>soap:Server</faultcode><faultstring>No &amp; way</faultstring>"
                               "<faultactor>http://a/</faultactor><detail>more</detail></soap:Fault>"));
  ASSERT_EQ(r.kind, Response::Fault);
  EXPECT_EQ(r.fault.m_strFaultCode, u"soap:Server");
  EXPECT_EQ(r.fault.m_strFaultString, u"No & way");
  EXPECT_EQ(r.fault.m_strFaultActor, u"http://a/");
  EXPECT_EQ(r.fault.m_strDetail, u"more");
  EXPECT_FALSE(r.result);
}

TEST(Response, AnythingElseIsMalformed) {
  const std::string ns = "xmlns=\"http://update.zephrin-tunevo.example/webservices/\"";
  for (const std::string& text : {
           std::string(),
           std::string("<html><body>Internal Server Error</body></html>"),
           std::string("\x89PNG\r\n\x1a\n\xff\xfe<<<garbage"),
           Wrap("<GetUpdateInfoResponse " + ns + "><GetUpdateInfoResult>cut"),
           Wrap(""),
           Wrap("<GetUpdateInfoResponse " + ns + "><GetUpdateInfoResult><b>x</b></GetUpdateInfoResult></GetUpdateInfoResponse>"),
           Wrap("<GetUpdateInfoResponse " + ns + "><GetUpdateInfoResult>\xC3(</GetUpdateInfoResult></GetUpdateInfoResponse>"),
           std::string("<Envelope><Body><GetUpdateInfoResponse/></Body></Envelope>"),
       }) {
    EXPECT_EQ(Read(text).kind, Response::Malformed) << text;
  }
}

TEST(Response, DeepNestingFailsWithoutHarm) {
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "<a>";
  EXPECT_EQ(Read(Wrap(deep)).kind, Response::Malformed);
  std::string closed = deep;
  for (int i = 0; i < 100000; ++i) closed += "</a>";
  EXPECT_EQ(Read(Wrap(closed)).kind, Response::Malformed);
}

}  // namespace
}  // namespace zx::soap
