// The update lookup of the generated workstation (2,000 present devices): writing the scan
// request, reading and deciphering the service's answer of 20,000 entries as the SOAP client
// reads it off the wire, reading it into answer records and matching them to the devices, each step
// on its own, and the whole lookup from the answer's first byte to the matched rows (at 20,000
// and 80,000 entries); then the ratios (the decipher against a plain loop, the growth to four
// times the entries of the document's parse, of the parse as the lookup reads the answer and of
// the reading with the matching), the peak resident memory of the whole lookup at 80,000 entries
// (the process's, from the envelope received to the matched rows) and that of the whole run.
// Goals: the answer document under 10 ms, the whole lookup under 60 ms at 20,000 entries, its
// peak at 80,000 entries under 200 MB.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "DigestsMd5.h"
#include "DriverScanUpdate.h"
#include "EngineCallbacks.h"
#include "ExchangeAnswerReader.h"
#include "ExchangeEncoding.h"
#include "MarkupParser.h"
#include "TextViews.h"
#include "UpdateAnswer.h"
#include "peak_memory.h"
#include "ratio_reporter.h"
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
  }

  CDriverScanUpdate engine;

  // Ten entries per device: its hardware id and its ids without revision and subsystem, under
  // versions above and below its own, so that matching meets every kind of record. Entries
  // come grouped by device in rising driverid order, as the service writes them.
  // The answer of `entries` entries, made again once its text was let go.
 public:
  std::string& Answer(int entries) {
    std::string& text = answers_[entries];
    if (text.empty()) text = BuildAnswer(entries);
    return text;
  }

 private:
  std::string BuildAnswer(int entries) {
    const int devices = engine.GetDeviceCount();
    std::string text = "<newdataset>\r\n";
    text.reserve(static_cast<std::size_t>(entries) * kLongestEntry / 2);
    for (int index = 0; index < devices; ++index) {
      for (int n = index; n < entries; n += devices) AddEntry(text, index, n);
    }
    text += "</newdataset>";
    return text;
  }

  // The entry n of the answer, for the device at `index`.
  void AddEntry(std::string& text, int index, int n) {
    const int devices = engine.GetDeviceCount();
    const tagDeviceDriverInfo& device = *engine.GetDevices()->GetAt(index);
    CString id = device.szText[kSlotHardwareId].Text();
    id.MakeLower();
    if (n / devices % 3 == 1 && id.Find(_T("&rev_")) > 0) id = id.Left(id.Find(_T("&rev_")));
    if (n / devices % 3 == 2 && id.Find(_T("&subsys_")) > 0) id = id.Left(id.Find(_T("&subsys_")));
    const std::string narrowId = Narrow(id);
    char group[kLongestEntry];
    const int length = std::snprintf(
        group, sizeof group,
        "<driver>\r\n<driverid>%d</driverid>\r\n<hardwareidentifier>%s</hardwareidentifier>\r\n"
        "<hardwareid>%s</hardwareid>\r\n<infdate>2016-05-1%d</infdate>\r\n"
        "<infpath>extract\\drv%d\\driver.inf</infpath>\r\n<version>%d.%d.0.%d</version>\r\n"
        "<isSpecificCase>0</isSpecificCase>\r\n<md5>0123456789abcdef0123456789abcd%02d</md5>\r\n"
        "<isInstall>1</isInstall>\r\n<downloadid>%d</downloadid>\r\n<severity>%d</severity>\r\n"
        "<riskLevel>0</riskLevel>\r\n<liburl/>\r\n<CompatibleIdIdx>%d</CompatibleIdIdx>\r\n"
        "<featurescore>0x0%d</featurescore>\r\n<signaturescore/>\r\n<signer>1</signer>\r\n</driver>\r\n",
        index, narrowId.c_str(), narrowId.c_str(), n % 10, n, 1 + n % 30, n % 7, n, n % 100, n, 1 + n % 4, n % 3,
        n % 10);
    if (length <= 0 || length >= kLongestEntry) std::abort();
    text.append(group, static_cast<std::size_t>(length));
  }

  std::map<int, std::string> answers_;
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

// Runs `work` with the timing paused: what a round needs done that is no part of what it times.
template <class Work>
void Untimed(benchmark::State& state, Work work) {
  state.PauseTiming();
  work();
  state.ResumeTiming();
}

// The wire the answer comes over: its envelope written to a file of the benchmark's own, which
// the lookup reads back in the blocks the SOAP client reads from the network. The envelope is
// let go once written, as the network holds it and not the program.
class Wire {
 public:
  Wire() : path_("/tmp/zx-lookup-bench-" + std::to_string(getpid()) + ".wire") {}
  ~Wire() { std::remove(path_.c_str()); }

  // Puts the envelope on the wire; answers its length.
  std::size_t Put(std::string envelope) {
    std::FILE* const file = std::fopen(path_.c_str(), "wb");
    if (!file || std::fwrite(envelope.data(), 1, envelope.size(), file) != envelope.size()) std::abort();
    std::fclose(file);
    size_ = envelope.size();
    envelope = std::string();
    malloc_trim(0);
    return size_;
  }

  // The answer read as the scan exchange reads it: the envelope's blocks handed to the
  // response stream as they come, the result deciphered in pieces meanwhile, then its plain
  // text taken. False when any step failed.
  bool ReadAnswer(CString& plain) const {
    CExchangeAnswerReader reader;
    {
      zx::soap::ScopedResultSink streamed(reader);
      const zx::soap::OperationDescription& operation = zx::soap::GetUpdateInfoWithEncryptOptionsOperation();
      zx::soap::ResponseStream stream(operation.resultPart, size_);
      std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path_.c_str(), "rb"), std::fclose);
      char block[16 * 1024];
      while (std::size_t got = file ? std::fread(block, 1, sizeof block, file.get()) : 0)
        stream.Take(std::string_view(block, got));
      if (stream.Finish(zx::soap::kServiceNamespace, operation).kind != zx::soap::Response::Result) return false;
    }
    return reader.TakePlain(plain) != FALSE;
  }

 private:
  std::string path_;
  std::size_t size_ = 0;
};

Wire& TheWire() {
  static Wire wire;
  return wire;
}

// Each round reads a fresh answer envelope, made outside the timing from the plain text of the
// round before.
void BM_ReadAndDecipherAnswer(benchmark::State& state) {
  std::string& answer = Fixture().Answer(kAnswerEntries);
  std::size_t bytes = 0;
  for (auto _ : state) {
    Untimed(state, [&] { bytes = TheWire().Put(AnswerEnvelope(answer)); });
    CString plain;
    if (!TheWire().ReadAnswer(plain)) state.SkipWithError("answer did not read");
    Untimed(state, [&] { answer = Narrow(plain); });
  }
  if (answer.empty()) std::abort();
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ReadAndDecipherAnswer)->Unit(benchmark::kMillisecond);

// The process's peak resident memory during the whole lookup, by count of entries: the most
// any round reached, counted afresh once the answer is on the wire.
std::map<int, double> g_lookupPeakMb;

// The whole lookup as a scan runs it once the service answered: from the first byte of the
// answer envelope to the matched result rows (the envelope read, the result's digits decoded
// and deciphered, the answer read into records and matched to the devices). The argument is
// the count of entries.
void BM_WholeLookup(benchmark::State& state) {
  LookupFixture& fixture = Fixture();
  const int entries = static_cast<int>(state.range(0));
  double& peak = g_lookupPeakMb[entries];
  for (auto _ : state) {
    state.PauseTiming();
    // The answer's plain text goes with its envelope made; it is written again for each round.
    TheWire().Put(AnswerEnvelope(fixture.Answer(entries)));
    const bool peakCounted = zx::bench::RestartPeakResident();
    state.ResumeTiming();
    CString plain;
    if (!TheWire().ReadAnswer(plain)) state.SkipWithError("answer did not read");
    CMarkup document;
    fixture.engine.ParseUpdateResults(document, std::move(plain));
    state.PauseTiming();
    if (peakCounted) peak = std::max(peak, zx::bench::PeakResidentSinceRestartMb());
    if (fixture.engine.GetAnswerRecords().size() != static_cast<std::size_t>(entries))
      state.SkipWithError("answer records lost");
    state.ResumeTiming();
  }
  state.counters["found"] = fixture.engine.GetUpdatesFound();
  state.counters["peak_MB"] = peak;
}
BENCHMARK(BM_WholeLookup)->Arg(kAnswerEntries)->Arg(4 * kAnswerEntries)->Unit(benchmark::kMillisecond);

// The payload digits of the 20,000-entry answer (behind the envelope's head, with the digest
// field), as the envelope carries them.
const std::string& PayloadDigits() {
  static const std::string digits = [] {
    std::string& answer = Fixture().Answer(kAnswerEntries);
    const std::string plain = answer;
    std::string envelope = AnswerEnvelope(answer);
    answer = plain;
    const std::size_t start = envelope.find("Result>") + 7;
    return envelope.substr(start, envelope.find('<', start) - start);
  }();
  return digits;
}

// The hex decoding and the decipher of the answer's digits as the scan exchange's reader does
// them: handed over in the pieces the SOAP client makes of an ASCII result.
void BM_DecipherAnswer(benchmark::State& state) {
  const std::string_view digits = PayloadDigits();
  constexpr std::size_t kPiece = 16 * 1024;
  for (auto _ : state) {
    CExchangeAnswerReader reader;
    reader.Begin(digits.size());
    for (std::size_t at = 0; at < digits.size(); at += kPiece) reader.TakeAscii(digits.substr(at, kPiece));
    CString plain;
    if (!reader.TakePlain(plain) || plain.GetLength() == 0) state.SkipWithError("answer did not decode");
    benchmark::DoNotOptimize(plain.GetString());
  }
}

// The yardstick: a plain loop doing only that work over the same bytes, four digits read into
// a unit deciphered with the key stream.
void BM_DecipherPlainLoop(benchmark::State& state) {
  const std::string& digits = PayloadDigits();
  for (auto _ : state) {
    const std::size_t units = (digits.size() - 32) / 4;
    std::u16string plain(units, u'\0');
    CRc4KeyStream stream;
    const char* in = digits.data() + 32;
    const auto value = [](char ch) { return ch <= '9' ? ch - '0' : ch - 'A' + 10; };
    for (std::size_t n = 0; n < units; ++n, in += 4) {
      const unsigned low = static_cast<unsigned>(value(in[0]) << 4 | value(in[1])) ^ stream.Next();
      const unsigned high = static_cast<unsigned>(value(in[2]) << 4 | value(in[3])) ^ stream.Next();
      plain[n] = static_cast<char16_t>(low | high << 8);
    }
    benchmark::DoNotOptimize(plain.data());
  }
}

// Writes over twice the processor's last-level cache, so that what the round before touched
// is gone from it: a text just copied would otherwise stay there whole at 20,000 entries and
// only in part at 80,000, and the growth would measure the cache rather than the parse.
void LeaveCachesCold() {
  static std::vector<char> room(64u << 20);
  for (std::size_t at = 0; at < room.size(); at += 64) room[at] = static_cast<char>(room[at] + 1);
  benchmark::ClobberMemory();
}

// The deciphered answer as the lookup hands it over: a text of its own, moved into the
// document. The copy is made outside the timing, and each round starts with cold caches.
CString AnswerCopy(benchmark::State& state, const std::string& answer) {
  state.PauseTiming();
  CString text = Wide(answer);
  LeaveCachesCold();
  state.ResumeTiming();
  return text;
}

// The answer document alone, parsed by the XML document class.
void BM_AnswerDocumentOnly(benchmark::State& state) {
  const std::string& answer = Fixture().Answer(kAnswerEntries);
  for (auto _ : state) {
    CMarkup document;
    if (!document.SetDocumentText(AnswerCopy(state, answer))) state.SkipWithError("answer did not parse");
  }
}
BENCHMARK(BM_AnswerDocumentOnly)->Unit(benchmark::kMillisecond);

void BM_AnswerDocumentReused(benchmark::State& state) {
  const std::string& answer = Fixture().Answer(kAnswerEntries);
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
    fixture.engine.ParseUpdateResults(document, AnswerCopy(state, fixture.Answer(kAnswerEntries)));
    if (fixture.engine.GetAnswerRecords().size() != kAnswerEntries) state.SkipWithError("answer records lost");
  }
  state.counters["found"] = fixture.engine.GetUpdatesFound();
}
BENCHMARK(BM_ReadAndMatchAnswer)->Unit(benchmark::kMillisecond);

void BM_MatchOnly(benchmark::State& state) {
  LookupFixture& fixture = Fixture();
  CMarkup document;
  fixture.engine.ParseUpdateResults(document, Wide(fixture.Answer(kAnswerEntries)));
  for (auto _ : state) fixture.engine.MatchUpdatesToDevices();
}
BENCHMARK(BM_MatchOnly)->Unit(benchmark::kMillisecond);

// The request written and the deciphered answer read and matched; each answer takes up the
// records of the one before.
void BM_RequestReadAndMatch(benchmark::State& state) {
  LookupFixture& fixture = Fixture();
  for (auto _ : state) {
    CMarkup request;
    fixture.engine.BuildScanRequestXml(fixture.engine.GetDevices(), fixture.engine.GetDeviceCount(), request);
    CMarkup answer;
    fixture.engine.ParseUpdateResults(answer, AnswerCopy(state, fixture.Answer(kAnswerEntries)));
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
    CString text = Wide(fixture.Answer(kAnswerEntries));
    state.ResumeTiming();
    CMarkup request;
    fixture.engine.BuildScanRequestXml(fixture.engine.GetDevices(), fixture.engine.GetDeviceCount(), request);
    CMarkup answer;
    fixture.engine.ParseUpdateResults(answer, std::move(text));
  }
}
BENCHMARK(BM_FirstLookup)->Unit(benchmark::kMillisecond);

// The answer's parse at 20,000 and at 80,000 entries, for its growth: the document alone,
// the leaves as the lookup reads them, and the reading into records with the matching. The
// text is let go outside the timing where the parse does not let it go itself: it goes back
// to the system page by page, which is no part of the parse.
template <int Entries>
void BM_AnswerDocumentOf(benchmark::State& state) {
  const std::string& answer = Fixture().Answer(Entries);
  CMarkup document;
  for (auto _ : state) {
    if (!document.SetDocumentText(AnswerCopy(state, answer))) state.SkipWithError("answer did not parse");
    Untimed(state, [&] { document.SetDocumentText(CString()); });
  }
}

// The answer's parse as the lookup runs it: its elements read as they end, without positions
// of the whole document; the leaves are only counted.
class LeafCount : public MarkupLeafSink {
 public:
  bool Leaf(std::u16string_view, const CMarkup::ElemPos&) override {
    ++leaves;
    return true;
  }
  std::size_t leaves = 0;
};

template <int Entries>
void BM_AnswerLeavesOf(benchmark::State& state) {
  const std::string& answer = Fixture().Answer(Entries);
  for (auto _ : state) {
    CString text = AnswerCopy(state, answer);
    LeafCount count;
    CString error;
    if (ReadMarkupLeaves(View(text), count, error) <= 0 || count.leaves < Entries) state.SkipWithError("answer did not parse");
    Untimed(state, [&] { text = CString(); });
  }
}

template <int Entries>
void BM_ReadAndMatchOf(benchmark::State& state) {
  LookupFixture& fixture = Fixture();
  const std::string& answer = fixture.Answer(Entries);
  for (auto _ : state) {
    CMarkup document;
    fixture.engine.ParseUpdateResults(document, AnswerCopy(state, answer));
    if (fixture.engine.GetAnswerRecords().size() != Entries) state.SkipWithError("answer records lost");
    Untimed(state, [&] { document = CMarkup(); });
  }
}

constexpr int kFourTimes = 4 * kAnswerEntries;

const bool kRegistered = [] {
  zx::bench::RegisterAlternating("BM_DecipherAnswer", BM_DecipherAnswer, "BM_DecipherPlainLoop",
                                 BM_DecipherPlainLoop, 5, 0.5);
  zx::bench::RegisterAlternating("BM_AnswerDocument20k", BM_AnswerDocumentOf<kAnswerEntries>, "BM_AnswerDocument80k",
                                 BM_AnswerDocumentOf<kFourTimes>, 3, 0.5);
  zx::bench::RegisterAlternating("BM_AnswerLeaves20k", BM_AnswerLeavesOf<kAnswerEntries>, "BM_AnswerLeaves80k",
                                 BM_AnswerLeavesOf<kFourTimes>, 3, 0.5);
  zx::bench::RegisterAlternating("BM_ReadAndMatch20k", BM_ReadAndMatchOf<kAnswerEntries>, "BM_ReadAndMatch80k",
                                 BM_ReadAndMatchOf<kFourTimes>, 3, 0.5);
  return true;
}();

}  // namespace

// The growth lines are the time at 80,000 entries over the time at 20,000 (at most 4.5).
int main(int argc, char** argv) {
  // Every large block is a mapping of its own, as in a program that looks up once. Left to
  // itself, glibc raises its threshold once such a block is let go: a text of 20,000 entries
  // would then stay in its heap from round to round, in pages already the process's, while one
  // of 80,000 (above the threshold's 32 MB ceiling) is mapped afresh each round, and the growth
  // lines would measure that difference rather than the parse.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
  const int status = zx::bench::RunWithRatios(
      argc, argv,
      {{"decipher and hex decode: plain loop", "BM_DecipherAnswer", "BM_DecipherPlainLoop", 1 / 1.5},
       {"answer document: 80,000 / 20,000 entries", "BM_AnswerDocument20k", "BM_AnswerDocument80k", 4.5},
       {"answer parse as read: 80,000 / 20,000 entries", "BM_AnswerLeaves20k", "BM_AnswerLeaves80k", 4.5},
       {"read and match: 80,000 / 20,000 entries", "BM_ReadAndMatch20k", "BM_ReadAndMatch80k", 4.5}});
  if (const auto found = g_lookupPeakMb.find(kFourTimes); found != g_lookupPeakMb.end())
    zx::bench::PrintPeakMemory("peak resident memory, lookup of 80,000", found->second, 200);
  zx::bench::PrintPeakResidentMemory(0);
  return status;
}
