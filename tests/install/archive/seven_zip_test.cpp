// The 7-Zip run: unpacking with Debian's 7-Zip program standing in for "7z.exe", entries
// that try to leave the folder, a link removed, a damaged archive, a missing tool folder, and a run that
// takes too long being ended.
#include <gtest/gtest.h>

#include <windows.h>
#include <winprocess.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "SevenZip.h"
#include "archive_testing.h"
#include "zx/clock.h"
#include "zx/waits.h"

namespace zx::test {
namespace {

class SevenZipTest : public SevenZipArchiveTest {
 protected:
  // 7z.exe is a program that notes its process id and then never ends by itself.
  std::string UseHangingProgram() const {
    const std::string pidFile = Host(_T("C:\\Tools\\pid.txt"));
    const std::string program = Host(_T("C:\\Tools\\extract\\7z.exe"));
    std::ofstream(program) << "#!/bin/sh\necho $$ > '" << pidFile << "'\nexec sleep 600\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    return pidFile;
  }
};

TEST_F(SevenZipTest, UnpacksBelowTheOutputFolderAndKeepsNoLink) {
  UseSevenZip();
  struct Case {
    const char* fixture;
    LPCTSTR folder;
    int result;
    std::vector<std::string> files;
  };
  // The hostile archive's link is removed and fails the package; its other entries stay
  // below the folder.
  const Case cases[] = {
      {"plain.7z", _T("plain"), 32, {"drv/plain.inf", "readme.txt"}},
      {"hostile.7z", _T("hostile"), 33, {"first/a.txt", "last.txt", "tmp/tmpmb6pyriq/a/x1.txt", "x1.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fixture);
    const CString archive = PlaceFixture(c.fixture);
    const auto before = FilesBelowRoot();
    CString error;
    EXPECT_EQ(RunSevenZip(c.folder, archive, kToolFolder, error), c.result);
    const CString folder = CString(_T("C:\\pkg\\")) + c.folder;
    const auto written = NewFilesBelow(before, folder);
    EXPECT_EQ(std::vector<std::string>(written.begin(), written.end()), c.files);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Host(folder)))
      EXPECT_FALSE(entry.is_symlink()) << entry.path();
  }
}

TEST_F(SevenZipTest, DamagedArchiveFails) {
  UseSevenZip();
  const std::string whole = ReadHostFile(std::string(ZX_ARCHIVES_DIR) + "/hostile.7z");
  CString error;
  EXPECT_EQ(RunSevenZip(_T("out"), PlaceFixture("hostile.7z", whole.size() / 2), kToolFolder, error), 33);
  EXPECT_EQ(RunSevenZip(_T("out"), PlaceFixture("hostile.zip", 100), kToolFolder, error), 33);
}

TEST_F(SevenZipTest, MissingToolFolderOrProgram) {
  CString error;
  EXPECT_EQ(RunSevenZip(_T("out"), PlaceFixture("hostile.7z"), kToolFolder, error), 33);  // no 7z.exe
  EXPECT_TRUE(error.IsEmpty());
  EXPECT_EQ(RunSevenZip(_T("out"), PlaceFixture("hostile.7z"), _T("C:\\Nowhere\\Win7\\"), error), 33);
  EXPECT_NE(error.Find(_T("Zephrin Tunevo")), -1);
}

TEST_F(SevenZipTest, ARunPastBothWaitsIsEnded) {
  const std::string pidFile = UseHangingProgram();
  const CString archive = PlaceFixture("hostile.7z");
  zx::ManualClock clock;
  zx::SetClock(&clock);
  int result = 0;
  CString error;
  std::atomic<bool> done{false};
  std::thread run([&] {
    result = RunSevenZip(_T("out"), archive, kToolFolder, error);
    done = true;
  });
  // Once the program runs, time moves on a minute at a time whenever the run waits, until
  // the run gives up.
  std::string pidText;
  for (int i = 0; i < 1000 && (pidText = ReadHostFile(pidFile)).empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  while (!done) {
    if (zx::AwaitBlockedWaiters(1) && !done) clock.Advance(60000);
  }
  run.join();
  zx::SetClock(nullptr);
  EXPECT_EQ(result, 33);
  // The program was ended: its process no longer runs.
  ASSERT_FALSE(pidText.empty());
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, static_cast<DWORD>(std::stoul(pidText)));
  if (process != nullptr) {
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(process, &code));
    EXPECT_NE(code, static_cast<DWORD>(STILL_ACTIVE));
    CloseHandle(process);
  }
}

}  // namespace
}  // namespace zx::test
