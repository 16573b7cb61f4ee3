// Registered window messages: one id per name whatever its case, the same in every root for
// an uncontested name, collisions settled by the shared table, damaged tables survived.
#include <gtest/gtest.h>

#include <cstdio>

#include "errhandlingapi.h"
#include "user_testing.h"
#include "zx/machine.h"

namespace zx::test {
namespace {

using RegisteredMessages = UserTest;

TEST_F(RegisteredMessages, OneIdPerNameWhateverItsCase) {
  const UINT id = RegisterWindowMessageW(u"TaskbarCreated");
  EXPECT_GE(id, 0xC000u);
  EXPECT_LE(id, 0xFFFFu);
  EXPECT_EQ(RegisterWindowMessageW(u"TASKBARCREATED"), id);
  EXPECT_EQ(RegisterWindowMessageA("taskbarcreated"), id);
  EXPECT_NE(RegisterWindowMessageW(u"SHOWSCHEDULE_MESSAGE"), id);
  EXPECT_EQ(RegisterWindowMessageW(u""), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(RegisterWindowMessageW(nullptr), 0u);
  EXPECT_EQ(RegisterWindowMessageW(u"two\nlines"), 0u);
}

TEST_F(RegisteredMessages, TheIdComesFromTheNameInEveryRoot) {
  const UINT here = RegisterWindowMessageW(u"QVX_DRIVER_UPDATECOUNT");
  TempFolder other;
  zx::machine::UseRoot(other.path());
  EXPECT_EQ(RegisterWindowMessageW(u"QVX_DRIVER_UPDATECOUNT"), here);
  zx::machine::UseRoot(root());
}

TEST_F(RegisteredMessages, ANameWhoseIdIsTakenGetsTheNextFree) {
  const UINT preferred = RegisterWindowMessageW(u"Progress Bar Update");
  TempFolder other;
  zx::machine::UseRoot(other.path());
  // In the other root another name already holds that id.
  const std::string folder = zx::machine::RuntimeFolder() + "/user";
  RegisterWindowMessageW(u"ANY");  // makes the folder
  char line[32];
  std::snprintf(line, sizeof line, "%04X SQUATTER\n", preferred);
  WriteHostFile(folder + "/messages", ReadHostFile(folder + "/messages") + line);
  const UINT moved = RegisterWindowMessageW(u"Progress Bar Update");
  EXPECT_EQ(moved, preferred == 0xFFFF ? 0xC000u : preferred + 1);
  EXPECT_EQ(RegisterWindowMessageW(u"squatter"), preferred);
  zx::machine::UseRoot(root());
}

TEST_F(RegisteredMessages, DamagedTableLinesArePassedOver) {
  RegisterWindowMessageW(u"FIRST");
  const std::string file = zx::machine::RuntimeFolder() + "/user/messages";
  const std::string before = ReadHostFile(file);
  // Garbage, an id out of range, a second claim on FIRST's id and a line cut short.
  WriteHostFile(file, before + "zz\n\n1234 LOW\nG000 BAD\n" + before.substr(0, 5) + "THIEF\nC00");
  TempFolder other;
  zx::machine::UseRoot(other.path());
  const UINT fresh = RegisterWindowMessageW(u"FIRST");
  zx::machine::UseRoot(root());
  EXPECT_EQ(RegisterWindowMessageW(u"FIRST"), fresh);
  const UINT thief = RegisterWindowMessageW(u"THIEF");
  EXPECT_NE(thief, fresh);
  EXPECT_NE(thief, 0u);
  EXPECT_NE(RegisterWindowMessageW(u"LOW"), 0x1234u);
}

}  // namespace
}  // namespace zx::test
