// The log files: today's dated name on the layer's clock, numbered UTF-16LE lines, the closing
// line, nothing at all while logging is off, and five logs kept as the days go by.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "LogFile.h"
#include "ProcessControl.h"
#include "machine_fixture.h"
#include "zx/clock.h"

namespace zx::test {
namespace {

constexpr std::uint64_t kDayMs = 24ull * 3600 * 1000;
// 2026-03-07 12:00:00 UTC as a FILETIME value.
constexpr std::uint64_t kMarch7Noon = 134173584000000000ull;

class LogFiles : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    zx::SetClock(&clock_);
    clock_.SetWallTime(kMarch7Noon);
    g_bLogging = TRUE;
  }
  void TearDown() override {
    CloseLogFile();
    g_bLogging = FALSE;
    zx::SetClock(nullptr);
  }
  static CString Folder() { return GetAppDataFolder(); }
  std::vector<std::string> LogNames() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(HostPath(Folder())))
      if (entry.path().extension() == ".log") names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  // Stamps the file with the clock's present time as its last write.
  void StampNow(const CString& path) {
    const HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    SetFileTime(file, nullptr, nullptr, &now);
    CloseHandle(file);
  }
  static std::u16string Utf16(const std::string& bytes) {
    return std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
  }
  ManualClock clock_;
};

TEST_F(LogFiles, LinesAreNumberedInTodaysDatedFileAndClosedWithAClosingLine) {
  WriteLog(_T("first"));
  WriteLogA("second");
  const CString path = GetLogFilePath();
  SYSTEMTIME local;
  GetLocalTime(&local);
  CString expected;
  expected.Format(_T("%s\\log_%02i-%02i-%02i.log"), static_cast<LPCTSTR>(Folder()), local.wMonth, local.wDay,
                  local.wYear);
  EXPECT_EQ(path, expected);
  EXPECT_EQ(path.Right(19), _T("\\log_03-07-2026.log"));
  CloseLogFile();
  EXPECT_EQ(Utf16(ReadHostFile(HostPath(path))), u"1   first\r\n2   second\r\n3   Closing Log\r\n\r\n\r\n");
}

TEST_F(LogFiles, AnEmptyMessageWritesNoLine) {
  WriteLog(_T(""));
  WriteLog(_T("only"));
  const CString path = GetLogFilePath();
  CloseLogFile();
  EXPECT_EQ(Utf16(ReadHostFile(HostPath(path))), u"1   only\r\n2   Closing Log\r\n\r\n\r\n");
}

TEST_F(LogFiles, WithLoggingOffNothingIsWritten) {
  g_bLogging = FALSE;
  WriteLog(_T("dropped"));
  WriteLogA("dropped");
  EXPECT_EQ(GetLogFilePath(), _T(""));
  EXPECT_TRUE(LogNames().empty());
}

TEST_F(LogFiles, ALaterOpenOfTheSameDayAppendsAndNumbersFromOne) {
  WriteLog(_T("morning"));
  const CString path = GetLogFilePath();
  CloseLogFile();
  WriteLog(_T("evening"));
  CloseLogFile();
  EXPECT_EQ(Utf16(ReadHostFile(HostPath(path))),
            u"1   morning\r\n2   Closing Log\r\n\r\n\r\n1   evening\r\n2   Closing Log\r\n\r\n\r\n");
}

TEST_F(LogFiles, FiveLogsAreKeptAsTheDaysGoBy) {
  std::vector<CString> paths;
  for (int day = 0; day < 8; ++day) {
    WriteLog(_T("a day's line"));
    paths.push_back(GetLogFilePath());
    StampNow(paths.back());
    CloseLogFile();
    clock_.SetWallTime(kMarch7Noon + (day + 1) * kDayMs * 10000);
  }
  EXPECT_EQ(LogNames(), (std::vector<std::string>{"log_03-10-2026.log", "log_03-11-2026.log", "log_03-12-2026.log",
                                                  "log_03-13-2026.log", "log_03-14-2026.log"}));
}

TEST_F(LogFiles, FourOldLogsAreAllKept) {
  for (int day = 0; day < 4; ++day) {
    WriteLog(_T("line"));
    StampNow(GetLogFilePath());
    CloseLogFile();
    clock_.SetWallTime(kMarch7Noon + (day + 1) * kDayMs * 10000);
  }
  EXPECT_EQ(LogNames().size(), 4u);
  WriteLog(_T("fifth day"));
  EXPECT_EQ(LogNames().size(), 5u);
}

TEST_F(LogFiles, ThreadsStartingToLogTogetherGetEveryLineNumberedOnce) {
  constexpr int kThreads = 8;
  constexpr int kLines = 50;
  zx::SetClock(nullptr);  // the library's locks sleep on the clock while they wait
  std::vector<std::thread> threads;
  for (int thread = 0; thread < kThreads; ++thread)
    threads.emplace_back([] {
      for (int line = 0; line < kLines; ++line) WriteLog(_T("line"));
    });
  for (auto& thread : threads) thread.join();
  const CString path = GetLogFilePath();
  CloseLogFile();
  std::u16string expected;
  CString line;
  for (int number = 1; number <= kThreads * kLines; ++number) {
    line.Format(_T("%d   line\r\n"), number);
    expected += line.GetString();
  }
  line.Format(_T("%d   Closing Log\r\n\r\n\r\n"), kThreads * kLines + 1);
  expected += line.GetString();
  EXPECT_EQ(Utf16(ReadHostFile(HostPath(path))), expected);
}

TEST_F(LogFiles, APathWithADriveIsOpenedAsItStands) {
  ASSERT_TRUE(OpenLogFile(_T("C:\\logs\\deep\\mine.log")));
  WriteLogLine(_T("hello"));
  CloseLogFile();
  EXPECT_EQ(Utf16(ReadHostFile(root() + "/drive_c/logs/deep/mine.log")), u"1   hello\r\n2   Closing Log\r\n\r\n\r\n");
}

}  // namespace
}  // namespace zx::test
