// The 7-Zip run: unpacking with Debian's 7-Zip program standing in for "7z.exe", entries
// that try to leave the folder, a damaged archive, a missing tool folder, and a run that
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

TEST_F(SevenZipTest, UnpacksBelowTheOutputFolder) {
  UseSevenZip();
  const CString archive = PlaceFixture("hostile.7z");
  const auto before = FilesBelowRoot();
  CString error;
  EXPECT_EQ(RunSevenZip(_T("hostile"), archive, kToolFolder, error), 32);
  const auto written = NewFilesBelow(before, _T("C:\\pkg\\hostile"));
  for (const std::string& file : written) EXPECT_EQ(file.rfind("OUTSIDE:", 0), std::string::npos) << file;
  EXPECT_EQ(written.count("first/a.txt"), 1u);
  EXPECT_EQ(written.count("x1.txt"), 1u);
  EXPECT_EQ(ReadHostFile(Host(_T("C:\\pkg\\hostile\\last.txt"))), "last entry\n");
  // A stored link, where 7-Zip makes one, points inside the folder.
  const std::string link = Host(_T("C:\\pkg\\hostile\\link7"));
  if (std::filesystem::is_symlink(link)) {
    const std::string target = std::filesystem::read_symlink(link).string();
    EXPECT_EQ(target.rfind(Host(_T("C:\\pkg\\hostile")), 0), 0u) << target;
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
