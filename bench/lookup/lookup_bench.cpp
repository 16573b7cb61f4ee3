// The update lookup of the generated workstation (2,000 present devices): writing the scan
// request, deciphering an answer of 20,000 entries, reading it into answer records and
// matching them to the devices, each step on its own and the three main steps together; then
// the peak resident memory of the whole run. Goals: the answer document under 10 ms, the whole
// lookup under 50 ms, the peak under 120 MB.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "DriverScanUpdate.h"
#include "EngineCallbacks.h"
#include "ExchangeEncoding.h"
#include "TextViews.h"
#include "UpdateAnswer.h"
#include "peak_memory.h"
#include "seeded_workstation.h"

namespace {

constexpr int kAnswerEntries = 20000;
constexpr int kLongestEntry = 1000;

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
  CString answer;

 private:
  // Ten entries per device: its hardware id and its ids without revision and subsystem, under
  // versions above and below its own, so that matching meets every kind of record. Entries
  // come grouped by device in rising driverid order, as the service writes them.
  // The room of the whole answer is asked for at once (no entry is longer than this), so that
  // the text never moves while it grows.
  void BuildAnswer() {
    const int devices = engine.GetDeviceCount();
    answer.Preallocate(kAnswerEntries * kLongestEntry);
    answer = _T("<newdataset>\r\n");
    for (int index = 0; index < devices; ++index) {
      for (int n = index; n < kAnswerEntries; n += devices) AddEntry(index, n);
    }
    answer += _T("</newdataset>");
  }

  // The entry n of the answer, for the device at `index`.
  void AddEntry(int index, int n) {
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
    answer += group;
  }
};

LookupFixture& Fixture() {
  static LookupFixture fixture;
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

// The enciphered answer as the service's proxy hands it over: a BSTR of the digest field and
// four digits a unit, made from the plain text, which is let go. The string is widened where
// it stands and its digits written from its back, so that the plain and the enciphered text
// are never held whole side by side.
BSTR EncipheredAnswer(CString& plain) {
  constexpr UINT kDigestDigits = 32;
  static constexpr char kDigits[] = "0123456789ABCDEF";
  CString digest;
  ComputeTextDigest(plain, digest);
  const UINT units = static_cast<UINT>(plain.GetLength());
  BSTR text = SysAllocStringLen(plain.GetString(), units);
  plain.Empty();
  plain.FreeExtra();
  // The plain text's room goes back to the system: a lookup receiving the service's string
  // holds no plain answer yet.
  malloc_trim(0);
  if (text == nullptr || !SysReAllocStringLen(&text, text, kDigestDigits + 4 * units)) std::abort();
  Rc4Transform(reinterpret_cast<BYTE*>(text), 2 * units);
  for (UINT n = units; n-- > 0;) {
    const unsigned unit = text[n];  // low byte first, each byte high digit first
    OLECHAR* digits = text + kDigestDigits + 4 * n;
    digits[0] = kDigits[unit >> 4 & 15];
    digits[1] = kDigits[unit & 15];
    digits[2] = kDigits[unit >> 12];
    digits[3] = kDigits[unit >> 8 & 15];
  }
  std::copy_n(digest.GetString(), kDigestDigits, text);
  return text;
}

// Each round deciphers a fresh enciphered answer, made outside the timing from the plain text
// of the round before; the lookup takes the service's string over and frees it.
void BM_DecipherAnswer(benchmark::State& state) {
  CString& answer = Fixture().answer;
  UINT digits = 0;
  for (auto _ : state) {
    state.PauseTiming();
    BSTR enciphered = EncipheredAnswer(answer);
    digits = SysStringLen(enciphered);
    state.ResumeTiming();
    if (DecodeExchangeAnswer(enciphered, answer) != kAnswerDecoded) state.SkipWithError("answer did not decode");
  }
  if (answer.IsEmpty()) std::abort();
  state.counters["digits"] = digits;
}
BENCHMARK(BM_DecipherAnswer)->Unit(benchmark::kMillisecond);

// The deciphered answer as the lookup hands it over: a text of its own, moved into the
// document. The copy is made outside the timing.
CString AnswerCopy(benchmark::State& state) {
  state.PauseTiming();
  CString text = Fixture().answer;
  state.ResumeTiming();
  return text;
}

// The answer document alone, parsed by the XML document class.
void BM_AnswerDocumentOnly(benchmark::State& state) {
  for (auto _ : state) {
    CMarkup document;
    if (!document.SetDocumentText(AnswerCopy(state))) state.SkipWithError("answer did not parse");
  }
}
BENCHMARK(BM_AnswerDocumentOnly)->Unit(benchmark::kMillisecond);

void BM_AnswerDocumentReused(benchmark::State& state) {
  CMarkup document;
  for (auto _ : state) {
    if (!document.SetDocumentText(AnswerCopy(state))) state.SkipWithError("answer did not parse");
  }
}
BENCHMARK(BM_AnswerDocumentReused)->Unit(benchmark::kMillisecond);

// Reading includes the matching that ends it; the matching alone is measured below.
void BM_ReadAndMatchAnswer(benchmark::State& state) {
  LookupFixture& fixture = Fixture();
  for (auto _ : state) {
    CMarkup document;
    fixture.engine.ParseUpdateResults(document, AnswerCopy(state));
    if (fixture.engine.GetAnswerRecords().size() != kAnswerEntries) state.SkipWithError("answer records lost");
  }
  state.counters["found"] = fixture.engine.GetUpdatesFound();
}
BENCHMARK(BM_ReadAndMatchAnswer)->Unit(benchmark::kMillisecond);

void BM_MatchOnly(benchmark::State& state) {
  LookupFixture& fixture = Fixture();
  CMarkup document;
  fixture.engine.ParseUpdateResults(document, fixture.answer);
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
    fixture.engine.ParseUpdateResults(answer, AnswerCopy(state));
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
    CString text = fixture.answer;
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
