// The update answer fuzz target over its checked-in corpus, in every build: each seed is read
// to the end without the target's own checks failing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "../../../fuzz/update_answer_fuzz.cpp"
#include "machine_fixture.h"

namespace zx::test {
namespace {

class UpdateAnswerCorpus : public MachineTest {};

TEST_F(UpdateAnswerCorpus, EverySeedReadsCleanly) {
  int seeds = 0;
  for (const auto& entry : std::filesystem::directory_iterator(ZX_FUZZ_CORPUS_DIR "/update_answer_fuzz")) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0) << entry.path();
    ++seeds;
  }
  EXPECT_GE(seeds, 5);
}

}  // namespace
}  // namespace zx::test
