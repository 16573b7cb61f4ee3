// A history saved by a process that is killed at any moment of the save: afterwards the file
// holds the old history or the new one, byte for byte, and loads whole. The saver is this test
// program started again in a role of its own, saving two histories in turn until it is killed.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "FileHistory.h"
#include "machine_fixture.h"
#include "xvfb_testing.h"

namespace zx::test {
namespace {

constexpr const char* kSaverRole = "ZX_HISTORY_SAVER";
constexpr LPCTSTR kPath = u"C:\\data\\Download.dat";

// A history of `count` pairs whose values all carry `mark`, large enough that a save takes a
// while.
void FillHistory(CMapStringToString& map, int count, LPCTSTR mark) {
  for (int i = 0; i < count; ++i) {
    CString key, value;
    key.Format(u"PCI\\VEN_8086&DEV_%04X", i);
    value.Format(u"C:\\Users\\Public\\Download\\%s\\package-%05d.cab", mark, i);
    map.SetAt(key, value);
  }
}

// The saver: says "saving" once the first save is done, then saves the two histories in turn.
int PlaySaver() {
  CMapStringToString first, second;
  FillHistory(first, 3000, u"first");
  FillHistory(second, 2000, u"second");
  if (!SaveHistoryFile(kPath, first)) return 2;
  Say("saving");
  for (bool useSecond = true;; useSecond = !useSecond)
    if (!SaveHistoryFile(kPath, useSecond ? second : first)) return 3;
}

[[maybe_unused]] const bool g_saver = AddDemoRole(kSaverRole, PlaySaver);

using KilledSave = MachineTest;

TEST_F(KilledSave, LeavesTheOldOrTheNewHistoryNeverATornOne) {
  ASSERT_TRUE(CreateDirectoryW(u"C:\\data", nullptr));
  // The two files the saver can leave, written here once.
  std::string expected[2];
  for (int which = 0; which < 2; ++which) {
    CMapStringToString map;
    FillHistory(map, which == 0 ? 3000 : 2000, which == 0 ? u"first" : u"second");
    ASSERT_TRUE(SaveHistoryFile(kPath, map));
    expected[which] = ReadHostFile(root() + "/drive_c/data/Download.dat");
  }
  std::error_code ec;
  const std::string self = std::filesystem::read_symlink("/proc/self/exe", ec).string();
  for (int round = 0; round < 12; ++round) {
    Child saver = Start({self}, Environment({std::string(kSaverRole) + "=1", "ZX_MACHINE_ROOT=" + root()}), 1, false);
    ASSERT_GT(saver.pid, 0);
    ASSERT_TRUE(AwaitLine(saver.out, "saving", 20000));
    // Killed at a different moment of a save each round.
    std::this_thread::sleep_for(std::chrono::microseconds(1500 + 2300 * round));
    ::kill(saver.pid, SIGKILL);
    Wait(saver.pid);
    ::close(saver.out);
    const std::string stored = ReadHostFile(root() + "/drive_c/data/Download.dat");
    const bool whole = stored == expected[0] || stored == expected[1];
    ASSERT_TRUE(whole) << "round " << round << ": a torn file of " << stored.size() << " bytes";
    CMapStringToString loaded;
    EXPECT_TRUE(LoadHistoryFile(kPath, loaded));
    EXPECT_EQ(loaded.GetCount(), stored == expected[0] ? 3000 : 2000);
  }
}

}  // namespace
}  // namespace zx::test
