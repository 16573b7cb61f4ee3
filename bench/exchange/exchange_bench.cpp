// Exchange speed on the same input in one run: parsing a 5 MB update answer with CMarkup and
// with pugixml, MD5 and SHA-1 of 64 MiB against OpenSSL's EVP, and enciphering and deciphering
// 1 MB of text. Prints our speed relative to each yardstick at the end (above 1: faster).
// pugixml's yardstick is its fastest form of the same answer: the UTF-8 bytes parsed in place
// with parse_minimal, which like CMarkup's parse finds the elements and leaves the entities and
// line ends of the texts to whoever reads them.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstdio>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "DigestsMd5.h"
#include "DigestsSha1.h"
#include "ExchangeEncoding.h"
#include "Markup.h"
#include "ratio_reporter.h"

namespace {

constexpr std::size_t kAnswerBytes = 5 * 1000 * 1000;
constexpr std::size_t kDigestBytes = 64 * 1024 * 1024;
constexpr int kTextChars = 1000 * 1000;

// An update answer as the web service sends it: one group of driver elements per device.
const std::string& AnswerUtf8() {
  static const std::string text = [] {
    std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<UpdateResult>\r\n";
    for (int id = 0; out.size() < kAnswerBytes; ++id) {
      const std::string n = std::to_string(id);
      out += "  <Driver>\r\n    <driverid>" + std::to_string(id % 1024) + "</driverid>\r\n";
      out += "    <hardwareidentifier>PCI\\VEN_8086&amp;DEV_" + n + "&amp;SUBSYS_00000000&amp;REV_01</hardwareidentifier>\r\n";
      out += "    <hardwareid>pci\\ven_8086&amp;dev_" + n + "</hardwareid>\r\n";
      out += "    <infdate>06/21/2019</infdate>\r\n    <infpath>oem" + n + ".inf</infpath>\r\n";
      out += "    <version>10.1.18." + n + "</version>\r\n    <isSpecificCase>0</isSpecificCase>\r\n";
      out += "    <md5>0cc175b9c0f1b6a831c399e269772661</md5>\r\n    <isInstall>1</isInstall>\r\n";
      out += "    <downloadid>" + n + "</downloadid>\r\n    <severity>2</severity>\r\n    <riskLevel>1</riskLevel>\r\n";
      out += "    <liburl>http://127.0.0.1/packages/driver" + n + ".zip</liburl>\r\n";
      out += "    <CompatibleIdIdx>3</CompatibleIdIdx>\r\n    <featurescore>FF0000</featurescore>\r\n";
      out += "    <signaturescore>0</signaturescore>\r\n";
      out += "    <signer>Microsoft Windows Hardware Compatibility Publisher</signer>\r\n  </Driver>\r\n";
    }
    return out + "</UpdateResult>\r\n";
  }();
  return text;
}

const CString& AnswerWide() {
  static const CString text = [] {
    const std::string& narrow = AnswerUtf8();
    std::u16string wide(narrow.begin(), narrow.end());  // ASCII only
    return CString(wide.c_str(), static_cast<int>(wide.size()));
  }();
  return text;
}

const std::vector<BYTE>& DigestInput() {
  static const std::vector<BYTE> bytes = [] {
    std::vector<BYTE> out(kDigestBytes);
    unsigned state = 1;
    for (BYTE& b : out) {
      state = state * 1664525u + 1013904223u;
      b = static_cast<BYTE>(state >> 24);
    }
    return out;
  }();
  return bytes;
}

// The caller keeps its text: the document takes a copy. One document reads answer after
// answer, as the lookup's does, keeping its room.
void BM_MarkupParse(benchmark::State& state) {
  const CString& text = AnswerWide();
  CMarkup markup;
  for (auto _ : state) {
    if (!markup.SetDocumentText(text)) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(markup);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(AnswerUtf8().size()));
}

// The caller hands its text over; its copy is made outside the timing.
void BM_MarkupParseHandedOver(benchmark::State& state) {
  CMarkup markup;
  for (auto _ : state) {
    state.PauseTiming();
    CString text = AnswerWide();
    state.ResumeTiming();
    if (!markup.SetDocumentText(std::move(text))) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(markup);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(AnswerUtf8().size()));
}

// A new document for every answer, as pugixml makes one: all its room is fresh.
void BM_MarkupParseFreshDocument(benchmark::State& state) {
  const CString& text = AnswerWide();
  for (auto _ : state) {
    CMarkup markup;
    if (!markup.SetDocumentText(text)) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(markup);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(AnswerUtf8().size()));
}

// Each round parses a fresh copy of the bytes, made outside the timing.
void BM_PugixmlParseInPlace(benchmark::State& state) {
  const std::string& text = AnswerUtf8();
  for (auto _ : state) {
    state.PauseTiming();
    std::string bytes = text;
    state.ResumeTiming();
    pugi::xml_document document;
    if (!document.load_buffer_inplace(bytes.data(), bytes.size(), pugi::parse_minimal, pugi::encoding_utf8))
      state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(document);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_Md5(benchmark::State& state) {
  const std::vector<BYTE>& bytes = DigestInput();
  for (auto _ : state) benchmark::DoNotOptimize(CMD5Checksum::DigestHex(bytes.data(), static_cast<UINT>(bytes.size())));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

void BM_Sha1(benchmark::State& state) {
  const std::vector<BYTE>& bytes = DigestInput();
  for (auto _ : state) {
    CSHA1 sha;
    sha.Update(bytes.data(), static_cast<UINT>(bytes.size()));
    sha.Final();
    BYTE digest[20];
    sha.GetHash(digest);
    benchmark::DoNotOptimize(digest);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

void EvpDigest(benchmark::State& state, const EVP_MD* type) {
  const std::vector<BYTE>& bytes = DigestInput();
  for (auto _ : state) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &length, type, nullptr);
    benchmark::DoNotOptimize(digest);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

void BM_OpenSslMd5(benchmark::State& state) { EvpDigest(state, EVP_md5()); }
void BM_OpenSslSha1(benchmark::State& state) { EvpDigest(state, EVP_sha1()); }

CString PlainText() {
  CString text;
  const CString line = _T("<Device><Name>Intel(R) Ethernet Connection</Name><Id>PCI\\VEN_8086</Id></Device>\r\n");
  while (text.GetLength() < kTextChars) text += line;
  return text.Left(kTextChars);
}

void BM_Encipher(benchmark::State& state) {
  const CString plain = PlainText();
  for (auto _ : state) {
    CString text = plain;
    CString encoded;
    EncipherTextToHex(text, encoded);
    benchmark::DoNotOptimize(encoded);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kTextChars);
}

void BM_Decipher(benchmark::State& state) {
  CString plain = PlainText();
  CString encoded;
  EncipherTextToHex(plain, encoded);
  for (auto _ : state) {
    CString text = encoded;
    if (!getOutputStrFromHex(text) || text.GetLength() != kTextChars) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kTextChars);
}

// Each measured five times, the median counting, so a busy machine disturbs the ratios less.
#define ZX_EXCHANGE_BENCHMARK(name) \
  BENCHMARK(name)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true)
ZX_EXCHANGE_BENCHMARK(BM_MarkupParse);
ZX_EXCHANGE_BENCHMARK(BM_MarkupParseHandedOver);
ZX_EXCHANGE_BENCHMARK(BM_MarkupParseFreshDocument);
ZX_EXCHANGE_BENCHMARK(BM_PugixmlParseInPlace);
ZX_EXCHANGE_BENCHMARK(BM_Md5);
ZX_EXCHANGE_BENCHMARK(BM_OpenSslMd5);
ZX_EXCHANGE_BENCHMARK(BM_Sha1);
ZX_EXCHANGE_BENCHMARK(BM_OpenSslSha1);
ZX_EXCHANGE_BENCHMARK(BM_Encipher);
ZX_EXCHANGE_BENCHMARK(BM_Decipher);

}  // namespace

int main(int argc, char** argv) {
  return zx::bench::RunWithRatios(
      argc, argv,
      {
          {"XML parse vs pugixml UTF-8 in place, minimal", "BM_MarkupParse", "BM_PugixmlParseInPlace", 1.0},
          {"XML parse handed over vs pugixml in place", "BM_MarkupParseHandedOver", "BM_PugixmlParseInPlace", 1.0},
          {"XML parse, fresh document vs pugixml in place", "BM_MarkupParseFreshDocument", "BM_PugixmlParseInPlace", 0.5},
          {"MD5 vs OpenSSL EVP", "BM_Md5", "BM_OpenSslMd5", 0.9},
          {"SHA-1 vs OpenSSL EVP", "BM_Sha1", "BM_OpenSslSha1", 0.9},
      });
}
