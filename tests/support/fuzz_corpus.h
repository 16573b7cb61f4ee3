// Runs a fuzz target over its checked-in corpus in a test: every seed handed to the target
// (its LLVMFuzzerTestOneInput, compiled into the test) must come back without its checks
// failing.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace zx::test {

// The count of seeds in `folder`, each read to the end by the target.
inline int ReadEveryCorpusSeed(const std::filesystem::path& folder) {
  int seeds = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0) << entry.path();
    ++seeds;
  }
  return seeds;
}

}  // namespace zx::test
