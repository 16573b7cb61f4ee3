// The two versions of the SHA-1 block function: each against the FIPS 180 "abc" block, and
// against each other over many blocks.
#include <gtest/gtest.h>

#include <vector>

#include "DigestsSha1Blocks.h"

namespace {

constexpr DWORD kInitialState[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
constexpr DWORD kAbcDigest[5] = {0xA9993E36, 0x4706816A, 0xBA3E2571, 0x7850C26C, 0x9CD0D89D};

// "abc" padded to one block: the marker bit and the bit count 24 at the end.
std::vector<BYTE> AbcBlock() {
  std::vector<BYTE> block(64, 0);
  block[0] = 'a';
  block[1] = 'b';
  block[2] = 'c';
  block[3] = 0x80;
  block[63] = 24;
  return block;
}

void ExpectState(const DWORD (&state)[5], const DWORD (&expected)[5]) {
  for (int i = 0; i < 5; ++i) EXPECT_EQ(state[i], expected[i]) << i;
}

TEST(Sha1Blocks, ThePortableVersionDigestsTheAbcBlock) {
  DWORD state[5];
  std::copy(std::begin(kInitialState), std::end(kInitialState), state);
  Sha1CompressPortable(state, AbcBlock().data(), 1);
  ExpectState(state, kAbcDigest);
}

TEST(Sha1Blocks, TheInstructionVersionDigestsTheAbcBlock) {
  DWORD state[5];
  std::copy(std::begin(kInitialState), std::end(kInitialState), state);
  if (!Sha1CompressWithInstructions(state, AbcBlock().data(), 1)) GTEST_SKIP() << "no SHA instructions";
  ExpectState(state, kAbcDigest);
}

TEST(Sha1Blocks, BothVersionsAgreeOverManyBlocks) {
  std::vector<BYTE> data(64 * 500);
  DWORD seed = 12345;
  for (BYTE& b : data) {
    seed = seed * 1103515245 + 12345;
    b = static_cast<BYTE>(seed >> 16);
  }
  DWORD portable[5], instructions[5];
  std::copy(std::begin(kInitialState), std::end(kInitialState), portable);
  std::copy(std::begin(kInitialState), std::end(kInitialState), instructions);
  Sha1CompressPortable(portable, data.data(), 500);
  if (!Sha1CompressWithInstructions(instructions, data.data(), 500)) GTEST_SKIP() << "no SHA instructions";
  ExpectState(instructions, portable);
  // Zero blocks leave the state as it is.
  Sha1CompressBlocks(instructions, data.data(), 0);
  ExpectState(instructions, portable);
}

}  // namespace
