// The update service's answer to the workstation's scan as the SOAP client reads it: an
// envelope whose result holds an enciphered answer of 20,000 entries (about 48.6 million
// digits), read into the result string the proxy hands over. Prints the peak resident memory,
// which the envelope and that string make up.
#include <benchmark/benchmark.h>

#include <string>

#include "oleauto.h"
#include "peak_memory.h"
#include "zx/soapservices.h"
#include "zx/soapwire.h"

namespace {

constexpr std::size_t kDigits = 48594432;

// A fresh envelope for each reading, as each comes off the wire: the reading parses it where
// it stands.
std::string AnswerEnvelope() {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const std::string operation = zx::soap::GetUpdateInfoWithEncryptOptionsOperation().name;
  std::string envelope =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
      "<soap:Body><" + operation + "Response xmlns=\"" + zx::soap::kServiceNamespace + "\"><" + operation + "Result>";
  const std::size_t start = envelope.size();
  envelope.resize(start + kDigits);
  for (std::size_t n = 0; n < kDigits; ++n) envelope[start + n] = kHex[(n * 7919) >> 3 & 15];
  envelope += "</" + operation + "Result></" + operation + "Response></soap:Body></soap:Envelope>";
  return envelope;
}

void BM_ReadServiceAnswer(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    std::string envelope = AnswerEnvelope();
    state.ResumeTiming();
    zx::soap::Response response = zx::soap::ReadResponse(std::move(envelope), zx::soap::kServiceNamespace,
                                                         zx::soap::GetUpdateInfoWithEncryptOptionsOperation());
    BSTR result = response.result.Release();
    if (SysStringLen(result) != kDigits) state.SkipWithError("the result was not read whole");
    SysFreeString(result);
  }
}
BENCHMARK(BM_ReadServiceAnswer)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  zx::bench::PrintPeakResidentMemory(0);
  benchmark::Shutdown();
  return 0;
}
