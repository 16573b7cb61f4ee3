// The update answer fuzz target over its checked-in corpus, in every build: each seed is read
// to the end without the target's own checks failing.
#include "../../../fuzz/update_answer_fuzz.cpp"
#include "fuzz_corpus.h"
#include "machine_fixture.h"

namespace zx::test {
namespace {

class UpdateAnswerCorpus : public MachineTest {};

TEST_F(UpdateAnswerCorpus, EverySeedReadsCleanly) {
  EXPECT_GE(ReadEveryCorpusSeed(ZX_FUZZ_CORPUS_DIR "/update_answer_fuzz"), 5);
}

}  // namespace
}  // namespace zx::test
