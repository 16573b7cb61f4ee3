// The SOAP answer fuzz target over its checked-in corpus, in every build: each seed reads to
// the end without the target's own checks failing.
#include "../../../fuzz/soap_answer_fuzz.cpp"
#include "fuzz_corpus.h"

namespace zx::test {
namespace {

TEST(SoapAnswerCorpus, EverySeedReadsCleanly) {
  EXPECT_GE(ReadEveryCorpusSeed(ZX_FUZZ_CORPUS_DIR "/soap_answer_fuzz"), 12);
}

}  // namespace
}  // namespace zx::test
