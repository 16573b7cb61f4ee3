// The update lookup of the generated workstation (2,000 present devices): writing the scan
// request, reading and deciphering the service's answer of 20,000 entries as the SOAP client
// hands it over, reading it into answer records and matching them to the devices, each step
// on its own and the three main steps together; then the peak resident memory of the whole
// run. Goals: the answer document under 10 ms, the whole lookup under 50 ms, the peak under
// 120 MB.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "DigestsMd5.h"
#include "DriverScanUpdate.h"
#include "EngineCallbacks.h"
#include "ExchangeAnswerReader.h"
#include "ExchangeEncoding.h"
#include "TextViews.h"
#include "UpdateAnswer.h"
#include "peak_memory.h"
#include "seeded_workstation.h"
#include "zx/soapservices.h"
#include "zx/soapwire.h"

namespace {

constexpr int kAnswerEntries = 20000;
constexpr int kLongestEntry = 1000;

// The answer's characters are ASCII: the fixture keeps it a byte a character, so that its own
// copy weighs less on the peak than the lookup's.
CString Wide(const std::string& text) {
  CString wide;
  LPTSTR out = wide.GetBufferSetLength(static_cast<int>(text.size()));
  std::copy(text.begin(), text.end(), out);
  wide.ReleaseBufferSetLength(static_cast<int>(text.size()));
  return wide;
}

std::string Narrow(const CString& text) { return std::string(text.GetString(), text.GetString() + text.GetLength()); }

// The seeded workstation scanned once, and an answer of 20,000 entries for its devices.
class LookupFixture {
  zx::bench::SeededWorkstation machine_;  // first: the root exists before the engine

 public:
  LookupFixture() : machine_("zx-lookup-bench") {
    // The scan reports its records to a progress view, which goes once the engine has taken
    // them.
    CEngineProgressView view;
    SetEngineProgressView(&view);
    if (engine.ReportScanEnd(_T("")) != 32 || engine.GetDeviceCount() < 1000) {
      std::fprintf(stderr, "the workstation scan failed\n");
      std::abort();
    }
    SetEngineProgressView(nullptr);
    BuildAnswer();
  }

  CDriverScanUpdate engine;
  std::string answer;

 private:
  // Ten entries per device: its hardware id and its ids without revision and subsystem, under
  // versions above and below its own, so that matching meets every kind of record. Entries
  // come grouped by device in rising driverid order, as the service writes them.
  // The room of the whole answer is asked for at once (no entry is longer than this), so that
  // the text never moves while it grows.
  void BuildAnswer() {
    const int devices = engine.GetDeviceCount();
    CString text;
    text.Preallocate(kAnswerEntries * kLongestEntry);
    text = _T("<newdataset>\r\n");
    for (int index = 0; index < devices; ++index) {
      for (int n = index; n < kAnswerEntries; n += devices) AddEntry(text, index, n);
    }
    text += _T("</newdataset>");
    answer = Narrow(text);
  }

  // The entry n of the answer, for the device at `index`.
  void AddEntry(CString& text, int index, int n) {
    const int devices = engine.GetDeviceCount();
    const tagDeviceDriverInfo& device = *engine.GetDevices()->GetAt(index);
    CString id = device.szText[kSlotHardwareId].Text();
    id.MakeLower();
    if (n / devices % 3 == 1 && id.Find(_T("&rev_")) > 0) id = id.Left(id.Find(_T("&rev_")));
    if (n / devices % 3 == 2 && id.Find(_T("&subsys_")) > 0) id = id.Left(id.Find(_T("&subsys_")));
    CString group;
    group.Format(_T("<driver>\r\n<driverid>%d</driverid>\r\n<hardwareidentifier>%s</hardwareidentifier>\r\n"
                    "<hardwareid>%s</hardwareid>\r\n<infdate>2016-05-1%d</infdate>\r\n"
                    "<infpath>extract\\drv%d\\driver.inf</infpath>\r\n<version>%d.%d.0.%d</version>\r\n"
                    "<isSpecificCase>0</isSpecificCase>\r\n<md5>0123456789abcdef0123456789abcd%02d</md5>\r\n"
                    "<isInstall>1</isInstall>\r\n<downloadid>%d</downloadid>\r\n<severity>%d</severity>\r\n"
                    "<riskLevel>0</riskLevel>\r\n<liburl/>\r\n<CompatibleIdIdx>%d</CompatibleIdIdx>\r\n"
                    "<featurescore>0x0%d</featurescore>\r\n<signaturescore/>\r\n<signer>1</signer>\r\n</driver>\r\n"),
                 index, id.GetString(), id.GetString(), n % 10, n, 1 + n % 30, n % 7, n, n % 100, n, 1 + n % 4,
                 n % 3, n % 10);
    text += group;
  }
};

// The fixture, for a benchmark about to start: what the benchmarks before let go goes back to
// the system first, so that each one's peak is its own.
LookupFixture& Fixture() {
  static LookupFixture fixture;
  malloc_trim(0);
  return fixture;
}

void BM_BuildRequest(benchmark::State& state) {
  CDriverScanUpdate& engine = Fixture().engine;  // set up before the timing
  for (auto _ : state) {
    CMarkup document;
    engine.BuildScanRequestXml(engine.GetDevices(), engine.GetDeviceCount(), document);
    benchmark::DoNotOptimize(document.GetDocumentText().GetLength());
  }
}
BENCHMARK(BM_BuildRequest)->Unit(benchmark::kMillisecond);

// The service's answer as it comes off the wire: the envelope of the scan exchange's result,
// the enciphered answer (digest field and four digits a unit) made from the plain text, which
// is let go: a lookup receiving the service's answer holds no plain answer yet.
std::string AnswerEnvelope(std::string& plain) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  // What the round before let go goes back to the system first: the making of the envelope,
  // which holds it beside the plain text, is no part of the lookup.
  malloc_trim(0);
  const std::string operation = zx::soap::GetUpdateInfoWithEncryptOptionsOperation().name;
  const std::string head =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
      "<soap:Body><" + operation + "Response xmlns=\"" + zx::soap::kServiceNamespace + "\"><" + operation + "Result>";
  const std::string tail = "</" + operation + "Result></" + operation + "Response></soap:Body></soap:Envelope>";
  // The digest of ASCII text is the MD5 of its bytes.
  CString digest = CMD5Checksum::DigestHex(reinterpret_cast<const BYTE*>(plain.data()), static_cast<UINT>(plain.size()));
  digest.MakeUpper();
  std::string envelope;
  envelope.reserve(head.size() + digest.GetLength() + 4 * plain.size() + tail.size());
  envelope = head;
  envelope += Narrow(digest);
  CRc4KeyStream stream;
  for (const char ch : plain) {
    const unsigned unit = static_cast<unsigned char>(ch);  // low byte first, each byte high digit first
    const unsigned low = (unit & 0xFF) ^ stream.Next();
    const unsigned high = (unit >> 8) ^ stream.Next();
    const char digits[4] = {kDigits[low >> 4], kDigits[low & 15], kDigits[high >> 4], kDigits[high & 15]};
    envelope.append(digits, 4);
  }
  envelope += tail;
  plain.clear();
  plain.shrink_to_fit();
  malloc_trim(0);
  return envelope;
}

// Each round reads a fresh answer envelope, made outside the timing from the plain text of the
// round before, as the scan exchange reads it: the result deciphered in pieces while the SOAP
// client reads it, then the plain text taken.
void BM_ReadAndDecipherAnswer(benchmark::State& state) {
  std::string& answer = Fixture().answer;
  std::size_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::string envelope = AnswerEnvelope(answer);
    bytes = envelope.size();
    state.ResumeTiming();
    CExchangeAnswerReader reader;
    {
      zx::soap::ScopedResultSink streamed(reader);
      const zx::soap::Response response = zx::soap::ReadResponse(
          std::move(envelope), zx::soap::kServiceNamespace, zx::soap::GetUpdateInfoWithEncryptOptionsOperation());
      if (response.kind != zx::soap::Response::Result) state.SkipWithError("the envelope did not read");
    }
    CString plain;
    if (!reader.Finish(plain)) state.SkipWithError("answer did not decode");
    state.PauseTiming();
    answer = Narrow(plain);
    state.ResumeTiming();
  }
  if (answer.empty()) std::abort();
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ReadAndDecipherAnswer)->Unit(benchmark::kMillisecond);

// The deciphered answer as the lookup hands it over: a text of its own, moved into the
// document. The copy is made outside the timing.
CString AnswerCopy(benchmark::State& state, const std::string& answer) {
  state.PauseTiming();
  CString text = Wide(answer);
  state.ResumeTiming();
  return text;
}

// The answer document alone, parsed by the XML document class.
void BM_AnswerDocumentOnly(benchmark::State& state) {
  const std::string& answer = Fixture().answer;
  for (auto _ : state) {
    CMarkup document;
    if (!document.SetDocumentText(AnswerCopy(state, answer))) state.SkipWithError("answer did not parse");
  }
}
BENCHMARK(BM_AnswerDocumentOnly)->Unit(benchmark::kMillisecond);

void BM_AnswerDocumentReused(benchmark::State& state) {
  const std::string& answer = Fixture().answer;
  CMarkup document;
  for (auto _ : state) {
    if (!document.SetDocumentText(AnswerCopy(state, answer))) state.SkipWithError("answer did not parse");
  }
}
BENCHMARK(BM_AnswerDocumentReused)->Unit(benchmark::kMillisecond);

// Reading includes the matching that ends it; the matching alone is measured below.
void BM_ReadAndMatchAnswer(benchmark::State& state) {
  LookupFixture& fixture = Fixture();
  for (auto _ : state) {
    CMarkup document;
    fixture.engine.ParseUpdateResults(document, AnswerCopy(state, fixture.answer));
    if (fixture.engine.GetAnswerRecords().size() != kAnswerEntries) state.SkipWithError("answer records lost");
  }
  state.counters["found"] = fixture.engine.GetUpdatesFound();
}
BENCHMARK(BM_ReadAndMatchAnswer)->Unit(benchmark::kMillisecond);

void BM_MatchOnly(benchmark::State& state) {
  LookupFixture& fixture = Fixture();
  CMarkup document;
  fixture.engine.ParseUpdateResults(document, Wide(fixture.answer));
  for (auto _ : state) fixture.engine.MatchUpdatesToDevices();
}
BENCHMARK(BM_MatchOnly)->Unit(benchmark::kMillisecond);

// The lookup as a scan runs it; each answer takes up the records of the one before.
void BM_RequestReadAndMatch(benchmark::State& state) {
  LookupFixture& fixture = Fixture();
  for (auto _ : state) {
    CMarkup request;
    fixture.engine.BuildScanRequestXml(fixture.engine.GetDevices(), fixture.engine.GetDeviceCount(), request);
    CMarkup answer;
    fixture.engine.ParseUpdateResults(answer, AnswerCopy(state, fixture.answer));
  }
}
BENCHMARK(BM_RequestReadAndMatch)->Unit(benchmark::kMillisecond);

// The first lookup of an engine: no records of an earlier answer to fill again. An empty
// answer read outside the timing lets them go.
void BM_FirstLookup(benchmark::State& state) {
  LookupFixture& fixture = Fixture();
  for (auto _ : state) {
    state.PauseTiming();
    CMarkup empty;
    fixture.engine.ParseUpdateResults(empty, CString());
    CString text = Wide(fixture.answer);
    state.ResumeTiming();
    CMarkup request;
    fixture.engine.BuildScanRequestXml(fixture.engine.GetDevices(), fixture.engine.GetDeviceCount(), request);
    CMarkup answer;
    fixture.engine.ParseUpdateResults(answer, std::move(text));
  }
}
BENCHMARK(BM_FirstLookup)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  zx::bench::PrintPeakResidentMemory(120);
  benchmark::Shutdown();
  return 0;
}
